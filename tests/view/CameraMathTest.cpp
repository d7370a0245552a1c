// Navigation arithmetic: fitting the scene, turning about a point, zooming and panning at the
// cursor. Positions are checked in the window, where the user sees them.
#include "SceneBuilder.h"

#include "CCameraMath.h"
#include "CQuivraDoc.h"
#include "CViewState.h"
#include "CornerPoint.h"

#include <QLineF>

#include <gtest/gtest.h>

#include <cmath>

using namespace scene;

namespace {

QPointF Window(const CViewState& st, int w, int h, const Vec3d& p) {
    double x = 0, y = 0;
    EXPECT_TRUE(CCameraMath(st, w, h).ToWindow(p, &x, &y));
    return QPointF(x, y);
}

TEST(CameraMath, FitAllShowsEveryPointAndFillsTheWindow) {
    struct Case {
        double x0, y0, z0, size, rotX, rotY;
        int w, h;
    } cases[] = {
        {3000, 2000, -1500, 800, 0, 0, 400, 300}, // a first box far from the origin
        {-50, -50, -50, 100, 30, 40, 300, 500},   // tall window
        {0, 0, 0, 1200, 90, 0, 640, 200},         // wide window, from above
    };
    for (const Case& c : cases) {
        CQuivraDoc doc;
        AddBox(doc, c.x0, c.y0, c.z0, c.x0 + c.size, c.y0 + c.size * 0.5, c.z0 + c.size * 0.7);
        CViewState st;
        st.m_dRotX = c.rotX;
        st.m_dRotY = c.rotY;
        ASSERT_TRUE(CCameraMath::FitAll(st, doc, c.w, c.h));
        double reach = 0.0; // the largest share of the half window any point takes
        doc.ForEachPoint([&](const CornerPoint* p) {
            const QPointF at = Window(st, c.w, c.h, {p->m_x, p->m_y, p->m_z});
            reach = std::max({reach, std::fabs(at.x() - c.w / 2.0) / (c.w / 2.0),
                              std::fabs(at.y() - c.h / 2.0) / (c.h / 2.0)});
        });
        EXPECT_LE(reach, 0.86) << c.x0;
        EXPECT_GE(reach, 0.84) << c.x0;
    }
    CQuivraDoc empty;
    CViewState st;
    EXPECT_FALSE(CCameraMath::FitAll(st, empty, 400, 300));
    EXPECT_EQ(st.m_dZoom, 5.0);
}

TEST(CameraMath, TurnZoomAndPanKeepTheirPointUnderTheCursor) {
    const int w = 400, h = 300;
    CViewState st;
    st.m_dRotX = 20;
    st.m_dRotY = 30;
    st.m_dZoom = 1.5;
    st.m_dPanX = 40;
    const Vec3d centre{300, -100, 200};

    const QPointF before = Window(st, w, h, centre);
    CCameraMath::Turn(st, 75, 140, 10, &centre);
    EXPECT_LT(QLineF(Window(st, w, h, centre), before).length(), 1e-6);
    EXPECT_EQ(st.m_dRotY, 140);

    const Vec3d under = CCameraMath(st, w, h).Unproject(90, 60, centre);
    CCameraMath::ZoomAt(st, std::exp(0.3), under);
    EXPECT_LT(QLineF(Window(st, w, h, under), QPointF(90, 60)).length(), 1e-6);
    EXPECT_DOUBLE_EQ(st.m_dZoom, 1.5 * std::exp(0.3));

    // 60 pixels of mouse are 60 pixels of model at the centre's depth.
    const QPointF from = Window(st, w, h, centre);
    CCameraMath::PanBy(st, w, h, from.x(), from.y(), from.x() + 60, from.y() - 25, centre);
    EXPECT_LT(QLineF(Window(st, w, h, centre), from + QPointF(60, -25)).length(), 1e-6);
}

} // namespace
