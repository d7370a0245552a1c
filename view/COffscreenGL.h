#pragma once

#include <QImage>
#include <QString>

// OSMesa's context type, without pulling the GL headers into every includer.
typedef struct osmesa_context* OSMesaContext;

// An OpenGL 1.1 context that renders into memory we own: the frame buffer is also a QImage
// (Format_RGB32, row 0 at the top), so the finished frame is copied to a window, printed or
// written to a file without reading it back. One context is created at the first non-empty
// resize and reused for every later buffer.
class COffscreenGL {
public:
    COffscreenGL() = default;
    ~COffscreenGL();
    COffscreenGL(const COffscreenGL&) = delete;
    COffscreenGL& operator=(const COffscreenGL&) = delete;

    // The resize chain. With a non-empty size: a new buffer of that size, the context (created
    // once), made current. With an empty size the old buffer stays. Then the viewport and the
    // fixed projection. Returns an empty string on success, else the fixed failure message of
    // the step that failed (the caller shows it with the caption "GLDib").
    QString Resize(int width, int height);
    // Makes the context current on the buffer; false without a buffer or on failure.
    bool MakeCurrent();

    bool HasContext() const { return m_ctx != nullptr; }
    // The last rendered frame. Shares the memory OpenGL draws into: take copy() to keep it.
    const QImage& Image() const { return m_image; }
    int BufferWidth() const { return m_image.width(); }
    int BufferHeight() const { return m_image.height(); }
    int ViewportWidth() const { return m_viewportWidth; }
    int ViewportHeight() const { return m_viewportHeight; }

    // Viewport (0, 0, w, h), 30 degree perspective with near 0.1f and far 20, eye 5 units back.
    static void SetProjection(int width, int height);

    // For tests: makes the next buffer allocation fail as an exhausted memory would.
    static void FailNextAllocationForTest() { s_bFailNextAllocation = true; }

private:
    OSMesaContext m_ctx = nullptr;
    QImage m_image;
    int m_viewportWidth = 0;
    int m_viewportHeight = 0;
    static bool s_bFailNextAllocation;
};
