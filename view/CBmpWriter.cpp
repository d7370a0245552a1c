#include "CBmpWriter.h"

#include "AtomicFile.h"

#include <QFile>

namespace {

void PutU16(QByteArray& b, int at, quint16 v) {
    b[at] = static_cast<char>(v & 0xff);
    b[at + 1] = static_cast<char>((v >> 8) & 0xff);
}

void PutU32(QByteArray& b, int at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
}

} // namespace

qint64 CBmpWriter::ImageSize(int width, int height) {
    return static_cast<qint64>(CutWidth(width)) * height * 3;
}

QByteArray CBmpWriter::InfoHeader(int width, int height) {
    QByteArray b(kInfoHeaderSize, '\0');
    PutU32(b, 0, kInfoHeaderSize);
    PutU32(b, 4, static_cast<quint32>(CutWidth(width)));
    PutU32(b, 8, static_cast<quint32>(height)); // positive: rows stored bottom-up
    PutU16(b, 12, 1);
    PutU16(b, 14, 24);
    PutU32(b, 20, static_cast<quint32>(ImageSize(width, height)));
    return b;
}

QByteArray CBmpWriter::FileHeader(int width, int height) {
    QByteArray b(kFileHeaderSize, '\0');
    b[0] = 'B';
    b[1] = 'M';
    PutU32(b, 2,
           static_cast<quint32>(ImageSize(width, height) + kFileHeaderSize + kInfoHeaderSize));
    PutU32(b, 10, kFileHeaderSize + kInfoHeaderSize);
    return b;
}

QByteArray CBmpWriter::PixelRows(const QImage& frame) {
    const QImage img =
        frame.format() == QImage::Format_RGB32 || frame.format() == QImage::Format_ARGB32
            ? frame
            : frame.convertToFormat(QImage::Format_RGB32);
    const int wr = CutWidth(img.width());
    const int h = img.height();
    QByteArray out(static_cast<qsizetype>(ImageSize(img.width(), h)), '\0');
    char* dst = out.data();
    for (int y = h - 1; y >= 0; --y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < wr; ++x) {
            *dst++ = static_cast<char>(qBlue(row[x]));
            *dst++ = static_cast<char>(qGreen(row[x]));
            *dst++ = static_cast<char>(qRed(row[x]));
        }
    }
    return out;
}

QByteArray CBmpWriter::FileBytes(const QImage& frame) {
    return FileHeader(frame.width(), frame.height()) + InfoHeader(frame.width(), frame.height()) +
           PixelRows(frame);
}

bool CBmpWriter::Write(const QImage& frame, const QString& path, QString* error) {
    const QByteArray bytes = FileBytes(frame);
    QString why;
    if (!AtomicFile::Write(path, bytes.constData(), bytes.size(), &why)) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, why);
        return false;
    }
    return true;
}
