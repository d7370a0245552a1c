#include "SceneBuilder.h"

#include "CQuivraDoc.h"
#include "CQuivraView.h"
#include "CornerPoint.h"
#include "MeasDirection.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace scene;

namespace {

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

    CQuivraDoc m_doc;
    CornerPoint* m_p = nullptr;
    QWidget m_window;
    CQuivraView* m_a = nullptr;
    CQuivraView* m_b = nullptr;
};

TEST_F(ViewTest, OnlyTheFocusedViewAdvances) {
    m_a->setFocus();
    QCoreApplication::processEvents();
    m_a->OnToggleAnimation();
    m_b->OnToggleAnimation();
    EXPECT_TRUE(m_a->IsTimerRunning());
    EXPECT_TRUE(m_b->IsTimerRunning());
    EXPECT_EQ(m_a->m_nStopFrame, -1);
    for (int i = 0; i < 3; ++i) {
        m_a->OnTimer();
        m_b->OnTimer();
    }
    EXPECT_EQ(m_a->m_nFrame, 3);
    EXPECT_EQ(m_b->m_nFrame, 0);

    // The focus moves: b takes over, a stands still at its frame.
    m_b->setFocus();
    QCoreApplication::processEvents(); // may deliver real ticks: only b may move
    EXPECT_EQ(m_a->m_nFrame, 3);
    const int b0 = m_b->m_nFrame;
    m_a->OnTimer();
    m_b->OnTimer();
    EXPECT_EQ(m_a->m_nFrame, 3);
    EXPECT_EQ(m_b->m_nFrame, (b0 + 1) % 24);

    m_a->OnToggleAnimation();
    EXPECT_FALSE(m_a->IsTimerRunning());
    EXPECT_EQ(m_a->m_bAnimating, 0);
    // Stopped: the point is drawn at rest with its marker again, hidden as well.
    m_window.hide();
    m_a->m_bShowBase = 0;
    m_a->m_dPanX = -150; // the point moves off its unpanned place
    ASSERT_TRUE(m_a->RenderOffscreen());
    EXPECT_EQ(m_a->Frame().pixel(PixelOf(m_a->GL(), *m_a, 200, 100, 0)) & 0xffffff, 0xff0000u);
}

TEST_F(ViewTest, MaxDeviationCommandsFreezeAtTheirFrames) {
    m_a->setFocus();
    QCoreApplication::processEvents();
    m_doc.m_selPoints = {m_p};
    m_a->OnMaxDeviationAnim();
    EXPECT_TRUE(m_a->IsTimerRunning());
    EXPECT_EQ(m_a->m_bAnimating, 1);
    EXPECT_EQ(m_a->m_nStopFrame, 6);
    EXPECT_TRUE(m_doc.m_selPoints.empty());
    for (int i = 0; i < 10; ++i)
        m_a->OnTimer();
    EXPECT_EQ(m_a->m_nFrame, 6);

    m_doc.m_selPoints = {m_p};
    m_a->OnMaxDeviationAnimNeg();
    EXPECT_EQ(m_a->m_nFrame, 0);
    EXPECT_EQ(m_a->m_nStopFrame, 18);
    for (int i = 0; i < 30; ++i)
        m_a->OnTimer();
    EXPECT_EQ(m_a->m_nFrame, 18);
}

TEST_F(ViewTest, PaintCopiesTheFrameAndStretchesWhenSizesDiffer) {
    m_a->m_bShowBase = 0;
    m_a->RepaintNow();
    const QImage shown = m_a->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), m_a->Frame().size());
    const QPoint px = PixelOf(m_a->GL(), *m_a, 200, 100, 0);
    EXPECT_EQ(shown.pixel(px) & 0xffffff, 0xff0000u);
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
    int boxes = 0;
    QString text;
    QTimer closer;
    closer.setInterval(0);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                ++boxes;
                text = box->text();
                box->accept();
            }
    });
    m_a->RepaintNow();
    m_a->RepaintNow();
    EXPECT_EQ(boxes, 0); // never from inside the paint
    closer.start();
    QCoreApplication::processEvents();
    closer.stop();
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(text, QStringLiteral("Could not project point."));
}

TEST(ViewFailure, FailedBufferDestroysTheView) {
    CQuivraDoc doc;
    QPointer<CQuivraView> view = new CQuivraView(&doc);
    ASSERT_EQ(doc.m_views.size(), 1u);
    // The message box is modal: accept it from inside its event loop.
    QString shown;
    QTimer::singleShot(0, [&shown] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                shown = box->windowTitle() + QLatin1Char('|') + box->text();
                box->accept();
            }
    });
    COffscreenGL::FailNextAllocationForTest();
    EXPECT_FALSE(view->OnSize(120, 90));
    EXPECT_EQ(shown, QStringLiteral("GLDib|WM_SIZE - Create24bppDIBSection failed"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view.isNull());
    EXPECT_TRUE(doc.m_views.empty());
}

} // namespace
