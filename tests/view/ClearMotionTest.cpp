// The clear look during an animation: while the camera moves the faint rest shape goes
// unsmoothed, and is smoothed again once the camera stays put or the motion ends; the rest shape
// kept from frame to frame shows wherever the moving shape is not, and over the axes inset.
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

#include <cstdlib>
#include <vector>

using namespace scene;

namespace {

constexpr int W = 320, H = 240;

// Pixels of the column through the rest line that are neither background nor the rest grey:
// the partly covered ones a smoothed line leaves beside it.
int Blended(const QImage& img, QPoint at) {
    int n = 0;
    for (int dy = -4; dy <= 4; ++dy) {
        const QRgb p = img.pixel(at + QPoint(0, dy));
        const bool white = qRed(p) == 255 && qGreen(p) == 255 && qBlue(p) == 255;
        const bool grey = std::abs(qRed(p) - 189) <= 2 && std::abs(qBlue(p) - 199) <= 2;
        n += !white && !grey;
    }
    return n;
}

TEST(ClearMotion, RestShapeUnsmoothedOnlyWhileTheCameraMoves) {
    CQuivraDoc doc;
    AddSeries(doc, 24);
    // A slanted line whose ends swing far up: the rest line stands alone in the frame.
    CornerPoint* a = AddFree(doc, -150, -70, 0);
    CornerPoint* b = AddFree(doc, 150, 70, 0);
    AddLine(doc, a, b);
    for (CornerPoint* p : {a, b})
        AddDirection(p, DirPlusY, 150.0, 90.0);
    struct Case {
        bool moving;     // the view's motion flag
        double turns[3]; // camera turn (degrees about Z) before each of three frames
        bool plain[3];   // rest shape unsmoothed in that frame
    } cases[] = {
        {true, {0.0, 1.0, 1.0}, {false, true, true}},    // the first frame has nothing to compare
        {true, {0.0, 1.0, 0.0}, {false, true, false}},   // camera stops: smoothed again
        {false, {0.0, 1.0, 1.0}, {false, false, false}}, // not in motion: always smoothed
    };
    for (const Case& k : cases) {
        COffscreenGL gl;
        ASSERT_TRUE(gl.Resize(W, H).isEmpty());
        CSceneRenderer renderer;
        renderer.m_bMoving = k.moving;
        CViewState st;
        st.m_nLook = CViewState::LookClear;
        st.m_dZoom = 2.0;
        st.m_bShowBase = 0;
        st.m_bAnimating = 1;
        for (int i = 0; i < 3; ++i) {
            st.m_dRotZ += k.turns[i];
            ASSERT_TRUE(renderer.RenderFrame(gl, doc, st, W, H));
            const int blended = Blended(gl.Image(), PixelOf(gl, st, 0, 0, 0));
            EXPECT_EQ(blended == 0, k.plain[i]) << k.moving << " frame " << i;
        }
    }
}

bool Near(QRgb p, QRgb c, int tol) {
    return std::abs(qRed(p) - qRed(c)) <= tol && std::abs(qGreen(p) - qGreen(c)) <= tol &&
           std::abs(qBlue(p) - qBlue(c)) <= tol;
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
    for (int i = 0; i < 2; ++i) // the second frame takes the rest shape from the layer
        ASSERT_TRUE(renderer.RenderFrame(gl, doc, st, W, H));
    ASSERT_TRUE(renderer.LastFrameLayered());
    const QImage& img = gl.Image();
    const QRgb grey = qRgb(189, 189, 199);
    const QPoint overInset(onAxis.x(), PixelOf(gl, st, 0, across, 0).y());
    EXPECT_TRUE(Near(img.pixel(overInset), grey, 8)) << overInset.x() << "," << overInset.y();
    EXPECT_TRUE(Near(img.pixel(PixelOf(gl, st, -100, 100, 0)), grey, 8));
    // Where the moving line crosses the other's rest position, the moving one.
    const double share = across / std::max(across, 100.0);
    EXPECT_TRUE(Near(img.pixel(PixelOf(gl, st, -100, 0, 0)), CColourMap::At(share), 14));
}

} // namespace
