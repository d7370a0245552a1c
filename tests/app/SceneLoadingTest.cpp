// Large scenes load on a worker thread behind a progress pane; the first paint is never black.
#include "AppTestSupport.h"

#include "CQuivraView.h"
#include "CRecentFileList.h"
#include "CSceneLoader.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

namespace {

class SceneLoadingTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        // Every non-empty scene counts as large.
        CSceneLoader::SetLargeFileBytes(0);
    }
    void TearDown() override {
        CSceneLoader::SetLargeFileBytes(CSceneLoader::kDefaultLargeFileBytes);
        AppTest::TearDown();
    }
    QWidget* Pane() const { return Frame()->statusBar()->findChild<QWidget*>("loading"); }
    // Runs the event loop until every load has reported.
    void WaitForLoads() {
        QElapsedTimer clock;
        clock.start();
        auto running = [this] {
            for (const auto& loader : m_app->Loaders())
                if (!loader->Finished())
                    return true;
            return false;
        };
        while (running() && clock.elapsed() < 20000)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        ASSERT_FALSE(running());
    }
};

TEST_F(SceneLoadingTest, ProgressThenDocumentOrNothingAfterCancelOrDamage) {
    enum Action { Wait, Cancel, Damaged };
    const struct {
        Action action;
        bool loaded;
        bool message;
    } cases[] = {{Wait, true, false}, {Cancel, false, false}, {Damaged, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        QString path = MakeScene();
        if (c.action == Damaged) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            ASSERT_TRUE(f.resize(f.size() / 2));
        }
        m_messages.clear();
        ClearSettings();
        ASSERT_TRUE(Start());
        ASSERT_EQ(DocCount(), 1); // the new document of a start without files
        ASSERT_TRUE(m_app->OpenDocumentFile(path));
        // The window is usable at once: the pane says what is loading, nothing is open yet.
        QWidget* pane = Pane();
        ASSERT_NE(pane, nullptr);
        EXPECT_TRUE(pane->isVisible());
        EXPECT_EQ(pane->findChild<QLabel*>()->text(), "Loading copy.qvr...");
        EXPECT_EQ(DocCount(), 1);
        int shown = 0;
        QObject::connect(pane->findChild<QProgressBar*>(), &QProgressBar::valueChanged,
                         [&shown](int v) { shown = std::max(shown, v); });
        if (c.action == Cancel)
            pane->findChild<QPushButton*>()->click();
        WaitForLoads();
        QApplication::processEvents();
        EXPECT_EQ(Pane(), nullptr);
        CAppDocument* doc = m_app->DocTemplate()->FindDocument(path);
        EXPECT_EQ(doc != nullptr, c.loaded);
        EXPECT_EQ(DocCount(), c.loaded ? 2 : 1);
        EXPECT_EQ(!m_messages.isEmpty(), c.message) << m_messages.join('|').toStdString();
        EXPECT_EQ(m_app->RecentFiles()->Files().contains(QFileInfo(path).absoluteFilePath()),
                  c.loaded);
        if (doc) {
            EXPECT_GE(shown, 50); // at least the reading half
            EXPECT_GT(doc->Doc()->PointCount(), 0u);
            EXPECT_FALSE(doc->Doc()->IsModified());
            EXPECT_EQ(ActiveDoc(), doc);
            EXPECT_EQ(doc->GetTitle(), "copy.qvr");
        }
        Stop();
        QFile::remove(path);
    }
}

TEST_F(SceneLoadingTest, CommandLineShowsTheWindowFirstAndClosingCancels) {
    const QString path = MakeScene();
    m_app = std::make_unique<CQuivraApp>();
    ASSERT_TRUE(m_app->InitInstance({QStringLiteral("quivra"), path}));
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(DocCount(), 0);
    ASSERT_NE(Pane(), nullptr);
    // Ending the program while loading waits for the worker and reports nothing.
    m_app.reset();
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(SceneLoadingTest, FirstPaintShowsTheBackgroundThenTheModel) {
    // Opened with the program (read at once): its first paint must not wait for the model.
    CSceneLoader::SetLargeFileBytes(CSceneLoader::kDefaultLargeFileBytes);
    ASSERT_TRUE(Start({MakeScene()}));
    ASSERT_NE(ActiveDoc(), nullptr);
    auto* view = qobject_cast<CQuivraView*>(ActiveDoc()->Frames().first()->View());
    ASSERT_NE(view, nullptr);
    ASSERT_FALSE(view->size().isEmpty());
    struct {
        CQuivraView* view;
        bool deferred;
        bool model;
    } cases[] = {
        {view, true, false}, {view, false, true}, {new CQuivraView(nullptr), false, false}};
    cases[2].view->resize(200, 100);
    for (const auto& c : cases) {
        if (c.deferred)
            c.view->DeferFirstFrame();
        const QImage shown = c.view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImage white(shown.size(), QImage::Format_RGB32);
        white.fill(Qt::white);
        // Before the model nothing is black: background only, white; then lines and markers.
        EXPECT_EQ(shown == white, !c.model);
    }
    delete cases[2].view;
}

} // namespace
