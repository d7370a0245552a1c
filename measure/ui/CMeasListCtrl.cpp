#include "CMeasListCtrl.h"

#include "CQuivraDoc.h"
#include "CellNumber.h"
#include "ISeriesHost.h"
#include "MeasDirection.h"
#include "Measurement.h"

CMeasListCtrl::CMeasListCtrl(QWidget* parent) : CCellListCtrl(parent) {}

void CMeasListCtrl::Bind(CQuivraDoc* doc, ISeriesHost* host) {
    m_pDoc = doc;
    m_pHost = host;
}

MeasDirection* CMeasListCtrl::DirectionAt(int row) const {
    return static_cast<MeasDirection*>(GetItemData(row));
}

int CMeasListCtrl::Series() const {
    return m_pHost ? ValidSeries(m_pDoc, m_pHost->CurrentSeries()) : -1;
}

bool CMeasListCtrl::IsEditableColumn(int column) const {
    return column == 3 || column == 4;
}

int CMeasListCtrl::MapClickColumn(int column) const {
    return column <= 2 ? 3 : column;
}

CCellListCtrl::Cell CMeasListCtrl::TabTarget(int row, int column, bool backward) const {
    const int n = GetItemCount();
    if (!backward) {
        if (column < 4)
            return {row, 4};
        return {row + 1 < n ? row + 1 : row, 3};
    }
    if (column > 3)
        return {row, 3};
    if (row == 0)
        return {};
    return {row - 1, 4};
}

QString CMeasListCtrl::InitialText(int row, int column) const {
    const MeasDirection* d = DirectionAt(row);
    const int k = Series();
    if (k < 0 || !IsLiveDirection(m_pDoc, d) ||
        static_cast<std::size_t>(k) >= d->m_measurements.size())
        return QString();
    const Measurement* m = d->m_measurements[static_cast<std::size_t>(k)];
    return FormatG(column == 3 ? m->m_dAmplitude : m->m_dPhase);
}

void CMeasListCtrl::OnEditorOpened(int row, int column) {
    emit editOpened(row);
    if (!m_pDoc)
        return;
    if (column == 3 || column == 4)
        m_pDoc->m_bMeasEdited = 1;
    if (const MeasDirection* d = DirectionAt(row); IsLiveDirection(m_pDoc, d))
        m_pDoc->m_pHighlightPoint = d->m_pPoint;
    m_pDoc->UpdateAllViews();
}

bool CMeasListCtrl::StoreValue(int row, int column, double value, QString*) {
    MeasDirection* d = DirectionAt(row);
    const int k = Series();
    if (!IsEditableColumn(column) || k < 0 || !IsLiveDirection(m_pDoc, d) ||
        static_cast<std::size_t>(k) >= d->m_measurements.size())
        return false;
    Measurement* m = d->m_measurements[static_cast<std::size_t>(k)];
    (column == 3 ? m->m_dAmplitude : m->m_dPhase) = value;
    return true;
}
