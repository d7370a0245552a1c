#include "CPointListCtrl.h"

#include "CQuivraDoc.h"
#include "CellNumber.h"
#include "CornerPoint.h"

#include <QHeaderView>

#include <cmath>

CPointListCtrl::CPointListCtrl(QWidget* parent) : CCellListCtrl(parent) {}

CornerPoint* CPointListCtrl::PointAt(int row) const {
    return static_cast<CornerPoint*>(GetItemData(row));
}

bool CPointListCtrl::IsEditableColumn(int column) const {
    return column >= 1 && column <= 3;
}

int CPointListCtrl::MapClickColumn(int column) const {
    // The column cut by (or starting at) the left border is normally the number column, which
    // is not edited: the click opens X instead.
    const int left = columnViewportPosition(column);
    return left <= 0 ? 1 : column;
}

CCellListCtrl::Cell CPointListCtrl::TabTarget(int row, int column, bool backward) const {
    const int n = GetItemCount();
    if (!backward) {
        if (column < 3)
            return {row, column + 1};
        return {row + 1 < n ? row + 1 : 0, 1};
    }
    if (column > 1)
        return {row, column - 1};
    if (row == 0)
        return {};
    return {row - 1, 3};
}

static double OriginCoord(const CQuivraDoc* doc, int column) {
    const CornerPoint* o = doc ? doc->m_pOrigin : nullptr;
    if (!o)
        return 0.0;
    return column == 1 ? o->m_x : column == 2 ? o->m_y : o->m_z;
}

QString CPointListCtrl::InitialText(int row, int column) const {
    const CornerPoint* p = PointAt(row);
    if (!IsEditableColumn(column) || !IsLivePoint(m_pDoc, p))
        return QString();
    const double v = column == 1 ? p->m_x : column == 2 ? p->m_y : p->m_z;
    return FormatG(v - OriginCoord(m_pDoc, column));
}

void CPointListCtrl::OnEditorOpened(int row, int) {
    if (!m_pDoc || !IsLivePoint(m_pDoc, PointAt(row)))
        return;
    m_pDoc->m_pHighlightPoint = PointAt(row);
    m_pDoc->UpdateAllViews();
}

bool CPointListCtrl::StoreValue(int row, int column, double value, QString* why) {
    CornerPoint* p = PointAt(row);
    if (!IsEditableColumn(column) || !IsLivePoint(m_pDoc, p))
        return false;
    const double v = value + OriginCoord(m_pDoc, column);
    // An infinite coordinate would shrink every view to a dot and go into the file as it is.
    if (!std::isfinite(v)) {
        if (why)
            *why = QStringLiteral("%1 plus the local origin is out of range; point %2 keeps its "
                                  "position.")
                       .arg(FormatG(value))
                       .arg(p->m_nNumber);
        return false;
    }
    (column == 1 ? p->m_x : column == 2 ? p->m_y : p->m_z) = v;
    return true;
}
