// Frames whose long runs of lines and points go to the rasteriser in batches must equal frames
// drawn in one run, pixel for pixel.
#include "SceneBuilder.h"

#include "BoxObject.h"
#include "CBatchSubmitter.h"
#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CSceneRenderer.h"
#include "CViewState.h"
#include "CornerPoint.h"
#include "MeasDirection.h"

#include <gtest/gtest.h>

#include <random>

using namespace scene;

namespace {

// More free lines, points and arrows than one batch holds, crossing each other and the
// objects drawn after them (a box with an arrow, a blue centre line), so that primitives on
// both sides of every batch border compete for the same pixels.
void BuildScene(CQuivraDoc& doc, int n) {
    AddSeries(doc, 24, 1.5);
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> pos(-500, 500), step(-30, 30), ph(0, 360);
    std::vector<CornerPoint*> pts;
    double x = 0, y = 0, z = 0;
    for (int i = 0; i < n; ++i) {
        if (i % 40 == 0) {
            x = pos(rng);
            y = pos(rng);
            z = pos(rng);
        } else {
            x += step(rng);
            y += step(rng);
            z += step(rng);
        }
        CornerPoint* p = AddPoint(doc, x, y, z);
        if (i % 5)
            AddDirection(p, static_cast<std::uint16_t>(1u << (i % 3)), 25, ph(rng));
        pts.push_back(p);
    }
    for (int i = 0; i < n; ++i)
        AddLine(doc, pts[i], pts[(i + 1) % n]);
    BoxObject* box = AddBox(doc, -250, -200, -150, 250, 200, 150);
    AddDirection(box->m_points[3], DirPlusZ, 60, 30);
    AddCentreLineObject(doc, -450, 10, 0, 450, -40, 20);
    doc.m_pHighlightPoint = pts[n / 2];
    doc.m_selPoints.push_back(pts[n - 3]);
}

struct Case {
    const char* name;
    double rotX, rotY;
    int animating, restLayer, directions, lineWidth;
};

TEST(BatchSubmit, FramesEqualDrawingInOneRun) {
    ASSERT_TRUE(CBatchSubmitter::CanSubmitEarly()) << "without fences nothing is batched";
    const int n = static_cast<int>(2 * CBatchSubmitter::kBatch + 1000);
    CQuivraDoc doc;
    BuildScene(doc, n);
    const Case cases[] = {
        {"at rest, markers", 20, 30, 0, 0, 0, 1},
        {"at rest, arrows, wide", -35, 200, 0, 0, 1, 2},
        {"animating, drawn directly", 15, -40, 1, 0, 1, 1},
        {"animating, rest layer", 50, 10, 1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        COffscreenGL glBatched, glWhole;
        ASSERT_TRUE(glBatched.Resize(320, 240).isEmpty());
        ASSERT_TRUE(glWhole.Resize(320, 240).isEmpty());
        CSceneRenderer batched, whole;
        whole.m_bSubmitInBatches = false;
        batched.m_bUseRestLayer = whole.m_bUseRestLayer = c.restLayer;
        CViewState st;
        st.m_dRotX = c.rotX;
        st.m_dRotY = c.rotY;
        st.m_dZoom = 1.1;
        st.m_nLineWidth = c.lineWidth;
        st.m_bShowDirections = c.directions;
        st.m_bAnimating = c.animating;
        // Two frames: with the rest layer the second is the layered one.
        for (int frame = 0; frame < 2; ++frame) {
            st.m_nFrame = 5;
            CViewState other = st;
            ASSERT_TRUE(batched.RenderFrame(glBatched, doc, st, 320, 240));
            ASSERT_TRUE(whole.RenderFrame(glWhole, doc, other, 320, 240));
            EXPECT_EQ(glBatched.Image(), glWhole.Image()) << c.name << ", frame " << frame;
        }
        EXPECT_EQ(batched.LastFrameLayered(), c.restLayer != 0) << c.name;
    }
}

} // namespace
