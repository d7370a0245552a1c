// Views that animate while their windows change size: every frame after a resize must be drawn
// into memory of that size (the rest layer's read-back included), and what leaves the program
// afterwards is the view at its last size. Memory faults here show under the sanitizer build.
#include "AppTestSupport.h"
#include "UseActions.h"

#include "CImageOutput.h"
#include "CQuivraView.h"
#include "CommandIds.h"
#include "Deflection.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QPrinter>

namespace {

TEST_F(AppTest, ResizeWhileAnimatingTwoViewsThroughEverySizeThenOutput) {
    // The example scene in the temporary folder: Animation Save writes next to it.
    const QString pump = m_tmp.filePath(QStringLiteral("pump.qvr"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUIVRA_EXAMPLES "/pump.qvr"), pump));
    ASSERT_TRUE(Start({pump}));
    UseActions use(Frame());
    ASSERT_TRUE(use.Run(cmd::ID_WINDOW_NEW));
    const QList<CChildFrame*> frames = use.Frames();
    ASSERT_EQ(frames.size(), 2);
    for (CChildFrame* f : frames) {
        ASSERT_TRUE(use.Activate(f));
        ASSERT_TRUE(use.Animate(true));
    }
    struct Step {
        const char* name;
        QSize size;
        bool viewOnly; // a size the framed window cannot take
    };
    const Step steps[] = {
        {"maximised", {}, false}, {"grown", {900, 700}, false},     {"shrunk", {240, 180}, false},
        {"1 x 1", {1, 1}, true},  {"very wide", {3000, 90}, false}, {"back", {520, 410}, false},
    };
    for (const Step& s : steps)
        for (CChildFrame* f : frames) {
            ASSERT_TRUE(use.Activate(f)) << s.name;
            use.ResizeDocument(s.size, s.viewOnly);
            CQuivraView* view = use.ActiveView();
            if (s.viewOnly) {
                ASSERT_EQ(view->size(), s.size);
            }
            ASSERT_TRUE(UseActions::WaitFrames(view, 4)) << s.name;
            EXPECT_EQ(view->Frame().size(), view->size()) << s.name;
            EXPECT_TRUE(s.viewOnly || view->Renderer().LastFrameLayered()) << s.name;
        }

    CQuivraView* view = use.ActiveView();
    QGuiApplication::clipboard()->clear();
    ASSERT_TRUE(use.Run(cmd::ID_EDIT_COPY));
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(),
              QSize(view->width() / 4 * 4, view->height()));
    QPrinter& printer = CImageOutput::SharedPrinter(); // the print dialog is accepted as it is
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(m_tmp.filePath(QStringLiteral("view.pdf")));
    ASSERT_TRUE(use.Run(cmd::ID_FILE_PRINT));
    EXPECT_TRUE(ReadAll(m_tmp.filePath(QStringLiteral("view.pdf"))).startsWith("%PDF"));
    const int n = Deflection::FramesPerPeriod(*view->GetDocument(), view->m_nCurrentSeries);
    ASSERT_TRUE(use.Run(cmd::ID_ANIMATION_SAVE)); // next to the scene, alone in its folder
    EXPECT_EQ(QDir(m_tmp.path()).entryList({QStringLiteral("*.bmp")}).size(), n);
    EXPECT_TRUE(use.m_modals.isEmpty()) << use.m_modals.join(QLatin1Char('\n')).toStdString();
}

} // namespace
