#include "CLineRaster.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <system_error>
#include <thread>

namespace {

constexpr double kDepthScale = 4294967295.0;
// Below this many lines one thread is quicker than starting others.
constexpr std::size_t kLinesPerThread = 400;
constexpr unsigned kMaxThreads = 4;

double Clamp01(double v) {
    return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

// Cuts the part of a..b where `da`/`db` (a plane's distance at the ends) is negative; false when
// nothing is left.
bool ClipToPlane(CLineRaster::End& a, CLineRaster::End& b, double da, double db) {
    if (da < 0.0 && db < 0.0)
        return false;
    if (da >= 0.0 && db >= 0.0)
        return true;
    const double t = da / (da - db);
    CLineRaster::End cut;
    for (int i = 0; i < 4; ++i)
        cut.clip[i] = a.clip[i] + t * (b.clip[i] - a.clip[i]);
    for (int i = 0; i < 3; ++i)
        cut.rgb[i] = static_cast<float>(a.rgb[i] + t * (b.rgb[i] - a.rgb[i]));
    (da < 0.0 ? a : b) = cut;
    return true;
}

// Liang-Barsky: the part of (x0, y0)..(x1, y1) inside the rectangle, as parameters t0..t1.
bool ClipToRect(double x0, double y0, double x1, double y1, const double rect[4], double& t0,
                double& t1) {
    t0 = 0.0;
    t1 = 1.0;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - rect[0], rect[2] - x0, y0 - rect[1], rect[3] - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    return t0 <= t1;
}

// floor(v) for the window's coordinates, which Add keeps well above -1024.
int FloorOf(double v) {
    return static_cast<int>(v + 1024.0) - 1024;
}

// A colour between c and c + d at f, as 0x00RRGGBB.
std::uint32_t Pack(const float c[3], const float d[3], float f) {
    auto channel = [&](int i) {
        const float v = std::clamp(c[i] + f * d[i], 0.0f, 1.0f);
        return static_cast<std::uint32_t>(v * 255.0f + 0.5f);
    };
    return channel(0) << 16 | channel(1) << 8 | channel(2);
}

} // namespace

bool CLineRaster::Begin(int w, int h, const int viewport[4]) {
    m_lines.clear();
    if (w <= 0 || h <= 0) {
        m_w = m_h = 0;
        m_depth.clear();
        return false;
    }
    m_w = w;
    m_h = h;
    for (int i = 0; i < 4; ++i)
        m_vp[i] = viewport[i];
    try {
        m_depth.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    } catch (const std::bad_alloc&) {
        // A print far larger than any window: the caller draws its lines the GL way.
        m_w = m_h = 0;
        std::vector<std::uint32_t>().swap(m_depth);
        return false;
    }
    m_bDepthSet = false;
    m_yLo = h;
    m_yHi = 0.0;
    return true;
}

std::uint32_t* CLineRaster::Depth() {
    if (!m_bDepthSet)
        std::fill(m_depth.begin(), m_depth.end(), 0xffffffffu);
    m_bDepthSet = true;
    return m_depth.data();
}

void CLineRaster::Add(const End& from, const End& to, float width, double depth) {
    if (m_w <= 0 || !(width > 0.0f))
        return;
    End a = from, b = to;
    for (int i = 0; i < 4; ++i)
        if (!std::isfinite(a.clip[i]) || !std::isfinite(b.clip[i]))
            return;
    // Near and far planes; then nothing at or behind the eye is left to divide by.
    if (!ClipToPlane(a, b, a.clip[2] + a.clip[3], b.clip[2] + b.clip[3]) ||
        !ClipToPlane(a, b, a.clip[3] - a.clip[2], b.clip[3] - b.clip[2]) ||
        !ClipToPlane(a, b, a.clip[3] - 1e-12, b.clip[3] - 1e-12))
        return;
    // GL's own widest line; it also keeps every coordinate below within a few hundred pixels
    // of the frame.
    width = std::min(width, 255.0f);
    Segment s;
    auto toWindow = [this](const End& e, double& x, double& y, double& z) {
        x = m_vp[0] + (e.clip[0] / e.clip[3] + 1.0) * 0.5 * m_vp[2];
        y = m_vp[1] + (e.clip[1] / e.clip[3] + 1.0) * 0.5 * m_vp[3];
        z = Clamp01((e.clip[2] / e.clip[3] + 1.0) * 0.5);
    };
    toWindow(a, s.x0, s.y0, s.z0);
    toWindow(b, s.x1, s.y1, s.z1);
    if (depth >= 0.0)
        s.z0 = s.z1 = std::min(depth, 1.0);
    // Only what can reach the frame: a line far outside it costs nothing.
    const double r = width * 0.5 + 1.0;
    const double rect[4] = {-r, -r, m_w + r, m_h + r};
    double t0 = 0.0, t1 = 1.0;
    if (!ClipToRect(s.x0, s.y0, s.x1, s.y1, rect, t0, t1))
        return;
    const double dx = s.x1 - s.x0, dy = s.y1 - s.y0, dz = s.z1 - s.z0;
    s.x1 = s.x0 + t1 * dx;
    s.y1 = s.y0 + t1 * dy;
    s.z1 = s.z0 + t1 * dz;
    s.x0 += t0 * dx;
    s.y0 += t0 * dy;
    s.z0 += t0 * dz;
    // Rounding at huge coordinates may leave an end a little outside; and nothing that is not a
    // number goes on.
    for (double* v : {&s.x0, &s.x1}) {
        if (!std::isfinite(*v))
            return;
        *v = std::clamp(*v, rect[0], rect[2]);
    }
    for (double* v : {&s.y0, &s.y1}) {
        if (!std::isfinite(*v))
            return;
        *v = std::clamp(*v, rect[1], rect[3]);
    }
    for (int i = 0; i < 3; ++i) {
        const float d = b.rgb[i] - a.rgb[i];
        s.c1[i] = static_cast<float>(a.rgb[i] + t1 * d);
        s.c0[i] = static_cast<float>(a.rgb[i] + t0 * d);
    }
    s.width = width;
    m_yLo = std::min(m_yLo, std::min(s.y0, s.y1) - r);
    m_yHi = std::max(m_yHi, std::max(s.y0, s.y1) + r);
    m_lines.push_back(s);
}

void CLineRaster::Draw(std::uint32_t* pixels, unsigned threads) {
    if (!pixels || m_lines.empty() || m_w <= 0)
        return;
    unsigned bands = threads;
    if (bands == 0) {
        const unsigned cores = std::min(kMaxThreads, std::thread::hardware_concurrency());
        bands =
            static_cast<unsigned>(std::min<std::size_t>(cores, m_lines.size() / kLinesPerThread));
    }
    bands = std::max(1u, std::min(bands, static_cast<unsigned>(m_h)));
    // Unless somebody set the depth, each band sets its own rows that the lines reach.
    m_bFillDepth = !m_bDepthSet;
    m_bDepthSet = true;
    if (bands <= 1) {
        DrawBand(pixels, 0, m_h);
        return;
    }
    // Bands of rows share no pixel: each thread draws every line, cut to its rows.
    std::vector<std::thread> workers;
    workers.reserve(bands - 1);
    for (unsigned k = 1; k < bands; ++k) {
        const int lo = static_cast<int>(static_cast<long long>(m_h) * k / bands);
        const int hi = static_cast<int>(static_cast<long long>(m_h) * (k + 1) / bands);
        try {
            workers.emplace_back([this, pixels, lo, hi] { DrawBand(pixels, lo, hi); });
        } catch (const std::system_error&) {
            DrawBand(pixels, lo, hi); // no thread to be had: this one draws the band
        }
    }
    DrawBand(pixels, 0, static_cast<int>(m_h / bands));
    for (std::thread& t : workers)
        t.join();
}

void CLineRaster::DrawBand(std::uint32_t* pixels, int rowLo, int rowHi) {
    if (m_bFillDepth) {
        const double lo = std::clamp(std::floor(m_yLo), 1.0 * rowLo, 1.0 * rowHi);
        const double hi = std::clamp(std::ceil(m_yHi) + 1, 1.0 * rowLo, 1.0 * rowHi);
        const auto w = static_cast<std::ptrdiff_t>(m_w);
        std::fill(m_depth.begin() + static_cast<std::ptrdiff_t>(lo) * w,
                  m_depth.begin() + static_cast<std::ptrdiff_t>(std::max(lo, hi)) * w, 0xffffffffu);
    }
    for (const Segment& s : m_lines) {
        // Lines wholly above or below the band cost two comparisons.
        const double reach = s.width * 0.5 + 1.0;
        if (std::max(s.y0, s.y1) + reach < rowLo || std::min(s.y0, s.y1) - reach > rowHi)
            continue;
        DrawSegment(s, pixels, rowLo, rowHi);
    }
}

void CLineRaster::DrawSegment(const Segment& s, std::uint32_t* pixels, int rowLo, int rowHi) {
    const bool alongX = std::fabs(s.x1 - s.x0) >= std::fabs(s.y1 - s.y0);
    // u along the axis the line runs closer to, v across it; the line runs towards larger u.
    double u0 = alongX ? s.x0 : s.y0, v0 = alongX ? s.y0 : s.x0;
    double u1 = alongX ? s.x1 : s.y1, v1 = alongX ? s.y1 : s.x1;
    double z0 = s.z0, z1 = s.z1;
    const float* c0 = s.c0;
    const float* c1 = s.c1;
    if (u1 < u0) {
        std::swap(u0, u1);
        std::swap(v0, v1);
        std::swap(z0, z1);
        std::swap(c0, c1);
    }
    const double du = u1 - u0, dv = v1 - v0;
    const double len = std::sqrt(du * du + dv * dv);
    if (!(len > 1e-9))
        return;
    const double slope = dv / du, cosine = du / len, sine = dv / len; // cosine >= 0.7
    const double r = s.width * 0.5 + 0.5;
    // How far across (in pixels along v) a pixel centre may lie from the middle and be covered.
    const double reach = r / cosine;
    // Thinner than a pixel: fainter rather than thinner.
    const float thin = std::min(1.0f, s.width);
    const float rf = static_cast<float>(r), step = static_cast<float>(cosine);
    const float dc[3] = {c1[0] - c0[0], c1[1] - c0[1], c1[2] - c0[2]};
    const double dz = z1 - z0;

    const int uMax = (alongX ? m_w : std::min(rowHi, m_h)) - 1;
    const int vMax = (alongX ? std::min(rowHi, m_h) : m_w) - 1;
    const int uMin = alongX ? 0 : std::max(rowLo, 0);
    const int vMin = alongX ? std::max(rowLo, 0) : 0;
    // Pixel index steps across the line, for the depth (rows from the bottom) and the colours
    // (rows from the top).
    const std::ptrdiff_t w = m_w;
    const std::ptrdiff_t depthV = alongX ? w : 1, colourV = alongX ? -w : 1;
    const std::ptrdiff_t colourOrigin = static_cast<std::ptrdiff_t>(m_h - 1) * w;

    const bool oneColour = dc[0] == 0.0f && dc[1] == 0.0f && dc[2] == 0.0f;
    std::uint32_t src = Pack(c0, dc, 0.0f);
    const double perU = 1.0 / du;
    const int first = std::max(uMin, FloorOf(u0 - r - 0.5) + 1);
    const int last = std::min(uMax, FloorOf(u1 + r - 0.5));
    for (int iu = first; iu <= last; ++iu) {
        const double pu = iu + 0.5;
        const double vc = v0 + (pu - u0) * slope;
        const int lo = std::max(vMin, FloorOf(vc - reach - 0.5) + 1);
        const int hi = std::min(vMax, FloorOf(vc + reach - 0.5));
        if (lo > hi)
            continue;
        // Depth and colour of the middle of the line here, as across a wide GL line.
        const double f = Clamp01((pu - u0) * perU);
        const std::uint32_t depth = static_cast<std::uint32_t>((z0 + f * dz) * kDepthScale);
        if (!oneColour)
            src = Pack(c0, dc, static_cast<float>(f));
        const std::uint32_t srcRB = src & 0x00ff00ffu, srcG = src & 0x0000ff00u;
        // Within a pixel and a half of an end the distance along the line matters too.
        const bool nearEnd = pu - u0 < r + 1.5 || u1 - pu < r + 1.5;
        std::ptrdiff_t at = alongX ? w * lo + iu : w * iu + lo;
        std::ptrdiff_t colourAt = alongX ? colourOrigin - w * lo + iu : colourOrigin - w * iu + lo;
        std::uint32_t* dp = m_depth.data() + at;
        std::uint32_t* cp = pixels + colourAt;
        float across = static_cast<float>((lo + 0.5 - vc) * cosine);
        for (int iv = lo; iv <= hi; ++iv, across += step, dp += depthV, cp += colourV) {
            float cover = std::min(rf - std::fabs(across), 1.0f) * thin;
            if (cover <= 0.0f)
                continue;
            if (nearEnd) {
                const double t = (pu - u0) * cosine + (iv + 0.5 - v0) * sine;
                const double fromStart = t + 0.5, toEnd = len - t + 0.5;
                if (fromStart <= 0.0 || toEnd <= 0.0)
                    continue;
                cover *= static_cast<float>(std::min(fromStart, 1.0) * std::min(toEnd, 1.0));
            }
            if (!(depth < *dp))
                continue;
            if (cover >= 0.5f)
                *dp = depth;
            // Source over destination in 8-bit fixed point, red and blue in one multiply.
            const std::uint32_t a = static_cast<std::uint32_t>(cover * 256.0f + 0.5f);
            const std::uint32_t dst = *cp;
            const std::uint32_t rb =
                ((srcRB * a + (dst & 0x00ff00ffu) * (256 - a)) >> 8) & 0x00ff00ffu;
            const std::uint32_t g =
                ((srcG * a + (dst & 0x0000ff00u) * (256 - a)) >> 8) & 0x0000ff00u;
            *cp = (dst & 0xff000000u) | rb | g;
        }
    }
}
