// The tool windows are the real forms, bound to the document and the view that has the focus.
#include "AppTestSupport.h"

#include "CDocToolWindows.h"
#include "CEditCornerPointsDlg.h"
#include "CPointListCtrl.h"
#include "CommandIds.h"

#include <QTest>

using namespace cmd;

namespace {

// Each document has its ten, created hidden and destroyed with it.
TEST_F(AppTest, ShowCommandsShowTheRealForms) {
    const int before = CDocToolWindows::CreatedCount();
    ASSERT_TRUE(Start({MakeScene()}));
    ASSERT_TRUE(Run(ID_FILE_NEW));
    EXPECT_EQ(CDocToolWindows::CreatedCount() - before, 20);
    ASSERT_TRUE(Run(ID_FILE_CLOSE));
    struct Case {
        int id;
        const char* key;
        const char* title;
        const char* form; // its class; nullptr: a still empty window
    };
    const Case cases[] = {
        {ID_EDIT_POINTS, "dlgpoints", "Edit Corner Points", "CEditCornerPointsDlg"},
        {ID_EDIT_BOX, "boxmake", "Create Box", "CCreateBoxDlg"},
        {ID_EDIT_MEASUREMENTS, "measuredlg", nullptr, "CMeasurementsDlg"},
        {ID_EDIT_SERIES, "measseriedlg", "Measurement Series", "CMeasSeriesDlg"},
        {ID_EDIT_LOCAL_ORIGIN, "dlgsetorigo", "Move Local Origin", "CMoveDlg"},
        {ID_FILE_TRANSFER, "transfermeasurements", "Transfer Measurements", nullptr},
        {ID_EDIT_IMPORT, "importmeasurements", "Imported Instrument Measurements", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const QList<QWidget*> all = Frame()->findChildren<QWidget*>(c.key);
        ASSERT_EQ(all.size(), 1);
        QWidget* w = all[0];
        ASSERT_TRUE(!c.form || w->inherits(c.form)) << w->metaObject()->className();
        EXPECT_FALSE(w->isVisible());
        ASSERT_TRUE(Run(c.id));
        EXPECT_TRUE(w->isVisible());
        if (c.title) {
            EXPECT_EQ(w->windowTitle(), c.title);
        }
    }
    // Bound to the document: the point table lists every corner point.
    auto* points = Frame()->findChild<CEditCornerPointsDlg*>("dlgpoints");
    EXPECT_EQ(points->List()->model()->rowCount(), int(ActiveDoc()->Doc()->PointCount()));
}

// What the start leaves until the window is on screen: the first document's tool windows come
// after its first paint, or when a command asks for one before that, and only once.
TEST_F(AppTest, DeferredToolWindowsComeOnceAfterTheFirstPaintOrWhenAskedFor) {
    for (const bool ask : {false, true}) {
        SCOPED_TRACE(ask);
        CAppDocument::DeferNextToolWindows();
        const int before = CDocToolWindows::CreatedCount();
        m_app = std::make_unique<CQuivraApp>(); // no turn of the event loop yet
        ASSERT_TRUE(m_app->InitInstance({QStringLiteral("quivra")}));
        CAppDocument* first = ActiveDoc();
        ASSERT_EQ(first->ToolWindows(), nullptr);
        if (ask) {
            ASSERT_TRUE(Run(ID_EDIT_POINTS));
            ASSERT_NE(first->ToolWindows(), nullptr);
            EXPECT_TRUE(first->ToolWindows()->Window(ToolWindow::EditPoints)->isVisible());
        }
        QTRY_VERIFY(first->ToolWindows() != nullptr);
        const int created = CDocToolWindows::CreatedCount();
        EXPECT_GT(created, before);
        QTest::qWait(20); // the due creation does not run again
        EXPECT_EQ(CDocToolWindows::CreatedCount(), created);
        // The next document has its windows at once.
        ASSERT_TRUE(Run(ID_FILE_NEW));
        EXPECT_NE(ActiveDoc(), first);
        EXPECT_NE(ActiveDoc()->ToolWindows(), nullptr);
        m_app.reset();
    }
}

} // namespace
