#pragma once

#include "COffscreenGL.h"

#include <QSize>
#include <QWidget>

class QPainter;
class QTimer;

// Base of the scene view: OpenGL never draws into the window. Every paint renders the whole
// frame into the off-screen buffer (sized to the client area, rebuilt on every resize, one
// context for the view's life) and copies it to the widget in one piece, so nothing flickers.
// A paint without a frame shows the background (white, as every frame is cleared), never the
// window's old or uninitialised pixels.
class COpenGLView : public QWidget {
    Q_OBJECT
public:
    explicit COpenGLView(QWidget* parent = nullptr);
    ~COpenGLView() override;

    // The resize chain for a client area of width x height. A failing step shows its fixed
    // message (caption "GLDib") through ReportFailure and destroys the view. Returns false then.
    bool OnSize(int width, int height);
    // OnSize now, or, while the program opens the GL library in the background and the view
    // has no context yet, once it is open: the window meanwhile shows PaintPreview.
    void SizeWhenReady(int width, int height);

    // Invalidate and paint before returning (the frame, even when the first one was to wait).
    void RepaintNow() {
        if (isVisible())
            m_bDeferFrame = false;
        repaint();
    }
    // The next paint shows the background at once and the frame just after it: a window shown
    // for the first time then has something on it while a long first frame is drawn.
    void DeferFirstFrame() { m_bDeferFrame = true; }
    // Renders a frame into the buffer without painting the widget (image output, hidden
    // views); false when nothing was drawn. Waits for the GL library if it is still opening.
    bool RenderOffscreen() { return FinishPendingSize() && RenderFrame(); }

    // The render core and its last frame.
    COffscreenGL& GL() { return m_gl; }
    const QImage& Frame() const { return m_gl.Image(); }

signals:
    // A frame reached the widget (after the copy in paintEvent).
    void FramePainted();
    // The preview of the model reached the widget while the GL library was still opening.
    void PreviewPainted();

protected:
    // Draws one frame into GL(); false when nothing was drawn (then nothing is copied).
    virtual bool RenderFrame() = 0;
    // Shows a resize failure; the default is a message box, then the view is destroyed.
    virtual void ReportFailure(const QString& message);
    // Paints what stands for the frame while the GL library is still opening, background
    // included; false when there is nothing to show (the view then paints white).
    virtual bool PaintPreview(QPainter&) { return false; }

    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The resize that waited for the GL library; false when it failed (reported).
    bool FinishPendingSize();

    COffscreenGL m_gl;
    bool m_bDeferFrame = false;
    bool m_bSizePending = false;
    QSize m_pendingSize;
    QTimer* m_pLibraryPoll = nullptr; // runs while a pending resize waits for the library
};
