#include "CGifWriter.h"

#include <QIODevice>
#include <QImage>

#include <gif_lib.h>

#include <algorithm>

namespace {

int WriteToDevice(GifFileType* gif, const GifByteType* bytes, int size) {
    auto* device = static_cast<QIODevice*>(gif->UserData);
    return static_cast<int>(device->write(reinterpret_cast<const char*>(bytes), size));
}

// A frame with more colours than this is not line art; median cut suits it better.
constexpr std::size_t kMaxPopularityColours = 1 << 16;

// The frame's own palette: its colours when there are at most 256 of them, else the most
// frequent and the most distinct ones, every other colour drawn in the nearest of those. Line
// art keeps its exact line and ground colours; the smoothing's in-between shades take the
// nearest kept one.
// False (nothing filled) for a frame of too many colours.
bool PopularPalette(const QImage& img, std::vector<std::uint8_t>& palette,
                    std::vector<std::uint8_t>& indices) {
    // The frame's colours in an open-addressed table (twice the most there may be), each
    // pixel remembering its colour's slot; runs of one colour (the ground) cost no look-up.
    constexpr std::size_t kSlots = 2 * kMaxPopularityColours;
    constexpr quint32 kEmpty = 0xffffffffu; // not a colour: colours have 24 bits
    std::vector<quint32> keys(kSlots, kEmpty);
    std::vector<int> counts(kSlots, 0);
    std::vector<std::uint32_t> slotOfPixel(indices.size());
    std::vector<std::uint32_t> used;
    const int w = img.width();
    quint32 last = kEmpty;
    std::uint32_t slot = 0;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        std::uint32_t* out = slotOfPixel.data() + static_cast<std::size_t>(y) * w;
        for (int x = 0; x < w; ++x) {
            const quint32 rgb = row[x] & 0xffffffu;
            if (rgb != last) {
                slot = (rgb * 2654435761u) & (kSlots - 1);
                while (keys[slot] != rgb && keys[slot] != kEmpty)
                    slot = (slot + 1) & (kSlots - 1);
                if (keys[slot] == kEmpty) {
                    if (used.size() == kMaxPopularityColours)
                        return false;
                    keys[slot] = rgb;
                    used.push_back(slot);
                }
                last = rgb;
            }
            ++counts[slot];
            out[x] = slot;
        }
    }
    std::sort(used.begin(), used.end(), [&](std::uint32_t a, std::uint32_t b) {
        return counts[a] != counts[b] ? counts[a] > counts[b] : keys[a] < keys[b];
    });
    auto distance = [](quint32 a, quint32 b) {
        const long dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
        return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
    };
    // The most frequent colours first (ground, lines); the rest of the palette goes to the
    // colours farthest from those already chosen, so that a small patch of a colour of its own
    // (an axis, the colour bar) keeps it. Every colour then takes its nearest chosen one.
    const std::size_t n = used.size();
    const std::size_t popular = std::min<std::size_t>(n, 160);
    std::vector<long> nearest(n, 0);
    std::vector<int> index(n, 0);
    for (std::size_t i = 0; i < popular; ++i)
        index[i] = static_cast<int>(i);
    std::vector<quint32> chosen;
    auto choose = [&](std::size_t at) {
        chosen.push_back(keys[used[at]]);
        index[at] = static_cast<int>(chosen.size() - 1);
        nearest[at] = 0;
        for (std::size_t i = popular; i < n; ++i) {
            const long d = distance(keys[used[i]], chosen.back());
            if (chosen.size() == 1 || d < nearest[i]) {
                nearest[i] = d;
                index[i] = static_cast<int>(chosen.size() - 1);
            }
        }
    };
    for (std::size_t i = 0; i < popular; ++i)
        choose(i);
    while (chosen.size() < 256 && chosen.size() < n) {
        std::size_t far = 0;
        for (std::size_t i = popular; i < n; ++i)
            if (counts[used[i]] >= 4 && nearest[i] > nearest[far])
                far = i;
        if (far == 0 || nearest[far] == 0)
            break;
        choose(far);
    }
    palette.clear();
    for (quint32 rgb : chosen)
        palette.insert(palette.end(), {static_cast<std::uint8_t>(qRed(rgb)),
                                       static_cast<std::uint8_t>(qGreen(rgb)),
                                       static_cast<std::uint8_t>(qBlue(rgb))});
    std::vector<std::uint8_t> indexOfSlot(kSlots, 0);
    for (std::size_t i = 0; i < n; ++i)
        indexOfSlot[used[i]] = static_cast<std::uint8_t>(index[i]);
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i] = indexOfSlot[slotOfPixel[i]];
    return true;
}

} // namespace

CGifWriter::~CGifWriter() {
    if (m_pGif)
        EGifCloseFile(m_pGif, nullptr);
}

bool CGifWriter::Failed(QString* error, const char* step) {
    if (error)
        *error = QStringLiteral("GIF %1 failed: %2")
                     .arg(QLatin1String(step),
                          QString::fromLatin1(GifErrorString(m_pGif ? m_pGif->Error : 0)));
    return false;
}

void CGifWriter::Quantise(const QImage& frame, std::vector<std::uint8_t>& palette,
                          std::vector<std::uint8_t>& indices) {
    const QImage img =
        frame.format() == QImage::Format_RGB32 || frame.format() == QImage::Format_ARGB32
            ? frame
            : frame.convertToFormat(QImage::Format_RGB32);
    const std::size_t n = static_cast<std::size_t>(img.width()) * img.height();
    indices.resize(n);
    if (PopularPalette(img, palette, indices))
        return;
    std::vector<GifByteType> r(n), g(n), b(n);
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        const std::size_t at = static_cast<std::size_t>(y) * img.width();
        for (int x = 0; x < img.width(); ++x) {
            r[at + x] = static_cast<GifByteType>(qRed(row[x]));
            g[at + x] = static_cast<GifByteType>(qGreen(row[x]));
            b[at + x] = static_cast<GifByteType>(qBlue(row[x]));
        }
    }
    int size = 256;
    GifColorType map[256];
    if (GifQuantizeBuffer(static_cast<unsigned>(img.width()), static_cast<unsigned>(img.height()),
                          &size, r.data(), g.data(), b.data(), indices.data(), map) != GIF_OK) {
        // Cannot happen for a non-empty frame; black rather than garbage if it does.
        size = 1;
        map[0] = GifColorType{0, 0, 0};
        std::fill(indices.begin(), indices.end(), 0);
    }
    palette.clear();
    for (int i = 0; i < size; ++i)
        palette.insert(palette.end(), {map[i].Red, map[i].Green, map[i].Blue});
}

bool CGifWriter::Open(QIODevice* device, int width, int height, QString* error) {
    int code = 0;
    m_pGif = EGifOpen(device, WriteToDevice, &code);
    if (!m_pGif) {
        if (error)
            *error = QStringLiteral("GIF open failed: %1")
                         .arg(QString::fromLatin1(GifErrorString(code)));
        return false;
    }
    m_nWidth = width;
    m_nHeight = height;
    EGifSetGifVersion(m_pGif, true);
    if (EGifPutScreenDesc(m_pGif, width, height, 8, 0, nullptr) != GIF_OK)
        return Failed(error, "screen");
    // The application block that browsers and viewers read as "repeat forever" (count 0).
    static const GifByteType kLoop[3] = {1, 0, 0};
    static const char kApp[] = "NETSCAPE2.0";
    if (EGifPutExtensionLeader(m_pGif, APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
        EGifPutExtensionBlock(m_pGif, 11, kApp) != GIF_OK ||
        EGifPutExtensionBlock(m_pGif, 3, kLoop) != GIF_OK ||
        EGifPutExtensionTrailer(m_pGif) != GIF_OK)
        return Failed(error, "loop block");
    return true;
}

bool CGifWriter::AddFrame(const QImage& frame, int delay, QString* error) {
    if (!m_pGif || frame.width() != m_nWidth || frame.height() != m_nHeight) {
        if (error)
            *error = QStringLiteral("GIF frame of the wrong size");
        return false;
    }
    std::vector<std::uint8_t> palette, indices;
    Quantise(frame, palette, indices);
    // Palettes are powers of two in size; the unused entries stay black.
    const int colours = static_cast<int>(palette.size() / 3);
    int size = 2;
    while (size < colours)
        size *= 2;
    ColorMapObject* map = GifMakeMapObject(size, nullptr);
    if (!map)
        return Failed(error, "palette");
    for (int i = 0; i < colours; ++i)
        map->Colors[i] = GifColorType{palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]};
    GraphicsControlBlock gcb{DISPOSE_DO_NOT, false, delay, NO_TRANSPARENT_COLOR};
    GifByteType ext[4];
    const int extSize = static_cast<int>(EGifGCBToExtension(&gcb, ext));
    bool ok = EGifPutExtension(m_pGif, GRAPHICS_EXT_FUNC_CODE, extSize, ext) == GIF_OK &&
              EGifPutImageDesc(m_pGif, 0, 0, m_nWidth, m_nHeight, false, map) == GIF_OK;
    for (int y = 0; ok && y < m_nHeight; ++y)
        ok = EGifPutLine(m_pGif, indices.data() + static_cast<std::size_t>(y) * m_nWidth,
                         m_nWidth) == GIF_OK;
    GifFreeMapObject(map);
    return ok || Failed(error, "frame");
}

bool CGifWriter::Close(QString* error) {
    if (!m_pGif)
        return false;
    int code = 0;
    const int result = EGifCloseFile(m_pGif, &code);
    m_pGif = nullptr;
    if (result != GIF_OK) {
        if (error)
            *error = QStringLiteral("GIF close failed: %1")
                         .arg(QString::fromLatin1(GifErrorString(code)));
        return false;
    }
    return true;
}
