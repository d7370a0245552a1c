// The clear look's caption and colour bar from kept images: the same pixels as painting them
// directly, the right panel for each text, and a bounded memory.
#include "CCaption.h"
#include "CColourBar.h"
#include "COverlayCache.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cstdlib>

namespace {

// Largest difference of any channel between two frames.
int MaxDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

// A frame with something under the translucent panels.
QImage Frame(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(QPen(QColor(40, 40, 60), 3));
    p.drawLine(0, 0, w, h);
    p.drawLine(0, h, w, 0);
    return img;
}

TEST(OverlayCache, PaintsWhatDirectPaintingPaintsForEachText) {
    COverlayCache cache;
    const QStringList base = {"pump.qvr", "Series: Run 1", "24.75 Hz (1485 RPM)"};
    struct Case {
        QSize size;
        QString phase; // the line that changes from frame to frame
        double peak;
    } cases[] = {{{320, 240}, "Phase: 0\u00b0 (frame 1 of 24)", 12.5},
                 {{320, 240}, "Phase: 15\u00b0 (frame 2 of 24)", 12.5},
                 {{321, 203}, "Phase: 15\u00b0 (frame 2 of 24)", 0.031},
                 {{320, 240}, "Phase: 0\u00b0 (frame 1 of 24)", 12.5}}; // again: from the cache
    for (const Case& c : cases) {
        const QRect area(QPoint(0, 0), c.size);
        const QStringList lines = base + QStringList{c.phase};
        QImage direct = Frame(c.size.width(), c.size.height());
        QImage cached = direct.copy();
        QRect directCaption, directBar, cachedCaption, cachedBar;
        {
            QPainter p(&direct);
            directCaption = CCaption::Paint(p, area, lines);
            directBar = CColourBar::Paint(p, area, c.peak, 40);
        }
        {
            QPainter p(&cached);
            cachedCaption = cache.PaintCaption(p, area, lines);
            cachedBar = cache.PaintColourBar(p, area, c.peak, 40);
        }
        EXPECT_EQ(cachedCaption, directCaption) << c.phase.toStdString();
        EXPECT_EQ(cachedBar, directBar);
        // Compositing rounds a premultiplied pixel once more: one step at most.
        EXPECT_LE(MaxDifference(direct, cached), 1) << c.phase.toStdString();
    }
    EXPECT_EQ(cache.Size(), 5); // three captions, two bars: a repeated panel is kept once
}

TEST(OverlayCache, KeepsItsImagesWithinItsBudget) {
    COverlayCache cache;
    QImage frame(1600, 1200, QImage::Format_RGB32);
    QPainter p(&frame);
    const QRect area = frame.rect();
    QStringList lines;
    for (int i = 0; i < 30; ++i) // a wide panel of a few hundred kilobytes
        lines << QStringLiteral("A long line of caption text, number %1").arg(i);
    int kept = 0;
    for (int frameNo = 0; frameNo < 200; ++frameNo) {
        lines.last() = QStringLiteral("Phase: frame %1").arg(frameNo);
        cache.PaintCaption(p, area, lines);
        kept = std::max(kept, cache.Size());
    }
    const QRect panel = CCaption::PanelRect(area, lines);
    const std::size_t bytes = static_cast<std::size_t>(panel.width()) * panel.height() * 4;
    EXPECT_LE(static_cast<std::size_t>(kept) * bytes, COverlayCache::kMaxBytes);
    EXPECT_GT(kept, 1);
}

} // namespace
