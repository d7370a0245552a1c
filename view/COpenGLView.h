#pragma once

#include "COffscreenGL.h"

#include <QWidget>

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
    // views); false when nothing was drawn.
    bool RenderOffscreen() { return RenderFrame(); }

    // The render core and its last frame.
    COffscreenGL& GL() { return m_gl; }
    const QImage& Frame() const { return m_gl.Image(); }

signals:
    // A frame reached the widget (after the copy in paintEvent).
    void FramePainted();

protected:
    // Draws one frame into GL(); false when nothing was drawn (then nothing is copied).
    virtual bool RenderFrame() = 0;
    // Shows a resize failure; the default is a message box, then the view is destroyed.
    virtual void ReportFailure(const QString& message);

    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    COffscreenGL m_gl;
    bool m_bDeferFrame = false;
};
