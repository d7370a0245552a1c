#pragma once

#include <QDialog>

#include <vector>

class CNumberEdit;
class CNumericEdit;
class CQuivraDoc;
class IDocView;
class QCheckBox;
class QPushButton;
struct BoxInput;

// "Create Box": two corners relative to the local origin, a displacement and "Generate Lines".
// Modeless, one per document, created hidden; OK and Cancel hide it and it keeps its texts.
// Fields are reachable by object name: X1 Y1 Z1 X2 Y2 Z2 DX DY DZ, GenerateLines, OK, Cancel.
class CCreateBoxDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCreateBoxDlg(QWidget* parent = nullptr);

    // The document to build into; the view is not needed (all views are redrawn).
    void Bind(CQuivraDoc* doc, IDocView* view = nullptr);
    CQuivraDoc* Document() const { return m_pDoc; }

    // What the fields hold now.
    BoxInput Input() const;

public slots:
    // Builds the box (undo snapshot, append, modified, redraw, point table), then hides.
    void accept() override;

private:
    CNumberEdit* AddField(const char* name, double value);

    CQuivraDoc* m_pDoc = nullptr; // not owned
    QPushButton* m_pOk = nullptr;
    QCheckBox* m_pGenerateLines = nullptr;
    std::vector<CNumericEdit*> m_fields; // X1 Y1 Z1 X2 Y2 Z2 DX DY DZ
};
