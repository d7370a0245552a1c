#pragma once

#include <QHash>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <deque>
#include <functional>

class QPainter;

// The clear look's caption and colour bar, painted once into images and then put over each frame
// as they are: an animation shows the same few panels again and again (the caption changes only
// with the phase, the colour bar not at all), and laying out and drawing their text every frame
// cost more than the lines of a small model. The pixels are those of painting them directly.
class COverlayCache {
public:
    // As CCaption::Paint and CColourBar::Paint at scale 1, through the cache.
    QRect PaintCaption(QPainter& painter, const QRect& area, const QStringList& lines);
    QRect PaintColourBar(QPainter& painter, const QRect& area, double peak, int top);

    // Panels kept, for tests.
    int Size() const { return static_cast<int>(m_panels.size()); }

    // At most this many bytes of images are kept: all the captions of a period of a few dozen
    // frames; a longer period paints the captions it cannot keep anew.
    static constexpr std::size_t kMaxBytes = 8u << 20;

private:
    // The panel painted by `paint` (which returns its rectangle), covering `rect`.
    QRect Paint(QPainter& painter, const QString& key, const QRect& rect,
                const std::function<QRect(QPainter&)>& paint);

    QHash<QString, QImage> m_panels;
    std::deque<QString> m_order; // oldest first
    std::size_t m_nBytes = 0;
};
