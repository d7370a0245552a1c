#include "ImportInstrumentFile.h"

#include "CQuivraDoc.h"
#include "KtlReader.h"

ImportOutcome ImportInstrumentFile(const QString& path, CQuivraDoc* doc, QString* message) {
    KtlResult res = KtlReader::ReadFile(path);
    if (message)
        *message = res.Message();
    if (!res.HeaderAccepted())
        return ImportOutcome::Refused;
    doc->m_importedMeas = std::move(res.m_records);
    doc->m_importedMultiples = std::move(res.m_multiples);
    return res.m_nStatus == KtlResult::Ok ? ImportOutcome::Imported : ImportOutcome::Partial;
}
