// Reduced frames: a big scene in motion is drawn reduced and full again once the motion ends;
// small scenes and copies of the frame stay full.
#include "SceneBuilder.h"

#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CQuivraView.h"
#include "CornerPoint.h"
#include "Line.h"
#include "MeasDirection.h"
#include "ReducedLines.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace scene;

namespace {

class ReducedFrameTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        AddSeries(m_doc, 24);
        AddFree(m_doc, 0, 0, 0);
    }
    // A helix grown to `lines` lines, every point swinging.
    void Grow(int lines) {
        for (int i = static_cast<int>(m_doc.m_freeLines.size()) + 1; i <= lines; ++i) {
            CornerPoint* p = AddFree(m_doc, 300 * std::cos(i * 0.05), 300 * std::sin(i * 0.05), i);
            AddDirection(p, DirPlusZ, 10.0, i * 7.0);
            AddLine(m_doc, m_doc.m_freePoints[m_doc.m_freePoints.size() - 2], p);
        }
    }
    // Any full frame counts as too slow: what is left to decide is the floor of lines.
    void Show() {
        m_view.m_nLook = GetParam();
        m_view.Renderer().m_dFrameBudgetMs = 0.0;
        m_view.setFixedSize(320, 240);
        m_view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
        m_view.m_bHasFocus = 1;
        m_view.OnInitialUpdate();
    }
    // A press, a move to x or a release at x, with the left button.
    void Mouse(QEvent::Type type, int x) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent e(type, QPointF(x, 100), QPointF(m_view.mapToGlobal(QPoint(x, 100))),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&m_view, &e);
    }
    bool Reduced() { return m_view.Renderer().LastFrameReduced(); }
    bool Becomes(bool reduced) {
        return QTest::qWaitFor([&] { return Reduced() == reduced; }, 2000);
    }
    // What a separate renderer draws of the same scene and camera: the full frame.
    QImage FullFrame() {
        COffscreenGL gl;
        CSceneRenderer renderer;
        CViewState st = m_view;
        EXPECT_TRUE(gl.Resize(320, 240).isEmpty() && renderer.RenderFrame(gl, m_doc, st, 320, 240));
        return gl.Image().copy();
    }

    CQuivraDoc m_doc;
    CQuivraView m_view{&m_doc};
};

TEST_P(ReducedFrameTest, OnlyABigSceneMovesReducedAndItSettlesFull) {
    Grow(static_cast<int>(CSceneRenderer::kReduceMinLines) - 1);
    Show();
    Mouse(QEvent::MouseButtonPress, 100);
    Mouse(QEvent::MouseMove, 140);
    EXPECT_FALSE(Reduced());
    Grow(static_cast<int>(CSceneRenderer::kReduceMinLines));
    Mouse(QEvent::MouseMove, 150);
    EXPECT_TRUE(Reduced());
    ASSERT_TRUE(m_view.RenderOffscreen()); // a copy taken meanwhile is full
    EXPECT_FALSE(Reduced());
    Mouse(QEvent::MouseButtonRelease, 160);
    EXPECT_FALSE(Reduced());
    EXPECT_EQ(m_view.Frame(), FullFrame()); // nothing of the reduced drawing stays behind
    // A mouse held still in a drag: full after a pause.
    Mouse(QEvent::MouseButtonPress, 100);
    Mouse(QEvent::MouseMove, 80);
    EXPECT_TRUE(Reduced());
    EXPECT_TRUE(Becomes(false));
    Mouse(QEvent::MouseButtonRelease, 80);
    // The running animation moves too; stopped it is full at once.
    m_view.OnToggleAnimation();
    EXPECT_TRUE(Becomes(true));
    m_view.OnToggleAnimation();
    EXPECT_FALSE(Reduced());
    EXPECT_EQ(m_view.Frame(), FullFrame());
}

INSTANTIATE_TEST_SUITE_P(BothLooks, ReducedFrameTest,
                         ::testing::Values(static_cast<int>(CViewState::LookClassic),
                                           static_cast<int>(CViewState::LookClear)));

TEST(ReducedLinesTest, ChainsKeepTheirEndsAndLoneLinesAreStrided) {
    // A chain through points 0..7, then three lone lines 8-9.
    CQuivraDoc doc;
    std::vector<CornerPoint*> p;
    std::vector<Line*> lines;
    for (int i = 0; i < 10; ++i)
        p.push_back(AddFree(doc, i, 0, 0));
    for (int i = 0; i < 10; ++i)
        lines.push_back(i < 7 ? AddLine(doc, p[i], p[i + 1]) : AddLine(doc, p[8], p[9]));
    for (auto [stride, expected] :
         {std::pair{1, "01 12 23 34 45 56 67 89 89 89 "}, {3, "03 36 67 89 "}, {9, "07 89 "}}) {
        std::string out;
        std::size_t lone = 0;
        reducedlines::ForEach(
            lines, stride, lone, [&out](const CornerPoint* a, const CornerPoint* b) {
                out += std::to_string(int(a->m_x)) + std::to_string(int(b->m_x)) + " ";
            });
        EXPECT_EQ(out, expected) << "stride " << stride;
    }
}

} // namespace
