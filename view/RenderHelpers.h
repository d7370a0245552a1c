#pragma once

// Small pieces both drawing styles of CSceneRenderer use.
#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "Deflection.h"
#include "SceneObject.h"

#include "OSMesaApi.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace renderhelpers {

// FNV-1a over 64-bit words: enough to notice any change of what a kept picture or value was
// made from.
struct Hasher {
    quint64 h = 1469598103934665603ull;
    void Add(quint64 v) {
        h ^= v;
        h *= 1099511628211ull;
    }
    void Add(double v) {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        Add(bits);
    }
    void Add(const CornerPoint* p) {
        Add(p->m_x);
        Add(p->m_y);
        Add(p->m_z);
    }
};

inline void Vertex(const CornerPoint* p) {
    glVertex3d(p->m_x, p->m_y, p->m_z);
}

inline void Vertex(const Vec3d& v) {
    glVertex3d(v.x, v.y, v.z);
}

// Line widths below one pixel are refused by GL and would leave the previous width in place.
inline float LineWidth(int width) {
    return static_cast<float>(std::max(width, 1));
}

// Line width and point size, also marked in the stream of primitives that GL hands back in
// feedback mode (outside it the marks cost nothing): a vector copy of the frame knows how wide
// to draw what follows. A mark is the tag, then the value.
constexpr float kLineWidthTag = -1.0f;
constexpr float kPointSizeTag = -2.0f;

inline void SetLineWidth(float width) {
    glLineWidth(width);
    glPassThrough(kLineWidthTag);
    glPassThrough(width);
}

inline void SetPointSize(float size) {
    glPointSize(size);
    glPassThrough(kPointSizeTag);
    glPassThrough(size);
}

// The model length of a direction arrow: the same length on screen at any zoom. Zero (no
// arrows) for a zoom that gives no finite length.
inline double ArrowLength(double zoom) {
    const double len = 100.0 / zoom;
    return std::isfinite(len) ? len : 0.0;
}

// Pushes what is drawn while it lives a constant hair farther from the eye (a fixed offset of
// the depth, the window positions unchanged): row 3 of the projection, times the offset, is
// added to row 2. Enough to settle ties within the rasteriser's depth noise, far too little to
// put a line behind one that is visibly in front of it.
class DepthBehind {
public:
    static constexpr double kOffset = 1.0 / 32768.0; // in normalised depth (-1..1)
    explicit DepthBehind(bool on) : m_bOn(on) {
        if (!m_bOn)
            return;
        double p[16];
        glGetDoublev(GL_PROJECTION_MATRIX, p);
        for (int col = 0; col < 4; ++col)
            p[col * 4 + 2] += kOffset * p[col * 4 + 3];
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadMatrixd(p);
        glMatrixMode(GL_MODELVIEW);
    }
    ~DepthBehind() {
        if (!m_bOn)
            return;
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    }
    DepthBehind(const DepthBehind&) = delete;
    DepthBehind& operator=(const DepthBehind&) = delete;

private:
    bool m_bOn;
};

// Objects first, each object's points in order, then the free points: the order of the
// arrows and of the labels.
template <class F> void ForEachPointObjectsFirst(const CQuivraDoc& doc, F f) {
    for (const SceneObject* o : doc.m_objects)
        for (const CornerPoint* p : o->m_points)
            f(p);
    for (const CornerPoint* p : doc.m_freePoints)
        f(p);
}

} // namespace renderhelpers
