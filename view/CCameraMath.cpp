#include "CCameraMath.h"

#include "CQuivraDoc.h"
#include "CViewState.h"
#include "CornerPoint.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kEyeDistance = 5.0;
constexpr double kPi = 3.14159265358979323846;
// Room left around a fitted scene: the fitted points reach this fraction of the half window.
constexpr double kFitMargin = 0.85;

void Rotation(double angleDeg, int axis, double m[3][3]) {
    const double a = angleDeg * kPi / 180.0, c = std::cos(a), s = std::sin(a);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m[i][j] = i == j ? 1.0 : 0.0;
    const int p = (axis + 1) % 3, q = (axis + 2) % 3;
    m[p][p] = c;
    m[p][q] = -s;
    m[q][p] = s;
    m[q][q] = c;
}

void Multiply(const double a[3][3], const double b[3][3], double out[3][3]) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            out[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
}

} // namespace

CCameraMath::CCameraMath(const CViewState& st, int width, int height)
    : m_scale(st.m_dZoom * 0.001), m_pan{st.m_dPanX, st.m_dPanY, st.m_dPanZ},
      m_f(1.0 / std::tan(15.0 * kPi / 180.0)),
      m_aspect(height > 0 ? static_cast<double>(width) / height : 1.0), m_w(width), m_h(height) {
    double rx[3][3], ry[3][3], rz[3][3], rxy[3][3];
    Rotation(st.m_dRotX, 0, rx);
    Rotation(st.m_dRotY, 1, ry);
    Rotation(st.m_dRotZ, 2, rz);
    Multiply(rx, ry, rxy);
    Multiply(rxy, rz, m_r);
}

Vec3d CCameraMath::ToEye(const Vec3d& p) const {
    const double v[3] = {(p.x + m_pan.x) * m_scale, (p.y + m_pan.y) * m_scale,
                         (p.z + m_pan.z) * m_scale};
    Vec3d e;
    e.x = m_r[0][0] * v[0] + m_r[0][1] * v[1] + m_r[0][2] * v[2];
    e.y = m_r[1][0] * v[0] + m_r[1][1] * v[1] + m_r[1][2] * v[2];
    e.z = m_r[2][0] * v[0] + m_r[2][1] * v[1] + m_r[2][2] * v[2] - kEyeDistance;
    return e;
}

Vec3d CCameraMath::FromEye(const Vec3d& e) const {
    const double v[3] = {e.x, e.y, e.z + kEyeDistance};
    // The rotation's inverse is its transpose.
    Vec3d p;
    p.x = (m_r[0][0] * v[0] + m_r[1][0] * v[1] + m_r[2][0] * v[2]) / m_scale - m_pan.x;
    p.y = (m_r[0][1] * v[0] + m_r[1][1] * v[1] + m_r[2][1] * v[2]) / m_scale - m_pan.y;
    p.z = (m_r[0][2] * v[0] + m_r[1][2] * v[1] + m_r[2][2] * v[2]) / m_scale - m_pan.z;
    return p;
}

bool CCameraMath::ToWindow(const Vec3d& model, double* x, double* y) const {
    const Vec3d e = ToEye(model);
    if (!(e.z < 0.0))
        return false;
    const double nx = m_f / m_aspect * e.x / -e.z, ny = m_f * e.y / -e.z;
    *x = (nx + 1.0) * 0.5 * m_w;
    *y = m_h - (ny + 1.0) * 0.5 * m_h;
    return true;
}

Vec3d CCameraMath::Unproject(double x, double y, const Vec3d& depthOf) const {
    const double depth = -ToEye(depthOf).z;
    const double nx = 2.0 * x / m_w - 1.0, ny = 2.0 * (m_h - y) / m_h - 1.0;
    return FromEye({nx * depth * m_aspect / m_f, ny * depth / m_f, -depth});
}

bool CCameraMath::SceneCentre(const CQuivraDoc& doc, Vec3d* centre) {
    double lo[3] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                    std::numeric_limits<double>::max()};
    double hi[3] = {-lo[0], -lo[1], -lo[2]};
    bool any = false;
    doc.ForEachPoint([&](const CornerPoint* p) {
        const double v[3] = {p->m_x, p->m_y, p->m_z};
        for (int i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], v[i]);
            hi[i] = std::max(hi[i], v[i]);
        }
        any = true;
    });
    *centre =
        any ? Vec3d{0.5 * (lo[0] + hi[0]), 0.5 * (lo[1] + hi[1]), 0.5 * (lo[2] + hi[2])} : Vec3d{};
    return any;
}

bool CCameraMath::FitAll(CViewState& st, const CQuivraDoc& doc, int width, int height) {
    Vec3d c;
    if (width < 1 || height < 1 || !SceneCentre(doc, &c))
        return false;
    // With the centre on the rotation centre, each point at eye position s * (X, Y, Z) - 5 must
    // project inside the margin: s * (|X| k + m Z) <= 5 m for the horizontal k = f / aspect and
    // the vertical k = f. The smallest bound over all points is the zoom.
    CViewState centred = st;
    centred.m_dPanX = -c.x;
    centred.m_dPanY = -c.y;
    centred.m_dPanZ = -c.z;
    centred.m_dZoom = 1000.0; // scale 1: eye offsets in model units
    const CCameraMath cam(centred, width, height);
    const double kx = cam.m_f / cam.m_aspect, ky = cam.m_f;
    double s = std::numeric_limits<double>::infinity();
    doc.ForEachPoint([&](const CornerPoint* p) {
        const Vec3d e = cam.ToEye({p->m_x, p->m_y, p->m_z});
        const double z = e.z + kEyeDistance;
        for (const double d :
             {std::fabs(e.x) * kx + kFitMargin * z, std::fabs(e.y) * ky + kFitMargin * z}) {
            if (d > 0.0)
                s = std::min(s, kEyeDistance * kFitMargin / d);
        }
    });
    // A single point (or all at one place): keep the zoom, only centre it.
    if (std::isfinite(s) && s > 0.0)
        st.m_dZoom = s * 1000.0;
    st.m_dPanX = centred.m_dPanX;
    st.m_dPanY = centred.m_dPanY;
    st.m_dPanZ = centred.m_dPanZ;
    return true;
}

void CCameraMath::Turn(CViewState& st, double rotX, double rotY, double rotZ, const Vec3d* pivot) {
    if (!pivot) {
        st.m_dRotX = rotX;
        st.m_dRotY = rotY;
        st.m_dRotZ = rotZ;
        return;
    }
    // The pivot's eye position before the turn, kept after it: pan' = R'^T R (pivot + pan) - pivot.
    const Vec3d eye = CCameraMath(st, 1, 1).ToEye(*pivot);
    st.m_dRotX = rotX;
    st.m_dRotY = rotY;
    st.m_dRotZ = rotZ;
    st.m_dPanX = st.m_dPanY = st.m_dPanZ = 0.0;
    const Vec3d p = CCameraMath(st, 1, 1).FromEye(eye); // = R'^T (eye + 5) / s
    st.m_dPanX = p.x - pivot->x;
    st.m_dPanY = p.y - pivot->y;
    st.m_dPanZ = p.z - pivot->z;
}

void CCameraMath::ZoomAt(CViewState& st, double factor, const Vec3d& q) {
    if (!(factor > 0.0) || !std::isfinite(factor))
        return;
    // R s1 (q + pan1) = R s2 (q + pan2): q keeps its eye position, so its pixel.
    st.m_dPanX = (q.x + st.m_dPanX) / factor - q.x;
    st.m_dPanY = (q.y + st.m_dPanY) / factor - q.y;
    st.m_dPanZ = (q.z + st.m_dPanZ) / factor - q.z;
    st.m_dZoom *= factor;
}

void CCameraMath::PanBy(CViewState& st, int width, int height, double fromX, double fromY,
                        double toX, double toY, const Vec3d& depthOf) {
    if (width < 1 || height < 1)
        return;
    const CCameraMath cam(st, width, height);
    const Vec3d a = cam.Unproject(fromX, fromY, depthOf);
    const Vec3d b = cam.Unproject(toX, toY, depthOf);
    st.m_dPanX += b.x - a.x;
    st.m_dPanY += b.y - a.y;
    st.m_dPanZ += b.z - a.z;
}
