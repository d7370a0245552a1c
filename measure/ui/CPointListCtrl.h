#pragma once

#include "CCellListCtrl.h"

class CornerPoint;

// The corner point table's list: columns Nr, X, Y, Z; X, Y and Z are edited relative to the
// document's local origin. Each row's item data is its CornerPoint.
class CPointListCtrl : public CCellListCtrl {
    Q_OBJECT
public:
    explicit CPointListCtrl(QWidget* parent = nullptr);

    void Bind(CQuivraDoc* doc) { m_pDoc = doc; }
    CornerPoint* PointAt(int row) const;

    Cell TabTarget(int row, int column, bool backward) const override;

protected:
    bool IsEditableColumn(int column) const override;
    int MapClickColumn(int column) const override;
    QString InitialText(int row, int column) const override;
    void OnEditorOpened(int row, int column) override;
    bool StoreValue(int row, int column, double value, QString* why) override;
    CQuivraDoc* Document() const override { return m_pDoc; }

private:
    CQuivraDoc* m_pDoc = nullptr; // not owned
};
