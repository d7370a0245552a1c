// Both menu sets by id, their enable and check rules, accelerators, toolbars and status bar.
#include "AppTestSupport.h"

#include "CAmplificationBox.h"
#include "CQuivraView.h"
#include "CommandIds.h"

#include <QClipboard>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTreeWidget>

using namespace cmd;

namespace {

// Each menu as "title: id id | id ..." ('|' for a separator; hidden entries left out).
QStringList DescribeMenuBar(CMainFrame* frame) {
    QStringList menus;
    for (QAction* m : frame->menuBar()->actions()) {
        QString s = m->menu()->title() + ":";
        for (QAction* a : m->menu()->actions())
            if (a->isSeparator() || a->isVisible())
                s += a->isSeparator() ? QStringLiteral(" |")
                                      : " " + QString::number(a->data().toInt());
        menus.append(s);
    }
    return menus;
}

TEST_F(AppTest, DocumentMenusHoldEveryEntryInOrderWithTheirTextsAndKeys) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(DescribeMenuBar(Frame()),
              (QStringList{
                  "&File: 57600 57601 57602 57603 57604 | 32837 32840 32900 32901 | 32902 32903 | "
                  "57607 57606 32905 | 57616 | 57665",
                  "&Edit: 57643 57644 | 57634 | 32774 32772 32809 32810 32777 32773 32823 32838",
                  "&View: 59392 59393 | 32836 | 32771 32775 32776 32784 32794 32811 | 32950 "
                  "32951 | 32953 32954 32955 32956 32957 32952 | 32958",
                  "&Animation: 32795 32839 32904 | 32959 32960 32961 32962 32963",
                  "&Window: 57648 57650 57651 57649 | 65280",
                  "&Help: 142 | 57664",
              }));
    // Texts as the user sees them.
    const QList<std::pair<int, const char*>> texts = {
        {ID_FILE_NEW, "&New\tCtrl+N"},      {ID_FILE_TRANSFER, "&Transfer Quivra"},
        {ID_FILE_R4_IMPORT, "R4 import"},   {ID_EDIT_UNDO, "&Undo\tCtrl+Z"},
        {ID_APP_ABOUT, "&About Quivra..."},
    };
    for (const auto& [id, text] : texts)
        EXPECT_EQ(Action(id)->text(), QString::fromLatin1(text)) << id;
    EXPECT_EQ(Action(ID_EDIT_BOX)->toolTip(), "Create Box");
    // The accelerators, reachable even when no menu shows them.
    const QList<std::pair<int, QList<QKeySequence>>> table = {
        {ID_EDIT_COPY, {QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")}},
        {ID_EDIT_UNDO, {QKeySequence("Alt+Backspace"), QKeySequence("Ctrl+Z")}},
        {ID_EDIT_CUT, {QKeySequence("Shift+Del"), QKeySequence("Ctrl+X")}},
        {ID_HELP, {QKeySequence("F1")}},
        {ID_NEXT_PANE, {QKeySequence("F6")}},
    };
    for (const auto& [id, keys] : table) {
        ASSERT_NE(Action(id), nullptr) << id;
        EXPECT_EQ(Action(id)->shortcuts(), keys) << id;
        EXPECT_TRUE(Frame()->actions().contains(Action(id))) << id;
    }
}

TEST_F(AppTest, EnableStatesAndTheShortMenusWithoutADocument) {
    ASSERT_TRUE(Start());
    // Commands nothing handles; undo, the recent files and the pause with nothing to act on
    // yet; the orbits outside the clear style. Every other entry of the menus, the toolbars
    // and the accelerators is enabled.
    const QList<int> disabled = {
        ID_EDIT_PASTE,         ID_EDIT_CUT,           ID_CONTEXT_HELP,       ID_NEXT_PANE,
        ID_PREV_PANE,          ID_EDIT_UNDO,          ID_EDIT_REDO,          ID_FILE_MRU_FILE1,
        ID_FILE_MRU_FILE1 + 1, ID_FILE_MRU_FILE1 + 2, ID_FILE_MRU_FILE1 + 3, ID_ANIMATION_PAUSE,
        ID_VIEW_ORBITS};
    Frame()->UpdateCmdUI();
    for (QAction* a : Frame()->findChildren<QAction*>()) {
        const int id = a->data().toInt();
        if (id > 0 && !a->isSeparator()) {
            EXPECT_EQ(a->isEnabled(), !disabled.contains(id)) << id;
        }
    }
    EXPECT_FALSE(Run(ID_EDIT_PASTE));

    // Without a document the short menus are shown.
    ASSERT_TRUE(Run(ID_FILE_CLOSE));
    EXPECT_EQ(DocCount(), 0);
    EXPECT_FALSE(Frame()->HasDocumentMenus());
    EXPECT_EQ(DescribeMenuBar(Frame()), (QStringList{
                                            "&File: 57600 57601 | 57606 | 57616 | 57665",
                                            "&View: 59392 59393",
                                            "&Help: 57664",
                                        }));
    EXPECT_EQ(Frame()->windowTitle(), "Norvek Quivra");
    // Document commands have no target now.
    for (int id : {ID_FILE_SAVE, ID_FILE_CLOSE, ID_EDIT_BOX, ID_WINDOW_NEW, ID_HELP_DRAW_LINES})
        EXPECT_FALSE(Enabled(id)) << id;
    ASSERT_TRUE(Run(ID_FILE_NEW));
    EXPECT_TRUE(Frame()->HasDocumentMenus());
}

TEST_F(AppTest, MenuKeysAndAcceleratorsWorkWhileAToolWindowIsActive) {
    ASSERT_TRUE(Start({MakeScene()}));
    ASSERT_TRUE(Run(ID_EDIT_SERIES));
    QWidget* tool = Frame()->findChild<QWidget*>("measseriedlg");
    ASSERT_NE(tool, nullptr);
    tool->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(tool));
    auto target = [tool] {
        return QApplication::focusWidget() ? QApplication::focusWidget() : tool;
    };
    for (auto [key, title] : {std::pair{Qt::Key_F, "&File"}, std::pair{Qt::Key_E, "&Edit"},
                              std::pair{Qt::Key_W, "&Window"}}) {
        QTest::keyClick(target(), key, Qt::AltModifier);
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr) << title;
        EXPECT_EQ(popup->title(), title);
        popup->close();
        ASSERT_TRUE(QTest::qWaitForWindowActive(tool));
    }
    // Ctrl+C copies the list's text, not the view's picture.
    auto* list = tool->findChild<QTreeWidget*>();
    ASSERT_NE(list, nullptr);
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(0), 0);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), list->topLevelItem(0)->text(0));
    QTest::keyClick(target(), Qt::Key_N, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(DocCount(), 2);
}

TEST_F(AppTest, StatusBarAndNewDocumentWindows) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Run(ID_ANIMATION)); // the new scene has no series
    EXPECT_TRUE(Frame()->MessagePane()->text().contains("no measurement series"))
        << Frame()->MessagePane()->text().toStdString();

    m_openPath = MakeScene();
    ASSERT_TRUE(Run(ID_FILE_OPEN));
    QMdiSubWindow* scene = Frame()->ActiveFrame();
    Frame()->MdiArea()->setActiveSubWindow(Frame()->MdiArea()->subWindowList().first());
    Frame()->MessagePane()->setText("(X, Y, Z) = (1   2   3)"); // a point picked there
    Frame()->MdiArea()->setActiveSubWindow(scene);
    EXPECT_EQ(Frame()->MessagePane()->text(), "For Help, press F1");

    // New document windows stay inside the workspace.
    Frame()->resize(900, 640);
    Frame()->show();
    QApplication::processEvents();
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(Run(ID_FILE_NEW));
        QMdiSubWindow* sub = Frame()->ActiveFrame();
        EXPECT_TRUE(Frame()->MdiArea()->viewport()->rect().contains(sub->geometry()))
            << i << ": " << sub->geometry().x() << "," << sub->geometry().y() << " " << sub->width()
            << "x" << sub->height();
    }
}

TEST_F(AppTest, ViewCommandsActOnTheActiveViewStyleAndAnimateAllOnEveryOne) {
    ASSERT_TRUE(Start({MakeScene()}));
    auto* first = qobject_cast<CQuivraView*>(Frame()->ActiveView());
    ASSERT_NE(first, nullptr);
    const QList<std::pair<int, std::int32_t CViewState::*>> toggles = {
        {ID_VIEW_LINES, &CViewState::m_bShowLines},
        {ID_VIEW_BASE, &CViewState::m_bShowBase},
        {ID_VIEW_POINT_NUMBERS, &CViewState::m_bShowPointNumbers},
        {ID_VIEW_CENTER_LINES, &CViewState::m_bShowCenterLines},
        {ID_VIEW_DIRECTIONS, &CViewState::m_bShowDirections},
        {ID_VIEW_DIRECTION_NUMBERS, &CViewState::m_bShowDirectionNumbers},
        {ID_ANIMATION, &CViewState::m_bAnimating},
    };
    for (const auto& [id, flag] : toggles) {
        SCOPED_TRACE(id);
        const bool before = first->*flag != 0;
        Frame()->UpdateCmdUI();
        EXPECT_EQ(Action(id)->isChecked(), before);
        ASSERT_TRUE(Run(id));
        EXPECT_EQ(first->*flag != 0, !before);
        EXPECT_EQ(Action(id)->isChecked(), !before);
    }
    EXPECT_TRUE(first->IsTimerRunning());
    // A second view has flags of its own.
    ASSERT_TRUE(Run(ID_WINDOW_NEW));
    auto* second = qobject_cast<CQuivraView*>(Frame()->ActiveView());
    ASSERT_TRUE(second && second != first);
    Frame()->UpdateCmdUI();
    EXPECT_EQ(Action(ID_VIEW_LINES)->isChecked(), second->m_bShowLines != 0);
    EXPECT_NE(second->m_bShowLines, first->m_bShowLines);

    // The style and Animate All reach every window and are remembered.
    ASSERT_TRUE(Run(ID_VIEW_CLEAR_LOOK));
    ASSERT_TRUE(Run(ID_VIEW_ANIMATE_ALL));
    for (CQuivraView* v : {first, second}) {
        EXPECT_EQ(v->m_nLook, CViewState::LookClear);
        EXPECT_EQ(v->m_bTurnAboutCentre, 1); // the clear look's default
        EXPECT_EQ(v->m_bAnimateWithoutFocus, 1);
    }
    const QSettings settings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"));
    EXPECT_EQ(settings.value(QStringLiteral("view/look")).toInt(), CViewState::LookClear);
    EXPECT_TRUE(settings.value(QStringLiteral("view/animateAll")).toBool());
    // Both windows run, whichever has the focus.
    const int firstFrame = first->m_nFrame;
    second->OnToggleAnimation();
    QTest::qWait(10 * CQuivraView::kTimerInterval);
    EXPECT_NE(first->m_nFrame, firstFrame);
    EXPECT_GT(second->m_nFrame, 0);

    // The live amplification changes the series both windows show.
    CQuivraDoc* doc = second->GetDocument();
    Frame()->UpdateCmdUI();
    Frame()->AmplificationBox()->setValue(7.5);
    EXPECT_EQ(doc->m_seriesAmplification[static_cast<std::size_t>(second->m_nCurrentSeries)], 7.5);
    EXPECT_TRUE(doc->IsModified());
    // Typed into the field, "-" and "." are text, not the Slower and Next Frame keys.
    CAmplificationBox* box = Frame()->AmplificationBox();
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("-1.5"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(doc->m_seriesAmplification[static_cast<std::size_t>(second->m_nCurrentSeries)], -1.5);
    EXPECT_EQ(CQuivraView::SpeedStep(), 0);
    EXPECT_EQ(second->m_bPaused, 0);
}

} // namespace
