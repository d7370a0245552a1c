// The scene view as a widget: which view animates, what its paint shows, how its failures
// reach the user. And its start: while the GL library opens in the background, a view shows
// the model's lines drawn without GL, then its first frame as soon as the library is ready;
// nothing in between is black or lost. A big scene in motion is drawn reduced, and full again
// once the motion ends.
#include "SceneBuilder.h"

#include "CCameraMath.h"
#include "COSMesaLibrary.h"
#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CQuivraView.h"
#include "CornerPoint.h"
#include "Line.h"
#include "MeasDirection.h"
#include "ReducedLines.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

using namespace scene;

namespace {

// Accepts each message box shown while it lives, noting "title|text".
struct BoxAnswerer {
    QStringList seen;
    QTimer timer;
    BoxAnswerer() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    seen << box->windowTitle() + QLatin1Char('|') + box->text();
                    box->accept();
                }
        });
        timer.start(0);
    }
};

// Two views of one document side by side in a shown window.
class ViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddSeries(m_doc, 24);
        m_p = AddFree(m_doc, 200, 100, 0);
        AddDirection(m_p, DirPlusX, 50, 0);
        CQuivraDoc::s_pLastBoundView = nullptr;

        auto* layout = new QHBoxLayout(&m_window);
        m_a = new CQuivraView(&m_doc);
        m_b = new CQuivraView(&m_doc);
        layout->addWidget(m_a);
        layout->addWidget(m_b);
        m_window.resize(400, 200);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }
    void TearDown() override { CQuivraDoc::s_pLastBoundView = nullptr; }
    void Focus(CQuivraView* view) {
        view->setFocus();
        QCoreApplication::processEvents(); // may deliver real ticks
    }

    CQuivraDoc m_doc;
    CornerPoint* m_p = nullptr;
    QWidget m_window;
    CQuivraView* m_a = nullptr;
    CQuivraView* m_b = nullptr;
};

TEST_F(ViewTest, OnlyTheFocusedViewAdvances) {
    Focus(m_a);
    m_a->OnToggleAnimation();
    m_b->OnToggleAnimation();
    EXPECT_TRUE(m_a->IsTimerRunning() && m_b->IsTimerRunning());
    EXPECT_EQ(m_a->m_nStopFrame, -1);
    for (int i = 0; i < 3; ++i) {
        m_a->OnTimer();
        m_b->OnTimer();
    }
    EXPECT_EQ(std::pair(m_a->m_nFrame, m_b->m_nFrame), std::pair(3, 0));

    // The focus moves: b takes over, a stands still at its frame.
    Focus(m_b);
    EXPECT_EQ(m_a->m_nFrame, 3);
    const int b0 = m_b->m_nFrame;
    m_a->OnTimer();
    m_b->OnTimer();
    EXPECT_EQ(std::pair(m_a->m_nFrame, m_b->m_nFrame), std::pair(3, (b0 + 1) % 24));

    m_a->OnToggleAnimation();
    EXPECT_FALSE(m_a->IsTimerRunning() || m_a->m_bAnimating);
    // Stopped: the point is drawn at rest with its marker again, hidden as well.
    m_window.hide();
    m_a->m_bShowBase = 0;
    m_a->m_dPanX = -150; // the point moves off its unpanned place
    ASSERT_TRUE(m_a->RenderOffscreen());
    EXPECT_EQ(m_a->Frame().pixel(PixelOf(m_a->GL(), *m_a, 200, 100, 0)) & 0xffffff, 0xff0000u);
}

TEST_F(ViewTest, MaxDeviationCommandsFreezeAtTheirFrames) {
    Focus(m_a);
    // Each starts from frame 0, the second while the first stands at its frame.
    for (const auto& [command, stop] : {std::pair{&CQuivraView::OnMaxDeviationAnim, 6},
                                        {&CQuivraView::OnMaxDeviationAnimNeg, 18}}) {
        m_doc.m_selPoints = {m_p};
        (m_a->*command)();
        EXPECT_EQ(std::make_tuple(m_a->m_bAnimating, m_a->m_nFrame, m_a->m_nStopFrame),
                  std::make_tuple(1, 0, stop));
        EXPECT_TRUE(m_a->IsTimerRunning());
        EXPECT_TRUE(m_doc.m_selPoints.empty());
        for (int i = 0; i < 30; ++i)
            m_a->OnTimer();
        EXPECT_EQ(m_a->m_nFrame, stop);
    }
}

TEST_F(ViewTest, PaintCopiesTheFrameAndStretchesWhenSizesDiffer) {
    m_a->m_bShowBase = 0;
    m_a->RepaintNow();
    const QImage shown = m_a->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), m_a->Frame().size());
    EXPECT_EQ(shown.pixel(PixelOf(m_a->GL(), *m_a, 200, 100, 0)) & 0xffffff, 0xff0000u);
    EXPECT_EQ(shown, m_a->Frame().convertToFormat(QImage::Format_RGB32));

    // A buffer half the client size is stretched over the whole client area.
    const QSize client = m_a->size();
    ASSERT_TRUE(m_a->OnSize(client.width() / 2, client.height() / 2));
    const QImage stretched = m_a->grab().toImage();
    EXPECT_EQ(stretched.size(), client);
    const QImage& half = m_a->Frame();
    ASSERT_EQ(half.size(), client / 2);
    int red = 0;
    for (int y = 0; y < half.height(); ++y)
        for (int x = 0; x < half.width(); ++x)
            if ((half.pixel(x, y) & 0xffffff) == 0xff0000u) {
                ++red;
                EXPECT_EQ(stretched.pixel(2 * x, 2 * y) & 0xffffff, 0xff0000u);
            }
    EXPECT_GT(red, 0);
}

TEST_F(ViewTest, ProjectionFailureShowsOneBoxAfterThePaint) {
    AddFree(m_doc, 0, 0, 5.0 / static_cast<double>(0.001f)); // on the eye plane at zoom 1
    m_a->m_dZoom = 1.0;
    m_a->m_bShowPointNumbers = 1;
    m_a->RepaintNow(); // a box from inside the paint would wait here for an answer
    m_a->RepaintNow();
    BoxAnswerer answer;
    QCoreApplication::processEvents();
    EXPECT_EQ(answer.seen, QStringList{QApplication::applicationDisplayName() +
                                       QStringLiteral("|Could not project point.")});
}

TEST(ViewFailure, FailedBufferDestroysTheView) {
    CQuivraDoc doc;
    QPointer<CQuivraView> view = new CQuivraView(&doc);
    ASSERT_EQ(doc.m_views.size(), 1u);
    BoxAnswerer answer; // the box is modal: answered from inside its event loop
    COffscreenGL::FailNextAllocationForTest();
    EXPECT_FALSE(view->OnSize(120, 90));
    EXPECT_EQ(answer.seen, QStringList{"GLDib|WM_SIZE - Create24bppDIBSection failed"});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view.isNull());
    EXPECT_TRUE(doc.m_views.empty());
}

// The darkest grey level within a pixel of (x, y).
int DarkestNear(const QImage& image, double x, double y) {
    int darkest = 255;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p(static_cast<int>(x) + dx, static_cast<int>(y) + dy);
            if (image.rect().contains(p))
                darkest = qMin(darkest, qGray(image.pixel(p)));
        }
    return darkest;
}

TEST(StartPreview, ShowsTheLinesUntilTheLibraryIsReadyThenTheFrame) {
    CQuivraDoc doc;
    AddLine(doc, AddFree(doc, -300, 0, 0), AddFree(doc, 300, 0, 0));
    COSMesaLibrary::HoldForTest(true);
    CQuivraView view(&doc);
    view.resize(300, 200);
    QSignalSpy previews(&view, &COpenGLView::PreviewPainted);
    QSignalSpy frames(&view, &COpenGLView::FramePainted);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    const QImage preview = view.grab().toImage();
    EXPECT_GE(previews.count(), 1);
    EXPECT_EQ(frames.count(), 0);
    double x, y, qx, qy;
    const CCameraMath cam(view, view.width(), view.height());
    ASSERT_TRUE(cam.ToWindow({0, 0, 0}, &x, &y) && cam.ToWindow({0, 250, 0}, &qx, &qy));
    EXPECT_LT(DarkestNear(preview, x, y), 64) << "the line is not in the preview";
    EXPECT_EQ(DarkestNear(preview, qx, qy), 255) << "the preview is not white off the line";

    COSMesaLibrary::HoldForTest(false);
    ASSERT_TRUE(frames.count() > 0 || frames.wait(5000)) << "no frame once the library was ready";
    EXPECT_EQ(view.Frame().size(), view.size());
    EXPECT_LT(DarkestNear(view.Frame(), x, y), 64) << "the frame lost the line";
}

TEST(StartPreview, CopiesAndPrintsWaitForTheLibraryInsteadOfComingOutEmpty) {
    CQuivraDoc doc;
    AddLine(doc, AddFree(doc, -300, 0, 0), AddFree(doc, 300, 0, 0));
    // Not shown, nothing painted yet: a copy gets a whole frame; a print sets its own size,
    // which the size still waiting for the library must not undo.
    for (const bool print : {false, true}) {
        COSMesaLibrary::HoldForTest(true);
        CQuivraView view(&doc);
        const bool rendered = (!print || view.OnSize(161, 97)) && view.RenderOffscreen();
        COSMesaLibrary::HoldForTest(false);
        ASSERT_TRUE(rendered) << print;
        EXPECT_FALSE(view.Frame().isNull());
        EXPECT_TRUE(!print || view.Frame().size() == QSize(161, 97));
    }
}

// Small scenes and copies of the frame stay full.
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
