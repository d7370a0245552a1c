#pragma once

#include <QLineEdit>

class CCellListCtrl;

// The single-line editor a CCellListCtrl opens over one cell. It commits its text to the list
// whenever it loses the keyboard focus (unless Escape cancelled it), moves to other cells on
// the navigation keys, and deletes itself once closed.
class CCellEdit : public QLineEdit {
    Q_OBJECT
public:
    enum { ControlId = 1001 };

    CCellEdit(CCellListCtrl* list, int row, int column, const QString& initialText,
              Qt::Alignment alignment);

    int Row() const { return m_nRow; }
    int Column() const { return m_nColumn; }
    bool IsCancelled() const { return m_bCancel != 0; }
    bool IsClosed() const { return m_bClosed; }

    // Sends the end-of-edit notification for the cell (the text, or none when cancelled).
    // Only the first call sends: a later focus loss must not commit the same text twice.
    void SendEndEdit();
    // Ends the edit as a focus loss would: notifies (unless already done), hides, deletes later.
    void Close();
    // Closes without any notification: the row it edits is going away.
    void Discard();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void Widen();

    CCellListCtrl* m_pList; // not owned; the parent chain keeps it alive
    int m_nRow;
    int m_nColumn;
    QString m_strInitial;
    int m_bCancel = 0;
    bool m_bEndSent = false;
    bool m_bClosed = false;
};
