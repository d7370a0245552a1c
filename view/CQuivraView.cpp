#include "CQuivraView.h"

#include "CQuivraDoc.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QTimerEvent>
#include <QWheelEvent>

CQuivraView::CQuivraView(CQuivraDoc* doc, QWidget* parent) : COpenGLView(parent), m_pDoc(doc) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    m_renderer.m_fnReport = [this](const QString& text) {
        QMessageBox::warning(this, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
    };
    if (m_pDoc)
        m_pDoc->AddView(this);
    // A buffer and a current context before the first paint: the screen's size until the
    // first real resize sets the client size.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize full = screen ? screen->size() : QSize(640, 480);
    OnSize(full.width(), full.height());
}

CQuivraView::~CQuivraView() {
    m_timer.stop();
    if (m_pDoc)
        m_pDoc->RemoveView(this);
}

void CQuivraView::OnInitialUpdate() {
    if (m_pDoc)
        m_dZoom = FitZoom(*m_pDoc);
    RepaintNow();
}

bool CQuivraView::RenderFrame() {
    if (!m_pDoc)
        return false;
    return m_renderer.RenderFrame(GL(), *m_pDoc, *this, width(), height());
}

void CQuivraView::OnToggleAnimation() {
    if (!m_bAnimating) {
        StartAnimation();
        // The first repaint comes with the first tick.
        m_timer.start(kTimerInterval, this);
    } else {
        m_timer.stop();
        StopAnimation();
        RepaintNow();
    }
}

void CQuivraView::MaxDeviation(bool negative) {
    if (!m_pDoc)
        return;
    bool wasAnimating = false;
    if (!StartMaxDeviation(*m_pDoc, negative, &wasAnimating))
        return;
    if (!wasAnimating || !m_timer.isActive())
        m_timer.start(kTimerInterval, this);
    if (!negative)
        RepaintNow();
}

void CQuivraView::OnMaxDeviationAnim() {
    MaxDeviation(false);
}

void CQuivraView::OnMaxDeviationAnimNeg() {
    MaxDeviation(true);
}

void CQuivraView::OnTimer() {
    if (m_pDoc && Tick(*m_pDoc))
        RepaintNow();
}

void CQuivraView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer.timerId())
        OnTimer();
    else
        COpenGLView::timerEvent(event);
}

void CQuivraView::focusInEvent(QFocusEvent* event) {
    COpenGLView::focusInEvent(event);
    m_bHasFocus = 1;
    if (m_pDoc)
        m_pDoc->BindToolWindows();
}

void CQuivraView::focusOutEvent(QFocusEvent* event) {
    COpenGLView::focusOutEvent(event);
    m_bHasFocus = 0;
}

void CQuivraView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(event);
    else if (event->button() == Qt::RightButton)
        OnRButtonDown(event);
    COpenGLView::mousePressEvent(event);
}

void CQuivraView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(event);
    COpenGLView::mouseReleaseEvent(event);
}

void CQuivraView::mouseMoveEvent(QMouseEvent* event) {
    OnMouseMove(event);
    COpenGLView::mouseMoveEvent(event);
}

void CQuivraView::wheelEvent(QWheelEvent* event) {
    OnMouseWheel(event);
}

void CQuivraView::contextMenuEvent(QContextMenuEvent* event) {
    OnContextMenu(event);
}
