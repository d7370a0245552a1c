// Pixels of rendered frames, checked at places computed with gluProject.
#include "SceneBuilder.h"

#include "BoxObject.h"
#include "CLabelPainter.h"
#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CSceneRenderer.h"
#include "CViewState.h"
#include "CornerPoint.h"
#include "CylinderObject.h"
#include "Deflection.h"
#include "MeasDirection.h"
#include "Measurement.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace scene;

namespace {

constexpr int W = 240;
constexpr int H = 180;

struct Rgb {
    int r, g, b;
};
const Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0}, kRed{255, 0, 0}, kBlue{0, 0, 255},
    kGreen{0, 255, 0}, kLilac{204, 153, 230}, kHighlight{178, 178, 0}, kOrigin{153, 0, 153},
    kCentreDot{102, 128, 153}, kAxis{153, 153, 0};

::testing::AssertionResult Is(const QImage& img, QPoint at, Rgb c) {
    if (!img.rect().contains(at))
        return ::testing::AssertionFailure()
               << "pixel (" << at.x() << ", " << at.y() << ") outside the frame";
    const QRgb p = img.pixel(at);
    if (std::abs(qRed(p) - c.r) <= 1 && std::abs(qGreen(p) - c.g) <= 1 &&
        std::abs(qBlue(p) - c.b) <= 1)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel (" << at.x() << ", " << at.y() << ") is (" << qRed(p) << ", " << qGreen(p)
           << ", " << qBlue(p) << "), expected (" << c.r << ", " << c.g << ", " << c.b << ")";
}

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_gl.Resize(W, H).isEmpty());
        m_st.m_dRotX = 20;
        m_st.m_dRotY = 30;
        m_st.m_dZoom = 2.0;
        m_st.m_bShowBase = 0; // most tests look at the scene alone
    }
    const QImage& Render() {
        EXPECT_TRUE(m_renderer.RenderFrame(m_gl, m_doc, m_st, m_w, m_h));
        return m_gl.Image();
    }
    QPoint Px(double x, double y, double z) { return PixelOf(m_gl, m_st, x, y, z); }
    QPoint Px(const CornerPoint* p) { return Px(p->m_x, p->m_y, p->m_z); }
    // Where a label for (x, y, z) has its top-left corner.
    QPoint LabelCorner(double x, double y, double z, bool inset = false) {
        double wx = 0, wy = 0;
        Project(m_gl, m_st, x, y, z, &wx, &wy, !inset, inset);
        return QPoint(static_cast<int>(wx), static_cast<int>(m_h - wy));
    }
    // Counts the pixels of `text`'s label image that differ from the frame at `corner`,
    // skipping those within `skip` pixels of `keepOut`.
    int LabelMismatches(const QImage& frame, const QString& text, QPoint corner,
                        QPoint keepOut = QPoint(-100, -100), int skip = 0) {
        const QImage& label = m_labelImages.LabelImage(text);
        int bad = 0;
        for (int y = 0; y < label.height(); ++y)
            for (int x = 0; x < label.width(); ++x) {
                const QPoint at = corner + QPoint(x, y);
                if (!frame.rect().contains(at))
                    continue;
                if (std::abs(at.x() - keepOut.x()) <= skip &&
                    std::abs(at.y() - keepOut.y()) <= skip)
                    continue;
                if ((frame.pixel(at) & 0xffffff) != (label.pixel(x, y) & 0xffffff))
                    ++bad;
            }
        return bad;
    }

    // A pixel on an inset axis that no label box covers (labels are drawn over the axes).
    QPoint AxisPixel(double ax, double ay, double az) {
        QList<QRect> boxes;
        const char* names[] = {"x", "y", "z"};
        const double ends[3][3] = {{0.8, 0, 0}, {0, 0.8, 0}, {0, 0, 0.8}};
        for (int i = 0; i < 3; ++i)
            boxes << QRect(LabelCorner(ends[i][0], ends[i][1], ends[i][2], true),
                           m_labelImages.LabelImage(QLatin1String(names[i])).size());
        for (double t = 0.2; t < 0.8; t += 0.05) {
            const QPoint px = PixelOf(m_gl, m_st, t * ax, t * ay, t * az, false, true);
            bool covered = false;
            for (const QRect& r : boxes)
                covered = covered || r.adjusted(-1, -1, 1, 1).contains(px);
            if (!covered)
                return px;
        }
        ADD_FAILURE() << "every probe of the axis lies under a label";
        return QPoint(-1, -1);
    }

    int m_w = W, m_h = H;
    COffscreenGL m_gl;
    CSceneRenderer m_renderer;
    CViewState m_st;
    CQuivraDoc m_doc;
    CLabelPainter m_labelImages;
};

TEST_F(RenderTest, MarkersAtRest) {
    CornerPoint* plain = AddFree(m_doc, 300, 0, 0);
    CornerPoint* selected = AddFree(m_doc, -300, 150, 0);
    CornerPoint* highlight = AddFree(m_doc, 0, -200, 60);
    m_doc.m_pOrigin->m_x = -100;
    m_doc.m_pOrigin->m_y = -250;
    m_doc.m_selPoints.push_back(selected);
    m_doc.m_pHighlightPoint = highlight;

    const QImage& img = Render();
    EXPECT_TRUE(Is(img, Px(plain), kRed));
    // The larger markers come later at the same depth: the strict depth test keeps the red
    // centre, so they show as rings around it.
    EXPECT_TRUE(Is(img, Px(selected), kRed));
    EXPECT_TRUE(Is(img, Px(selected) + QPoint(4, 0), kBlue)); // size 10, not 3
    EXPECT_TRUE(Is(img, Px(selected) + QPoint(0, -4), kBlue));
    EXPECT_TRUE(Is(img, Px(highlight) + QPoint(-4, 0), kHighlight));
    EXPECT_TRUE(Is(img, Px(plain) + QPoint(4, 0), kWhite));
    EXPECT_TRUE(Is(img, Px(-100, -250, 0), kOrigin));
    EXPECT_TRUE(Is(img, PixelOf(m_gl, m_st, 0, 0, 0, false), kCentreDot));
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(qAlpha(img.pixel(x, y)), 255);
}

TEST_F(RenderTest, SelectedObjectsPointsGreenSelectedPointStaysBlue) {
    BoxObject* box = AddBox(m_doc, -200, -100, -100, 200, 100, 100);
    m_st.m_bShowLines = 0; // rings only, no edges through them
    m_doc.m_selObjects.push_back(box);
    m_doc.m_selPoints.push_back(box->m_points[7]);
    const QImage& img = Render();
    const QPoint ring(4, 0);
    EXPECT_TRUE(Is(img, Px(box->m_points[0]), kRed));
    EXPECT_TRUE(Is(img, Px(box->m_points[0]) + ring, kGreen));
    EXPECT_TRUE(Is(img, Px(box->m_points[3]) + ring, kGreen));
    // Same place and depth: the later green marker fails the strict depth test.
    EXPECT_TRUE(Is(img, Px(box->m_points[7]) + ring, kBlue));
}

class AnimTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        AddSeries(m_doc, 24); // before the directions, which take one measurement per series
        m_st.m_dRotX = m_st.m_dRotY = 0;
        // Off the pixel boundaries, so each line has one row at the probed columns.
        m_a = AddFree(m_doc, -300, kY, 0);
        m_b = AddFree(m_doc, 300, kY, 0);
        AddLine(m_doc, m_a, m_b);
        // Phase 90: at frame 0 both ends are 150 up.
        AddDirection(m_a, DirPlusY, 150.0, 90.0);
        AddDirection(m_b, DirPlusY, 150.0, 90.0);
    }
    static constexpr double kY = 10.0;
    CornerPoint* m_a = nullptr;
    CornerPoint* m_b = nullptr;
};

TEST_F(AnimTest, AnimatingDrawsDeflectedShapeAndLilacRestWithoutMarkers) {
    m_doc.m_selPoints.push_back(m_a);
    m_st.m_bAnimating = 1;
    m_st.m_nFrame = 0;
    const QImage& img = Render();
    EXPECT_TRUE(Is(img, Px(100, kY, 0), kLilac));
    EXPECT_TRUE(Is(img, Px(100, kY + 150, 0), kBlack));
    EXPECT_FALSE(Is(img, Px(m_b), kRed));
    EXPECT_FALSE(Is(img, Px(m_a), kBlue));
    EXPECT_EQ(m_st.m_dAnimPhase, 0.0);

    // A quarter period later the ends are back near rest; with N = 24, frame 18 is 150 down.
    m_st.m_nFrame = 12;
    const QImage& later = Render();
    EXPECT_EQ(m_st.m_dAnimPhase, Deflection::FramePhase(12, 24));
    EXPECT_TRUE(Is(later, Px(100, kY - 150, 0), kBlack));
    EXPECT_TRUE(Is(later, Px(100, kY + 150, 0), kWhite));
}

TEST_F(AnimTest, DeflectedShapeWinsWhereItNearlyCoincidesWithTheRest) {
    // Ends swinging along -Z, away from the eye: the deflected line lies a hair (or, in the
    // second case, clearly) behind the rest line at the same pixels.
    m_st.m_bAnimating = 1;
    for (const auto& [amplitude, expected] : {std::pair{0.5, kBlack}, {60.0, kLilac}}) {
        for (CornerPoint* p : {m_a, m_b}) {
            MeasDirection* d = p->m_directions.front();
            d->m_dy = 0.0;
            d->m_dz = -1.0;
            d->m_measurements[0]->m_dAmplitude = amplitude;
        }
        // Twice: drawn directly, then through the rest layer.
        for (int pass = 0; pass < 2; ++pass) {
            const QImage& img = Render();
            for (double x : {-200.0, -50.0, 120.0, 250.0})
                EXPECT_TRUE(Is(img, Px(x, kY, 0), expected))
                    << "amplitude " << amplitude << " pass " << pass << " x " << x;
        }
    }
}

TEST_F(AnimTest, AnimatingWithoutSeriesShowsRestOnly) {
    m_st.m_bAnimating = 1;
    // Frames per period (-1: no series at all) and the series shown.
    for (const auto& [frames, series] : {std::pair{-1, 0}, {0, 0}, {24, 3}}) {
        while (m_doc.m_nSeries > 0)
            m_doc.RemoveSeries(0);
        if (frames >= 0)
            AddSeries(m_doc, frames);
        m_st.m_nCurrentSeries = series;
        m_st.m_dAnimPhase = 0.25;
        const QImage& img = Render();
        EXPECT_TRUE(Is(img, Px(100, kY, 0), kLilac)) << frames << "/" << series;
        EXPECT_TRUE(Is(img, Px(100, kY + 150, 0), kWhite));
        EXPECT_EQ(m_st.m_dAnimPhase, 0.25);
    }
}

TEST_F(RenderTest, CentreLineNeedsBothToggles) {
    m_st.m_dRotX = m_st.m_dRotY = 0;
    AddCentreLineObject(m_doc, -300, -110, 0, 300, -110, 0);
    const QPoint mid = Px(50, -110, 0);
    EXPECT_TRUE(Is(Render(), mid, kBlue));
    m_st.m_bShowCenterLines = 0;
    EXPECT_TRUE(Is(Render(), mid, kWhite));
    m_st.m_bShowCenterLines = 1;
    m_st.m_bShowLines = 0;
    EXPECT_TRUE(Is(Render(), mid, kWhite));
}

TEST_F(RenderTest, ArrowsKeepTheirScreenLength) {
    m_st.m_dRotX = m_st.m_dRotY = 0;
    m_st.m_bShowDirections = 1;
    CornerPoint* p = AddFree(m_doc, -300, -100, 0);
    AddDirection(p, DirPlusX, 0, 0);
    for (double zoom : {1.0, 2.0, 4.0}) {
        m_st.m_dZoom = zoom;
        const double len = 100.0 / zoom;
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        Project(m_gl, m_st, -300, -100, 0, &x0, &y0);
        Project(m_gl, m_st, -300 + len, -100, 0, &x1, &y1);
        // 0.1 eye units at 5 units from the eye, whatever the zoom.
        EXPECT_NEAR(x1 - x0, 0.1 / (5 * std::tan(15 * M_PI / 180)) * H / 2, 0.5)
            << "screen length at zoom " << zoom;
        const QImage& img = Render();
        EXPECT_TRUE(Is(img, Px(-300 + 0.8 * len, -100, 0), kRed)) << zoom;
        EXPECT_TRUE(Is(img, Px(-300 + 1.5 * len, -100, 0), kWhite)) << zoom;
    }
}

TEST_F(RenderTest, AxesInsetInTopRightQuarter) {
    // Large enough that the label boxes leave part of each axis visible.
    ASSERT_TRUE(m_gl.Resize(m_w = 640, m_h = 480).isEmpty());
    m_st.m_bShowBase = 1;
    const QImage& img = Render();
    const QPoint axisX = AxisPixel(1, 0, 0);
    const QPoint axisY = AxisPixel(0, 1, 0);
    EXPECT_TRUE(Is(img, axisX, kAxis) && Is(img, axisY, kAxis) &&
                Is(img, AxisPixel(0, 0, 1), kAxis));
    EXPECT_EQ(qAlpha(img.pixel(axisX)), 255); // smoothing must not leak into the frame
    // Everything but the rotation centre lies in the top-right quarter.
    const QPoint centre = PixelOf(m_gl, m_st, 0, 0, 0, false);
    int outside = 0, inside = 0;
    for (int y = 0; y < m_h; ++y)
        for (int x = 0; x < m_w; ++x) {
            if ((img.pixel(x, y) & 0xffffff) == 0xffffff)
                continue;
            const bool inQuarter = x >= m_w - m_w / 4 - 1 && y <= m_h / 4 + 1;
            // The rotation centre and the local origin's marker (size 7) at the model origin.
            const bool nearCentre = std::abs(x - centre.x()) <= 4 && std::abs(y - centre.y()) <= 4;
            if (inQuarter)
                ++inside;
            else if (!nearCentre)
                ++outside;
        }
    EXPECT_GT(inside, 30);
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(LabelMismatches(img, QStringLiteral("x"), LabelCorner(0.8, 0, 0, true)), 0);
    EXPECT_EQ(LabelMismatches(img, QStringLiteral("z"), LabelCorner(0, 0, 0.8, true)), 0);

    // Neither pan nor zoom moves or grows it.
    m_st.m_dPanX = 500;
    m_st.m_dZoom = 7.0;
    const QImage& moved = Render();
    EXPECT_TRUE(Is(moved, axisX, kAxis) && Is(moved, axisY, kAxis));
    m_st.m_bShowBase = 0;
    EXPECT_TRUE(Is(Render(), axisX, kWhite));
}

TEST_F(RenderTest, PointNumberLabelUnderLaterMarker) {
    CornerPoint* p = AddFree(m_doc, 150, -100, 0);
    p->m_nNumber = 42;
    m_st.m_bShowPointNumbers = 1;
    const QImage& img = Render();
    const QPoint corner = LabelCorner(150, -100, 0);
    const QImage& label = m_labelImages.LabelImage(QStringLiteral("42"));
    ASSERT_GT(label.width(), 4);
    // Black text on white at the projected place; the red marker drawn later covers its corner.
    EXPECT_EQ(LabelMismatches(img, QStringLiteral("42"), corner, Px(p), 2), 0);
    EXPECT_TRUE(Is(img, Px(p), kRed));
    int black = 0;
    for (int y = 0; y < label.height(); ++y)
        for (int x = 0; x < label.width(); ++x)
            black += qGray(img.pixel(corner + QPoint(x, y))) < 80;
    EXPECT_GT(black, 5);

    // While animating the label stays and the marker goes.
    AddSeries(m_doc, 24);
    m_st.m_bAnimating = 1;
    const QImage& anim = Render();
    EXPECT_EQ(LabelMismatches(anim, QStringLiteral("42"), corner), 0);
}

TEST_F(RenderTest, DirectionNumberAtArrowTipEvenWithoutArrows) {
    CornerPoint* p = AddFree(m_doc, -150, 50, 0);
    MeasDirection* d = AddDirection(p, DirMinusY, 1, 0);
    d->m_nNumber = 7;
    m_st.m_bShowDirectionNumbers = 1;
    const double len = 100.0 / m_st.m_dZoom;
    const QImage& img = Render();
    EXPECT_EQ(LabelMismatches(img, QStringLiteral("7"), LabelCorner(-150, 50 - len, 0)), 0);
}

TEST_F(RenderTest, EmptyClientAreaDrawsNothing) {
    EXPECT_FALSE(m_renderer.RenderFrame(m_gl, m_doc, m_st, 0, H));
    EXPECT_FALSE(m_renderer.RenderFrame(m_gl, m_doc, m_st, W, 0));
    COffscreenGL none;
    EXPECT_FALSE(m_renderer.RenderFrame(none, m_doc, m_st, W, H));
}

TEST(OffscreenGL, ResizeKeepsBufferOnEmptySizeAndReportsFailures) {
    COffscreenGL gl;
    EXPECT_FALSE(gl.HasContext());
    // An empty first size creates nothing and fails nothing.
    EXPECT_TRUE(gl.Resize(100, 0).isEmpty() && !gl.HasContext());
    ASSERT_TRUE(gl.Resize(64, 48).isEmpty() && gl.HasContext());
    EXPECT_EQ(gl.Image().size(), QSize(64, 48));
    // Minimised: the buffer stays, the viewport size follows.
    EXPECT_TRUE(gl.Resize(64, 0).isEmpty());
    EXPECT_EQ(std::pair(gl.Image().size(), gl.ViewportHeight()), std::pair(QSize(64, 48), 0));

    COffscreenGL::FailNextAllocationForTest();
    EXPECT_EQ(gl.Resize(80, 60), QStringLiteral("WM_SIZE - Create24bppDIBSection failed"));
    EXPECT_EQ(gl.Image().size(), QSize(64, 48));

    // A later resize works again and renders at the new size.
    ASSERT_TRUE(gl.Resize(90, 70).isEmpty());
    CQuivraDoc doc;
    CornerPoint* p = AddFree(doc, 200, 100, 0);
    CViewState st;
    st.m_bShowBase = 0;
    CSceneRenderer r;
    ASSERT_TRUE(r.RenderFrame(gl, doc, st, 90, 70));
    EXPECT_EQ(gl.Image().size(), QSize(90, 70));
    EXPECT_TRUE(Is(gl.Image(), PixelOf(gl, st, p->m_x, p->m_y, p->m_z), kRed));
}

} // namespace
