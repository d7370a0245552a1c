// What the program's start leaves until its window is on screen still comes, and only once.
#include "AppTestSupport.h"

#include "CDocToolWindows.h"
#include "CommandIds.h"

#include <QTest>

namespace {

// Start() without its turn of the event loop.
bool StartWithoutEvents(std::unique_ptr<CQuivraApp>& app) {
    app = std::make_unique<CQuivraApp>();
    return app->InitInstance({QStringLiteral("quivra")});
}

TEST_F(AppTest, DeferredToolWindowsComeAfterTheFirstPaintForTheFirstDocumentOnly) {
    CAppDocument::DeferNextToolWindows();
    const int before = CDocToolWindows::CreatedCount();
    ASSERT_TRUE(StartWithoutEvents(m_app));
    CAppDocument* first = ActiveDoc();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->ToolWindows(), nullptr);
    QTRY_VERIFY(first->ToolWindows() != nullptr);
    const int created = CDocToolWindows::CreatedCount();
    EXPECT_GT(created, before);
    QTest::qWait(20); // made once: the due creation does not run again
    EXPECT_EQ(CDocToolWindows::CreatedCount(), created);
    // The next document has its windows at once.
    ASSERT_TRUE(Run(cmd::ID_FILE_NEW));
    EXPECT_NE(ActiveDoc(), first);
    EXPECT_NE(ActiveDoc()->ToolWindows(), nullptr);
}

TEST_F(AppTest, AToolWindowAskedForBeforeTheEventLoopRunsIsMadeThenAndShown) {
    CAppDocument::DeferNextToolWindows();
    ASSERT_TRUE(StartWithoutEvents(m_app));
    ASSERT_EQ(ActiveDoc()->ToolWindows(), nullptr);
    ASSERT_TRUE(Run(cmd::ID_EDIT_POINTS));
    ASSERT_NE(ActiveDoc()->ToolWindows(), nullptr);
    EXPECT_TRUE(ActiveDoc()->ToolWindows()->Window(ToolWindow::EditPoints)->isVisible());
}

} // namespace
