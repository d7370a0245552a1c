// qvrtool add-cylinder IN.qvr OUT.qvr [--centre X,Y,Z] [--axis x|y|z] [--radius R] [--corners N]
//   [--angle DEG] [--length L] [--no-corner-lines] [--centre-line]: append a cylinder.
#include "CommandRegistry.h"
#include "ToolUtil.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "CylinderGenerator.h"
#include "CylinderObject.h"

#include <QFileInfo>

#include <cmath>

using namespace tool;

namespace {

const char* const kUsage = "add-cylinder IN.qvr OUT.qvr [--centre X,Y,Z] [--axis x|y|z] "
                           "[--radius R] [--corners N] [--angle DEG] [--length L] "
                           "[--no-corner-lines] [--centre-line]";

// Finite numbers only: an infinite or undefined value would poison every view of the scene.
bool ParseNumber(const QString& text, double& out) {
    std::vector<double> v;
    if (!ParseDoubles(text, 1, v) || !std::isfinite(v[0]))
        return false;
    out = v[0];
    return true;
}

int Bad(const QString& option, const QString& value) {
    return Fail(QStringLiteral("qvrtool add-cylinder: bad value \"%1\" for %2").arg(value, option));
}

int Run(const QStringList& args) {
    if (args.size() < 2)
        return Usage(kUsage);
    CylinderInput in; // the Create Cylinder form's initial values
    for (int i = 2; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--no-corner-lines")) {
            in.m_bCornerLines = false;
            continue;
        }
        if (a == QLatin1String("--centre-line")) {
            in.m_bCentreLine = true;
            continue;
        }
        if (i + 1 >= args.size())
            return Usage(kUsage);
        const QString& v = args[++i];
        if (a == QLatin1String("--centre")) {
            std::vector<double> c;
            if (!ParseDoubles(v, 3, c) ||
                !(std::isfinite(c[0]) && std::isfinite(c[1]) && std::isfinite(c[2])))
                return Bad(a, v);
            in.m_centre = {c[0], c[1], c[2]};
        } else if (a == QLatin1String("--axis")) {
            const QString axis = v.toLower();
            if (axis == QLatin1String("x"))
                in.m_nAxis = AxisX;
            else if (axis == QLatin1String("y"))
                in.m_nAxis = AxisY;
            else if (axis == QLatin1String("z"))
                in.m_nAxis = AxisZ;
            else
                return Bad(a, v);
        } else if (a == QLatin1String("--radius")) {
            if (!ParseNumber(v, in.m_dRadius))
                return Bad(a, v);
        } else if (a == QLatin1String("--angle")) {
            if (!ParseNumber(v, in.m_dAngleDeg))
                return Bad(a, v);
        } else if (a == QLatin1String("--length")) {
            if (!ParseNumber(v, in.m_dLength))
                return Bad(a, v);
        } else if (a == QLatin1String("--corners")) {
            bool ok = false;
            const int n = v.trimmed().toInt(&ok);
            if (!ok || n > kMaxCylinderCorners)
                return Bad(a, v);
            in.m_nCorners = n;
        } else {
            return Usage(kUsage);
        }
    }
    std::unique_ptr<CQuivraDoc> doc;
    if (QFileInfo::exists(args[0]))
        doc = LoadScene(args[0]);
    else
        doc = std::make_unique<CQuivraDoc>();
    if (!doc)
        return 1;
    if (!doc->HasPointNumbers(CylinderPointCount(in.m_nCorners)))
        return Fail(
            QStringLiteral("qvrtool add-cylinder: %1").arg(CQuivraDoc::PointNumbersUsedUp()));
    CylinderObject* cyl = AddCylinder(*doc, in);
    if (!cyl)
        return Fail(QStringLiteral("qvrtool add-cylinder: a coordinate would be out of range; "
                                   "nothing was written"));
    if (!SaveScene(*doc, args[1]))
        return 1;
    if (cyl->m_points.empty())
        Print(QStringLiteral("cylinder: no points\n"));
    else
        Print(QStringLiteral("cylinder: points %1-%2, %3 lines%4\n")
                  .arg(cyl->m_points.front()->m_nNumber)
                  .arg(cyl->m_points.back()->m_nNumber)
                  .arg(cyl->m_lines.size())
                  .arg(cyl->m_bHasCentreLine ? QStringLiteral(" and a centre line") : QString()));
    return 0;
}

CommandRegistrar reg{{"add-cylinder", kUsage, "append a generated cylinder to a scene", Run}};

} // namespace
