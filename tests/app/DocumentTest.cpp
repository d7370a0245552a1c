// Documents: saving, closing with the question, several views, tool-window binding and undo.
#include "AppTestSupport.h"

#include "CDocToolWindows.h"
#include "CommandIds.h"
#include "CornerPoint.h"
#include "MeasDirection.h"
#include "SceneCommands.h"
#include "SceneFile.h"
#include "ViewFactory.h"

#include <QFileInfo>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace cmd;

namespace {

TEST_F(AppTest, SaveOfANewDocumentAsksForAName) {
    ASSERT_TRUE(Start());
    m_savePath.clear(); // the user cancels the dialog
    ASSERT_TRUE(Run(ID_FILE_SAVE));
    ASSERT_EQ(m_suggested.size(), 1);
    EXPECT_TRUE(m_suggested[0].endsWith("Quivra1.qvr"));
    EXPECT_EQ(ActiveDoc()->GetTitle(), "Quivra1");
    m_savePath = m_tmp.filePath("first"); // typed without the extension
    ASSERT_TRUE(Run(ID_FILE_SAVE));
    EXPECT_TRUE(QFileInfo::exists(m_savePath + ".qvr"));
    EXPECT_EQ(ActiveDoc()->GetTitle(), "first.qvr");
    // Saved once, Save writes in place without asking.
    ASSERT_TRUE(Run(ID_FILE_SAVE));
    EXPECT_EQ(m_suggested.size(), 2);
}

TEST_F(AppTest, SaveOnAReadOnlyFileAsksForAnotherName) {
    const QString path = MakeScene();
    const QByteArray old = ReadAll(path);
    ASSERT_TRUE(Start({path}));
    ActiveDoc()->Doc()->AddSeries();
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    m_savePath = m_tmp.filePath("other.qvr");
    // Root may write anything; with a plain real user id the permission check is that user's,
    // who must be able to reach the file to see that it exists.
    const bool root = getuid() == 0;
    ASSERT_TRUE(QFile::setPermissions(m_tmp.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                        QFile::ExeOwner | QFile::ExeGroup));
    const bool dropped = root && setresuid(65534, 0, 0) == 0;
    const bool ran = Run(ID_FILE_SAVE);
    if (dropped) {
        EXPECT_EQ(setresuid(0, 0, 0), 0);
    }
    ASSERT_EQ(dropped, root);
    ASSERT_TRUE(ran);
    EXPECT_EQ(m_suggested, QStringList{QFileInfo(path).absoluteFilePath()});
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(ActiveDoc()->GetTitle(), "other.qvr");
    EXPECT_FALSE(ActiveDoc()->Doc()->IsModified());
}

// A write that fails keeps the old file (SceneFileTest); here the user hears why -- a full
// disk (a file-size limit) named as such -- and the document keeps its name and its changes.
TEST_F(AppTest, FailedSaveSaysWhyAndKeepsTheDocumentAsItWas) {
    for (const bool fullDisk : {false, true}) {
        SCOPED_TRACE(fullDisk);
        const QString path = MakeScene();
        const QByteArray old = ReadAll(path);
        ASSERT_TRUE(Start({path}));
        ActiveDoc()->Doc()->AddSeries(); // grows the file beyond the limit below
        ActiveDoc()->Doc()->SetModifiedFlag(true);
        m_messages.clear();
        m_savePath = path + "/below.qvr"; // below a regular file
        rlimit saved;
        getrlimit(RLIMIT_FSIZE, &saved);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = fullDisk ? static_cast<rlim_t>(old.size()) : saved.rlim_cur;
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool ran = Run(fullDisk ? ID_FILE_SAVE : ID_FILE_SAVE_AS);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        ASSERT_TRUE(ran);
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_TRUE(m_messages[0].contains(
            fullDisk ? QStringLiteral("the disk is full or the file is too large") : m_savePath))
            << m_messages[0].toStdString();
        EXPECT_EQ(ActiveDoc()->GetTitle(), "copy.qvr");
        EXPECT_TRUE(ActiveDoc()->Doc()->IsModified());
        EXPECT_EQ(ReadAll(path), old);
        m_app.reset();
    }
}

TEST_F(AppTest, ClosingAModifiedDocumentAsks) {
    struct Case {
        CPrompts::Answer answer;
        bool closed;
        bool written;
    };
    for (const Case& c : {Case{CPrompts::Cancel, false, false}, Case{CPrompts::No, true, false},
                          Case{CPrompts::Yes, true, true}}) {
        SCOPED_TRACE(int(c.answer));
        const QString path = MakeScene();
        const QByteArray old = ReadAll(path);
        ASSERT_TRUE(Start({path}));
        ActiveDoc()->Doc()->AddSeries();
        ActiveDoc()->Doc()->SetModifiedFlag(true);
        m_questions.clear();
        m_answer = c.answer;
        ASSERT_TRUE(Run(ID_FILE_CLOSE));
        EXPECT_EQ(m_questions,
                  QStringList{"Save changes to " + QFileInfo(path).absoluteFilePath() + "?"});
        EXPECT_EQ(DocCount(), c.closed ? 0 : 1);
        EXPECT_EQ(ReadAll(path) != old, c.written);
        m_app.reset();
    }
}

// After an undo the document is modified unless it equals its file again.
// Undo and Redo name the edits without a snapshot they would drop, and do nothing on No.
TEST_F(AppTest, UndoAndRedoAskBeforeDiscardingLaterEdits) {
    ASSERT_TRUE(Start({MakeScene()}));
    CQuivraDoc* doc = ActiveDoc()->Doc();
    doc->SaveUndoState();
    delete doc->m_freePoints[0];
    SceneCommands::SetMeasDirection(*doc, doc->m_freePoints[0], DirPlusY);
    const QByteArray edited = SceneFile::ToBytes(*doc);
    m_answer = CPrompts::No;
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    EXPECT_EQ(m_questions, QStringList{"Undo will also discard: 1 measurement direction added. "
                                       "Undo anyway?"});
    EXPECT_EQ(SceneFile::ToBytes(*doc), edited);
    EXPECT_FALSE(Enabled(ID_EDIT_REDO));
    m_answer = CPrompts::Yes;
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    EXPECT_NE(SceneFile::ToBytes(*doc), edited);
    EXPECT_TRUE(Enabled(ID_EDIT_REDO));
    SceneCommands::SetMeasDirection(*doc, doc->m_freePoints[0], DirMinusX); // turns +X round
    m_questions.clear();
    Frame()->activateWindow();
    QApplication::processEvents();
    QTest::keyClick(Frame(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(m_questions, QStringList{"Redo will also discard: 1 measurement direction turned "
                                       "round. Redo anyway?"});
    EXPECT_EQ(SceneFile::ToBytes(*doc), edited);
    EXPECT_FALSE(Enabled(ID_EDIT_REDO));
}

TEST_F(AppTest, UndoAfterSaveLeavesTheDocumentModified) {
    ASSERT_TRUE(Start({MakeScene()}));
    CQuivraDoc* doc = ActiveDoc()->Doc();
    auto change = [doc] {
        doc->SaveUndoState();
        doc->AddSeries();
        doc->SetModifiedFlag(true);
    };
    change();
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    EXPECT_FALSE(doc->IsModified()); // back to what the file holds
    ASSERT_TRUE(Run(ID_EDIT_REDO));
    EXPECT_TRUE(doc->IsModified());
    change();
    ASSERT_TRUE(Run(ID_FILE_SAVE));
    ASSERT_TRUE(Run(ID_EDIT_UNDO)); // the file keeps the series the user undid
    EXPECT_TRUE(doc->IsModified());
    ASSERT_TRUE(Run(ID_EDIT_REDO));
    EXPECT_FALSE(doc->IsModified()); // the saved state again
}

// Save As writes the scene and renames the document. Two documents on one file would overwrite
// each other's saves: it refuses the file of another open document, also under another name.
TEST_F(AppTest, SaveAsWritesTheSceneUnlessAnotherDocumentHasTheFile) {
    const QString a = MakeScene("a.qvr"), b = MakeScene("b.qvr");
    const QString link = m_tmp.filePath("link.qvr");
    ASSERT_TRUE(QFile::link(a, link));
    ASSERT_TRUE(Start({a, b}));
    CAppDocument* active = ActiveDoc();
    ASSERT_EQ(active->GetTitle(), "b.qvr");
    for (const QString& target : {a, link}) {
        m_savePath = target;
        m_messages.clear();
        Run(ID_FILE_SAVE_AS);
        EXPECT_EQ(active->GetTitle(), "b.qvr") << target.toStdString();
        ASSERT_EQ(m_messages.size(), 1) << target.toStdString();
        EXPECT_TRUE(m_messages[0].contains("open as \"a.qvr\"")) << m_messages[0].toStdString();
    }
    EXPECT_EQ(m_filters.value(0).section(";;", 0, 0), "Quivra Files (*.qvr)");
    active->Doc()->SetModifiedFlag(true);
    Frame()->UpdateCmdUI();
    EXPECT_EQ(active->Frames().first()->windowTitle(), "b.qvr*");
    m_savePath = m_tmp.filePath("saved.qvr");
    ASSERT_TRUE(Run(ID_FILE_SAVE_AS));
    EXPECT_EQ(ReadAll(m_savePath), ReadAll(b));
    EXPECT_EQ(active->GetTitle(), "saved.qvr");
    EXPECT_FALSE(active->Doc()->IsModified());
    EXPECT_EQ(Frame()->windowTitle(), "Norvek Quivra - saved.qvr");
}

TEST_F(AppTest, ExitAsksForEveryModifiedDocument) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Run(ID_FILE_NEW));
    ASSERT_TRUE(Run(ID_FILE_NEW));
    for (const auto& doc : m_app->DocTemplate()->Documents())
        if (doc->GetTitle() != "Quivra2")
            doc->Doc()->SetModifiedFlag(true);
    m_answer = CPrompts::No;
    ASSERT_TRUE(Run(ID_APP_EXIT));
    EXPECT_EQ(m_questions, (QStringList{"Save changes to Quivra1?", "Save changes to Quivra3?"}));
    EXPECT_EQ(DocCount(), 0);
    EXPECT_FALSE(Frame()->isVisible());
}

// A second window on the same document: the tool windows follow the view with the focus, and
// only the last close asks.
TEST_F(AppTest, NewWindowShowsTheSameDocumentAndOnlyTheLastCloseAsks) {
    ASSERT_TRUE(Start({MakeScene()}));
    CAppDocument* doc = ActiveDoc();
    ASSERT_TRUE(Run(ID_WINDOW_NEW));
    ASSERT_EQ(doc->Frames().size(), 2);
    EXPECT_EQ(doc->Doc()->m_views.size(), 2u);
    EXPECT_EQ(ActiveDoc(), doc);
    EXPECT_EQ(doc->Frames()[0]->windowTitle(), "copy.qvr:1");
    EXPECT_EQ(doc->Frames()[1]->windowTitle(), "copy.qvr:2");

    QWidget* first = doc->Frames()[0]->View();
    QWidget* second = doc->Frames()[1]->View();
    auto focus = [](QWidget* view) {
        // As a click does: the main window becomes active, then the view takes the focus.
        view->window()->activateWindow();
        view->setFocus();
        QApplication::processEvents();
    };
    focus(first);
    EXPECT_EQ(doc->Doc()->m_pView, viewfactory::DocViewOf(first));
    const int rebinds = doc->ToolWindows()->RebindCount();
    focus(second);
    EXPECT_EQ(doc->Doc()->m_pView, viewfactory::DocViewOf(second));
    EXPECT_EQ(CQuivraDoc::s_pLastBoundView, viewfactory::DocViewOf(second));
    EXPECT_EQ(doc->ToolWindows()->RebindCount(), rebinds + 1);
    // Focus leaving for a tool window and coming back to the same view binds nothing new.
    ASSERT_TRUE(Run(ID_EDIT_MEASUREMENTS));
    QWidget* tool = Frame()->findChild<QWidget*>("measuredlg");
    tool->activateWindow();
    tool->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(second->hasFocus());
    focus(second);
    doc->Doc()->BindToolWindows();
    EXPECT_EQ(doc->ToolWindows()->RebindCount(), rebinds + 1);

    doc->Doc()->SetModifiedFlag(true);
    m_answer = CPrompts::No;
    doc->Frames()[1]->close();
    QApplication::processEvents();
    EXPECT_TRUE(m_questions.isEmpty());
    ASSERT_EQ(doc->Frames().size(), 1);
    EXPECT_EQ(doc->Doc()->m_views.size(), 1u);
    EXPECT_EQ(doc->Frames()[0]->windowTitle(), "copy.qvr*");
    // The tool windows never keep the closed view.
    EXPECT_EQ(doc->Doc()->m_pView, viewfactory::DocViewOf(first));
    EXPECT_EQ(doc->ToolWindows()->RebindCount(), rebinds + 2);

    doc->Frames()[0]->close();
    QApplication::processEvents();
    EXPECT_EQ(m_questions.size(), 1);
    EXPECT_EQ(DocCount(), 0);
}

} // namespace

TEST_F(AppTest, UniversalFileExportAndImportThroughTheFileMenu) {
    ASSERT_TRUE(Start({MakeScene("sample.qvr")}));
    m_savePath = m_tmp.filePath("shape"); // the extension is added
    m_uffChoice = {UffUnits::Metre, UffUnits::Velocity};
    ASSERT_TRUE(Run(ID_FILE_EXPORT_UFF));
    EXPECT_TRUE(m_suggested.last().endsWith(QLatin1String("sample.uff")));
    ASSERT_EQ(m_uffOffered.size(), 1); // millimetres until chosen otherwise
    EXPECT_EQ(m_uffOffered[0].length, UffUnits::Millimetre);
    EXPECT_TRUE(ReadAll(m_tmp.filePath("shape.uff")).contains("         1SI"));

    ASSERT_TRUE(Run(ID_FILE_NEW));
    CQuivraDoc* fresh = ActiveDoc()->Doc();
    m_openPath = m_tmp.filePath("shape.uff");
    m_messages.clear();
    ASSERT_TRUE(Run(ID_FILE_IMPORT_UFF));
    EXPECT_TRUE(m_questions.isEmpty()); // metres, as the user works now
    EXPECT_EQ(fresh->m_nSeries, 2);
    EXPECT_TRUE(fresh->IsModified());
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].startsWith(QLatin1String("21 corner points, 28 lines")))
        << m_messages[0].toStdString();
    ASSERT_TRUE(Run(ID_EDIT_UNDO)); // one step takes it all back
    EXPECT_EQ(fresh->PointCount(), 0u);
    EXPECT_EQ(fresh->m_nSeries, 0);

    // A file in millimetres: the user is asked, and Cancel imports nothing.
    m_openPath = QStringLiteral(QUIVRA_TEST_DATA "/uff/fe-modes.uff");
    ASSERT_TRUE(Run(ID_FILE_IMPORT_UFF));
    ASSERT_EQ(m_questions.size(), 1);
    EXPECT_TRUE(m_questions[0].contains(QLatin1String("are in mm; you work in m")));
    EXPECT_EQ(fresh->PointCount(), 0u);
    m_answer = CPrompts::Yes;
    ASSERT_TRUE(Run(ID_FILE_IMPORT_UFF));
    ASSERT_EQ(fresh->PointCount(), 2u);
    EXPECT_DOUBLE_EQ(fresh->m_freePoints[1]->m_z, 0.01);
}
