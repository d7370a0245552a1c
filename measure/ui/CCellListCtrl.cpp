#include "CCellListCtrl.h"

#include "CCellEdit.h"
#include "CCellListModel.h"
#include "CQuivraDoc.h"
#include "CellNumber.h"
#include "NumberText.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

CCellListCtrl::CCellListCtrl(QWidget* parent)
    : QTableView(parent), m_pModel(new CCellListModel(this)) {
    setModel(m_pModel);
    setShowGrid(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setWordWrap(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    // Columns may be narrowed until they vanish; too narrow ones are not edited.
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->hide();
    // Uniform rows keep scrolling and resetting cheap at any row count.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

CCellListCtrl::~CCellListCtrl() {
    // The editor must not commit into a half-destroyed list.
    // The editor (a child) is destroyed with the list; it must not commit into it meanwhile.
    if (m_pEdit)
        m_pEdit->Discard();
}

void CCellListCtrl::InsertColumn(const QString& heading, Qt::Alignment alignment, int width) {
    DiscardEditor();
    m_pModel->AddColumn(heading, alignment);
    setColumnWidth(m_pModel->ColumnCount() - 1, width);
}

int CCellListCtrl::GetColumnCount() const {
    return m_pModel->ColumnCount();
}

void CCellListCtrl::SetRows(std::vector<void*> itemData, std::vector<QString> cells) {
    DiscardEditor();
    m_pModel->SetRows(std::move(itemData), std::move(cells));
}

void CCellListCtrl::DeleteAllItems() {
    DiscardEditor();
    m_pModel->Clear();
}

int CCellListCtrl::GetItemCount() const {
    return m_pModel->RowCount();
}

void* CCellListCtrl::GetItemData(int row) const {
    return m_pModel->ItemData(row);
}

QString CCellListCtrl::GetItemText(int row, int column) const {
    return m_pModel->Text(row, column);
}

void CCellListCtrl::SetItemText(int row, int column, const QString& text) {
    m_pModel->SetText(row, column, text);
}

int CCellListCtrl::GetCountPerPage() const {
    const int h = verticalHeader()->defaultSectionSize();
    return std::max(1, h > 0 ? viewport()->height() / h : 1);
}

CCellEdit* CCellListCtrl::CurrentEditor() const {
    return m_pEdit && !m_pEdit->IsClosed() ? m_pEdit.data() : nullptr;
}

void CCellListCtrl::CloseCellEdit() {
    if (CCellEdit* e = CurrentEditor()) {
        const bool hadFocus = e->hasFocus();
        e->Close();
        if (hadFocus)
            setFocus(Qt::OtherFocusReason);
    }
}

void CCellListCtrl::DiscardEditor() {
    if (CCellEdit* e = CurrentEditor()) {
        // No commit: the row (and maybe its record) is about to go.
        const bool hadFocus = e->hasFocus();
        e->Discard();
        if (hadFocus)
            setFocus(Qt::OtherFocusReason);
    }
}

void CCellListCtrl::EditorClosed(CCellEdit* edit) {
    if (m_pEdit == edit)
        m_pEdit = nullptr;
}

CCellEdit* CCellListCtrl::BeginCellEdit(int row, int column) {
    // Taking the focus closes (and commits) an open editor; without an active window no focus
    // event arrives, so close it explicitly as well.
    setFocus(Qt::OtherFocusReason);
    CloseCellEdit();
    if (row < 0 || row >= GetItemCount())
        return nullptr;
    if (column < 0 || column >= GetColumnCount() || columnWidth(column) < 5 ||
        !IsEditableColumn(column))
        return nullptr;

    const QModelIndex index = m_pModel->index(row, column);
    scrollTo(index, QAbstractItemView::EnsureVisible);
    QRect rect = visualRect(index);
    if (rect.left() < 0 || rect.left() > viewport()->width()) {
        // Bring the cell's left edge to the left edge of the visible area.
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + rect.left());
        rect = visualRect(index);
    }
    rect.setRight(std::min(rect.right(), viewport()->width() - 1));

    auto* edit = new CCellEdit(this, row, column, InitialText(row, column),
                               m_pModel->ColumnAlignment(column));
    edit->setGeometry(rect);
    m_pEdit = edit;
    edit->show();
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    OnEditorOpened(row, column);
    return m_pEdit ? edit : nullptr;
}

CCellListCtrl::Cell CCellListCtrl::HitTestCell(const QPoint& pos) const {
    Cell hit;
    const int row = rowAt(pos.y());
    if (row < 0)
        return hit;
    int left = -horizontalHeader()->offset();
    for (int c = 0; c < GetColumnCount(); ++c) {
        const int w = columnWidth(c);
        if (!isColumnHidden(c) && pos.x() >= left && pos.x() <= left + w) {
            hit.row = row;
            hit.column = MapClickColumn(c);
            return hit;
        }
        left += isColumnHidden(c) ? 0 : w;
    }
    return hit;
}

void CCellListCtrl::CommitCell(int row, int column, const std::optional<QString>& text) {
    if (!text)
        return;
    double v = 0.0;
    const numtext::Leading status = numtext::ParseLeadingDouble(*text, &v);
    if (status != numtext::Leading::Number) {
        emit cellRefused(row, column,
                         numtext::RefusalReason(status, *text) +
                             QStringLiteral("; the cell keeps its value."));
        return;
    }
    QString why;
    if (!StoreValue(row, column, v, &why)) {
        if (!why.isEmpty())
            emit cellRefused(row, column, why);
        return;
    }
    SetItemText(row, column, CommittedText(v));
    if (CQuivraDoc* doc = Document()) {
        doc->SetModifiedFlag();
        doc->m_laterEdits.Note(SceneChanges::ValueEdited);
        doc->UpdateAllViews();
    }
    emit cellCommitted(row, column);
}

QString CCellListCtrl::CommittedText(double value) const {
    return Format4G(value);
}

void CCellListCtrl::mousePressEvent(QMouseEvent* e) {
    QTableView::mousePressEvent(e);
    if (e->button() != Qt::LeftButton)
        return;
    const Cell hit = HitTestCell(e->position().toPoint());
    if (hit.row >= 0)
        BeginCellEdit(hit.row, hit.column);
}

void CCellListCtrl::scrollContentsBy(int dx, int dy) {
    // The editor sits over a cell: commit and close it before the cells move.
    if (CurrentEditor()) {
        setFocus(Qt::OtherFocusReason);
        CloseCellEdit();
    }
    QTableView::scrollContentsBy(dx, dy);
}
