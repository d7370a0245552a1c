// Pictures and animations as files: each read back with the library that would play or show it.
#include "SceneBuilder.h"
#include "TestFiles.h"
#include "ToolRun.h"

#include "CAnimationExport.h"
#include "CGifWriter.h"
#include "CImageExport.h"
#include "CQuivraDoc.h"
#include "CReportPage.h"
#include "CViewState.h"
#include "CornerPoint.h"
#include "MeasDirection.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <tuple>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

using namespace scene;

namespace {

// The page contents of a PDF that Qt wrote: its streams inflated (zlib).
QByteArray PdfContents(const QByteArray& pdf) {
    QByteArray all;
    for (qsizetype at = pdf.indexOf("stream\n"), end; at >= 0;
         at = pdf.indexOf("stream\n", end + 9)) {
        if ((end = pdf.indexOf("endstream", at)) < 0)
            break;
        // qUncompress wants the inflated size in front; an upper bound will do.
        if (pdf.mid(std::max<qsizetype>(0, at - 200), 200).contains("/FlateDecode"))
            all += qUncompress(QByteArray("\x01\x00\x00\x00", 4) + pdf.mid(at + 7, end - at - 7));
    }
    return all;
}

QString PdfText(const QString& path) {
    return RunProgram(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}).out;
}

// A box (12 lines) with one swinging point, seen from the front at a fixed zoom; no axes,
// markers only at rest.
class ExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        AddSeries(m_doc, 6, 2.0);
        m_doc.m_seriesNames[0] = "Run 1";
        AddBox(m_doc, -300, -200, -100, 300, 200, 100);
        CornerPoint* a = AddFree(m_doc, -500, 0, 0);
        CornerPoint* b = AddFree(m_doc, 500, 0, 0);
        AddLine(m_doc, a, b);
        AddDirection(b, DirPlusY, 50, 0);
        m_doc.SetPathName(m_dir.filePath(QStringLiteral("bench.qvr")));
        m_state.m_dZoom = 1.0;
        m_state.m_bShowBase = 0;
    }
    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir m_dir;
    CQuivraDoc m_doc;
    CViewState m_state;
};

TEST_F(ExportTest, PngIsDrawnAtItsOwnSizeNotScaledUp) {
    // 13 lines, drawn 1 pixel wide at any size.
    for (const QSize size : {QSize(401, 301), QSize(3840, 2160)}) {
        const QString png = Path("v.png");
        QString error;
        ASSERT_TRUE(
            CImageExport::Write(png, m_doc, m_state, size.width(), size.height(), true, &error))
            << error.toStdString();
        const QImage img(png);
        ASSERT_EQ(img.size(), size);
        // The free line along x through the origin crosses the centre column 1 pixel thick
        // (clear of the markers at the origin; the box's edges are 20 pixels and more away).
        const int cx = size.width() / 2 + 20, cy = size.height() / 2;
        QList<int> darkRows;
        for (int y = cy - 10; y <= cy + 10; ++y)
            if (qGray(img.pixel(cx, y)) < 128)
                darkRows << y;
        EXPECT_EQ(darkRows.size(), 1) << size.width();
        EXPECT_NEAR(darkRows.value(0), cy, 1);
        EXPECT_EQ(img.pixel(size.width() - 2, 1), qRgb(255, 255, 255));
    }
}

TEST_F(ExportTest, SvgAndPdfAreLineArtWithTheCaptionAsText) {
    for (const auto& [name, caption] :
         {std::pair{"v.svg", true}, {"v.pdf", true}, {"n.pdf", false}}) {
        const QString path = Path(name);
        QString error;
        ASSERT_TRUE(CImageExport::Write(path, m_doc, m_state, 400, 300, caption, &error))
            << error.toStdString();
        const QByteArray bytes = ReadBytes(path);
        if (path.endsWith(QLatin1String(".svg"))) {
            QXmlStreamReader xml(bytes);
            int lines = 0, points = 0;
            QString text;
            while (!xml.atEnd()) {
                if (xml.readNext() != QXmlStreamReader::StartElement)
                    continue;
                lines += xml.name() == QLatin1String("polyline") ? 1 : 0;
                points += xml.name() == QLatin1String("circle") ? 1 : 0;
                if (xml.name() == QLatin1String("text"))
                    text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
            EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
            EXPECT_EQ(lines, 13); // 12 box edges and the free line
            // At rest: the markers of the 10 corner points, the origin and the rotation centre.
            EXPECT_EQ(points, 12);
            EXPECT_TRUE(text.contains(QLatin1String("Series: Run 1"))) << text.toStdString();
        } else {
            const QByteArray page = PdfContents(bytes);
            EXPECT_GE(page.count(" l\n"), 13) << name;
            EXPECT_FALSE(bytes.contains("/Subtype /Image")) << name;
            const QString text = PdfText(path);
            EXPECT_EQ(text.contains(QLatin1String("bench.qvr")), caption) << text.toStdString();
            EXPECT_EQ(text.contains(QLatin1String("Series: Run 1")), caption);
        }
    }
}

TEST_F(ExportTest, PrintedPageHasAHeaderAndLineArtTwiceSideBySide) {
    m_state.m_bShowPointNumbers = 1;
    const QString path = Path("page.pdf");
    {
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        QPainter painter(&pdf);
        ASSERT_TRUE(CReportPage::Paint(painter, QRect(0, 0, pdf.width(), pdf.height()), m_doc,
                                       m_state, 400, 300, true,
                                       QDateTime(QDate(2026, 12, 6), QTime(21, 30))));
    }
    const QString text = PdfText(path);
    for (const char* expected :
         {"bench.qvr", "2026-12-06 21:30", "Series: Run 1", "1000 Hz (60000 RPM)"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected << text.toStdString();
    // The point numbers as text, at the printer's 1200 dots per inch.
    for (const char* number : {"\\b9\\b", "\\b10\\b"})
        EXPECT_TRUE(text.contains(QRegularExpression(QLatin1String(number))))
            << number << text.toStdString();
    const QByteArray bytes = ReadBytes(path);
    EXPECT_FALSE(bytes.contains("/Subtype /Image"));
    // The box's 13 lines at rest, then the deflected shape over its rest shape.
    EXPECT_GE(PdfContents(bytes).count(" l\n"), 3 * 13);
}

TEST(GifPalette, KeepsTheGroundExactAndASmallPatchOfItsOwnColour) {
    // White ground, a smooth grey-blue ramp of 1,200 shades along the top rows, a red patch.
    QImage img(400, 300, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int i = 0; i < 1200; ++i)
        img.setPixel(i % 400, i / 400, qRgb(i / 8, i / 8, 60 + i / 10));
    QPainter(&img).fillRect(200, 200, 6, 6, QColor(220, 20, 30));
    std::vector<std::uint8_t> palette, indices;
    CGifWriter::Quantise(img, palette, indices);
    ASSERT_EQ(indices.size(), 400u * 300u);
    ASSERT_LE(palette.size(), 256u * 3);
    auto colourAt = [&](int x, int y) {
        const int i = indices[static_cast<std::size_t>(y) * 400 + x];
        return qRgb(palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]);
    };
    EXPECT_EQ(colourAt(10, 100), qRgb(255, 255, 255));
    EXPECT_EQ(colourAt(203, 203), qRgb(220, 20, 30));
    EXPECT_NEAR(qBlue(colourAt(390, 2)), 60 + 1190 / 10, 6); // a ramp shade near its own
}

// A GIF's frames, size and first delay as giflib reads them.
struct GifInfo {
    int frames = -1, width = 0, height = 0, delay = -1;
};

GifInfo ReadGif(const QString& path) {
    GifInfo info;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(QFile::encodeName(path).constData(), &error);
    GraphicsControlBlock gcb;
    if (gif && DGifSlurp(gif) == GIF_OK && DGifSavedExtensionToGCB(gif, 0, &gcb) == GIF_OK)
        info = {gif->ImageCount, gif->SWidth, gif->SHeight, gcb.DelayTime};
    if (gif)
        DGifCloseFile(gif, &error);
    return info;
}

// Frames, size and codec of an MP4 as libavformat reads its header.
struct VideoInfo {
    int frames = -1, width = 0, height = 0, pixelFormat = -1;
    QString codec;
};

VideoInfo ReadVideo(const QString& path) {
    VideoInfo info;
    AVFormatContext* fmt = nullptr;
    if (avformat_open_input(&fmt, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return info;
    if (avformat_find_stream_info(fmt, nullptr) >= 0 && fmt->nb_streams == 1) {
        const AVCodecParameters* par = fmt->streams[0]->codecpar;
        info = {static_cast<int>(fmt->streams[0]->nb_frames), par->width, par->height, par->format,
                QString::fromLatin1(avcodec_get_name(par->codec_id))};
    }
    avformat_close_input(&fmt);
    return info;
}

TEST_F(ExportTest, GifAndMp4HoldEveryFrameOfThePeriods) {
    CAnimationExport::Options o;
    o.width = 161; // odd: the MP4 goes down to 160 x 120
    o.height = 121;
    o.periods = 3;
    const QString gif = Path("a.gif"), mp4 = Path("a.mp4");
    int calls = 0;
    const auto r = CAnimationExport::Write(gif, m_doc, m_state, o, [&calls](int, int) {
        ++calls;
        return true;
    });
    ASSERT_TRUE(r.bWritten) << r.error.toStdString();
    EXPECT_EQ(calls, 6 * 3 + 1);
    const GifInfo g = ReadGif(gif);
    EXPECT_EQ(g.frames, 6 * 3);
    EXPECT_EQ(QSize(g.width, g.height), QSize(161, 121));
    // The application block that makes it loop, 0 times meaning forever.
    EXPECT_TRUE(ReadBytes(gif).contains(QByteArray("NETSCAPE2.0\x03\x01\x00\x00", 16)));
    EXPECT_EQ(g.delay, 4); // 25 frames a second

    const auto m = CAnimationExport::Write(mp4, m_doc, m_state, o);
    ASSERT_TRUE(m.bWritten) << m.error.toStdString();
    const VideoInfo v = ReadVideo(mp4);
    EXPECT_EQ(v.codec, QStringLiteral("h264"));
    EXPECT_EQ(v.frames, 6 * 3);
    EXPECT_EQ(QSize(v.width, v.height), QSize(160, 120));
    EXPECT_EQ(v.pixelFormat, AV_PIX_FMT_YUV420P);
}

TEST_F(ExportTest, RefusedOrCancelledExportsLeaveNoFileAndKeepAnOldOne) {
    const QString old = Path("old.gif");
    ASSERT_TRUE(WriteBytes(old, "before"));
    ASSERT_TRUE(WriteBytes(Path("file"), {}));
    const QString noFolder = Path("file/x.png");

    const std::tuple<QString, int, int> images[] = {
        {Path("a.png"), 0, 10},    {Path("b.png"), -5, 10}, {Path("c.png"), 16385, 10},
        {Path("d.jpg"), 100, 100}, {noFolder, 100, 100},    {Path("e.bmp"), 3, 10}};
    for (const auto& [path, w, h] : images) {
        QString error;
        EXPECT_FALSE(CImageExport::Write(path, m_doc, m_state, w, h, true, &error))
            << path.toStdString();
        EXPECT_FALSE(error.isEmpty() || QFile::exists(path)) << path.toStdString();
    }

    CAnimationExport::Options o;
    o.width = 64;
    o.height = 48;
    CQuivraDoc still; // no series
    AddFree(still, 0, 0, 0);
    CAnimationExport::Options noFps = o, noPeriods = o;
    noFps.fps = 0;
    noPeriods.periods = 0;
    // The document, the options and the frame at which to cancel (-1: never).
    const std::tuple<const CQuivraDoc*, CAnimationExport::Options, int> animations[] = {
        {&still, o, -1}, {&m_doc, noFps, -1}, {&m_doc, noPeriods, -1}, {&m_doc, o, 3}};
    for (const auto& [doc, options, cancelAt] : animations) {
        const int at = cancelAt; // a lambda cannot capture a structured binding in C++17
        const auto r = CAnimationExport::Write(old, *doc, m_state, options,
                                               [at](int k, int) { return k != at; });
        EXPECT_FALSE(r.bWritten);
        EXPECT_EQ(r.bCancelled, at >= 0);
        EXPECT_EQ(r.error.isEmpty(), at >= 0) << r.error.toStdString();
        EXPECT_EQ(ReadBytes(old), QByteArray("before"));
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files).size(), 2); // old.gif, file: no leftovers
}

// qvrtool's exit codes: 2 for a command line that cannot work, 1 for a failure it reports.
TEST(QvrtoolExport, BadCommandLinesAndFailuresHaveTheirExitCodes) {
    QTemporaryDir dir;
    const QString scene = QStringLiteral(QUIVRA_EXAMPLES "/pump.qvr");
    const QString out = dir.filePath(QStringLiteral("x"));
    // A few of each kind per command; what the library itself refuses is tested above.
    const std::pair<QStringList, int> cases[] = {
        {{"render", scene, "--out", out + ".jpg"}, 2},
        {{"render", scene, "--out", out + ".png", "--size", "0x10"}, 2},
        {{"render", scene, "--out", out + ".png", "--look", "modern"}, 2},
        {{"render", dir.filePath("missing.qvr"), "--out", out + ".png"}, 1},
        {{"animate", scene, "--series", "0", "--out", out + ".gif", "--fps", "0"}, 2},
        {{"animate", scene, "--series", "9", "--out", out + ".gif"}, 1},
        {{"animate", scene, "--series", "0", "--out", out + ".gif", "--size", "64x48", "--look",
          "clear"},
         0},
    };
    for (const auto& [args, code] : cases) {
        const ToolRun r = RunTool(args);
        EXPECT_EQ(r.exitCode, code) << args.join(' ').toStdString();
        EXPECT_TRUE(code == 0 || !r.err.isEmpty()) << "a failure says why";
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"x.gif"});
}

TEST(QvrtoolExport, AFullDiskFailsEveryTypeAndLeavesNothing) {
    QTemporaryDir dir;
    const QString scene = QStringLiteral(QUIVRA_EXAMPLES "/pump.qvr");
    // Files of at most 20 KiB, the signal ignored: writes come back short, as on a full disk.
    const QStringList shell = {"-c", "trap '' XFSZ; ulimit -f 20; exec \"$0\" \"$@\"",
                               QStringLiteral(QVRTOOL_PATH)};
    for (const char* name : {"x.bmp", "x.png", "x.svg", "x.pdf", "x.gif", "x.mp4"}) {
        const QString out = dir.filePath(QString::fromLatin1(name));
        const bool animation =
            out.endsWith(QLatin1String(".gif")) || out.endsWith(QLatin1String(".mp4"));
        const QStringList args =
            animation ? QStringList{"animate", scene, "--series", "0", "--out", out}
                      : QStringList{"render",       scene,    "--look",    "clear", "--show",
                                    "pointnumbers", "--size", "1600x1000", "--out", out};
        EXPECT_EQ(RunProgram(QStringLiteral("bash"), shell + args).exitCode, 1) << name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList()) << name;
    }
}

} // namespace
