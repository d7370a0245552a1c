#pragma once

#include "ImportedMeas.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <vector>

class CMeasurementsDlg;
class CQuivraDoc;
class ISeriesHost;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// "Imported Instrument Measurements": the records of the last instrument file import or serial
// transfer, filtered by their multiple, and the two buttons that copy their amplitude and phase
// into the current series of the bound view. Modeless; hiding keeps the binding.
class CImportedMeasDlg : public QDialog {
    Q_OBJECT
public:
    explicit CImportedMeasDlg(QWidget* parent = nullptr);

    // Document and view the window works on; neither is owned. Either may be null.
    void Bind(CQuivraDoc* doc, ISeriesHost* host);
    // The Measurements window whose rows the copies write to, and how to show it (empty: its
    // own show()). Not owned.
    void SetMeasurementsWindow(CMeasurementsDlg* dlg, std::function<void()> show = {});

    // Refills the "Multiple :" choices from the document, selects "All" and refills the rows.
    void Rebuild();

    void OnChoiceChanged(int index);
    void OnCopy();
    void OnCopyAll();
    // Sets the current series' frequency and unit to the speed the last Copy All offered.
    void OnUseSpeed();

    QTableWidget* List() const { return m_pList; }
    QComboBox* Choice() const { return m_pChoice; }
    float Filter() const { return m_fFilter; }
    // What the last copy did, or why it did nothing.
    QLabel* StatusLine() const { return m_pStatus; }
    // Shown after a Copy All whose records share a speed the series does not have yet.
    QPushButton* UseSpeedButton() const { return m_pUseSpeed; }

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    // Rows for the document's records under the filter; none while hidden.
    void FillList();
    // The copies' common end: the Measurements window is shown with the new values and
    // `summary` in its status line; the views repaint.
    void AfterCopy(const QString& summary);
    int Series() const;

    CQuivraDoc* m_pDoc = nullptr;   // not owned
    ISeriesHost* m_pHost = nullptr; // not owned
    QPointer<CMeasurementsDlg> m_pMeas;
    std::function<void()> m_showMeas;
    float m_fFilter = 0.f;
    // The records behind the rows, copied: an import replaces the document's array, and a row
    // must never point into storage that is gone.
    std::vector<ImportedMeas> m_rows;
    QTableWidget* m_pList;
    QComboBox* m_pChoice;
    QLabel* m_pStatus;
    QPushButton* m_pUseSpeed;
    // The offer behind m_pUseSpeed: the series it was made for and the speed in its unit.
    int m_nSpeedSeries = -1;
    double m_dSpeed = 0.0;
    int m_nSpeedUnit = 0;
};
