#pragma once

#include "CCellListCtrl.h"

class ISeriesHost;
class MeasDirection;

// The Measurements window's list: columns Id, Pnt, Dir, Amplitude, Angle; Amplitude and Angle
// are edited for the view's current series. Each row's item data is its MeasDirection.
class CMeasListCtrl : public CCellListCtrl {
    Q_OBJECT
public:
    explicit CMeasListCtrl(QWidget* parent = nullptr);

    void Bind(CQuivraDoc* doc, ISeriesHost* host);
    MeasDirection* DirectionAt(int row) const;

    Cell TabTarget(int row, int column, bool backward) const override;

signals:
    // An editor opened on `row` (the window records it as its selected row).
    void editOpened(int row);

protected:
    bool IsEditableColumn(int column) const override;
    int MapClickColumn(int column) const override;
    QString InitialText(int row, int column) const override;
    void OnEditorOpened(int row, int column) override;
    bool StoreValue(int row, int column, double value, QString* why) override;
    CQuivraDoc* Document() const override { return m_pDoc; }

private:
    int Series() const;

    CQuivraDoc* m_pDoc = nullptr;   // not owned
    ISeriesHost* m_pHost = nullptr; // not owned
};
