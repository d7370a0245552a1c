// The clear look of CSceneRenderer: anti-aliased lines, the rest shape faint behind the moving
// one, the moving shape coloured by how far each point is from rest, arrowheads, haloed labels
// that keep off each other, a colour bar and a caption.
#include "CSceneRenderer.h"

#include "CBatchSubmitter.h"
#include "CCaption.h"
#include "CColourBar.h"
#include "CColourMap.h"
#include "CDiscSprites.h"
#include "CViewState.h"
#include "Line.h"
#include "MeasDirection.h"
#include "Measurement.h"
#include "ReducedLines.h"
#include "RenderHelpers.h"

#include "OSMesaApi.h"

#include <QPainter>

#include <cmath>
#include <vector>

using namespace renderhelpers;

namespace {

const float kRestGrey[3] = {0.74f, 0.74f, 0.78f};
const float kRestCentre[3] = {0.74f, 0.80f, 0.93f};
const float kModel[3] = {0.16f, 0.17f, 0.22f};
const float kCentre[3] = {0.25f, 0.42f, 0.85f};
const float kArrow[3] = {0.0f, 0.46f, 0.42f};
// Markers as in the classic look, in the clear look's own colours.
const CSceneRenderer::MarkerColours kClearMarkers = {
    4.5f, {0.16f, 0.17f, 0.22f}, {0.85f, 0.7f, 0.0f}, {0.1f, 0.35f, 1.0f}, {0.15f, 0.75f, 0.3f}};
// The rest shape behind the moving one lies at this one depth, behind everything else drawn.
constexpr double kBehind = 1.0 - 1.0 / 4096.0;
// A rest layer of nothing but that shape lies behind all a frame draws with depth, as
// CRestLayer::Build reads it (a hair nearer: the depth buffer keeps 24 bits).
const quint32 kLayerBehind = static_cast<quint32>((kBehind - 1.0 / 65536.0) * 4294967295.0);
// Arrowheads in pixels.
constexpr double kHeadLength = 8.0;
constexpr double kHeadHalfWidth = 3.2;
constexpr int kOrbitSegments = 36;
// The caption and the colour bar need a window at least this large.
constexpr int kPanelMinWidth = 240;
constexpr int kPanelMinHeight = 180;

void Colour(const float c[3]) {
    glColor3fv(c);
}

// Column-major 4x4 matrices, as GL keeps them.
void Multiply(const double a[16], const double b[16], double out[16]) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            double v = 0.0;
            for (int k = 0; k < 4; ++k)
                v += a[k * 4 + r] * b[c * 4 + k];
            out[c * 4 + r] = v;
        }
}

// Gauss-Jordan with partial pivoting; false for a singular matrix.
bool Invert(const double m[16], double out[16]) {
    double a[4][8];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            a[r][c] = m[c * 4 + r];
            a[r][c + 4] = r == c ? 1.0 : 0.0;
        }
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c]))
                pivot = r;
        if (std::fabs(a[pivot][c]) < 1e-300)
            return false;
        if (pivot != c)
            for (int k = 0; k < 8; ++k)
                std::swap(a[c][k], a[pivot][k]);
        const double inv = 1.0 / a[c][c];
        for (int k = 0; k < 8; ++k)
            a[c][k] *= inv;
        for (int r = 0; r < 4; ++r)
            if (r != c) {
                const double f = a[r][c];
                for (int k = 0; k < 8; ++k)
                    a[r][k] -= f * a[c][k];
            }
    }
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            out[c * 4 + r] = a[r][c + 4];
    return true;
}

// Model to window coordinates (y upward, z in 0..1) and back, with one matrix product and its
// inverse for a whole run of points.
class Projector {
public:
    Projector(const double mv[16], const double p[16], const int vp[4]) {
        Multiply(p, mv, m_mvp);
        m_bInvertible = Invert(m_mvp, m_inv);
        for (int i = 0; i < 4; ++i)
            m_vp[i] = vp[i];
    }
    void ToClip(const Vec3d& v, double c[4]) const {
        for (int r = 0; r < 4; ++r)
            c[r] = m_mvp[r] * v.x + m_mvp[4 + r] * v.y + m_mvp[8 + r] * v.z + m_mvp[12 + r];
    }
    bool ToWindow(double x, double y, double z, double win[3]) const {
        double c[4];
        for (int r = 0; r < 4; ++r)
            c[r] = m_mvp[r] * x + m_mvp[4 + r] * y + m_mvp[8 + r] * z + m_mvp[12 + r];
        if (!(c[3] > 1e-12))
            return false;
        win[0] = m_vp[0] + (c[0] / c[3] + 1.0) * 0.5 * m_vp[2];
        win[1] = m_vp[1] + (c[1] / c[3] + 1.0) * 0.5 * m_vp[3];
        win[2] = (c[2] / c[3] + 1.0) * 0.5;
        return true;
    }
    bool ToModel(const double win[3], double out[3]) const {
        if (!m_bInvertible)
            return false;
        const double n[4] = {(win[0] - m_vp[0]) / m_vp[2] * 2.0 - 1.0,
                             (win[1] - m_vp[1]) / m_vp[3] * 2.0 - 1.0, win[2] * 2.0 - 1.0, 1.0};
        double o[4];
        for (int r = 0; r < 4; ++r)
            o[r] = m_inv[r] * n[0] + m_inv[4 + r] * n[1] + m_inv[8 + r] * n[2] + m_inv[12 + r];
        if (std::fabs(o[3]) < 1e-300)
            return false;
        for (int i = 0; i < 3; ++i)
            out[i] = o[i] / o[3];
        return true;
    }

private:
    double m_mvp[16], m_inv[16];
    int m_vp[4];
    bool m_bInvertible;
};

// Blended, smoothed lines and points: the state the clear look draws with, in whichever
// context (the frame's or the rest layer's).
void ClearDrawingState() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_POINT_SMOOTH);
    glShadeModel(GL_SMOOTH);
}

// The current context's colour buffer when it is w x h (rows from the top), else null.
quint32* FrameBuffer(int w, int h) {
    OSMesaContext ctx = OSMesaGetCurrentContext();
    GLint bw = 0, bh = 0, format = 0;
    void* buffer = nullptr;
    if (!ctx || !OSMesaGetColorBuffer(ctx, &bw, &bh, &format, &buffer) || bw != w || bh != h)
        return nullptr;
    return static_cast<quint32*>(buffer);
}

} // namespace

double CSceneRenderer::ClearArrowLength(const CViewState& state, int height) {
    // The frame shows 2 * 5 * tan(15 degrees) eye units from top to bottom at the centre's
    // depth; model units reach the eye scaled by zoom / 1000.
    const double eyePerPixel =
        2.0 * 5.0 * std::tan(15.0 * 3.14159265358979323846 / 180.0) / std::max(height, 1);
    const double len = kClearArrowPixels * eyePerPixel / (state.m_dZoom * 0.001);
    return std::isfinite(len) ? len : 0.0;
}

void CSceneRenderer::DrawClearScene(const CQuivraDoc& doc, CViewState& state, int w, int h,
                                    double scale) {
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glPushMatrix();
    ClearDrawingState();
    m_haloLabels.Clear();

    if (state.m_bShowBase)
        DrawClearInset(state, w, h, scale);

    glTranslatef(static_cast<float>(state.m_dPanX), static_cast<float>(state.m_dPanY),
                 static_cast<float>(state.m_dPanZ));
    ReadMatrices();

    // The colour scale: the largest displacement any point reaches over the whole period, so
    // that colours stay put from frame to frame.
    const int n = Deflection::FramesPerPeriod(doc, state.m_nCurrentSeries);
    const bool moving = state.m_bAnimating && n > 0;
    double peak = 0.0;
    if (moving) {
        state.m_dAnimPhase = Deflection::FramePhase(state.m_nFrame, n);
        // Kept while the values it comes from stay as they are: their fingerprint costs a
        // fraction of the orbits' sines and cosines, which a large model feels in every frame.
        const int series = state.m_nCurrentSeries;
        const auto k = static_cast<std::size_t>(series);
        Hasher key;
        key.Add(static_cast<quint64>(static_cast<quint32>(series)));
        key.Add(k < doc.m_seriesAmplification.size() ? doc.m_seriesAmplification[k] : 0.0);
        doc.ForEachPoint([&](const CornerPoint* p) {
            for (const MeasDirection* d : p->m_directions) {
                key.Add(d->m_dx);
                key.Add(d->m_dy);
                key.Add(d->m_dz);
                if (k < d->m_measurements.size()) {
                    key.Add(d->m_measurements[k]->m_dAmplitude);
                    key.Add(d->m_measurements[k]->m_dPhase);
                }
            }
            key.Add(static_cast<quint64>(p->m_directions.size()));
        });
        if (key.h != m_peakKey) {
            doc.ForEachPoint([&](const CornerPoint* p) {
                if (!p->m_directions.empty())
                    peak = std::max(peak, Deflection::OrbitOf(*p, doc, series).Peak());
            });
            m_peakKey = key.h;
            m_dKeptPeak = peak;
        }
        peak = m_dKeptPeak;
    }
    m_dLastPeak = peak;

    // What does not move: the model (at the back while the shape moves), arrows, orbits.
    auto drawStill = [&] {
        ClearDrawingState();
        UnsmoothedIfReduced();
        if (state.m_bShowLines)
            DrawClearModel(doc, state, moving);
        if (state.m_bShowDirections)
            DrawClearArrows(doc, state, w, h);
        if (moving && state.m_bShowOrbits)
            DrawClearOrbits(doc, state, peak);
    };
    // The model's lines are smoothed by the processor over the finished frame: the moving shape
    // and the rest shape behind it (when the rest layer does not hold it), and at rest the
    // lines of a large model. Not where GL must see them (a vector copy), nor in a reduced
    // frame, which draws them unsmoothed anyway.
    quint32* const frame = FrameBuffer(w, h);
    m_bRasterThisFrame = (moving || LineCount(doc) >= m_nRasterAtRestFrom) && state.m_bShowLines &&
                         m_bRasterLines && !m_bReduced && !m_pVectorOverlay && frame &&
                         m_lineRaster.Begin(w, h, m_viewport);
    m_bModelByRaster = false;
    const bool layered = moving && UseRestLayer(doc, state, w, h, drawStill, kLayerBehind);
    m_bLastFrameLayered = layered;
    if (!layered) {
        m_bModelByRaster = m_bRasterThisFrame;
        drawStill();
        m_bModelByRaster = false;
    }
    // The rasteriser's threads start on what is drawn so far while this one goes on with the
    // moving shape: a small model's frame is otherwise drawn here, then there, each waiting.
    if (m_bSubmitInBatches)
        CBatchSubmitter::SubmitNow();
    UnsmoothedIfReduced();
    if (moving && state.m_bShowLines)
        DrawClearDeflected(doc, state, peak);
    if (!state.m_bAnimating && !m_bReduced) {
        // The markers are opaque, and the rasteriser draws smooth points as hard-edged discs:
        // blending them changes no pixel, and sprites cut to discs give those discs cheaper.
        glDisable(GL_BLEND);
        const bool sprites = CDiscSprites::Begin();
        DrawMarkers(doc, kClearMarkers);
        if (sprites)
            CDiscSprites::End();
    }
    if (!m_bReduced)
        AddClearLabels(doc, state, moving, h);

    glPopMatrix();
    glDisable(GL_BLEND);
    glDisable(GL_LINE_SMOOTH);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    // The inset is drawn without depth: the only place where the frame's depth is needed.
    const int inset[4] = {static_cast<int>(0.75 * w), static_cast<int>(0.75 * h),
                          state.m_bShowBase ? static_cast<int>(0.25 * w) : 0,
                          static_cast<int>(0.25 * h)};
    const bool depthRead = layered && m_restLayer.ReadCurrentDepth(inset);
    // What the frame drew with depth that the lines must not cover (arrows, orbits, markers; the
    // rest shape lies behind it all): read, as any read must be, before the glFinish.
    if (m_bRasterThisFrame && !layered &&
        (state.m_bShowDirections || (moving && state.m_bShowOrbits) || !state.m_bAnimating))
        CRestLayer::ReadDepthInto(0, 0, w, h, m_lineRaster.DepthToOverwrite());
    glFinish();
    if (layered && !ApplyRestLayer(depthRead)) {
        DrawClearScene(doc, state, w, h, scale);
        return;
    }
    if (m_bRasterThisFrame) {
        if (layered)
            m_restLayer.LowerDepth(m_lineRaster.Depth());
        m_lineRaster.Draw(frame);
    }
    PaintClearOverlay(doc, state, w, h, moving);
}

void CSceneRenderer::UnsmoothedIfReduced() {
    // Smoothed lines take the rasteriser's slow path, one line at a time.
    if (!m_bReduced)
        return;
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_BLEND);
}

void CSceneRenderer::DrawClearInset(const CViewState& state, int w, int h, double scale) {
    // A little smaller than the classic inset: room for the axis letters inside the corner.
    glScaled(0.8 / scale, 0.8 / scale, 0.8 / scale);
    glViewport(static_cast<int>(0.75 * w), static_cast<int>(0.75 * h), static_cast<int>(0.25 * w),
               static_cast<int>(0.25 * h));
    // Under the model where they meet: the model matters more.
    glDepthMask(GL_FALSE);
    SetLineWidth(1.0f);
    glColor3f(0.78f, 0.78f, 0.80f);
    glBegin(GL_LINES);
    const double sq[][3] = {{0, 0, 0.4}, {0, 0.4, 0.4}, {0, 0.4, 0.4}, {0, 0.4, 0},
                            {0, 0.4, 0}, {0.4, 0.4, 0}, {0.4, 0.4, 0}, {0.4, 0, 0},
                            {0, 0, 0.4}, {0.4, 0, 0.4}, {0.4, 0, 0.4}, {0.4, 0, 0}};
    for (const auto& v : sq)
        glVertex3dv(v);
    glEnd();
    SetLineWidth(LineWidth(state.m_nLineWidth) + 0.5f);
    const double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const CHaloLabels::Kind kinds[3] = {CHaloLabels::AxisX, CHaloLabels::AxisY, CHaloLabels::AxisZ};
    glBegin(GL_LINES);
    for (int i = 0; i < 3; ++i) {
        const QColor c = CHaloLabels::ColourOf(kinds[i]);
        glColor3f(c.redF(), c.greenF(), c.blueF());
        glVertex3d(0, 0, 0);
        glVertex3dv(axes[i]);
    }
    glEnd();
    glDepthMask(GL_TRUE);

    ReadMatrices();
    const char* names[3] = {"x", "y", "z"};
    for (int i = 0; i < 3; ++i) {
        GLdouble wx = 0, wy = 0, wz = 0;
        if (gluProject(axes[i][0] * 1.12, axes[i][1] * 1.12, axes[i][2] * 1.12, m_modelView,
                       m_projection, m_viewport, &wx, &wy, &wz))
            m_haloLabels.Add(QString::fromLatin1(names[i]), wx, h - wy, kinds[i]);
    }
    glScaled(scale / 0.8, scale / 0.8, scale / 0.8);
    glViewport(0, 0, w, h);
}

void CSceneRenderer::DrawClearModel(const CQuivraDoc& doc, const CViewState& state, bool behind) {
    const float* line = behind ? kRestGrey : kModel;
    const float* centre = behind ? kRestCentre : kCentre;
    if (m_bModelByRaster) {
        const Projector proj(m_modelView, m_projection, m_viewport);
        const float width = LineWidth(state.m_nLineWidth) + (behind ? 0.0f : 0.4f);
        const double depth = behind ? kBehind : -1.0;
        CLineRaster::End ends[2];
        auto add = [&](const CornerPoint* a, const CornerPoint* b, const float* rgb) {
            proj.ToClip(Vec3d{a->m_x, a->m_y, a->m_z}, ends[0].clip);
            proj.ToClip(Vec3d{b->m_x, b->m_y, b->m_z}, ends[1].clip);
            std::copy(rgb, rgb + 3, ends[0].rgb);
            std::copy(rgb, rgb + 3, ends[1].rgb);
            m_lineRaster.Add(ends[0], ends[1], width, depth);
        };
        auto addLine = [&](const CornerPoint* a, const CornerPoint* b) { add(a, b, line); };
        std::size_t lone = 0;
        reducedlines::ForEach(doc.m_freeLines, m_nStride, lone, addLine);
        for (const SceneObject* o : doc.m_objects) {
            if (state.m_bShowCenterLines && o->m_bHasCentreLine && o->m_pCentreLine)
                add(o->m_pCentreLine->m_pPointA, o->m_pCentreLine->m_pPointB, centre);
            reducedlines::ForEach(o->m_lines, m_nStride, lone, addLine);
        }
        return;
    }
    if (behind)
        glDepthRange(kBehind, kBehind);
    SetLineWidth(LineWidth(state.m_nLineWidth) + (behind ? 0.0f : 0.4f));
    Colour(line);
    CBatchSubmitter batch(m_bSubmitInBatches);
    batch.Begin(GL_LINES);
    auto drawLine = [&batch](const CornerPoint* a, const CornerPoint* b) {
        Vertex(a);
        Vertex(b);
        batch.Next();
    };
    // Behind a moving shape the model at rest is only a reference: half as many lines again.
    const int stride = m_nStride * (m_bReduced && behind ? 2 : 1);
    std::size_t lone = 0;
    reducedlines::ForEach(doc.m_freeLines, stride, lone, drawLine);
    for (const SceneObject* o : doc.m_objects) {
        if (state.m_bShowCenterLines && o->m_bHasCentreLine && o->m_pCentreLine) {
            Colour(centre);
            Vertex(o->m_pCentreLine->m_pPointA);
            Vertex(o->m_pCentreLine->m_pPointB);
            Colour(line);
            batch.Next();
        }
        reducedlines::ForEach(o->m_lines, stride, lone, drawLine);
    }
    batch.End();
    if (behind)
        glDepthRange(0.0, 1.0);
}

void CSceneRenderer::DrawClearDeflected(const CQuivraDoc& doc, const CViewState& state,
                                        double peak) {
    const int series = state.m_nCurrentSeries;
    const double phase = state.m_dAnimPhase;
    const double toScale = peak > 0.0 ? 1.0 / peak : 0.0;
    // The point drawn last, where and in what colour: in a chain each line starts at the point
    // the one before ended at, which is then not computed a second time.
    const CornerPoint* last = nullptr;
    Vec3d at{0.0, 0.0, 0.0};
    float rgb[3] = {0.0f, 0.0f, 0.0f};
    auto place = [&](const CornerPoint* p) {
        if (p != last) {
            last = p;
            at = Vec3d{p->m_x, p->m_y, p->m_z};
            if (p->m_directions.empty()) {
                CColourMap::At(0.0, rgb);
            } else {
                at = Deflection::DisplacedPosition(*p, doc, series, phase);
                const double dx = at.x - p->m_x, dy = at.y - p->m_y, dz = at.z - p->m_z;
                CColourMap::At(std::sqrt(dx * dx + dy * dy + dz * dz) * toScale, rgb);
            }
        }
    };
    auto vertex = [&](const CornerPoint* p) {
        place(p);
        glColor3fv(rgb);
        Vertex(at);
    };
    const float width = LineWidth(state.m_nLineWidth) + 0.6f;
    if (m_bRasterThisFrame) {
        const Projector proj(m_modelView, m_projection, m_viewport);
        CLineRaster::End ends[2];
        auto drawLine = [&](const CornerPoint* a, const CornerPoint* b) {
            for (int i = 0; i < 2; ++i) {
                place(i == 0 ? a : b);
                proj.ToClip(at, ends[i].clip);
                std::copy(rgb, rgb + 3, ends[i].rgb);
            }
            m_lineRaster.Add(ends[0], ends[1], width);
        };
        std::size_t lone = 0;
        reducedlines::ForEach(doc.m_freeLines, m_nStride, lone, drawLine);
        for (const SceneObject* o : doc.m_objects)
            reducedlines::ForEach(o->m_lines, m_nStride, lone, drawLine);
        return;
    }
    SetLineWidth(width);
    CBatchSubmitter batch(m_bSubmitInBatches);
    batch.Begin(GL_LINES);
    auto drawLine = [&](const CornerPoint* a, const CornerPoint* b) {
        vertex(a);
        vertex(b);
        batch.Next();
    };
    std::size_t lone = 0;
    reducedlines::ForEach(doc.m_freeLines, m_nStride, lone, drawLine);
    for (const SceneObject* o : doc.m_objects)
        reducedlines::ForEach(o->m_lines, m_nStride, lone, drawLine);
    batch.End();
}

void CSceneRenderer::DrawClearArrows(const CQuivraDoc& doc, const CViewState& state, int, int h) {
    const double len = ClearArrowLength(state, h);
    const Projector proj(m_modelView, m_projection, m_viewport);
    // The heads: a triangle in the window plane at the tip's depth, turned back into model
    // coordinates so that it is hidden where the shaft is.
    std::vector<double> heads;
    SetLineWidth(LineWidth(state.m_nLineWidth) + 0.5f);
    Colour(kArrow);
    CBatchSubmitter batch(m_bSubmitInBatches);
    batch.Begin(GL_LINES);
    std::size_t index = 0;
    ForEachPointObjectsFirst(doc, [&](const CornerPoint* p) {
        if (!reducedlines::KeepPoint(index++, m_nStride))
            return;
        for (const MeasDirection* d : p->m_directions) {
            const double tip[3] = {p->m_x + len * d->m_dx, p->m_y + len * d->m_dy,
                                   p->m_z + len * d->m_dz};
            double a[3], b[3];
            if (!proj.ToWindow(p->m_x, p->m_y, p->m_z, a) ||
                !proj.ToWindow(tip[0], tip[1], tip[2], b))
                continue;
            const double sx = b[0] - a[0], sy = b[1] - a[1];
            const double screen = std::sqrt(sx * sx + sy * sy);
            // An arrow seen nearly end-on: its head would hide the point.
            const double head = std::min(kHeadLength, 0.45 * screen);
            double baseWin[3] = {b[0], b[1], b[2]};
            double base[3] = {tip[0], tip[1], tip[2]};
            if (screen >= 4.0) {
                const double ux = sx / screen, uy = sy / screen;
                const double half = kHeadHalfWidth * head / kHeadLength;
                baseWin[0] = b[0] - ux * head;
                baseWin[1] = b[1] - uy * head;
                double left[3] = {baseWin[0] - uy * half, baseWin[1] + ux * half, b[2]};
                double right[3] = {baseWin[0] + uy * half, baseWin[1] - ux * half, b[2]};
                double ml[3], mr[3];
                if (proj.ToModel(left, ml) && proj.ToModel(right, mr) &&
                    proj.ToModel(baseWin, base)) {
                    heads.insert(heads.end(), {tip[0], tip[1], tip[2], ml[0], ml[1], ml[2], mr[0],
                                               mr[1], mr[2]});
                } else {
                    base[0] = tip[0];
                    base[1] = tip[1];
                    base[2] = tip[2];
                }
            }
            glVertex3d(p->m_x, p->m_y, p->m_z);
            glVertex3dv(base);
            batch.Next();
        }
    });
    batch.End();
    if (heads.empty())
        return;
    // Filled, then outlined with smoothed lines for soft edges.
    glBegin(GL_TRIANGLES);
    for (std::size_t i = 0; i < heads.size(); i += 3)
        glVertex3dv(&heads[i]);
    glEnd();
    SetLineWidth(1.0f);
    glBegin(GL_LINES);
    for (std::size_t i = 0; i < heads.size(); i += 9)
        for (int e = 0; e < 3; ++e) {
            glVertex3dv(&heads[i + 3 * e]);
            glVertex3dv(&heads[i + 3 * ((e + 1) % 3)]);
        }
    glEnd();
}

void CSceneRenderer::DrawClearOrbits(const CQuivraDoc& doc, const CViewState& state, double peak) {
    const int series = state.m_nCurrentSeries;
    SetLineWidth(1.0f);
    float rgb[3];
    CBatchSubmitter batch(m_bSubmitInBatches);
    batch.Begin(GL_LINES);
    std::size_t index = 0;
    doc.ForEachPoint([&](const CornerPoint* p) {
        if (p->m_directions.empty() || !reducedlines::KeepPoint(index++, m_nStride))
            return;
        const Deflection::Orbit o = Deflection::OrbitOf(*p, doc, series);
        const double top = o.Peak();
        if (!(top > 0.0))
            return;
        CColourMap::At(peak > 0.0 ? top / peak : 0.0, rgb);
        glColor4f(rgb[0], rgb[1], rgb[2], 0.75f);
        Vec3d prev = o.At(0.0);
        for (int i = 1; i <= kOrbitSegments; ++i) {
            const Vec3d next = o.At(2.0 * 3.14159265358979323846 * i / kOrbitSegments);
            glVertex3d(p->m_x + prev.x, p->m_y + prev.y, p->m_z + prev.z);
            glVertex3d(p->m_x + next.x, p->m_y + next.y, p->m_z + next.z);
            prev = next;
        }
        batch.Next();
    });
    batch.End();
}

void CSceneRenderer::AddClearLabels(const CQuivraDoc& doc, const CViewState& state, bool moving,
                                    int h) {
    if (!state.m_bShowPointNumbers && !state.m_bShowDirectionNumbers)
        return;
    const Projector proj(m_modelView, m_projection, m_viewport);
    auto add = [&](const QString& text, double x, double y, double z, CHaloLabels::Kind kind) {
        double win[3];
        if (proj.ToWindow(x, y, z, win))
            m_haloLabels.Add(text, win[0], h - win[1], kind);
    };
    // Point numbers ride on their points; direction numbers sit at the arrow tips.
    if (state.m_bShowPointNumbers)
        ForEachPointObjectsFirst(doc, [&](const CornerPoint* p) {
            Vec3d q{p->m_x, p->m_y, p->m_z};
            if (moving && !p->m_directions.empty())
                q = Deflection::DisplacedPosition(*p, doc, state.m_nCurrentSeries,
                                                  state.m_dAnimPhase);
            add(QString::number(p->m_nNumber), q.x, q.y, q.z, CHaloLabels::PointNumber);
        });
    if (state.m_bShowDirectionNumbers) {
        const double len = ClearArrowLength(state, h) * 1.08;
        ForEachPointObjectsFirst(doc, [&](const CornerPoint* p) {
            for (const MeasDirection* d : p->m_directions)
                add(QString::number(d->m_nNumber), p->m_x + len * d->m_dx, p->m_y + len * d->m_dy,
                    p->m_z + len * d->m_dz, CHaloLabels::DirectionNumber);
        });
    }
}

void CSceneRenderer::PaintClearOverlay(const CQuivraDoc& doc, const CViewState& state, int w, int h,
                                       bool moving) {
    if (m_pVectorOverlay) {
        PaintClearPanels(*m_pVectorOverlay, doc, state, w, h, moving);
        return;
    }
    OSMesaContext ctx = OSMesaGetCurrentContext();
    GLint bw = 0, bh = 0, format = 0;
    void* buffer = nullptr;
    if (!ctx || !OSMesaGetColorBuffer(ctx, &bw, &bh, &format, &buffer) || !buffer || bw != w ||
        bh != h)
        return;
    // Straight into the finished frame: nothing flushes into it again before the next frame.
    QImage frame(static_cast<uchar*>(buffer), w, h, w * 4, QImage::Format_RGB32);
    QPainter painter(&frame);
    PaintClearPanels(painter, doc, state, w, h, moving);
}

void CSceneRenderer::PaintClearPanels(QPainter& painter, const CQuivraDoc& doc,
                                      const CViewState& state, int w, int h, bool moving) {
    const QRect area(0, 0, w, h);
    // The panels first; the labels then keep out of them and out of the axes' corner (but
    // the axis letters are labels of that corner themselves).
    std::vector<QRect> panels;
    // A window too small for them shows the model alone.
    const bool room = w >= kPanelMinWidth && h >= kPanelMinHeight;
    // Into the pixels from images kept between frames; into a vector picture as text.
    const bool asText = m_pVectorOverlay != nullptr;
    if (room && m_bCaption) {
        const QStringList lines = CCaption::Lines(doc, state);
        panels.push_back(asText ? CCaption::Paint(painter, area, lines)
                                : m_overlays.PaintCaption(painter, area, lines));
    }
    if (moving && room) {
        const int k = state.m_nCurrentSeries;
        const double a = std::fabs(doc.m_seriesAmplification[static_cast<std::size_t>(k)]);
        const double top = a > 0.0 ? m_dLastPeak / a : 0.0;
        const int insetRoom = state.m_bShowBase ? static_cast<int>(0.25 * h) : 0;
        panels.push_back(asText ? CColourBar::Paint(painter, area, top, insetRoom)
                                : m_overlays.PaintColourBar(painter, area, top, insetRoom));
    }
    if (state.m_bShowBase)
        panels.push_back(QRect(static_cast<int>(0.75 * w), 0, w - static_cast<int>(0.75 * w),
                               h - static_cast<int>(0.75 * h)));
    m_haloLabels.Paint(painter, area, panels, asText);
}
