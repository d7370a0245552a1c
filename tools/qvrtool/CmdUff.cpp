// qvrtool export-uff / import-uff: exchange models and shapes as Universal Files.
#include "CommandRegistry.h"
#include "ToolUtil.h"

#include "CQuivraDoc.h"
#include "UffReader.h"
#include "UffWriter.h"

#include <QFileInfo>

#include <cstdio>

using namespace tool;

namespace {

int Export(const QStringList& args) {
    if (args.size() != 2)
        return Usage("export-uff IN.qvr OUT.uff");
    auto doc = LoadScene(args[0]);
    if (!doc)
        return 1;
    QStringList notes;
    QString error;
    if (!UffWriter::Save(*doc, args[1], &notes, &error))
        return Fail(error);
    for (const QString& n : notes)
        std::fprintf(stderr, "%s\n", n.toLocal8Bit().constData());
    return 0;
}

int Import(const QStringList& args) {
    if (args.size() != 2)
        return Usage("import-uff IN.uff OUT.qvr");
    CQuivraDoc doc;
    UffReader::Summary summary;
    QString error;
    if (!UffReader::ImportFile(args[0], doc, &summary, &error))
        return Fail(error);
    for (const QString& s : summary.skipped)
        std::fprintf(stderr, "skipped %s\n", s.toLocal8Bit().constData());
    for (const QString& w : summary.warnings)
        std::fprintf(stderr, "warning: %s\n", w.toLocal8Bit().constData());
    std::fprintf(stderr, "%d points, %d lines, %d directions, %d series\n", summary.points,
                 summary.lines, summary.directions, summary.series);
    return SaveScene(doc, args[1]) ? 0 : 1;
}

CommandRegistrar exportReg{{"export-uff", "export-uff IN.qvr OUT.uff",
                            "write the model and every series' shape as a Universal File", Export}};
CommandRegistrar importReg{{"import-uff", "import-uff IN.uff OUT.qvr",
                            "make a scene from a Universal File's nodes, trace lines and shapes",
                            Import}};

} // namespace
