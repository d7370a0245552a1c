#include "CPlaceholderView.h"

#include "CQuivraDoc.h"

#include <QPainter>

CPlaceholderView::CPlaceholderView(CQuivraDoc* doc, QWidget* parent)
    : QWidget(parent), m_pDoc(doc) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
    m_pDoc->AddView(this);
}

CPlaceholderView::~CPlaceholderView() {
    m_pDoc->RemoveView(this);
}

void CPlaceholderView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    m_bHasFocus = true;
    m_pDoc->BindToolWindows();
}

void CPlaceholderView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    m_bHasFocus = false;
}

void CPlaceholderView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawText(rect(), Qt::AlignCenter,
                     QStringLiteral("%1 corner points").arg(m_pDoc->PointCount()));
}
