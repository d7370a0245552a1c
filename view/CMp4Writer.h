#pragma once

#include <QString>

#include <memory>

class QImage;
class QIODevice;

// An H.264 video in an MP4 file, written frame by frame through FFmpeg's libraries onto a
// seekable device: yuv420p at the even size given, so that browsers and presentation programs
// play it.
class CMp4Writer {
public:
    CMp4Writer();
    ~CMp4Writer();
    CMp4Writer(const CMp4Writer&) = delete;
    CMp4Writer& operator=(const CMp4Writer&) = delete;

    // Starts the file: width and height even, `fps` frames a second. Fails with a message
    // naming the cause when no H.264 encoder can be opened.
    bool Open(QIODevice* device, int width, int height, int fps, QString* error);
    // One frame of the size given to Open.
    bool AddFrame(const QImage& frame, QString* error);
    // Flushes the encoder and writes the index; false when anything failed.
    bool Close(QString* error);

private:
    struct Impl;
    bool Encode(bool flush, QString* error);
    std::unique_ptr<Impl> d;
};
