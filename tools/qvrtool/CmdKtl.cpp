// qvrtool ktl FILE.KTL: the instrument file's records as one JSON object.
#include "CommandRegistry.h"
#include "ToolUtil.h"

#include "ImportedMeas.h"
#include "KtlReader.h"

#include <vector>

namespace tool {

// Shared with `qvrtool transfer`, which prints a fetched set the same way.
QString ImportedRecordsJson(const std::vector<ImportedMeas>& records,
                            const std::vector<float>& multiples) {
    QString s = QStringLiteral("{\"records\":[");
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ImportedMeas& m = records[i];
        if (i)
            s += QLatin1Char(',');
        s += QStringLiteral("{\"id\":%1,\"unit\":%2,\"freqUnit\":%3,\"amplitude\":%4,"
                            "\"phase\":%5,\"speed\":%6,\"multiple\":%7}")
                 .arg(m.m_nId)
                 .arg(m.m_nUnit)
                 .arg(m.m_nFreqUnit)
                 .arg(JsonFloat(m.m_fAmplitude), JsonFloat(m.m_fPhase), JsonFloat(m.m_fSpeed),
                      JsonFloat(m.m_fMultiple));
    }
    s += QStringLiteral("],\"multiples\":[");
    for (std::size_t i = 0; i < multiples.size(); ++i) {
        if (i)
            s += QLatin1Char(',');
        s += JsonFloat(multiples[i]);
    }
    s += QStringLiteral("]}\n");
    return s;
}

} // namespace tool

using namespace tool;

namespace {

int Run(const QStringList& args) {
    if (args.size() != 1)
        return Usage("ktl FILE.KTL");
    const KtlResult r = KtlReader::ReadFile(args[0]);
    // After a short record the records read so far are printed as well: they are what the
    // document holds after such an import.
    if (r.HeaderAccepted())
        Print(ImportedRecordsJson(r.m_records, r.m_multiples));
    if (r.m_nStatus != KtlResult::Ok) {
        QString message = r.Message();
        if (!r.m_strOpenError.isEmpty())
            message += QStringLiteral(" (%1)").arg(r.m_strOpenError);
        return Fail(QStringLiteral("%1: %2").arg(args[0], TerminalText(message)));
    }
    return 0;
}

CommandRegistrar reg{{"ktl", "ktl FILE.KTL", "print an instrument file's records as JSON", Run}};

} // namespace
