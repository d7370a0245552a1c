#include "SceneBuilder.h"

#include "COffscreenGL.h"
#include "CViewState.h"

#include "OSMesaApi.h"

#include <algorithm>
#include <cmath>

namespace scene {

void Project(COffscreenGL& gl, const CViewState& st, double x, double y, double z, double* wx,
             double* wy, bool withPan, bool inset) {
    gl.MakeCurrent();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glRotatef(static_cast<float>(st.m_dRotX), 1, 0, 0);
    glRotatef(static_cast<float>(st.m_dRotY), 0, 1, 0);
    glRotatef(static_cast<float>(st.m_dRotZ), 0, 0, 1);
    glScaled(0.001, 0.001, 0.001);
    glScaled(st.m_dZoom, st.m_dZoom, st.m_dZoom);
    const double scale = st.m_dZoom * 0.001;
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    if (inset) {
        glScaled(1.0 / scale, 1.0 / scale, 1.0 / scale);
        vp[0] = static_cast<int>(0.75 * gl.ViewportWidth());
        vp[1] = static_cast<int>(0.75 * gl.ViewportHeight());
        vp[2] = static_cast<int>(0.25 * gl.ViewportWidth());
        vp[3] = static_cast<int>(0.25 * gl.ViewportHeight());
    }
    if (withPan && !inset)
        glTranslatef(static_cast<float>(st.m_dPanX), static_cast<float>(st.m_dPanY),
                     static_cast<float>(st.m_dPanZ));
    GLdouble mv[16], pr[16], wz = 0;
    glGetDoublev(GL_MODELVIEW_MATRIX, mv);
    glGetDoublev(GL_PROJECTION_MATRIX, pr);
    gluProject(x, y, z, mv, pr, vp, wx, wy, &wz);
    glPopMatrix();
}

QPoint PixelOf(COffscreenGL& gl, const CViewState& st, double x, double y, double z, bool withPan,
               bool inset) {
    double wx = 0, wy = 0;
    Project(gl, st, x, y, z, &wx, &wy, withPan, inset);
    // A point far off the frame (or behind the eye) lands well outside it, not at a wrapped int.
    const auto pixel = [](double v) {
        return std::isfinite(v) ? static_cast<int>(std::clamp(std::floor(v), -1.0e6, 1.0e6))
                                : -1000000;
    };
    return QPoint(pixel(wx), gl.ViewportHeight() - 1 - pixel(wy));
}

} // namespace scene
