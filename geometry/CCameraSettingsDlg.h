#pragma once

#include "IViewSettingsTarget.h"

#include <QDialog>

class CNumberEdit;
class CQuivraDoc;
class IDocView;

// "Camera Settings": the rotation angles, zoom and pan of the document's view, each with a pair
// of step arrows. One per document, following the view the tool windows are bound to. Typed
// values are stored at once and shown on Enter or when the field loses the focus; arrows change
// the value, repaint and refresh the fields. Closing hides it.
// Object names: RotX RotY RotZ Zoom PanX PanY PanZ, each with <name>Left and <name>Right arrows.
class CCameraSettingsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCameraSettingsDlg(QWidget* parent = nullptr);

    // The view must also implement IViewSettingsTarget (a view that does not is ignored).
    // Refreshes the fields from the newly bound view.
    void Bind(CQuivraDoc* doc, IDocView* view);

    // Writes the seven camera values into the fields with "%g".
    void ShowValues();

    // One arrow click: rotation and pan add their step, zoom multiplies by its factor.
    void Step(IViewSettingsTarget::CameraValue which, bool increase);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The bound view if it still belongs to the document, else the document's current view, so
    // a closed view is never touched.
    IViewSettingsTarget* Target() const;
    void FieldEdited(IViewSettingsTarget::CameraValue which);

    CQuivraDoc* m_pDoc = nullptr; // not owned
    IDocView* m_pView = nullptr;  // not owned
    CNumberEdit* m_pFields[IViewSettingsTarget::CameraValueCount] = {};
};
