#include "COverlayCache.h"

#include "CCaption.h"
#include "CColourBar.h"

#include <QPainter>

#include <cstring>

namespace {

QString AreaKey(const QRect& area) {
    return QStringLiteral("%1,%2,%3,%4|")
        .arg(area.x())
        .arg(area.y())
        .arg(area.width())
        .arg(area.height());
}

} // namespace

QRect COverlayCache::PaintCaption(QPainter& painter, const QRect& area, const QStringList& lines) {
    if (lines.isEmpty())
        return QRect();
    return Paint(painter, QStringLiteral("caption|") + AreaKey(area) + lines.join(QChar('\n')),
                 CCaption::PanelRect(area, lines),
                 [&](QPainter& p) { return CCaption::Paint(p, area, lines); });
}

QRect COverlayCache::PaintColourBar(QPainter& painter, const QRect& area, double peak, int top) {
    // The value exactly: two peaks that print alike may still differ in the bar's text width.
    quint64 bits = 0;
    std::memcpy(&bits, &peak, sizeof bits);
    return Paint(painter,
                 QStringLiteral("bar|") + AreaKey(area) + QString::number(top) + QChar('|') +
                     QString::number(bits, 16),
                 CColourBar::PanelRect(area, peak, top),
                 [&](QPainter& p) { return CColourBar::Paint(p, area, peak, top); });
}

QRect COverlayCache::Paint(QPainter& painter, const QString& key, const QRect& rect,
                           const std::function<QRect(QPainter&)>& paint) {
    auto it = m_panels.constFind(key);
    if (it == m_panels.constEnd()) {
        if (rect.isEmpty())
            return paint(painter);
        // Painted at its own place, shifted by whole pixels: the same coverage as in the frame.
        QImage image(rect.size(), QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return paint(painter);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.translate(-rect.topLeft());
            paint(p);
        }
        const std::size_t bytes = static_cast<std::size_t>(image.sizeInBytes());
        while (!m_order.empty() && m_nBytes + bytes > kMaxBytes) {
            m_nBytes -= static_cast<std::size_t>(m_panels.take(m_order.front()).sizeInBytes());
            m_order.pop_front();
        }
        m_order.push_back(key);
        m_nBytes += bytes;
        it = m_panels.insert(key, image);
    }
    painter.drawImage(rect.topLeft(), *it);
    return rect;
}
