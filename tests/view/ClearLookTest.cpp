// The clear look: colours and places at computed positions, arrowheads, labels that ride on the
// moving points and keep off each other, and the caption's text.
#include "SceneBuilder.h"

#include "CCaption.h"
#include "CColourMap.h"
#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CSceneRenderer.h"
#include "CViewState.h"
#include "CommaLocale.h"
#include "CornerPoint.h"
#include "Deflection.h"
#include "MeasDirection.h"
#include "Measurement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

using namespace scene;

namespace {

constexpr int W = 320, H = 240;

::testing::AssertionResult Near(const QImage& img, QPoint at, QRgb c, int tol = 14) {
    const QRgb p = img.pixel(at);
    if (std::abs(qRed(p) - qRed(c)) <= tol && std::abs(qGreen(p) - qGreen(c)) <= tol &&
        std::abs(qBlue(p) - qBlue(c)) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel (" << at.x() << ", " << at.y() << ") is (" << qRed(p) << ", " << qGreen(p)
           << ", " << qBlue(p) << "), expected (" << qRed(c) << ", " << qGreen(c) << ", "
           << qBlue(c) << ")";
}

// A smoothed line covers the rows beside its centre partly: the pixel of the column that the
// line covers most (the darkest) must have the colour.
::testing::AssertionResult LineColour(const QImage& img, QPoint at, QRgb c) {
    QPoint best = at;
    for (int dy = -1; dy <= 1; ++dy)
        if (qGray(img.pixel(at + QPoint(0, dy))) < qGray(img.pixel(best)))
            best = at + QPoint(0, dy);
    return Near(img, best, c);
}

class ClearLookTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_gl.Resize(W, H).isEmpty());
        m_st.m_nLook = CViewState::LookClear;
        m_st.m_dZoom = 2.0;
        m_st.m_bShowBase = 0;
    }
    const QImage& Render() {
        EXPECT_TRUE(m_renderer.RenderFrame(m_gl, m_doc, m_st, W, H));
        return m_gl.Image();
    }
    QPoint Px(double x, double y, double z) { return PixelOf(m_gl, m_st, x, y, z); }

    COffscreenGL m_gl;
    CSceneRenderer m_renderer;
    CViewState m_st;
    CQuivraDoc m_doc;
};

TEST_F(ClearLookTest, MovingShapeTakesTheColourOfItsAmplitudeOverAFaintRest) {
    AddSeries(m_doc, 24);
    // Two lines: one whose ends swing 120 up at frame 0, one whose ends swing 60 down.
    CornerPoint* a = AddFree(m_doc, -250, 10, 0);
    CornerPoint* b = AddFree(m_doc, -20, 10, 0);
    CornerPoint* c = AddFree(m_doc, 20, -40, 0);
    CornerPoint* d = AddFree(m_doc, 250, -40, 0);
    AddLine(m_doc, a, b);
    AddLine(m_doc, c, d);
    for (CornerPoint* p : {a, b})
        AddDirection(p, DirPlusY, 120.0, 90.0);
    for (CornerPoint* p : {c, d})
        AddDirection(p, DirMinusY, 60.0, 90.0);
    m_st.m_bAnimating = 1;
    m_st.m_nLineWidth = 3; // wide enough that the line covers its centre pixel fully
    struct Case {
        int frame;
        double up; // sin at the frame: where the ends are, as a share of the amplitude
    } cases[] = {{0, 1.0}, {4, 0.5}};
    for (const Case& k : cases) {
        m_st.m_nFrame = k.frame;
        const QImage& img = Render();
        // The scale is the largest amplitude of the whole period (120), not of this frame.
        EXPECT_TRUE(LineColour(img, Px(-130, 10 + 120 * k.up, 0), CColourMap::At(k.up)));
        EXPECT_TRUE(LineColour(img, Px(130, -40 - 60 * k.up, 0), CColourMap::At(0.5 * k.up)));
        EXPECT_DOUBLE_EQ(m_renderer.LastPeak(), 120.0);
        // The rest shape: light grey, neither white nor coloured.
        const QRgb rest = img.pixel(Px(-130, 10, 0));
        EXPECT_LT(qRed(rest), 245);
        EXPECT_GT(qRed(rest), 170);
        EXPECT_NEAR(qRed(rest), qGreen(rest), 3);
    }
    // The scale is kept from frame to frame, and follows every value it is made of.
    MeasDirection* da = a->m_directions[0];
    const std::function<void()> edits[] = {
        [&] { da->m_measurements[0]->m_dAmplitude = 150.0; },
        [&] { m_doc.m_seriesAmplification[0] = 2.0; },
        [&] { AddDirection(a, DirPlusX, 200.0, 90.0); },
        [&] { a->m_directions[1]->m_measurements[0]->m_dPhase = 0.0; },
        [&] { da->m_dx = 0.6; },
        // The same values in the same order, but a's second direction now b's first.
        [&] {
            MeasDirection* x = a->m_directions[1];
            a->m_directions.pop_back();
            b->m_directions.insert(b->m_directions.begin(), x);
            x->m_pPoint = b;
        },
    };
    for (const auto& edit : edits) {
        const double before = m_renderer.LastPeak();
        edit();
        Render();
        double peak = 0.0;
        m_doc.ForEachPoint([&](const CornerPoint* p) {
            peak = std::max(peak, Deflection::OrbitOf(*p, m_doc, 0).Peak());
        });
        EXPECT_NE(peak, before);
        EXPECT_DOUBLE_EQ(m_renderer.LastPeak(), peak);
    }
    // The caption is in the frame (dark text at the bottom left), and only in the clear look.
    auto darkPixels = [](const QImage& img) {
        int n = 0;
        for (int y = H - 70; y < H; ++y)
            for (int x = 0; x < 120; ++x)
                n += qGray(img.pixel(x, y)) < 100;
        return n;
    };
    EXPECT_GT(darkPixels(Render()), 50);
    m_st.m_nLook = CViewState::LookClassic;
    EXPECT_EQ(darkPixels(Render()), 0);
}

TEST_F(ClearLookTest, DirectionArrowsHaveHeads) {
    CornerPoint* p = AddFree(m_doc, -100, 0, 0);
    AddSeries(m_doc, 24);
    AddDirection(p, DirPlusX, 1.0, 0.0);
    AddDirection(p, DirMinusY, 1.0, 0.0);
    m_st.m_bShowDirections = 1;
    const QImage& img = Render();
    const QRgb arrow = qRgb(0, 117, 107);
    // Arrows keep a fixed length in pixels at the rotation centre's depth.
    const double len = CSceneRenderer::ClearArrowLength(m_st, H);
    for (const auto& dir : {QPointF(1, 0), QPointF(0, -1)}) {
        const QPoint tip = Px(-100 + len * dir.x(), len * dir.y(), 0);
        // Screen direction of the arrow (y down) and its normal.
        const QPoint along(static_cast<int>(dir.x()), static_cast<int>(-dir.y()));
        const QPoint across(along.y(), along.x());
        const QPoint headBase = tip - 7 * along; // the head is 8 pixels long, 6.4 wide
        EXPECT_TRUE(Near(img, headBase + 2 * across, arrow, 40)) << dir.x();
        EXPECT_TRUE(Near(img, headBase - 2 * across, arrow, 40)) << dir.x();
        // The shaft is thin: the same offset beside its middle is background.
        const QPoint mid = Px(-100 + 0.4 * len * dir.x(), 0.4 * len * dir.y(), 0);
        EXPECT_TRUE(Near(img, mid + 3 * across, qRgb(255, 255, 255), 3)) << dir.x();
    }
}

TEST_F(ClearLookTest, PointNumbersRideOnMovingPointsAndKeepOffEachOther) {
    AddSeries(m_doc, 24);
    CornerPoint* a = AddFree(m_doc, 0, 0, 0);
    CornerPoint* b = AddFree(m_doc, 0, 0, 0); // same place: the labels would overlap
    AddDirection(a, DirPlusY, 100.0, 90.0);
    AddDirection(b, DirPlusY, 100.0, 90.0);
    m_st.m_bShowPointNumbers = 1;
    m_st.m_bAnimating = 1;
    m_st.m_nFrame = 0; // both 100 up
    Render();
    const std::vector<QRect>& placed = m_renderer.ClearLabels().Placed();
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_FALSE(placed[0].intersects(placed[1]));
    const QPoint moved = Px(0, 100, 0);
    for (const QRect& r : placed) {
        const QPoint c = r.center();
        EXPECT_LT(std::abs(c.x() - moved.x()) + std::abs(c.y() - moved.y()), 30);
    }
}

TEST_F(ClearLookTest, OrbitsFollowChangedValuesWhileTheCameraStaysPut) {
    AddSeries(m_doc, 24);
    CornerPoint* p = AddFree(m_doc, -50, 0, 0);
    MeasDirection* x = AddDirection(p, DirPlusX, 100.0, 0.0);
    MeasDirection* y = AddDirection(p, DirPlusY, 100.0, 90.0); // a circle of radius 100
    m_st.m_bShowOrbits = 1;
    m_st.m_bAnimating = 1;
    auto onOrbit = [this](double r) {
        const QImage& img = Render();
        int marked = 0; // the smoothed circle crosses the axis within a pixel or two
        for (int dx = -1; dx <= 1; ++dx)
            marked += qGray(img.pixel(Px(-50 + r, 0, 0) + QPoint(dx, 0))) < 235;
        return marked > 0;
    };
    EXPECT_TRUE(onOrbit(100));
    EXPECT_TRUE(onOrbit(100)); // the still picture now comes from the rest layer
    for (MeasDirection* d : {x, y})
        d->m_measurements[0]->m_dAmplitude = 50.0;
    EXPECT_TRUE(onOrbit(50));
    EXPECT_FALSE(onOrbit(100));
}

TEST(Caption, NamesFileSeriesFrequencyAmplificationAndPhase) {
    struct Case {
        int unit;
        double frequency;
        const char* line;
    } cases[] = {{0, 24.75, "24.75 Hz (1485 RPM)"}, {1, 3000, "3000 RPM (50 Hz)"}};
    for (const Case& c : cases) {
        CQuivraDoc doc;
        doc.SetPathName(QStringLiteral("/data/pump.qvr"));
        AddSeries(doc, 24, 2.5);
        doc.m_seriesNames[0] = "Run 1";
        doc.m_seriesFreqUnit[0] = c.unit;
        doc.m_seriesFrequency[0] = c.frequency;
        CViewState st;
        QStringList expected = {"pump.qvr", "Series: Run 1", c.line, "Amplification: 2.5"};
        EXPECT_EQ(CCaption::Lines(doc, st), expected);
        st.m_bAnimating = 1;
        st.m_nFrame = 9;
        expected << QStringLiteral("Phase: 135\u00b0 (frame 10 of 24)");
        EXPECT_EQ(CCaption::Lines(doc, st), expected);
    }
    EXPECT_EQ(CCaption::PhaseText(1, 48), QStringLiteral("7.5"));

    // In the program the caption speaks the user's locale, as every other number shown does.
    CommaLocale comma;
    ASSERT_TRUE(comma.IsActive()) << comma.Why().toStdString();
    CQuivraDoc doc;
    AddSeries(doc, 24, 2.5);
    doc.m_seriesFrequency[0] = 24.75;
    EXPECT_TRUE(CCaption::Lines(doc, CViewState()).contains("24,75 Hz (1485 RPM)"));
    EXPECT_EQ(CCaption::PhaseText(1, 48), QStringLiteral("7,5"));
}

} // namespace
