#include "ImportedMeasTable.h"

#include "CQuivraDoc.h"
#include "MeasDirection.h"
#include "Measurement.h"
#include "UnitTables.h"

static QString Fixed(double v) {
    return QString::asprintf("%f", v);
}

std::vector<ImportedMeasTable::Choice>
ImportedMeasTable::MultipleChoices(const std::vector<float>& multiples) {
    std::vector<Choice> choices{{QStringLiteral("All"), 0.f}};
    for (float m : multiples)
        choices.push_back({Fixed(m), m});
    return choices;
}

std::vector<const ImportedMeas*> ImportedMeasTable::Rows(const std::vector<ImportedMeas>& records,
                                                         float filter) {
    std::vector<const ImportedMeas*> rows;
    for (const ImportedMeas& m : records)
        if (filter == 0.f || filter == m.m_fMultiple)
            rows.push_back(&m);
    return rows;
}

QStringList ImportedMeasTable::RowTexts(const ImportedMeas& m) {
    return {QString::number(m.m_nId), Fixed(m.m_fAmplitude),
            Fixed(m.m_fPhase),        QString::fromLatin1(UnitName(m.m_nUnit)),
            Fixed(m.m_fSpeed),        QString::fromLatin1(FreqUnitName(m.m_nFreqUnit)),
            Fixed(m.m_fMultiple)};
}

// A series index the view may hold while the document has fewer series is ignored.
static void Assign(const ImportedMeas& record, MeasDirection* direction, int series) {
    if (series < 0 || std::size_t(series) >= direction->m_measurements.size())
        return;
    Measurement* meas = direction->m_measurements[std::size_t(series)];
    meas->m_dAmplitude = record.m_fAmplitude;
    meas->m_dPhase = record.m_fPhase;
}

bool ImportedMeasTable::CopyOne(CQuivraDoc* doc, const ImportedMeas* record,
                                MeasDirection* direction, int series) {
    if (!record || !direction)
        return false;
    doc->SaveUndoState();
    doc->SetModifiedFlag();
    Assign(*record, direction, series);
    return true;
}

bool ImportedMeasTable::CopyAll(CQuivraDoc* doc, const std::vector<const ImportedMeas*>& rows,
                                const std::vector<MeasDirection*>& measRows, int series) {
    if (rows.empty())
        return false;
    doc->SaveUndoState();
    doc->SetModifiedFlag();
    const std::size_t n = std::min(rows.size(), measRows.size());
    for (std::size_t i = 0; i < n; ++i) {
        for (MeasDirection* d : measRows) {
            if (d->m_nNumber == rows[i]->m_nId) {
                Assign(*rows[i], d, series);
                break;
            }
        }
    }
    return true;
}
