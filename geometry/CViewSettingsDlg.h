#pragma once

#include <QDialog>

class CQuivraDoc;
class IViewSettingsTarget;
class QLineEdit;

// "View Settings": the width in pixels of the view's lines. One per view, bound to it. Every
// change repaints the view; widths below 1 and text that is not a whole number leave the width
// as it was. Object names: LineWidth, LineWidthUp, LineWidthDown, Close.
class CViewSettingsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CViewSettingsDlg(QWidget* parent = nullptr);

    void Bind(CQuivraDoc* doc, IViewSettingsTarget* view);

    // One arrow click: the field's whole number (0 when it holds none) plus or minus 1, then
    // the field-changed rule.
    void Step(bool up);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FieldChanged();

    CQuivraDoc* m_pDoc = nullptr;           // not owned
    IViewSettingsTarget* m_pView = nullptr; // not owned; the view owns this form
    QLineEdit* m_pWidth = nullptr;
};
