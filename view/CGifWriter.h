#pragma once

#include <QString>

#include <cstdint>
#include <vector>

class QImage;
class QIODevice;
struct GifFileType;

// An animated GIF written frame by frame through giflib onto a device: it loops forever, and
// each frame has a palette of its own, exact when the frame has at most 256 colours, else its
// 256 most frequent colours (line art keeps its line and ground colours), never dithered.
class CGifWriter {
public:
    CGifWriter() = default;
    ~CGifWriter();
    CGifWriter(const CGifWriter&) = delete;
    CGifWriter& operator=(const CGifWriter&) = delete;

    // Starts the file: the screen of width x height and the loop-forever block.
    bool Open(QIODevice* device, int width, int height, QString* error);
    // One frame of the screen's size, shown for `delay` hundredths of a second.
    bool AddFrame(const QImage& frame, int delay, QString* error);
    // Ends the file; false when any write failed.
    bool Close(QString* error);

    // The palette of `frame` (RGB triples, at most 256) and one index into it per pixel.
    static void Quantise(const QImage& frame, std::vector<std::uint8_t>& palette,
                         std::vector<std::uint8_t>& indices);

private:
    bool Failed(QString* error, const char* step);

    GifFileType* m_pGif = nullptr; // owned; closed by Close or the destructor
    int m_nWidth = 0;
    int m_nHeight = 0;
};
