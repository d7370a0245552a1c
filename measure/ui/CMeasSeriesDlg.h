#pragma once

#include <QDialog>

class CMeasurementsDlg;
class CQuivraDoc;
class CSeriesEditDlg;
class ISeriesHost;
class QLabel;
class QTreeWidget;

// "Measurement Series": the document's series, renamed in place, with New, Delete, Edit and
// OK. Selecting a series makes it the view's current series. Owns the "Edit Measurement Serie"
// window.
class CMeasSeriesDlg : public QDialog {
    Q_OBJECT
public:
    explicit CMeasSeriesDlg(QWidget* parent = nullptr);
    ~CMeasSeriesDlg() override;

    // Document and view to work on (not owned); also handed to the edit window.
    void Bind(CQuivraDoc* doc, ISeriesHost* host);
    // The Measurements window to refill when the series changes (not owned; may be null).
    void SetMeasurementsDlg(CMeasurementsDlg* dlg) { m_pMeasDlg = dlg; }
    // Rebuilds the list and selects the current series.
    void Refill();

    void OnNew();
    void OnDelete();
    void OnEdit();
    // The in-place rename of `row` ended with `text`.
    void OnRenamed(int row, const QString& text);

    int SelSeries() const { return m_nSelSeries; }
    QTreeWidget* List() const { return m_pList; }
    // Hints about refused name characters.
    QLabel* StatusLine() const { return m_pStatus; }
    // The edit window, or null before it was first needed.
    CSeriesEditDlg* EditDlg() const { return m_pEditDlg; }

protected:
    // Asks the delete question; true on Yes.
    virtual bool ConfirmDelete();
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void OnSelectionChanged();
    CSeriesEditDlg* EnsureEditDlg();
    void RefillMeasurements();

    CQuivraDoc* m_pDoc = nullptr;   // not owned
    ISeriesHost* m_pHost = nullptr; // not owned
    CMeasurementsDlg* m_pMeasDlg = nullptr;
    CSeriesEditDlg* m_pEditDlg = nullptr; // owned (Qt child), made on first use
    int m_nSelSeries = -1;
    QTreeWidget* m_pList;
    QLabel* m_pStatus;
};
