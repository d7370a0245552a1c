// Print, Copy and Animation Save from the menus of the running program.
#include "AppTestSupport.h"

#include "CImageOutput.h"
#include "CQuivraView.h"
#include "CommandIds.h"

#include <QClipboard>
#include <QMimeData>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

using namespace cmd;

namespace {

class ImageOutputMenuTest : public AppTest {
protected:
    CQuivraView* OpenScene() {
        m_openPath = MakeScene(QStringLiteral("pump.qvr"));
        EXPECT_TRUE(Start());
        EXPECT_TRUE(Run(ID_FILE_OPEN));
        auto* view = qobject_cast<CQuivraView*>(Frame()->ActiveView());
        EXPECT_NE(view, nullptr);
        if (view)
            view->RepaintNow();
        return view;
    }
};

TEST_F(ImageOutputMenuTest, CopyPutsTheViewOnTheClipboard) {
    CQuivraView* view = OpenScene();
    ASSERT_NE(view, nullptr);
    QGuiApplication::clipboard()->clear();
    ASSERT_TRUE(Run(ID_EDIT_COPY));
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    const QImage& frame = view->Frame();
    ASSERT_EQ(image.size(), QSize(frame.width() - frame.width() % 4, frame.height()));
    EXPECT_EQ(image, frame.copy(0, 0, image.width(), image.height()));
    EXPECT_EQ(mime->data(QStringLiteral("image/bmp")).left(2), QByteArray("BM"));
}

TEST_F(ImageOutputMenuTest, AnimationSaveWritesTheCurrentSeriesNextToTheDocument) {
    CQuivraView* view = OpenScene();
    ASSERT_NE(view, nullptr);
    view->m_nCurrentSeries = 1; // 36 frames, a name beyond ASCII
    ASSERT_TRUE(Run(ID_ANIMATION_SAVE));
    const QStringList files =
        QDir(m_tmp.path()).entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 36);
    EXPECT_EQ(files.first(), QStringLiteral("pump.qvr - Motor side \u00e4 1x_001.bmp"));
    EXPECT_EQ(files.last(), QStringLiteral("pump.qvr - Motor side \u00e4 1x_036.bmp"));
    EXPECT_EQ(view->m_nFrame, 35);
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(ImageOutputMenuTest, PrintGoesThroughThePrintDialogToPdf) {
    CQuivraView* view = OpenScene();
    ASSERT_NE(view, nullptr);
    QPrinter& printer = CImageOutput::SharedPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QString pdf = m_tmp.filePath(QStringLiteral("view.pdf"));
    printer.setOutputFileName(pdf);
    bool sawDialog = false;
    QTimer::singleShot(0, [&sawDialog] {
        if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            sawDialog = true;
            dialog->accept();
        }
    });
    ASSERT_TRUE(Run(ID_FILE_PRINT));
    EXPECT_TRUE(sawDialog);
    EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF"));
}

} // namespace
