// qvrtool add-box IN.qvr OUT.qvr [--p1 X,Y,Z] [--p2 X,Y,Z] [--no-lines]: append a box.
#include "CommandRegistry.h"
#include "ToolUtil.h"

#include "BoxGenerator.h"
#include "BoxObject.h"
#include "CQuivraDoc.h"
#include "CornerPoint.h"

#include <QFileInfo>

#include <cmath>

using namespace tool;

namespace {

const char* const kUsage = "add-box IN.qvr OUT.qvr [--p1 X,Y,Z] [--p2 X,Y,Z] [--no-lines]";

// Three finite numbers: an infinite or undefined coordinate would poison every view of the scene.
bool ParsePoint(const QString& text, Point3& out) {
    std::vector<double> v;
    if (!ParseDoubles(text, 3, v) ||
        !(std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2])))
        return false;
    out = {v[0], v[1], v[2]};
    return true;
}

int Run(const QStringList& args) {
    if (args.size() < 2)
        return Usage(kUsage);
    BoxInput in; // the Create Box form's initial values
    for (int i = 2; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--no-lines")) {
            in.m_bGenerateLines = false;
        } else if ((a == QLatin1String("--p1") || a == QLatin1String("--p2")) &&
                   i + 1 < args.size()) {
            if (!ParsePoint(args[++i], a == QLatin1String("--p1") ? in.m_p1 : in.m_p2))
                return Fail(
                    QStringLiteral("qvrtool add-box: %1 wants X,Y,Z, not \"%2\"").arg(a, args[i]));
        } else {
            return Usage(kUsage);
        }
    }
    // A scene that does not exist yet starts empty, so a script can build a model from nothing.
    std::unique_ptr<CQuivraDoc> doc;
    if (QFileInfo::exists(args[0]))
        doc = LoadScene(args[0]);
    else
        doc = std::make_unique<CQuivraDoc>();
    if (!doc)
        return 1;
    if (!doc->HasPointNumbers(8))
        return Fail(QStringLiteral("qvrtool add-box: %1").arg(CQuivraDoc::PointNumbersUsedUp()));
    BoxObject* box = AddBox(*doc, in);
    if (!box)
        return Fail(QStringLiteral("qvrtool add-box: a corner would be out of range; nothing "
                                   "was written"));
    if (!SaveScene(*doc, args[1]))
        return 1;
    Print(QStringLiteral("box: points %1-%2, %3 lines\n")
              .arg(box->m_points.front()->m_nNumber)
              .arg(box->m_points.back()->m_nNumber)
              .arg(box->m_lines.size()));
    return 0;
}

CommandRegistrar reg{{"add-box", kUsage, "append a generated box to a scene", Run}};

} // namespace
