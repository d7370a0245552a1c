#pragma once

#include <QDialog>

class CMeasListCtrl;
class CQuivraDoc;
class ISeriesHost;
class QLabel;
class QPushButton;
class QToolButton;

// "Measurements": every measurement direction of the scene with the amplitude and phase of the
// view's current series, typed in place, with Compact, Invert Phase and a spin control that
// moves the selected entry up or down. Modeless; hiding keeps the binding.
class CMeasurementsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CMeasurementsDlg(QWidget* parent = nullptr);

    // Document and view the window works on; neither is owned. Either may be null.
    void Bind(CQuivraDoc* doc, ISeriesHost* host);
    // Rebuilds title and rows from the current series; `show` false (or no series) only
    // clears the rows.
    void Refill(bool show = true);

    void OnCompact();
    void OnInvertPhase();
    // A step of the spin control: negative moves the entry up (to a lower number).
    void OnSpin(int step);

    CMeasListCtrl* List() const { return m_pList; }
    // The status line under the list: why an entry was refused, what a copy did.
    QLabel* StatusLine() const { return m_pStatus; }
    void SetStatus(const QString& text);
    int SelRow() const { return m_nSelRow; }

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    int Series() const;

    CQuivraDoc* m_pDoc = nullptr;   // not owned
    ISeriesHost* m_pHost = nullptr; // not owned
    int m_nSelRow = -1;
    CMeasListCtrl* m_pList;
    QLabel* m_pStatus;
    QToolButton* m_pSpinUp;
    QToolButton* m_pSpinDown;
};

// The code name shown in the "Dir" column ("X", "-R", ...); empty for unknown codes.
QString DirectionCodeName(int code);
