// Animated frames drawn with the rest layer must equal those drawn directly, pixel for pixel.
#include "SceneBuilder.h"

#include "BoxObject.h"
#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CSceneRenderer.h"
#include "CViewState.h"
#include "CornerPoint.h"
#include "MeasDirection.h"

#include <gtest/gtest.h>

#include <QSize>

#include <random>

using namespace scene;

namespace {

// Many crossing lines; a third of the points do not move, so their deflected copies coincide
// with the rest lines (equal depths: the earlier, black one must win).
void BuildScene(CQuivraDoc& doc) {
    AddSeries(doc, 24, 1.5);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> pos(-400, 400), ph(0, 360);
    std::vector<CornerPoint*> pts;
    for (int i = 0; i < 120; ++i) {
        CornerPoint* p = AddPoint(doc, pos(rng), pos(rng), pos(rng));
        if (i % 3)
            AddDirection(p, static_cast<std::uint16_t>(1u << (i % 3)), 40, ph(rng));
        pts.push_back(p);
    }
    for (int i = 0; i < 120; ++i)
        AddLine(doc, pts[i], pts[(i * 7 + 3) % 120]);
    BoxObject* box = AddBox(doc, -200, -150, -100, 150, 100, 200);
    AddDirection(box->m_points[2], DirPlusZ, 60, 30);
    AddCentreLineObject(doc, -300, 0, 0, 300, 50, 0);
    // Just outside the left and the top edge (unturned camera): their labels reach into the
    // frame from outside.
    AddPoint(doc, -1150, 0, 0)->m_nNumber = 888;
    AddPoint(doc, 0, 850, 0)->m_nNumber = 999;
}

struct Case {
    const char* name;
    double rotX, rotY, panX;
    int lineWidth;
    int base, directions, numbers;
};

TEST(RestLayer, AnimatedFramesEqualDirectDrawing) {
    const Case cases[] = {
        {"plain", 0, 0, 0, 1, 0, 0, 0},
        {"turned, inset, arrows", 25, 40, 0, 1, 1, 1, 0},
        {"panned, wide, labels", 10, -30, 120, 2, 1, 1, 1},
        {"labels across the edges", 0, 0, 0, 1, 1, 0, 1},
    };
    CQuivraDoc doc;
    BuildScene(doc);
    for (const Case& c : cases) {
        COffscreenGL glLayered, glDirect;
        ASSERT_TRUE(glLayered.Resize(203, 150).isEmpty());
        ASSERT_TRUE(glDirect.Resize(203, 150).isEmpty());
        CSceneRenderer layered, direct;
        direct.m_bUseRestLayer = false;
        CViewState st;
        st.m_dRotX = c.rotX;
        st.m_dRotY = c.rotY;
        st.m_dPanX = c.panX;
        st.m_dZoom = 1.6;
        st.m_nLineWidth = c.lineWidth;
        st.m_bShowBase = c.base;
        st.m_bShowDirections = c.directions;
        st.m_bShowPointNumbers = c.numbers;
        st.m_bShowDirectionNumbers = c.numbers;
        st.m_bAnimating = 1;
        int layeredFrames = 0;
        for (int frame = 0; frame < 5; ++frame) {
            st.m_nFrame = frame * 5;
            CViewState other = st;
            ASSERT_TRUE(layered.RenderFrame(glLayered, doc, st, 203, 150));
            ASSERT_TRUE(direct.RenderFrame(glDirect, doc, other, 203, 150));
            layeredFrames += layered.LastFrameLayered();
            EXPECT_FALSE(direct.LastFrameLayered());
            EXPECT_EQ(glLayered.Image(), glDirect.Image()) << c.name << ", frame " << frame;
        }
        // The first frame has nothing to reuse; all later ones do.
        EXPECT_EQ(layeredFrames, 4) << c.name;
    }
}

TEST(RestLayer, ChangesInvalidateTheLayer) {
    CQuivraDoc doc;
    BuildScene(doc);
    COffscreenGL glLayered, glDirect;
    ASSERT_TRUE(glLayered.Resize(160, 120).isEmpty());
    ASSERT_TRUE(glDirect.Resize(160, 120).isEmpty());
    CSceneRenderer layered, direct;
    direct.m_bUseRestLayer = false;
    CViewState st;
    st.m_dZoom = 1.6;
    st.m_bAnimating = 1;
    auto same = [&](const char* what) {
        CViewState other = st;
        ASSERT_TRUE(layered.RenderFrame(glLayered, doc, st, 160, 120));
        ASSERT_TRUE(direct.RenderFrame(glDirect, doc, other, 160, 120));
        EXPECT_EQ(glLayered.Image(), glDirect.Image()) << what;
    };
    same("first");
    same("second");
    ASSERT_TRUE(layered.LastFrameLayered());
    // A moved point, a turned camera, a hidden centre line: each must show at once.
    doc.m_freePoints[5]->m_x += 90;
    same("moved point");
    EXPECT_FALSE(layered.LastFrameLayered());
    same("moved point again");
    st.m_dRotY = 33;
    same("turned");
    st.m_bShowCenterLines = 0;
    same("no centre line");
    same("no centre line again");
    EXPECT_TRUE(layered.LastFrameLayered());
    // Resizes in between, growing as well as shrinking: each size gets new buffers, and the
    // layer is rebuilt for it.
    const QSize sizes[] = {{150, 110}, {320, 240}, {1, 1}, {2, 3}, {600, 20}, {160, 120}};
    for (const QSize& size : sizes) {
        const int w = size.width(), h = size.height();
        ASSERT_TRUE(glLayered.Resize(w, h).isEmpty());
        ASSERT_TRUE(glDirect.Resize(w, h).isEmpty());
        for (int i = 0; i < 3; ++i) {
            CViewState other = st;
            ASSERT_TRUE(layered.RenderFrame(glLayered, doc, st, w, h));
            ASSERT_TRUE(direct.RenderFrame(glDirect, doc, other, w, h));
            EXPECT_EQ(glLayered.Image(), glDirect.Image()) << w << "x" << h << ", frame " << i;
        }
        EXPECT_TRUE(layered.LastFrameLayered()) << w << "x" << h;
    }
}

} // namespace
