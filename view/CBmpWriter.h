#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// 24-bit BMP images of a rendered frame: the width cut down to a multiple of 4 (so the 3-byte
// pixel rows need no padding), rows bottom-up, blue-green-red. The clipboard copy uses the
// information header and the pixel rows alone.
class CBmpWriter {
public:
    static constexpr int kFileHeaderSize = 14;
    static constexpr int kInfoHeaderSize = 40;

    // The image width taken from a frame `width` pixels wide.
    static int CutWidth(int width) { return width - width % 4; }
    // Size of the pixel block for a frame of width x height.
    static qint64 ImageSize(int width, int height);

    // The 40-byte information header for a frame of width x height (width not yet cut).
    static QByteArray InfoHeader(int width, int height);
    // The 14-byte file header.
    static QByteArray FileHeader(int width, int height);
    // The pixel rows of `frame` (RGB32, row 0 at the top): bottom row first, B, G, R.
    static QByteArray PixelRows(const QImage& frame);
    // File header, information header and pixels.
    static QByteArray FileBytes(const QImage& frame);

    // Writes `frame` to `path`, replacing an existing file. False (with `error` set) when the
    // file cannot be written completely.
    static bool Write(const QImage& frame, const QString& path, QString* error = nullptr);
};
