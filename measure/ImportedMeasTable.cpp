#include "ImportedMeasTable.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "MeasDirection.h"
#include "Measurement.h"
#include "NumberText.h"
#include "TableOrder.h"
#include "UnitTables.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

static QString Fixed(double v) {
    return numtext::FormatFixed(v);
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

bool ImportedMeasTable::HasFiniteValues(const ImportedMeas& m) {
    return std::isfinite(m.m_fAmplitude) && std::isfinite(m.m_fPhase);
}

bool ImportedMeasTable::CopyOne(CQuivraDoc* doc, const ImportedMeas* record,
                                MeasDirection* direction, int series) {
    if (!record || !direction || !HasFiniteValues(*record))
        return false;
    doc->SaveUndoState();
    doc->SetModifiedFlag();
    Assign(*record, direction, series);
    return true;
}

std::vector<MeasDirection*> ImportedMeasTable::MeasurementRows(const CQuivraDoc& doc) {
    std::vector<MeasDirection*> rows;
    doc.ForEachPoint([&rows](CornerPoint* p) {
        rows.insert(rows.end(), p->m_directions.begin(), p->m_directions.end());
    });
    SortForTable(rows, [](const MeasDirection* d) { return d->m_nNumber; });
    return rows;
}

ImportedMeasTable::CopyAllResult
ImportedMeasTable::CopyAll(CQuivraDoc* doc, const std::vector<const ImportedMeas*>& rows,
                           const std::vector<MeasDirection*>& measRows, int series) {
    CopyAllResult r;
    const std::size_t n = std::min(rows.size(), measRows.size());
    r.nNotLookedAt = static_cast<int>(rows.size() - n);
    // The first row of each number, top down: one lookup per record instead of a scan.
    std::unordered_map<std::int32_t, std::size_t> first;
    first.reserve(measRows.size());
    for (std::size_t j = 0; j < measRows.size(); ++j)
        first.emplace(measRows[j]->m_nNumber, j);
    std::vector<std::pair<const ImportedMeas*, std::size_t>> copies;
    copies.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const auto it = first.find(rows[i]->m_nId);
        if (it == first.end())
            ++r.nUnmatched;
        else if (!HasFiniteValues(*rows[i]))
            ++r.nNotFinite;
        else
            copies.emplace_back(rows[i], it->second);
    }
    if (copies.empty())
        return r;
    doc->SaveUndoState();
    doc->SetModifiedFlag();
    std::vector<char> reached(measRows.size(), 0);
    for (const auto& [record, j] : copies) {
        Assign(*record, measRows[j], series);
        r.nCopied += reached[j] ? 0 : 1;
        reached[j] = 1;
    }
    r.bChanged = true;
    const ImportedMeas& one = *copies.front().first;
    r.bOneSpeed =
        std::isfinite(one.m_fSpeed) && one.m_fSpeed > 0.f &&
        (one.m_nFreqUnit == 0 || one.m_nFreqUnit == 1) &&
        std::all_of(copies.begin(), copies.end(), [&one](const auto& c) {
            return c.first->m_fSpeed == one.m_fSpeed && c.first->m_nFreqUnit == one.m_nFreqUnit;
        });
    r.fSpeed = one.m_fSpeed;
    r.nFreqUnit = one.m_nFreqUnit;
    return r;
}

QString ImportedMeasTable::Summary(const CopyAllResult& r) {
    QStringList parts;
    parts << (r.nCopied == 1 ? QStringLiteral("1 direction received values")
                             : QStringLiteral("%1 directions received values").arg(r.nCopied));
    if (r.nUnmatched > 0)
        parts << QStringLiteral("%1 matched no direction").arg(r.nUnmatched);
    if (r.nNotFinite > 0)
        parts << QStringLiteral("%1 skipped: amplitude or phase is not a number").arg(r.nNotFinite);
    QString text =
        QStringLiteral("Copy All: ") + parts.join(QStringLiteral("; ")) + QLatin1Char('.');
    if (r.nNotLookedAt > 0)
        text += (r.nNotLookedAt == 1
                     ? QStringLiteral(" 1 record was not looked at")
                     : QStringLiteral(" %1 records were not looked at").arg(r.nNotLookedAt)) +
                QStringLiteral(": only as many records count as the Measurements list has rows.");
    return text;
}
