#pragma once

#include <QPointer>
#include <QString>
#include <QTableView>

#include <optional>
#include <vector>

class CCellEdit;
class CCellListModel;
class CQuivraDoc;

// A report list whose cells are edited in place: a click or a navigation key opens a
// CCellEdit exactly over a cell, and the editor's text is written into the row's record when
// it closes. The variants decide which cells are editable, the editor's initial text, where
// the number goes and where Tab leads.
//
// The list holds the rows (record pointer plus texts) and nothing else; its owning window
// fills it. Replacing the rows discards an open editor without committing, because the record
// it was editing may already be gone.
class CCellListCtrl : public QTableView {
    Q_OBJECT
public:
    explicit CCellListCtrl(QWidget* parent = nullptr);
    ~CCellListCtrl() override;

    struct Cell {
        int row = -1;
        int column = 0;
    };

    void InsertColumn(const QString& heading, Qt::Alignment alignment, int width);
    int GetColumnCount() const;
    void SetRows(std::vector<void*> itemData, std::vector<QString> cells);
    void DeleteAllItems();
    int GetItemCount() const;
    void* GetItemData(int row) const;
    QString GetItemText(int row, int column) const;
    void SetItemText(int row, int column, const QString& text);
    // Rows that fit into the visible area, at least 1.
    int GetCountPerPage() const;

    // Opens an editor on the cell, closing (and committing) any open one first. Returns the
    // new editor, or null when the row or column does not exist, the column is narrower than
    // 5 pixels or the variant does not edit it. Row -1 only closes the open editor.
    CCellEdit* BeginCellEdit(int row, int column);
    // The cell under `pos` (viewport coordinates) after the variant's click mapping; row -1
    // when no row is there.
    Cell HitTestCell(const QPoint& pos) const;
    // The end-of-edit notification: no text means cancelled.
    void CommitCell(int row, int column, const std::optional<QString>& text);

    CCellEdit* CurrentEditor() const;
    // Commits and closes the open editor, if any.
    void CloseCellEdit();

    // Called by the editor when it closes.
    void EditorClosed(CCellEdit* edit);

    // Where Tab (forward) or Shift+Tab (backward) leads from a cell; row -1 = nowhere.
    virtual Cell TabTarget(int row, int column, bool backward) const = 0;

signals:
    // A cell was committed (after the record and the cell text changed).
    void cellCommitted(int row, int column);
    // A typed text was refused (no number, or a value the record cannot take): the record and
    // the cell keep their value; `message` says why, for the window's status line.
    void cellRefused(int row, int column, const QString& message);

protected:
    // Variant hooks.
    virtual bool IsEditableColumn(int column) const = 0;
    virtual int MapClickColumn(int column) const = 0;
    virtual QString InitialText(int row, int column) const = 0;
    virtual void OnEditorOpened(int row, int column) = 0;
    // Stores the committed value into the row's record; false when nothing could be stored,
    // with `why` set when the user should be told (a record that is gone needs no words).
    virtual bool StoreValue(int row, int column, double value, QString* why) = 0;
    // The cell text after a commit of `value`.
    virtual QString CommittedText(double value) const;
    // The document marked modified and repainted after a commit; null = none.
    virtual CQuivraDoc* Document() const = 0;

    void mousePressEvent(QMouseEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void DiscardEditor();

    CCellListModel* m_pModel;
    QPointer<CCellEdit> m_pEdit;
};
