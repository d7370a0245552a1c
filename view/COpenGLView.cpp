#include "COpenGLView.h"

#include <QMessageBox>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>

COpenGLView::COpenGLView(QWidget* parent) : QWidget(parent) {
    // Every paint covers the whole client area with the frame: never erase it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

COpenGLView::~COpenGLView() = default;

bool COpenGLView::OnSize(int width, int height) {
    const QString failure = m_gl.Resize(width, height);
    if (failure.isEmpty())
        return true;
    ReportFailure(failure);
    return false;
}

void COpenGLView::ReportFailure(const QString& message) {
    QMessageBox::warning(this, QStringLiteral("GLDib"), message, QMessageBox::Ok);
    // A view without a frame buffer cannot show anything; it goes away as a whole.
    hide();
    deleteLater();
}

void COpenGLView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    OnSize(event->size().width(), event->size().height());
}

void COpenGLView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_bDeferFrame) {
        m_bDeferFrame = false;
        painter.fillRect(rect(), Qt::white);
        QTimer::singleShot(0, this, [this] { update(); });
        return;
    }
    if (!RenderFrame()) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    const QImage& frame = m_gl.Image();
    if (frame.size() == size())
        painter.drawImage(0, 0, frame);
    else
        painter.drawImage(rect(), frame); // the last resize left a buffer of another size
    painter.end();
    emit FramePainted();
}
