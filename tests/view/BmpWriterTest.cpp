#include "CBmpWriter.h"
#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

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
