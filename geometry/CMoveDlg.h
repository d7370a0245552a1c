#pragma once

#include "Point3.h"

#include <QDialog>

#include <vector>

class CNumberEdit;
class CNumericEdit;
class CQuivraDoc;
class IDocView;
class QPushButton;

// One form with three number fields X, Y, Z in four layouts that differ in title, group label
// and what OK does:
//   MovePoints  "Move Corner Points"  adds the typed difference to the selected points;
//   CopyPoints  "Copy Corner Points"  makes moved free copies of the selected points;
//   MoveObjects "Move Objects"        moves the selected objects (cylinder centre included);
//   MoveOrigin  "Move Local Origin"   moves the local origin by the typed local position.
// The first three exist once per view, the last once per document. Modeless, created hidden;
// the fields start at 0 and keep what was typed. OK (allowed only while all three fields hold
// numbers) applies the edit, then empties the selection, rebuilds the corner point table,
// refills the Measurements window, redraws the views and hides the form. Cancel, Escape and the
// close box only hide it.
// Object names: Group (the group box), X, Y, Z, OK, Cancel.
class CMoveDlg : public QDialog {
    Q_OBJECT
public:
    enum class Layout { MovePoints, CopyPoints, MoveObjects, MoveOrigin };

    explicit CMoveDlg(Layout layout, QWidget* parent = nullptr);

    // The document whose selection (or origin) OK works on; the view is kept for the owner's
    // sake (every view of the document is redrawn).
    void Bind(CQuivraDoc* doc, IDocView* view);
    CQuivraDoc* Document() const { return m_pDoc; }
    IDocView* View() const { return m_pView; }
    Layout GetLayout() const { return m_layout; }

    // What the fields hold now (an empty field reads 0).
    Point3 Values() const;

    static QString TitleOf(Layout layout);
    static QString GroupLabelOf(Layout layout);

public slots:
    // Applies the layout's edit and the common end, then hides. With an invalid field nothing
    // happens; an edit that would carry a coordinate out of range changes nothing, says so and
    // leaves the form open.
    void accept() override;

private:
    bool ApplyEdit(const Point3& d);

    Layout m_layout;
    CQuivraDoc* m_pDoc = nullptr; // not owned
    IDocView* m_pView = nullptr;  // not owned
    QPushButton* m_pOk = nullptr;
    std::vector<CNumericEdit*> m_fields; // X Y Z
};
