// The clear look's caption and colour bar from kept images: the pixels of painting them
// directly, the right panel for each text, and a bounded memory.
#include "CCaption.h"
#include "CColourBar.h"
#include "COverlayCache.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace {

TEST(OverlayCache, PaintsWhatDirectPaintingPaintsForEachText) {
    COverlayCache cache;
    struct Case {
        QSize size;
        const char* phase; // the line that changes from frame to frame
        double peak;
    } cases[] = {{{320, 240}, "Phase: 0 (frame 1 of 24)", 12.5},
                 {{320, 240}, "Phase: 15 (frame 2 of 24)", 12.5},
                 {{321, 203}, "Phase: 15 (frame 2 of 24)", 0.031},
                 {{320, 240}, "Phase: 0 (frame 1 of 24)", 12.5}}; // again: from the cache
    for (const Case& c : cases) {
        const QRect area(QPoint(0, 0), c.size);
        const QStringList lines = {"pump.qvr", "Series: Run 1", c.phase};
        // Something under the translucent panels.
        QImage direct(c.size, QImage::Format_RGB32);
        direct.fill(Qt::white);
        QPainter(&direct).fillRect(0, 0, c.size.width(), c.size.height(), Qt::BDiagPattern);
        QImage cached = direct.copy();
        QPainter p(&direct), q(&cached);
        EXPECT_EQ(cache.PaintCaption(q, area, lines), CCaption::Paint(p, area, lines));
        EXPECT_EQ(cache.PaintColourBar(q, area, c.peak, 40),
                  CColourBar::Paint(p, area, c.peak, 40));
        p.end();
        q.end();
        // Compositing rounds a premultiplied pixel once more: one step at most.
        int worst = 0;
        for (int y = 0; y < c.size.height(); ++y)
            for (int x = 0; x < c.size.width(); ++x) {
                const QRgb a = direct.pixel(x, y), b = cached.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)),
                                  std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
            }
        EXPECT_LE(worst, 1) << c.phase;
    }
    EXPECT_EQ(cache.Size(), 5); // three captions, two bars: a repeated panel is kept once

    // A long period of large captions: the oldest go, the memory stays bounded.
    COverlayCache big;
    QImage frame(1600, 1200, QImage::Format_RGB32);
    QPainter p(&frame);
    QStringList lines(30, QStringLiteral("A long line of caption text, for a wide panel"));
    const QRect panel = CCaption::PanelRect(frame.rect(), lines);
    const std::size_t bytes = static_cast<std::size_t>(panel.width()) * panel.height() * 4;
    for (int k = 0; k < 100; ++k) {
        lines.last() = QStringLiteral("Phase: frame %1").arg(k);
        big.PaintCaption(p, frame.rect(), lines);
        EXPECT_LE(static_cast<std::size_t>(big.Size()) * bytes, COverlayCache::kMaxBytes + bytes);
    }
    EXPECT_GT(big.Size(), 1);
}

} // namespace
