#include "CBmpWriter.h"
#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

quint32 U32(const QByteArray& b, int at) {
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<quint8>(b[at + i]);
    return v;
}

TEST(BmpWriter, HeadersCutTheWidthToMultipleOfFour) {
    struct Case {
        int width, cut;
    } cases[] = {{301, 300}, {303, 300}, {304, 304}, {3, 0}};
    for (const Case& c : cases) {
        const int h = 7;
        const QByteArray info = CBmpWriter::InfoHeader(c.width, h);
        const QByteArray file = CBmpWriter::FileHeader(c.width, h);
        ASSERT_EQ(info.size(), 40);
        ASSERT_EQ(file.size(), 14);
        // The rest of the headers Qt checks when it reads a written file back (below).
        const quint32 s = static_cast<quint32>(c.cut * h * 3);
        EXPECT_EQ(U32(info, 4), static_cast<quint32>(c.cut)) << c.width;
        EXPECT_EQ(U32(info, 20), s) << c.width;
        EXPECT_EQ(U32(file, 2), s + 54) << c.width;
    }
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

TEST(BmpWriter, WriteGivesAFileOfTheDeclaredSizeThatQtReadsBack) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage img(10, 6, QImage::Format_RGB32);
    img.fill(qRgb(1, 2, 3));
    img.setPixel(2, 1, qRgb(200, 100, 50));
    const QString path = dir.filePath("frame.bmp");
    ASSERT_TRUE(CBmpWriter::Write(img, path));
    const QByteArray bytes = ReadBytes(path);
    EXPECT_EQ(bytes.size(), 54 + 8 * 6 * 3);
    EXPECT_EQ(U32(bytes, 2), static_cast<quint32>(bytes.size()));
    QImage back;
    ASSERT_TRUE(back.load(path, "BMP"));
    EXPECT_EQ(back.size(), QSize(8, 6));
    EXPECT_EQ(back.pixel(2, 1) & 0xffffff, qRgb(200, 100, 50) & 0xffffff);
    EXPECT_EQ(back.pixel(7, 5) & 0xffffff, qRgb(1, 2, 3) & 0xffffff);

    QString error;
    EXPECT_FALSE(CBmpWriter::Write(img, dir.filePath("no/such/dir.bmp"), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
