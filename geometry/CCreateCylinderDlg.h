#pragma once

#include <QDialog>

#include <vector>

class CIntegerEdit;
class CNumberEdit;
class CNumericEdit;
class CQuivraDoc;
class IDocView;
class QButtonGroup;
class QCheckBox;
class QPushButton;
struct CylinderInput;

// "Create Cylinder": centre relative to the local origin, axis, radius, corners, first-corner
// angle in degrees, length and two line options. Modeless, one per document, created hidden;
// OK and Cancel hide it and it keeps its texts. Object names: CX CY CZ R N A L, AxisX AxisY
// AxisZ, CornerLines, CentreLine, OK, Cancel.
class CCreateCylinderDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCreateCylinderDlg(QWidget* parent = nullptr);

    void Bind(CQuivraDoc* doc, IDocView* view = nullptr);
    CQuivraDoc* Document() const { return m_pDoc; }

    CylinderInput Input() const;

public slots:
    // Builds the cylinder (undo snapshot, append, modified, point table, redraw), then hides.
    void accept() override;

private:
    CQuivraDoc* m_pDoc = nullptr; // not owned
    QPushButton* m_pOk = nullptr;
    CNumberEdit* m_pCentre[3] = {};
    CNumberEdit* m_pRadius = nullptr;
    CIntegerEdit* m_pCorners = nullptr;
    CNumberEdit* m_pAngle = nullptr;
    CNumberEdit* m_pLength = nullptr;
    QButtonGroup* m_pAxis = nullptr;
    QCheckBox* m_pCornerLines = nullptr;
    QCheckBox* m_pCentreLine = nullptr;
    std::vector<CNumericEdit*> m_fields; // R CX CY CZ L A N
};
