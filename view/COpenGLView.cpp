#include "COpenGLView.h"

#include "COSMesaLibrary.h"

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
    // A size set now supersedes one still waiting for the library.
    m_bSizePending = false;
    const QString failure = m_gl.Resize(width, height);
    if (failure.isEmpty())
        return true;
    ReportFailure(failure);
    return false;
}

void COpenGLView::SizeWhenReady(int width, int height) {
    if (m_gl.HasContext() || !COSMesaLibrary::IsLoading()) {
        OnSize(width, height);
        return;
    }
    m_bSizePending = true;
    m_pendingSize = QSize(width, height);
    if (m_pLibraryPoll)
        return;
    m_pLibraryPoll = new QTimer(this);
    m_pLibraryPoll->setInterval(5);
    connect(m_pLibraryPoll, &QTimer::timeout, this, [this] {
        // Started here, after the first paint had its turn, if no paint started it yet.
        COSMesaLibrary::LoadInBackground();
        if (COSMesaLibrary::IsLoading())
            return;
        m_pLibraryPoll->stop();
        m_pLibraryPoll->deleteLater();
        m_pLibraryPoll = nullptr;
        // A library that failed to open fails here as a context would: message, view gone.
        if (FinishPendingSize())
            update();
    });
    m_pLibraryPoll->start();
}

bool COpenGLView::FinishPendingSize() {
    if (!m_bSizePending)
        return true;
    return OnSize(m_pendingSize.width(), m_pendingSize.height());
}

void COpenGLView::ReportFailure(const QString& message) {
    QMessageBox::warning(this, QStringLiteral("GLDib"), message, QMessageBox::Ok);
    // A view without a frame buffer cannot show anything; it goes away as a whole.
    hide();
    deleteLater();
}

void COpenGLView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SizeWhenReady(event->size().width(), event->size().height());
}

void COpenGLView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_bSizePending) {
        if (PaintPreview(painter))
            emit PreviewPainted();
        else
            painter.fillRect(rect(), Qt::white);
        // The window is on screen: the GL library may load now without delaying it.
        COSMesaLibrary::LoadInBackground();
        return;
    }
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
