#include "COffscreenGL.h"

#include "COSMesaLibrary.h"
#include "OSMesaApi.h"

bool COffscreenGL::s_bFailNextAllocation = false;

COffscreenGL::~COffscreenGL() {
    if (m_ctx) {
        if (OSMesaGetCurrentContext() == m_ctx)
            OSMesaMakeCurrent(nullptr, nullptr, GL_UNSIGNED_BYTE, 0, 0);
        OSMesaDestroyContext(m_ctx);
    }
}

QString COffscreenGL::Resize(int width, int height) {
    if (width >= 1 && height >= 1) {
        QImage image;
        if (!s_bFailNextAllocation)
            image = QImage(width, height, QImage::Format_RGB32);
        s_bFailNextAllocation = false;
        if (image.isNull())
            return QStringLiteral("WM_SIZE - Create24bppDIBSection failed");
        m_image = image;
        if (!m_ctx) {
            // Waits for the library if the program is still opening it in the background.
            if (!COSMesaLibrary::Load()) {
                // The fixed message says which step failed; the reason goes to the log.
                qWarning("%s", qPrintable(COSMesaLibrary::Error()));
                return QStringLiteral("WM_SIZE - wglCreateContext failed");
            }
            m_ctx = OSMesaCreateContextExt(OSMESA_BGRA, 24, 0, 0, nullptr);
            if (!m_ctx)
                return QStringLiteral("WM_SIZE - wglCreateContext failed");
        }
        if (!MakeCurrent())
            return QStringLiteral("WM_SIZE - wglMakeCurrent failed");
    }
    m_viewportWidth = width;
    m_viewportHeight = height;
    // A minimised view (or any empty size) has no aspect ratio: keep the last projection. No
    // frame is drawn at that size, and the next real size sets it again.
    if (width >= 1 && height >= 1 && MakeCurrent())
        SetProjection(width, height);
    return QString();
}

bool COffscreenGL::MakeCurrent() {
    if (!m_ctx || m_image.isNull())
        return false;
    // bits() of the one image we own never detaches; the buffer stays where GL writes.
    if (!OSMesaMakeCurrent(m_ctx, m_image.bits(), GL_UNSIGNED_BYTE, m_image.width(),
                           m_image.height()))
        return false;
    // Row 0 at the top, as in the QImage; must be set after every MakeCurrent.
    OSMesaPixelStore(OSMESA_Y_UP, 0);
    return true;
}

void COffscreenGL::SetProjection(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(30.0, static_cast<double>(width) / static_cast<double>(height),
                   static_cast<double>(0.1f), 20.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -5.0f);
}
