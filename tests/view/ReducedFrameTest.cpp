// Reduced frames: a big scene in motion is drawn reduced and comes back full when the motion
// ends; small scenes and copies of the frame are always full.
#include "SceneBuilder.h"

#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CQuivraView.h"
#include "CSceneRenderer.h"
#include "CornerPoint.h"
#include "Line.h"
#include "MeasDirection.h"
#include "ReducedLines.h"

#include <QApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

using namespace scene;

namespace {

constexpr int kW = 320, kH = 240;

// A chain of `n` lines winding round a helix, every point swinging along Z.
void BuildChain(CQuivraDoc& doc, int n) {
    AddSeries(doc, 24);
    CornerPoint* prev = AddPoint(doc, 0, 0, 0);
    for (int i = 1; i <= n; ++i) {
        const double a = i * 0.05;
        CornerPoint* p = AddPoint(doc, 300 * std::cos(a), 300 * std::sin(a), i * 0.1);
        AddDirection(p, DirPlusZ, 10.0, i * 7.0);
        AddLine(doc, prev, p);
        prev = p;
    }
}

class ReducedFrameTest : public ::testing::TestWithParam<int> {
protected:
    void Show(int lines) {
        BuildChain(m_doc, lines);
        m_view = new CQuivraView(&m_doc);
        m_view->setFixedSize(kW, kH);
        m_view->m_nLook = GetParam();
        m_view->m_bAnimateWithoutFocus = 1;
        // Any full frame counts as too slow: what is left to decide is the floor of lines.
        m_view->Renderer().m_dFrameBudgetMs = 0.0;
        m_frame.setCentralWidget(m_view);
        m_frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_frame));
        m_frame.activateWindow();
        m_view->setFocus();
        m_view->OnInitialUpdate();
    }
    void Mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(pos), QPointF(m_view->mapToGlobal(pos)), button, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(m_view, &e);
    }
    void Wheel(int delta) {
        const QPoint pos(kW / 2, kH / 2);
        QWheelEvent e(QPointF(pos), QPointF(m_view->mapToGlobal(pos)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_view, &e);
    }
    bool Reduced() { return m_view->Renderer().LastFrameReduced(); }
    bool BecomesFull() {
        return QTest::qWaitFor([this] { return !Reduced(); }, 2000);
    }
    // The frame a separate renderer draws of the view's scene and camera: the full frame.
    QImage FullFrame() {
        COffscreenGL gl;
        CSceneRenderer renderer;
        EXPECT_TRUE(gl.Resize(kW, kH).isEmpty());
        CViewState st = *m_view;
        EXPECT_TRUE(renderer.RenderFrame(gl, m_doc, st, kW, kH));
        return gl.Image().copy();
    }

    CQuivraDoc m_doc;
    QMainWindow m_frame;
    CQuivraView* m_view = nullptr;
};

TEST_P(ReducedFrameTest, BigSceneMovesReducedAndSettlesFull) {
    Show(4 * static_cast<int>(CSceneRenderer::kReduceMinLines));
    ASSERT_FALSE(Reduced());
    ASSERT_GT(m_view->Renderer().LastFullFrameMs(), 0.0);

    // A drag turns the camera in reduced frames; the release draws the full frame at once.
    Mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {140, 110}, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(Reduced());
    const QImage reduced = m_view->Frame().copy();
    // A copy taken meanwhile is full.
    ASSERT_TRUE(m_view->RenderOffscreen());
    EXPECT_FALSE(Reduced());
    Mouse(QEvent::MouseMove, {160, 120}, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(Reduced());
    Mouse(QEvent::MouseButtonRelease, {160, 120}, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(Reduced());
    // Nothing of the reduced drawing stays behind in the full frame.
    EXPECT_EQ(m_view->Frame(), FullFrame());
    EXPECT_NE(reduced, m_view->Frame());

    // A mouse held still in a drag, and the wheel, which has no release: full after a pause.
    Mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {80, 90}, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(Reduced());
    EXPECT_TRUE(BecomesFull());
    Mouse(QEvent::MouseButtonRelease, {80, 90}, Qt::LeftButton, Qt::NoButton);
    Wheel(120);
    EXPECT_TRUE(Reduced());
    EXPECT_TRUE(BecomesFull());
    EXPECT_EQ(m_view->Frame(), FullFrame());

    // The running animation is motion too; paused or stopped it is drawn full.
    m_view->OnToggleAnimation();
    EXPECT_TRUE(QTest::qWaitFor([this] { return Reduced(); }, 2000));
    m_view->OnPause();
    EXPECT_FALSE(Reduced());
    m_view->OnPause();
    EXPECT_TRUE(QTest::qWaitFor([this] { return Reduced(); }, 2000));
    m_view->OnToggleAnimation();
    EXPECT_FALSE(Reduced());
    EXPECT_EQ(m_view->Frame(), FullFrame());
}

TEST_P(ReducedFrameTest, SmallSceneNeverReduces) {
    Show(static_cast<int>(CSceneRenderer::kReduceMinLines) - 1);
    Mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
    for (int x = 110; x < 200; x += 30) {
        Mouse(QEvent::MouseMove, {x, 110}, Qt::NoButton, Qt::LeftButton);
        EXPECT_FALSE(Reduced());
    }
    Mouse(QEvent::MouseButtonRelease, {200, 110}, Qt::LeftButton, Qt::NoButton);
    Wheel(-120);
    EXPECT_FALSE(Reduced());
    m_view->OnToggleAnimation();
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_view->m_nFrame > 2; }, 2000));
    EXPECT_FALSE(Reduced());
}

INSTANTIATE_TEST_SUITE_P(BothLooks, ReducedFrameTest,
                         ::testing::Values(static_cast<int>(CViewState::LookClassic),
                                           static_cast<int>(CViewState::LookClear)));

// The thinned lines of a list, written "a-b" by point number.
std::string Thinned(const std::vector<std::pair<int, int>>& pairs, int stride) {
    CQuivraDoc doc;
    std::vector<CornerPoint*> points;
    for (int i = 0; i < 20; ++i)
        points.push_back(AddPoint(doc, i, 0, 0));
    std::vector<Line*> lines;
    for (const auto& [a, b] : pairs)
        lines.push_back(
            AddLine(doc, points[static_cast<std::size_t>(a)], points[static_cast<std::size_t>(b)]));
    std::string out;
    std::size_t lone = 0;
    reducedlines::ForEach(lines, stride, lone, [&](const CornerPoint* a, const CornerPoint* b) {
        auto index = [&](const CornerPoint* p) {
            for (std::size_t i = 0; i < points.size(); ++i)
                if (points[i] == p)
                    return static_cast<int>(i);
            return -1;
        };
        out += std::to_string(index(a)) + "-" + std::to_string(index(b)) + " ";
    });
    return out;
}

TEST(ReducedLinesTest, ChainsKeepTheirEndsAndLoneLinesAreStrided) {
    const std::vector<std::pair<int, int>> chain = {{0, 1}, {1, 2}, {2, 3}, {3, 4},
                                                    {4, 5}, {5, 6}, {6, 7}};
    const std::vector<std::pair<int, int>> mixed = {{0, 1},   {1, 2},   {5, 6},   {8, 9},  {10, 11},
                                                    {12, 13}, {13, 14}, {14, 15}, {16, 17}};
    const struct {
        const std::vector<std::pair<int, int>>& lines;
        int stride;
        const char* expected;
    } cases[] = {
        {chain, 1, "0-1 1-2 2-3 3-4 4-5 5-6 6-7 "},
        {chain, 3, "0-3 3-6 6-7 "},
        {chain, 7, "0-7 "},
        {chain, 50, "0-7 "},
        {mixed, 2, "0-2 5-6 10-11 12-14 14-15 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Thinned(c.lines, c.stride), c.expected) << "stride " << c.stride;
}

} // namespace
