// Start-up, the command line and the ways a scene gets opened.
#include "AppTestSupport.h"

#include "CCommandLinePrint.h"
#include "CDocToolWindows.h"
#include "CRecentFileList.h"
#include "CommandIds.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPrinter>
#include <QUrl>

using namespace cmd;

namespace {

// Printing from the command line (the desktop entry's Print action): the scene goes to the
// printer and the program ends without showing a window.
TEST_F(AppTest, PrintOptionsPrintAndEndWithoutShowingTheProgram) {
    const QString scene = MakeScene();
    const QString pdf = m_tmp.filePath("printed.pdf");
    struct Case {
        QStringList args;
        bool pdfPrinter; // print into `pdf` instead of asking the system for the printer
        bool ok;
        QString printer; // as the printer hook saw it
        QString message;
    };
    const Case cases[] = {
        {{"--print", scene}, true, true, "", ""},
        {{"--print-to", "Office 2", scene}, true, true, "Office 2", ""},
        {{"-p"}, true, false, "", "Name the scene files to print."},
        {{"--print-to", "Nowhere at all", scene},
         false,
         false,
         "",
         "There is no printer named \"Nowhere at all\"."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QFile::remove(pdf);
        m_messages.clear();
        QString seen;
        if (c.pdfPrinter)
            CCommandLinePrint::ChoosePrinter = [&](QPrinter& printer, const QString& name,
                                                   QString*) {
                seen = name;
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(pdf);
                printer.setPageSize(QPageSize(QPageSize::A4));
                return true;
            };
        EXPECT_EQ(Start(c.args), c.ok);
        CCommandLinePrint::Reset();
        EXPECT_EQ(m_app->Finished(), c.ok);
        EXPECT_EQ(m_messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(seen, c.printer);
        EXPECT_EQ(ReadAll(pdf).startsWith("%PDF"), c.ok);
        EXPECT_FALSE(Frame()->isVisible());
        EXPECT_EQ(DocCount(), 0);
        m_app.reset();
    }
}

TEST_F(AppTest, FileThatCannotBeOpenedEndsStartUpWithAMessage) {
    const QString garbage = m_tmp.filePath("garbage.qvr");
    ASSERT_TRUE(WriteBytes(garbage, "not a scene at all"));
    for (const QString& path : {garbage, m_tmp.filePath("missing.qvr")}) {
        SCOPED_TRACE(path.toStdString());
        m_messages.clear();
        const int before = CDocToolWindows::CreatedCount();
        EXPECT_FALSE(Start({path}));
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_TRUE(m_messages[0].contains(path)) << m_messages[0].toStdString();
        // The failed document was discarded with its windows.
        EXPECT_EQ(DocCount(), 0);
        EXPECT_EQ(CDocToolWindows::CreatedCount() - before, 10);
        m_app.reset();
    }
}

TEST_F(AppTest, OpenFromDialogFromRecentListAndByDrop) {
    const QString a = MakeScene("a.qvr"), b = MakeScene("b.qvr"), c = MakeScene("c.qvr");
    ASSERT_TRUE(Start());

    m_openPath = a; // File -> Open
    ASSERT_TRUE(Run(ID_FILE_OPEN));
    EXPECT_EQ(ActiveDoc()->GetTitle(), "a.qvr");
    ASSERT_TRUE(Run(ID_FILE_CLOSE));

    // The recent list offers it again.
    ASSERT_TRUE(Enabled(ID_FILE_MRU_FILE1));
    EXPECT_EQ(Action(ID_FILE_MRU_FILE1)->text(), "&1 a.qvr");
    ASSERT_TRUE(Run(ID_FILE_MRU_FILE1));
    EXPECT_EQ(ActiveDoc()->GetTitle(), "a.qvr");

    // Dropped files are opened, each as its document.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(b), QUrl::fromLocalFile(c)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame(), &drop);
    EXPECT_EQ(DocCount(), 4); // Quivra1, a, b, c
    EXPECT_EQ(ActiveDoc()->GetTitle(), "c.qvr");

    // Opening an open file again activates it instead of reading it twice.
    m_openPath = b;
    ASSERT_TRUE(Run(ID_FILE_OPEN));
    EXPECT_EQ(DocCount(), 4);
    EXPECT_EQ(ActiveDoc()->GetTitle(), "b.qvr");
    EXPECT_EQ(m_app->RecentFiles()->Files().size(), 3);
    EXPECT_TRUE(m_messages.isEmpty());
}

// File dialogs start where their kind of file was last used, in the next run as well; a new
// scene is offered a place beside the last one.
TEST_F(AppTest, FileDialogsStartInTheFolderLastUsedForTheirKind) {
    ASSERT_TRUE(QDir(m_tmp.path()).mkpath("scenes") && QDir(m_tmp.path()).mkpath("uff"));
    const QString scenes = m_tmp.filePath("scenes"), uff = m_tmp.filePath("uff");
    ASSERT_TRUE(Start());
    m_openPath = MakeScene("scenes/a.qvr");
    ASSERT_TRUE(Run(ID_FILE_OPEN));
    m_savePath = uff + "/shape.uff";
    ASSERT_TRUE(Run(ID_FILE_EXPORT_UFF));
    EXPECT_EQ(m_folders, QStringList{QDir::homePath()}); // nothing remembered before
    Stop();

    ASSERT_TRUE(Start()); // the next run, with a new document
    m_openPath.clear();
    m_savePath.clear(); // every dialog cancelled
    ASSERT_TRUE(Run(ID_FILE_SAVE_AS));
    ASSERT_TRUE(Run(ID_FILE_OPEN));
    ASSERT_TRUE(Run(ID_FILE_IMPORT_UFF));
    EXPECT_EQ(m_suggested.last(), scenes + "/Quivra1.qvr");
    EXPECT_EQ(m_folders.mid(1), (QStringList{scenes, uff}));

    // Dropped together, the scene opens and the Universal File is read into it.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(scenes + "/a.qvr"), QUrl::fromLocalFile(uff + "/shape.uff")});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame(), &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame(), &drop);
    ASSERT_EQ(ActiveDoc()->GetTitle(), "a.qvr");
    EXPECT_EQ(ActiveDoc()->Doc()->PointCount(), 42u);
    EXPECT_TRUE(m_messages.value(0).startsWith("21 corner points"))
        << m_messages.value(0).toStdString();
}

// Files named on the command line open instead of a new document, as the file holds them; the
// recent list keeps the four newest, first, across runs.
TEST_F(AppTest, FileArgumentsOpenAndTheRecentListKeepsFourNewestFirst) {
    QStringList paths;
    for (int i = 0; i < 5; ++i)
        paths.append(QFileInfo(MakeScene(QStringLiteral("r%1.qvr").arg(i))).absoluteFilePath());
    ASSERT_TRUE(Start(paths));
    ASSERT_EQ(DocCount(), 5);
    EXPECT_EQ(ActiveDoc()->GetTitle(), "r4.qvr");
    EXPECT_EQ(ActiveDoc()->GetPathName(), paths[4]);
    EXPECT_FALSE(ActiveDoc()->Doc()->IsModified());
    EXPECT_GT(ActiveDoc()->Doc()->m_nNextDirectionNumber, 1); // the file's, not a new one's
    Stop();
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_app->RecentFiles()->Files(), (QStringList{paths[4], paths[3], paths[2], paths[1]}));
    EXPECT_EQ(Action(ID_FILE_MRU_FILE1 + 3)->text(), "&4 r1.qvr");
    // An entry that no longer opens leaves the list.
    ASSERT_TRUE(QFile::remove(paths[4]));
    ASSERT_TRUE(Run(ID_FILE_MRU_FILE1));
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_EQ(m_app->RecentFiles()->Files(), (QStringList{paths[3], paths[2], paths[1]}));
    EXPECT_FALSE(Action(ID_FILE_MRU_FILE1 + 3)->isVisible());
}

} // namespace
