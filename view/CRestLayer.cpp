#include "CRestLayer.h"

#include <GL/osmesa.h>

#include <GL/gl.h>

namespace {

constexpr quint32 kDepthMask = 0x00ffffffu;
constexpr quint32 kDepthCleared = 0x00ffffffu;

struct CurrentContext {
    OSMesaContext ctx = nullptr;
    void* buffer = nullptr;
    GLint w = 0, h = 0, format = 0;

    static CurrentContext Get() {
        CurrentContext c;
        c.ctx = OSMesaGetCurrentContext();
        if (c.ctx && !OSMesaGetColorBuffer(c.ctx, &c.w, &c.h, &c.format, &c.buffer))
            c.ctx = nullptr;
        return c;
    }
    void Restore() const {
        if (ctx && OSMesaMakeCurrent(ctx, buffer, GL_UNSIGNED_BYTE, w, h))
            OSMesaPixelStore(OSMESA_Y_UP, 0);
    }
};

const quint32* CurrentDepth(int w, int h) {
    OSMesaContext ctx = OSMesaGetCurrentContext();
    GLint dw = 0, dh = 0, bpv = 0;
    void* depth = nullptr;
    if (!ctx || !OSMesaGetDepthBuffer(ctx, &dw, &dh, &bpv, &depth) || !depth || dw != w ||
        dh != h || bpv != 4)
        return nullptr;
    return static_cast<const quint32*>(depth);
}

} // namespace

CRestLayer::~CRestLayer() {
    if (m_ctx) {
        const CurrentContext caller = CurrentContext::Get();
        if (caller.ctx == m_ctx)
            OSMesaMakeCurrent(nullptr, nullptr, GL_UNSIGNED_BYTE, 0, 0);
        OSMesaDestroyContext(m_ctx);
    }
}

bool CRestLayer::MakeLayerCurrent(int w, int h) {
    if (!m_ctx) {
        m_ctx = OSMesaCreateContextExt(OSMESA_BGRA, 24, 0, 0, nullptr);
        if (!m_ctx)
            return false;
    }
    if (m_w != w || m_h != h) {
        m_buffer.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0u);
        m_w = w;
        m_h = h;
    }
    if (!OSMesaMakeCurrent(m_ctx, m_buffer.data(), GL_UNSIGNED_BYTE, w, h))
        return false;
    OSMesaPixelStore(OSMESA_Y_UP, 0);
    return true;
}

bool CRestLayer::DepthLayoutIsKnown(int w, int h) {
    const quint32* depth = CurrentDepth(w, h);
    if (!depth || w < 4 || h < 4)
        return false;
    // One point at a known pixel and depth 0.5; nothing else may change.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, w, 0.0, h, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glDisable(GL_POINT_SMOOTH);
    glPointSize(1.0f);
    glClear(GL_DEPTH_BUFFER_BIT);
    glBegin(GL_POINTS);
    glVertex3f(1.5f, static_cast<float>(h) - 1.5f, 0.0f);
    glEnd();
    glFinish();
    bool ok = true;
    const std::size_t hit = static_cast<std::size_t>(h - 2) * static_cast<std::size_t>(w) + 1;
    for (std::size_t i = 0, n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h); i < n;
         ++i) {
        const quint32 expected = i == hit ? 0x00800000u : kDepthCleared;
        if ((depth[i] & kDepthMask) != expected) {
            ok = false;
            break;
        }
    }
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    return ok;
}

bool CRestLayer::Build(quint64 key, int w, int h, const double modelView[16],
                       const double projection[16], const int viewport[4],
                       const std::function<void()>& draw) {
    m_bValid = false;
    const CurrentContext caller = CurrentContext::Get();
    if (!caller.ctx || w < 4 || h < 4 || caller.w != w || caller.h != h)
        return false;
    if (!MakeLayerCurrent(w, h)) {
        caller.Restore();
        return false;
    }
    if (m_nLayoutCheckedW != w || m_nLayoutCheckedH != h) {
        m_bLayoutOk = DepthLayoutIsKnown(w, h);
        m_nLayoutCheckedW = w;
        m_nLayoutCheckedH = h;
    }
    const quint32* depth = m_bLayoutOk ? CurrentDepth(w, h) : nullptr;
    if (!depth) {
        caller.Restore();
        return false;
    }

    // The frame's own state at the point where the layer is drawn.
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(modelView);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glDisable(GL_LINE_SMOOTH);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw();
    glFinish();

    m_pixel.clear();
    m_depthAt.clear();
    m_colour.clear();
    m_depth.clear();
    for (int row = 0; row < h; ++row) {
        const quint32* d = depth + static_cast<std::size_t>(row) * static_cast<std::size_t>(w);
        for (int x = 0; x < w; ++x) {
            const quint32 z = d[x] & kDepthMask;
            if (z == kDepthCleared)
                continue; // nothing there: a fragment at the far plane would not pass either
            const quint32 at =
                static_cast<quint32>(row) * static_cast<quint32>(w) + static_cast<quint32>(x);
            const quint32 px = static_cast<quint32>(h - 1 - row) * static_cast<quint32>(w) +
                               static_cast<quint32>(x);
            m_pixel.push_back(px);
            m_depthAt.push_back(at);
            m_colour.push_back(m_buffer[px] & 0x00ffffffu);
            m_depth.push_back(z);
        }
    }
    caller.Restore();
    m_key = key;
    m_bValid = true;
    return true;
}

bool CRestLayer::ApplyToCurrentFrame() const {
    if (!m_bValid)
        return false;
    const CurrentContext frame = CurrentContext::Get();
    if (!frame.ctx || frame.w != m_w || frame.h != m_h || !frame.buffer)
        return false;
    const quint32* depth = CurrentDepth(m_w, m_h);
    if (!depth)
        return false;
    quint32* colour = static_cast<quint32*>(frame.buffer);
    const std::size_t n = m_pixel.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (m_depth[i] < (depth[m_depthAt[i]] & kDepthMask)) {
            quint32& c = colour[m_pixel[i]];
            c = (c & 0xff000000u) | m_colour[i];
        }
    }
    return true;
}
