#pragma once

#include <QDialog>

class CPointListCtrl;
class CQuivraDoc;
class QLabel;

// "Edit Corner Points": every corner point with its number and its coordinates relative to the
// local origin, typed in place, with New, Delete, Compact and Close. Modeless; one per
// document.
class CEditCornerPointsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CEditCornerPointsDlg(QWidget* parent = nullptr);

    // The document to work on (not owned; may be null).
    void Bind(CQuivraDoc* doc);
    // show true: refill the table and open the highlighted point's X cell; false: nothing.
    void RebuildTable(bool show = true);

    void OnNew();
    void OnDelete();
    void OnCompact();

    CPointListCtrl* List() const { return m_pList; }
    QLabel* StatusLine() const { return m_pStatus; }

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void OnRowSelected();

    CQuivraDoc* m_pDoc = nullptr; // not owned
    CPointListCtrl* m_pList;
    QLabel* m_pStatus;
};
