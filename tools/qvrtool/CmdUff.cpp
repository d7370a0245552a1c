// qvrtool export-uff / import-uff: exchange models and shapes as Universal Files.
#include "CommandRegistry.h"
#include "ToolUtil.h"

#include "CQuivraDoc.h"
#include "UffReader.h"
#include "UffWriter.h"

#include <cstdio>

using namespace tool;

namespace {

const char* const kExportUsage = "export-uff IN.qvr OUT.uff [--length-unit mm|m|in] "
                                 "[--quantity displacement|velocity|acceleration|unknown]";
const char* const kImportUsage = "import-uff IN.uff OUT.qvr [--length-unit mm|m|in]";

void Say(const char* prefix, const QString& text) {
    std::fprintf(stderr, "%s%s\n", prefix, text.toLocal8Bit().constData());
}

bool LengthOption(const QString& value, UffUnits::Length* unit) {
    if (UffUnits::ParseLength(value, unit))
        return true;
    Fail(QStringLiteral("qvrtool: --length-unit wants mm, m or in, not \"%1\"").arg(value));
    return false;
}

int Export(const QStringList& args) {
    if (args.size() < 2)
        return Usage(kExportUsage);
    UffWriter::Options options; // millimetres, quantity unknown
    for (int i = 2; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--length-unit") && i + 1 < args.size()) {
            if (!LengthOption(args[++i], &options.length))
                return 1;
        } else if (a == QLatin1String("--quantity") && i + 1 < args.size()) {
            if (!UffUnits::ParseQuantity(args[++i], &options.quantity))
                return Fail(QStringLiteral("qvrtool: --quantity wants displacement, velocity, "
                                           "acceleration or unknown, not \"%1\"")
                                .arg(args[i]));
        } else {
            return Usage(kExportUsage);
        }
    }
    auto doc = LoadScene(args[0]);
    if (!doc)
        return 1;
    QStringList notes;
    QString error;
    if (!UffWriter::Save(*doc, args[1], options, &notes, &error))
        return Fail(error);
    for (const QString& n : notes)
        Say("", n);
    return 0;
}

int Import(const QStringList& args) {
    if (args.size() < 2)
        return Usage(kImportUsage);
    UffReader::Options options;
    for (int i = 2; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--length-unit") && i + 1 < args.size()) {
            if (!LengthOption(args[++i], &options.length))
                return 1;
            options.convert = true;
        } else {
            return Usage(kImportUsage);
        }
    }
    CQuivraDoc doc;
    UffReader reader;
    UffReader::Summary summary;
    QString error;
    if (!reader.ReadFile(args[0], &error) || !reader.AddTo(doc, options, &summary, &error))
        return Fail(error);
    for (const QString& s : summary.skipped)
        Say("skipped ", s);
    for (const QString& w : summary.warnings)
        Say("warning: ", w);
    for (const QString& n : summary.notes)
        Say("note: ", n);
    Say("", summary.lengthUnit.isEmpty()
                ? QStringLiteral("length unit: not stated in the file")
                : QStringLiteral("length unit: %1").arg(summary.lengthUnit));
    std::fprintf(stderr, "%d points, %d lines, %d directions, %d series\n", summary.points,
                 summary.lines, summary.directions, summary.series);
    // A scene with nothing in it is no result: a script should notice.
    if (summary.points + summary.lines + summary.series == 0)
        return Fail(QStringLiteral("qvrtool: nothing in \"%1\" could be imported; %2 was not "
                                   "written")
                        .arg(args[0], args[1]));
    return SaveScene(doc, args[1]) ? 0 : 1;
}

CommandRegistrar exportReg{{"export-uff", kExportUsage,
                            "write the model and every series' shape as a Universal File", Export}};
CommandRegistrar importReg{{"import-uff", kImportUsage,
                            "make a scene from a Universal File's nodes, trace lines and shapes",
                            Import}};

} // namespace
