// The clear look while the camera moves during an animation: the faint rest shape goes
// unsmoothed, and is smoothed again once the camera stays put or the motion ends.
#include "SceneBuilder.h"

#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CSceneRenderer.h"
#include "CViewState.h"
#include "CornerPoint.h"
#include "MeasDirection.h"

#include <gtest/gtest.h>

#include <cstdlib>

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

} // namespace
