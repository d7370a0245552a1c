// Print, clipboard copy and the animation period of a real view widget, and the period's
// file names.
#include "SceneBuilder.h"

#include "CBmpWriter.h"
#include "CImageOutput.h"
#include "CPeriodWriter.h"
#include "CQuivraDoc.h"
#include "CQuivraView.h"
#include "CornerPoint.h"
#include "MeasDirection.h"
#include "SceneFile.h"
#include "TestFiles.h"
#include "ToolRun.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMimeData>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

using namespace scene;

namespace {

// One view of a swinging line, shown at a client width that is not a multiple of 4.
class ImageOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        AddSeries(m_doc, 24);
        m_doc.m_seriesNames[0] = "Run 1";
        CornerPoint* a = AddFree(m_doc, -400, 10, 0);
        CornerPoint* b = AddFree(m_doc, 400, 10, 0);
        AddLine(m_doc, a, b);
        AddDirection(a, DirPlusY, 150, 90);
        AddDirection(b, DirPlusY, 150, 90);
        m_doc.SetPathName(m_dir.filePath("pump.qvr"));

        m_view = new CQuivraView(&m_doc);
        m_view->resize(303, 150);
        m_view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view));
        m_view->OnInitialUpdate();
        m_out = CImageOutput::Of(m_view);
        m_out->m_fnReport = [this](const QString& caption, const QString& text) {
            m_reports << caption + QLatin1Char('|') + text;
        };
        m_out->m_fnAskFolder = [this] {
            ++m_nAsked;
            return m_strFolderAnswer;
        };
        m_out->m_fnProgress = [](int, int) { return true; };
    }
    void TearDown() override { delete m_view; }

    // The view's own frame k of the period, as a screen paint while animating draws it.
    QImage RenderedFrame(int k) {
        m_view->m_bAnimating = 1;
        m_view->m_nFrame = k;
        EXPECT_TRUE(m_view->RenderOffscreen());
        m_view->m_bAnimating = 0;
        return m_view->Frame().copy();
    }

    QStringList BmpFiles(const QString& folder) const {
        return QDir(folder).entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
    }

    QTemporaryDir m_dir;
    CQuivraDoc m_doc;
    CQuivraView* m_view = nullptr;
    CImageOutput* m_out = nullptr;
    QStringList m_reports;
    int m_nAsked = 0;
    QString m_strFolderAnswer;
};

TEST(PrintTarget, KeepsProportionsAndFillsOneDirection) {
    // Page width and height, picture width and height, where it goes.
    const std::tuple<int, int, int, int, QRect> cases[] = {
        {1000, 1414, 400, 200, QRect(0, 0, 1000, 500)}, // wide picture, portrait page
        {1414, 1000, 200, 400, QRect(0, 0, 500, 1000)}, // tall picture, landscape page
        {800, 600, 400, 300, QRect(0, 0, 800, 600)},    // same proportions
        {4960, 7016, 303, 150, QRect(0, 0, 4960, 2455)}, {100, 100, 0, 10, QRect()},
    };
    for (const auto& [pw, ph, w, h, expected] : cases)
        EXPECT_EQ(CImageOutput::PrintTarget(pw, ph, w, h), expected) << pw << " " << w << "x" << h;
}

// The good page goes through the real print dialog in the end-to-end tests.
TEST_F(ImageOutputTest, ReportsAFailedPage) {
    QPrinter broken(QPrinter::HighResolution);
    broken.setOutputFormat(QPrinter::PdfFormat);
    broken.setPageSize(QPageSize(QPageSize::A4));
    broken.setOutputFileName(m_dir.filePath("no/such/folder/view.pdf"));
    EXPECT_FALSE(m_out->Print(broken));
    EXPECT_EQ(m_reports, QStringList{QStringLiteral("GLDib|IDM_PRINT - StretchDIBits failed")});
}

TEST_F(ImageOutputTest, ExportsThePictureAndAPeriodAtTheViewsSize) {
    QString answer;
    m_out->m_fnAskSaveName = [&answer](const QString&, const QString&) { return answer; };
    QSize offered;
    m_out->m_fnAskSize = [&offered](const QSize& current) {
        offered = current;
        return QSize(1000, 700);
    };
    answer = m_dir.filePath(QStringLiteral("view.png"));
    ASSERT_TRUE(m_out->OnExportImage());
    EXPECT_EQ(offered, QSize(303, 150));
    EXPECT_EQ(QImage(answer).size(), QSize(1000, 700));

    answer = m_dir.filePath(QStringLiteral("view.gif"));
    const CAnimationExport::Result r = m_out->OnExportAnimation();
    EXPECT_TRUE(r.bWritten);
    EXPECT_EQ(r.nFrames, 24);
    EXPECT_EQ(QImage(answer).size(), QSize(303, 150));
    EXPECT_TRUE(m_reports.isEmpty());

    answer = m_dir.filePath(QStringLiteral("view.avi"));
    EXPECT_FALSE(m_out->OnExportAnimation().bWritten);
    EXPECT_EQ(m_reports.size(), 1);
    EXPECT_FALSE(QFile::exists(answer));
}

// Both formats hold the frame cut to a width of whole BMP rows; the BMP encoding itself is the
// writer's (below).
TEST_F(ImageOutputTest, CopyPutsTheFrameOnTheClipboardAsImageAndBmp) {
    QGuiApplication::clipboard()->clear();
    for (const auto& [width, cut] :
         {std::pair{301, 300}, std::pair{303, 300}, std::pair{304, 304}}) {
        m_view->resize(width, 150);
        m_view->RepaintNow();
        ASSERT_EQ(m_view->Frame().width(), width);
        ASSERT_TRUE(m_out->OnEditCopy());
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(mime, nullptr);
        const QImage expected = m_view->Frame().copy(0, 0, cut, 150);
        EXPECT_EQ(qvariant_cast<QImage>(mime->imageData()), expected) << width;
        EXPECT_EQ(mime->data(QStringLiteral("image/bmp")), CBmpWriter::FileBytes(expected))
            << width;
    }
}

TEST_F(ImageOutputTest, SavesOnePeriodNumberedFromOneWithTheViewsPixelsAsQvrtoolDoes) {
    m_view->setFocus();
    m_view->OnToggleAnimation();
    ASSERT_TRUE(m_view->IsTimerRunning());

    const CPeriodWriter::Result r = m_out->OnAnimationSave();
    EXPECT_EQ(r.nWritten, 24);
    EXPECT_EQ(m_nAsked, 0); // a saved document names its own folder
    EXPECT_FALSE(m_view->IsTimerRunning());

    QStringList expected;
    for (int k = 1; k <= 24; ++k)
        expected << QString::asprintf("pump.qvr - Run 1_%03d.bmp", k);
    EXPECT_EQ(BmpFiles(m_dir.path()), expected);

    // File 001 holds frame 0 and file 007 frame 6, which differ: every pixel as the view draws
    // that frame, labels and all.
    const QImage frame0 = RenderedFrame(0);
    const QImage frame6 = RenderedFrame(6);
    ASSERT_NE(frame0.copy(0, 0, 300, 150), frame6.copy(0, 0, 300, 150));
    EXPECT_EQ(ReadBytes(m_dir.filePath(expected[0])), CBmpWriter::FileBytes(frame0));
    EXPECT_EQ(ReadBytes(m_dir.filePath(expected[6])), CBmpWriter::FileBytes(frame6));

    // The headless tool writes the same files byte for byte, and refuses what it cannot write
    // with the reason.
    const QString scene = m_dir.filePath("pump.qvr"), bare = m_dir.filePath("bare.qvr");
    CQuivraDoc empty;
    ASSERT_TRUE(SceneFile::Save(m_doc, scene, nullptr) && SceneFile::Save(empty, bare, nullptr));
    const QString other = m_dir.filePath("tool");
    ASSERT_TRUE(QDir().mkpath(other));
    const QString size = QStringLiteral("%1x150").arg(m_view->width());
    const struct {
        QStringList args;
        const char* says; // nullptr: written
    } cases[] = {
        {{"frames", scene, "--size", size, "--out", other + "/pump.qvr"}, nullptr},
        {{"frames", scene, "--series", "1"}, "does not exist"},
        {{"frames", scene, "--out", m_dir.filePath("missing/x"), "--size", "40x30"},
         "x - Run 1_024.bmp"},
        {{"frames", bare}, "no measurement series"},
    };
    for (const auto& c : cases) {
        const ToolRun run = RunTool(c.args);
        EXPECT_EQ(run.exitCode, c.says ? 1 : 0) << run.err.toStdString();
        EXPECT_TRUE(!c.says || run.err.contains(QLatin1String(c.says))) << run.err.toStdString();
    }
    EXPECT_EQ(BmpFiles(other), expected);
    for (const QString& name : expected)
        EXPECT_EQ(ReadBytes(QDir(other).filePath(name)), ReadBytes(m_dir.filePath(name)))
            << name.toStdString();
}

TEST_F(ImageOutputTest, UnsavedDocumentAsksForAFolderOnce) {
    m_doc.SetPathName(QString());
    // Cancelled: nothing written anywhere, and the question comes again next time.
    EXPECT_EQ(m_out->OnAnimationSave().nWritten, 0);
    EXPECT_EQ(m_nAsked, 1);
    EXPECT_TRUE(BmpFiles(QDir::currentPath()).filter(QStringLiteral(" - Run 1_")).isEmpty());

    const QString folder = m_dir.filePath("images");
    ASSERT_TRUE(QDir().mkpath(folder));
    m_strFolderAnswer = folder;
    EXPECT_EQ(m_out->OnAnimationSave().nWritten, 24);
    EXPECT_EQ(m_out->OnAnimationSave().nWritten, 24);
    EXPECT_EQ(m_nAsked, 2);
    EXPECT_EQ(BmpFiles(folder).value(23), QStringLiteral(" - Run 1_024.bmp"));
}

TEST_F(ImageOutputTest, ListsTheFilesThatCouldNotBeWritten) {
    m_doc.SetPathName(m_dir.filePath("gone/pump.qvr"));
    const CPeriodWriter::Result r = m_out->OnAnimationSave();
    EXPECT_EQ(r.nWritten, 0);
    EXPECT_EQ(r.failed.size(), 24);
    ASSERT_EQ(m_reports.size(), 1);
    for (const char* part : {"24 of 24", "pump.qvr - Run 1_001.bmp", "and 14 more"})
        EXPECT_TRUE(m_reports[0].contains(QLatin1String(part))) << part;
    EXPECT_EQ(m_view->m_nFrame, 23); // the export went on after the first failure
}

TEST_F(ImageOutputTest, CancelOrNoSeriesLeavesNoFramesAndStopsTheAnimation) {
    m_view->setFocus();
    m_view->OnToggleAnimation();
    m_out->m_fnProgress = [](int k, int) { return k < 5; };
    const CPeriodWriter::Result r = m_out->OnAnimationSave();
    EXPECT_TRUE(r.bCancelled);
    EXPECT_EQ(r.nRemoved, 5);
    EXPECT_EQ(m_view->m_bAnimating, 0);
    m_view->OnToggleAnimation();
    m_doc.RemoveSeries(0);
    EXPECT_EQ(m_out->OnAnimationSave().nFrames, 0);
    EXPECT_TRUE(BmpFiles(m_dir.path()).isEmpty());
    EXPECT_FALSE(m_view->IsTimerRunning() || m_view->m_bAnimating);
}

// Names a file cannot carry are mended so that every frame can be written, and the user is told.
TEST(PeriodWriter, NamesFramesFromOneAndMendsSeriesNames) {
    CQuivraDoc doc;
    AddSeries(doc, 2);
    AddSeries(doc, 2);
    doc.m_seriesNames[1] = "M\xfc"
                           "hle"; // Latin-1 as stored
    EXPECT_EQ(CPeriodWriter::BaseName(QString(), doc, 1), QStringLiteral(" - M\u00fchle"));
    const std::pair<std::string, QString> cases[] = {
        {"Run 1", QStringLiteral("Run 1")},
        {"a/b\tc", QStringLiteral("a_b_c")},
        {std::string(300, 'x'), QString(255 - 15 - 11, QLatin1Char('x'))}, // after "pump.qvr - "
    };
    QTemporaryDir dir;
    QImage frame(8, 4, QImage::Format_RGB32);
    frame.fill(Qt::white);
    for (const auto& [name, part] : cases) {
        doc.m_seriesNames[0] = name;
        QString note;
        const QString base = CPeriodWriter::BaseName(dir.filePath("pump.qvr"), doc, 0, &note);
        EXPECT_EQ(base, dir.filePath("pump.qvr - ") + part);
        EXPECT_EQ(note.isEmpty(), name == "Run 1") << name;
        EXPECT_EQ(CPeriodWriter::Write(base, 1, [&](int) { return frame; }).nWritten, 1) << name;
    }
    for (const auto& [k, name] :
         {std::pair{0, "b_001.bmp"}, {998, "b_999.bmp"}, {999, "b_1000.bmp"}})
        EXPECT_EQ(CPeriodWriter::FileName(QStringLiteral("b"), k), QString::fromLatin1(name));
}

TEST(PeriodWriter, ANullFrameIsListedAndTheRestRemoved) {
    QTemporaryDir dir;
    QImage ok(8, 4, QImage::Format_RGB32);
    ok.fill(Qt::white);
    const CPeriodWriter::Result r =
        CPeriodWriter::Write(dir.filePath("x"), 3, [&](int k) { return k == 1 ? QImage() : ok; });
    EXPECT_EQ(r.nWritten, 0);
    EXPECT_EQ(r.nRemoved, 2);
    ASSERT_EQ(r.failed.size(), 1);
    EXPECT_TRUE(r.failed[0].contains(QStringLiteral("x_002.bmp")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

int U32(const QByteArray& b, int at) {
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<quint8>(b[at + i]);
    return static_cast<int>(v);
}

// The width cut to a multiple of 4, the sizes in the headers those of the file, and Qt reads
// it back.
TEST(BmpWriter, WritesTheWidthCutToMultipleOfFourThatQtReadsBack) {
    QTemporaryDir dir;
    QImage img;
    for (const auto& [width, cut] : {std::pair{301, 300}, {303, 300}, {304, 304}, {3, 0}}) {
        img = QImage(width, 6, QImage::Format_RGB32);
        img.fill(qRgb(1, 2, 3));
        img.setPixel(2, 1, qRgb(200, 100, 50));
        const QString path = dir.filePath(QStringLiteral("%1.bmp").arg(width));
        ASSERT_TRUE(CBmpWriter::Write(img, path));
        const QByteArray bytes = ReadBytes(path);
        EXPECT_EQ(bytes.size(), 54 + cut * 6 * 3) << width;
        EXPECT_EQ(U32(bytes, 2), bytes.size()) << width;
        EXPECT_EQ(U32(bytes, 18), cut) << width;
        EXPECT_EQ(U32(bytes, 34), cut * 6 * 3) << width;
        QImage back;
        if (cut == 0 || !back.load(path, "BMP")) {
            EXPECT_EQ(cut, 0) << "Qt could not read " << width;
            continue;
        }
        EXPECT_EQ(back.size(), QSize(cut, 6));
        EXPECT_EQ(back.pixel(2, 1) & 0xffffff, qRgb(200, 100, 50) & 0xffffff);
        EXPECT_EQ(back.pixel(cut - 1, 5) & 0xffffff, qRgb(1, 2, 3) & 0xffffff);
    }
    QString error;
    EXPECT_FALSE(CBmpWriter::Write(img, dir.filePath("no/such/dir.bmp"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(BmpWriter, RowsBottomUpBlueGreenRedLeftColumnsOnly) {
    QImage img(5, 2, QImage::Format_RGB32);
    img.fill(Qt::white);
    img.setPixel(0, 0, qRgb(10, 20, 30)); // top row
    img.setPixel(3, 1, qRgb(40, 50, 60)); // bottom row
    img.setPixel(4, 1, qRgb(70, 80, 90)); // cut off
    const QByteArray px = CBmpWriter::PixelRows(img);
    ASSERT_EQ(px.size(), 4 * 2 * 3);
    // Bottom row first, blue green red: the end of the bottom row, then the top row's start.
    EXPECT_EQ(px.mid(9, 6), QByteArray("\x3c\x32\x28\x1e\x14\x0a"));
    EXPECT_FALSE(px.contains(static_cast<char>(90)));
}

} // namespace
