#include "CRestLayer.h"

#include "OSMesaApi.h"

#include <algorithm>

namespace {

// The cleared depth (the far plane) as glReadPixels gives it for GL_UNSIGNED_INT.
constexpr quint32 kDepthCleared = 0xffffffffu;
// Frames are cleared to white: this colour without its alpha.
constexpr quint32 kClearColour = 0x00ffffffu;
// A layer pixel outside the part of the frame read back.
constexpr quint32 kOutside = 0xffffffffu;

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

// The depth buffer of the current context between (x, y) and (x + w, y + h), rows bottom-up,
// read into memory of our own. Never through OSMesaGetDepthBuffer: Mesa keeps the copy it hands
// out sized for the frame of the first call and refills it at every later glFinish with frames
// of whatever size the context has by then, past its end once the view has grown.
void ReadDepth(int x, int y, int w, int h, std::vector<quint32>& out) {
    out.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    CRestLayer::ReadDepthInto(x, y, w, h, out.data());
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

bool CRestLayer::Build(quint64 key, int w, int h, const double modelView[16],
                       const double projection[16], const int viewport[4],
                       const std::function<void()>& draw, quint32 behindFrom) {
    m_bValid = false;
    const CurrentContext caller = CurrentContext::Get();
    if (!caller.ctx || w < 1 || h < 1 || caller.w != w || caller.h != h)
        return false;
    if (!MakeLayerCurrent(w, h)) {
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
    // Before glFinish, which then copies the colours into m_buffer (see ReadCurrentDepth).
    ReadDepth(0, 0, w, h, m_frameDepth);
    glFinish();
    caller.Restore();

    // The box around the pixels the layer touched (rows from the bottom): each frame reads back
    // only that much of its own depth.
    const auto at = [&](int x, int row) {
        return m_frameDepth[static_cast<std::size_t>(row) * static_cast<std::size_t>(w) +
                            static_cast<std::size_t>(x)];
    };
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int row = 0; row < h; ++row)
        for (int x = 0; x < w; ++x)
            if (at(x, row) != kDepthCleared) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, row);
                y1 = row;
            }
    m_box[0] = x0;
    m_box[1] = y0;
    m_box[2] = std::max(0, x1 - x0 + 1);
    m_box[3] = std::max(0, y1 - y0 + 1);

    m_pixel.clear();
    m_depthAt.clear();
    m_colour.clear();
    m_depth.clear();
    m_bBehind = behindFrom != 0;
    m_bReadAtValid = false;
    for (int row = y0; row <= y1; ++row)
        for (int x = x0; x <= x1; ++x) {
            const quint32 z = at(x, row);
            if (z == kDepthCleared)
                continue; // nothing there: a fragment at the far plane would not pass either
            const quint32 px = static_cast<quint32>(h - 1 - row) * static_cast<quint32>(w) +
                               static_cast<quint32>(x);
            m_pixel.push_back(px);
            m_depthAt.push_back(static_cast<quint32>(row - y0) * static_cast<quint32>(m_box[2]) +
                                static_cast<quint32>(x - x0));
            m_colour.push_back(m_buffer[px] & 0x00ffffffu);
            m_depth.push_back(z);
            m_bBehind = m_bBehind && z >= behindFrom;
        }
    m_key = key;
    m_bValid = true;
    return true;
}

bool CRestLayer::ReadCurrentDepth(const int depthOnly[4]) {
    m_bDepthRead = false;
    if (!m_bValid)
        return false;
    const CurrentContext frame = CurrentContext::Get();
    if (!frame.ctx || frame.w != m_w || frame.h != m_h)
        return false;
    if (!m_bBehind)
        std::copy(m_box, m_box + 4, m_read);
    else {
        // Only where the frame draws without depth; elsewhere its colour says enough.
        static const int kNowhere[4] = {0, 0, 0, 0};
        const int* only = depthOnly ? depthOnly : kNowhere;
        const int x0 = std::max(m_box[0], only[0]), y0 = std::max(m_box[1], only[1]);
        const int x1 = std::min(m_box[0] + m_box[2], only[0] + only[2]);
        const int y1 = std::min(m_box[1] + m_box[3], only[1] + only[3]);
        const int read[4] = {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
        if (!m_bReadAtValid || !std::equal(read, read + 4, m_read)) {
            std::copy(read, read + 4, m_read);
            IndexReadPart();
        }
    }
    if (!m_pixel.empty() && m_read[2] > 0 && m_read[3] > 0)
        ReadDepth(m_read[0], m_read[1], m_read[2], m_read[3], m_frameDepth);
    m_bDepthRead = true;
    return true;
}

void CRestLayer::IndexReadPart() {
    m_readAt.assign(m_pixel.size(), kOutside);
    const auto boxW = static_cast<quint32>(std::max(m_box[2], 1));
    for (std::size_t i = 0; i < m_pixel.size(); ++i) {
        const int x = m_box[0] + static_cast<int>(m_depthAt[i] % boxW) - m_read[0];
        const int row = m_box[1] + static_cast<int>(m_depthAt[i] / boxW) - m_read[1];
        if (x >= 0 && row >= 0 && x < m_read[2] && row < m_read[3])
            m_readAt[i] = static_cast<quint32>(row) * static_cast<quint32>(m_read[2]) +
                          static_cast<quint32>(x);
    }
    m_bReadAtValid = true;
}

bool CRestLayer::ApplyToCurrentFrame() {
    const CurrentContext frame = CurrentContext::Get();
    if (!m_bDepthRead || !frame.ctx || frame.w != m_w || frame.h != m_h || !frame.buffer)
        return false;
    m_bDepthRead = false;
    // The colour buffer is the one this context was made current on, m_w x m_h as checked.
    quint32* colour = static_cast<quint32*>(frame.buffer);
    const quint32* depth = m_frameDepth.data();
    const std::size_t n = m_pixel.size();
    if (m_bBehind) {
        for (std::size_t i = 0; i < n; ++i) {
            quint32& c = colour[m_pixel[i]];
            const quint32 at = m_readAt[i];
            if (at == kOutside ? (c & 0x00ffffffu) == kClearColour : m_depth[i] < depth[at])
                c = (c & 0xff000000u) | m_colour[i];
        }
        return true;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (m_depth[i] < depth[m_depthAt[i]]) {
            quint32& c = colour[m_pixel[i]];
            c = (c & 0xff000000u) | m_colour[i];
        }
    }
    return true;
}

void CRestLayer::LowerDepth(quint32* depth) const {
    if (!m_bValid || m_bBehind || m_w <= 0)
        return;
    const quint32 w = static_cast<quint32>(m_w);
    for (std::size_t i = 0; i < m_pixel.size(); ++i) {
        // m_pixel counts rows from the top.
        const quint32 row = m_pixel[i] / w, x = m_pixel[i] % w;
        quint32& d = depth[(static_cast<quint32>(m_h) - 1 - row) * w + x];
        d = std::min(d, m_depth[i]);
    }
}

void CRestLayer::ReadDepthInto(int x, int y, int w, int h, quint32* out) {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glReadPixels(x, y, w, h, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, out);
    glPopClientAttrib();
}
