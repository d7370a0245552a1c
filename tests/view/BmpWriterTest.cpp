#include "CBmpWriter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

quint32 U32(const QByteArray& b, int at) {
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<quint8>(b[at + i]);
    return v;
}

quint16 U16(const QByteArray& b, int at) {
    return static_cast<quint16>(static_cast<quint8>(b[at]) | (static_cast<quint8>(b[at + 1]) << 8));
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
        const quint32 s = static_cast<quint32>(c.cut * h * 3);
        EXPECT_EQ(U32(info, 0), 40u);
        EXPECT_EQ(U32(info, 4), static_cast<quint32>(c.cut)) << c.width;
        EXPECT_EQ(U32(info, 8), static_cast<quint32>(h));
        EXPECT_EQ(U16(info, 12), 1u);
        EXPECT_EQ(U16(info, 14), 24u);
        EXPECT_EQ(U32(info, 16), 0u);
        EXPECT_EQ(U32(info, 20), s);
        for (int at = 24; at < 40; at += 4)
            EXPECT_EQ(U32(info, at), 0u);
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(U32(file, 2), s + 54);
        EXPECT_EQ(U32(file, 6), 0u);
        EXPECT_EQ(U32(file, 10), 54u);
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
    // Bottom row first.
    EXPECT_EQ(static_cast<quint8>(px[9]), 60);
    EXPECT_EQ(static_cast<quint8>(px[10]), 50);
    EXPECT_EQ(static_cast<quint8>(px[11]), 40);
    EXPECT_EQ(static_cast<quint8>(px[12]), 30);
    EXPECT_EQ(static_cast<quint8>(px[13]), 20);
    EXPECT_EQ(static_cast<quint8>(px[14]), 10);
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
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
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
