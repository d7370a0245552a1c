// The clear look during an animation: its lines smoothed by the processor look as GL's own;
// the rest shape kept from frame to frame shows wherever the moving shape is not, and over the
// axes inset.
#include "SceneBuilder.h"

#include "CColourMap.h"
#include "CHaloLabels.h"
#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CSceneRenderer.h"
#include "CViewState.h"
#include "CornerPoint.h"
#include "MeasDirection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

using namespace scene;

namespace {

constexpr int W = 320, H = 240;

// How far apart two frames are: pixels whose colours differ by more than `tol` in a channel,
// and the ink (darkness summed over the frame) of each.
struct Difference {
    int differing = 0;
    double inkA = 0.0, inkB = 0.0;
};

Difference Compare(const QImage& a, const QImage& b, int tol) {
    Difference d;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            d.differing += std::abs(qRed(p) - qRed(q)) > tol ||
                           std::abs(qGreen(p) - qGreen(q)) > tol ||
                           std::abs(qBlue(p) - qBlue(q)) > tol;
            d.inkA += 765 - qRed(p) - qGreen(p) - qBlue(p);
            d.inkB += 765 - qRed(q) - qGreen(q) - qBlue(q);
        }
    return d;
}

// The model's lines smoothed by the processor over the finished frame, against GL's own
// smoothed lines: the same picture, arrows, orbits and markers in front of the lines where
// they are nearer; moving, drawn directly (first frame) and over the kept rest layer, and at
// rest.
TEST(ClearMotion, RasterisedLinesLookAsGLSmoothsThem) {
    CQuivraDoc doc;
    AddSeries(doc, 24);
    // A star of lines at every slope, each end swinging its own way.
    CornerPoint* hub = AddFree(doc, 0, 0, 0);
    AddDirection(hub, DirPlusZ, 20.0, 0.0);
    for (int i = 0; i < 12; ++i) {
        const double a = i * 3.14159265358979 / 6.0 + 0.1;
        CornerPoint* p = AddFree(doc, 140 * std::cos(a), 100 * std::sin(a), 30.0 * (i % 3 - 1));
        AddLine(doc, hub, p);
        AddDirection(p, i % 2 ? DirPlusX : DirMinusY, 25.0, 30.0 * i);
    }
    for (int turnOn : {0, 1}) {
        COffscreenGL gl[2];
        CSceneRenderer renderer[2];
        CViewState st;
        st.m_nLook = CViewState::LookClear;
        st.m_dZoom = 5.0;
        st.m_dRotX = 20.0;
        st.m_bAnimating = 1;
        st.m_bShowDirections = turnOn;
        st.m_bShowOrbits = turnOn;
        st.m_nFrame = 5;
        renderer[0].m_nRasterAtRestFrom = 0; // a small model at rest, as a large one is drawn
        renderer[1].m_bRasterLines = false;
        // Two frames moving (the second over the kept rest layer), then one at rest (markers).
        for (int frame = 0; frame < 3; ++frame) {
            st.m_bAnimating = frame < 2;
            QImage img[2];
            for (int k = 0; k < 2; ++k) {
                ASSERT_TRUE(gl[k].Resize(W, H).isEmpty());
                ASSERT_TRUE(renderer[k].RenderFrame(gl[k], doc, st, W, H));
                img[k] = gl[k].Image().copy();
            }
            EXPECT_EQ(renderer[0].LastFrameLayered(), frame == 1);
            // Measured: 34-77 pixels apart (of 76,800), ink within 1.6 %.
            const Difference d = Compare(img[0], img[1], 48);
            EXPECT_LT(d.differing, 250) << turnOn << " frame " << frame;
            EXPECT_NEAR(d.inkA / d.inkB, 1.0, 0.03) << turnOn << " frame " << frame;
        }
    }
}

bool Near(QRgb p, QRgb c, int tol) {
    return std::abs(qRed(p) - qRed(c)) <= tol && std::abs(qGreen(p) - qGreen(c)) <= tol &&
           std::abs(qBlue(p) - qBlue(c)) <= tol;
}

// A direction arrow nearer than the moving shape stays in front of it where they cross, in a
// frame drawn directly (its depth read back) and over the kept rest layer (the layer's depth).
TEST(ClearMotion, ArrowsInFrontStayInFrontOfTheMovingShape) {
    CQuivraDoc doc;
    AddSeries(doc, 24);
    // Off the frame's middle row, so that rows counted the wrong way show.
    CornerPoint* a = AddFree(doc, -150, 40, -20);
    CornerPoint* b = AddFree(doc, 150, 40, -20);
    AddLine(doc, a, b);
    for (CornerPoint* p : {a, b})
        AddDirection(p, DirPlusZ, 5.0, 0.0);
    AddDirection(AddFree(doc, 0, 15, 20), DirPlusY, 1.0, 0.0);
    for (bool raster : {true, false}) {
        COffscreenGL gl;
        ASSERT_TRUE(gl.Resize(W, H).isEmpty());
        CSceneRenderer renderer;
        renderer.m_bRasterLines = raster;
        CViewState st;
        st.m_nLook = CViewState::LookClear;
        st.m_dZoom = 5.0;
        st.m_bShowBase = 0;
        st.m_bShowDirections = 1;
        st.m_nLineWidth = 3; // the arrow's centre pixels fully covered
        st.m_bAnimating = 1;
        const double tip = 15 + CSceneRenderer::ClearArrowLength(st, H);
        for (int frame = 0; frame < 2; ++frame) {
            ASSERT_TRUE(renderer.RenderFrame(gl, doc, st, W, H));
            const QPoint base = PixelOf(gl, st, 0, 15, 20);
            const QPoint cross(base.x(), PixelOf(gl, st, 0, 40, -20).y());
            ASSERT_GT(base.y(), cross.y() + 4);
            ASSERT_LT(PixelOf(gl, st, 0, tip, 20).y(), cross.y() - 4);
            EXPECT_TRUE(Near(gl.Image().pixel(cross), qRgb(0, 117, 107), 30))
                << raster << " frame " << frame << " " << std::hex << gl.Image().pixel(cross);
        }
    }
}

TEST(ClearMotion, KeptRestShapeShowsWhereNothingMovesAndOverTheInset) {
    CQuivraDoc doc;
    AddSeries(doc, 24);
    COffscreenGL gl;
    ASSERT_TRUE(gl.Resize(W, H).isEmpty());
    CSceneRenderer renderer;
    CViewState st;
    st.m_nLook = CViewState::LookClear;
    st.m_dZoom = 2.0;
    st.m_nLineWidth = 3; // the centre pixel of a line fully covered
    // Where the inset's Y axis is, in a frame of nothing else.
    ASSERT_TRUE(renderer.RenderFrame(gl, doc, st, W, H));
    std::vector<QPoint> axis;
    for (int y = 0; y < H / 4; ++y)
        for (int x = 3 * W / 4; x < W; ++x)
            if (Near(gl.Image().pixel(x, y), CHaloLabels::ColourOf(CHaloLabels::AxisY).rgb(), 30))
                axis.emplace_back(x, y);
    ASSERT_GE(axis.size(), 8u);
    const QPoint onAxis = axis[axis.size() / 2];
    // A long line whose rest position crosses that axis and which swings down to y = 0, and a
    // short one at x = -100 swinging right to x = 0 (under the first's moving position).
    const int y0 = PixelOf(gl, st, 0, 0, 0).y(), y100 = PixelOf(gl, st, 0, 100, 0).y();
    const double across = 100.0 * (onAxis.y() - y0) / (y100 - y0);
    CornerPoint* a = AddFree(doc, -3000, across, 0);
    CornerPoint* b = AddFree(doc, 3000, across, 0);
    CornerPoint* c = AddFree(doc, -100, -150, 0);
    CornerPoint* d = AddFree(doc, -100, 150, 0);
    AddLine(doc, a, b);
    AddLine(doc, c, d);
    for (CornerPoint* p : {a, b})
        AddDirection(p, DirMinusY, across, 90.0);
    for (CornerPoint* p : {c, d})
        AddDirection(p, DirPlusX, 100.0, 90.0);
    st.m_bAnimating = 1;
    const QRgb grey = qRgb(189, 189, 199);
    const double share = across / std::max(across, 100.0);
    // The first frame draws the rest shape itself, the second takes it from the layer.
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(renderer.RenderFrame(gl, doc, st, W, H));
        ASSERT_EQ(renderer.LastFrameLayered(), i == 1);
        const QImage& img = gl.Image();
        const QPoint overInset(onAxis.x(), PixelOf(gl, st, 0, across, 0).y());
        EXPECT_TRUE(Near(img.pixel(overInset), grey, 8)) << overInset.x() << "," << overInset.y();
        EXPECT_TRUE(Near(img.pixel(PixelOf(gl, st, -100, 100, 0)), grey, 8));
        // Where the moving line crosses the other's rest position, the moving one.
        EXPECT_TRUE(Near(img.pixel(PixelOf(gl, st, -100, 0, 0)), CColourMap::At(share), 14)) << i;
    }
}

} // namespace
