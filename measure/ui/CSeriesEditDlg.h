#pragma once

#include <QDialog>

class CMeasSeriesDlg;
class CQuivraDoc;
class ISeriesHost;
class QLabel;
class QLineEdit;
class QRadioButton;

// "Edit Measurement Serie": name, frequency and unit, frames per period and amplification of
// the view's current series. Each field is applied when it loses the focus; the window keeps
// no copy of the values.
class CSeriesEditDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSeriesEditDlg(CMeasSeriesDlg* owner);

    void Bind(CQuivraDoc* doc, ISeriesHost* host);
    // Shows the current series' values (all fields empty and disabled without a series).
    void LoadFields();

    void ApplyName();
    void ApplyFrequency();
    void ApplyFrames();
    void ApplyAmplification();
    void OnUnit(int unit);
    void OnCalculate();

    QLineEdit* NameField() const { return m_pName; }
    QLineEdit* FrequencyField() const { return m_pFrequency; }
    QLineEdit* FramesField() const { return m_pFrames; }
    QLineEdit* AmplificationField() const { return m_pAmplification; }
    QRadioButton* HzButton() const { return m_pHz; }
    QRadioButton* RpmButton() const { return m_pRpm; }
    // Why a typed value was refused.
    QLabel* StatusLine() const { return m_pStatus; }

protected:
    bool eventFilter(QObject* obj, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    int Series() const;
    // The number the user typed into `field`, when the text changed and holds a number; else
    // false, and a refused text is replaced by `stored` (the stored value's text) with the
    // reason in the status line.
    bool ReadField(QLineEdit* field, const QString& what, const QString& stored, double* value);

    CMeasSeriesDlg* m_pOwner;
    CQuivraDoc* m_pDoc = nullptr;   // not owned
    ISeriesHost* m_pHost = nullptr; // not owned
    QLineEdit* m_pName;
    QLineEdit* m_pFrequency;
    QLineEdit* m_pFrames;
    QLineEdit* m_pAmplification;
    QRadioButton* m_pHz;
    QRadioButton* m_pRpm;
    QLabel* m_pStatus;
};

// The largest amplification for series k that keeps every object point's motion within 0.3 ×
// the distance to its nearest neighbour in the same object; 1e100 when nothing limits it.
double ProposeAmplification(const CQuivraDoc& doc, int k);
