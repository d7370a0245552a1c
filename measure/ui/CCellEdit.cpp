#include "CCellEdit.h"

#include "CCellListCtrl.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyle>

CCellEdit::CCellEdit(CCellListCtrl* list, int row, int column, const QString& initialText,
                     Qt::Alignment alignment)
    : QLineEdit(list->viewport()), m_pList(list), m_nRow(row), m_nColumn(column),
      m_strInitial(initialText) {
    setObjectName(QStringLiteral("CCellEdit"));
    setProperty("controlId", int(ControlId));
    setFont(list->font());
    setAlignment(alignment | Qt::AlignVCenter);
    setText(initialText);
    connect(this, &QLineEdit::textEdited, this, &CCellEdit::Widen);
}

void CCellEdit::SendEndEdit() {
    if (m_bEndSent)
        return;
    m_bEndSent = true;
    // An untouched editor commits nothing: its text is the value rounded to "%g", and merely
    // walking through cells must not round the scene's numbers.
    std::optional<QString> text;
    if (!m_bCancel && this->text() != m_strInitial)
        text = this->text();
    m_pList->CommitCell(m_nRow, m_nColumn, text);
}

void CCellEdit::Close() {
    if (m_bClosed)
        return;
    m_bClosed = true;
    SendEndEdit();
    m_pList->EditorClosed(this);
    hide();
    deleteLater();
}

void CCellEdit::Discard() {
    if (m_bClosed)
        return;
    m_bClosed = true;
    m_bEndSent = true;
    m_pList->EditorClosed(this);
    hide();
    deleteLater();
}

bool CCellEdit::event(QEvent* e) {
    // Tab and Shift+Tab move between cells instead of between the dialog's controls.
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            const bool backward =
                k->key() == Qt::Key_Backtab || (k->modifiers() & Qt::ShiftModifier);
            const CCellListCtrl::Cell to = m_pList->TabTarget(m_nRow, m_nColumn, backward);
            if (to.row >= 0)
                m_pList->BeginCellEdit(to.row, to.column);
            return true;
        }
    }
    return QLineEdit::event(e);
}

void CCellEdit::keyPressEvent(QKeyEvent* e) {
    const int n = m_pList->GetItemCount();
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    switch (e->key()) {
    case Qt::Key_Up:
        if (m_nRow >= 1)
            m_pList->BeginCellEdit(m_nRow - 1, m_nColumn);
        return;
    case Qt::Key_Down:
        // On the last row the same cell reopens, showing its committed value.
        m_pList->BeginCellEdit(m_nRow + 1 < n ? m_nRow + 1 : m_nRow, m_nColumn);
        return;
    case Qt::Key_Home:
        if (ctrl) {
            m_pList->BeginCellEdit(0, m_nColumn);
            return;
        }
        break;
    case Qt::Key_End:
        if (ctrl) {
            m_pList->BeginCellEdit(n - 1, m_nColumn);
            return;
        }
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // These act on release.
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        SendEndEdit();
        if (m_nRow + 1 < n)
            m_pList->BeginCellEdit(m_nRow + 1, m_nColumn);
        else
            m_pList->CloseCellEdit();
        return;
    case Qt::Key_Escape:
        m_bCancel = 1;
        m_pList->setFocus(Qt::OtherFocusReason);
        // Without an active window no focus event arrives; close in any case.
        Close();
        return;
    default:
        break;
    }
    QLineEdit::keyPressEvent(e);
    // Keys such as Return must never reach the dialog (its default button, its Escape).
    e->accept();
}

void CCellEdit::keyReleaseEvent(QKeyEvent* e) {
    const int n = m_pList->GetItemCount();
    const int page = m_pList->GetCountPerPage();
    if (e->key() == Qt::Key_PageUp) {
        const int to = m_nRow - page;
        m_pList->BeginCellEdit(to < 1 ? 0 : to, m_nColumn);
        return;
    }
    if (e->key() == Qt::Key_PageDown) {
        const int to = m_nRow + page;
        m_pList->BeginCellEdit(to >= n ? n - 1 : to, m_nColumn);
        return;
    }
    QLineEdit::keyReleaseEvent(e);
}

void CCellEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // The editor's own context menu takes the focus only for a moment.
    if (e->reason() == Qt::PopupFocusReason)
        return;
    Close();
}

void CCellEdit::Widen() {
    const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const QMargins m = textMargins();
    const int needed =
        fontMetrics().horizontalAdvance(text()) + 5 + frame + m.left() + m.right() + 4;
    if (needed <= width())
        return;
    const int maxRight = m_pList->viewport()->width();
    const int newWidth = std::min(needed, maxRight - x());
    if (newWidth > width())
        resize(newWidth, height());
}
