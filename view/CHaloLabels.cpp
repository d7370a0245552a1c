#include "CHaloLabels.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

constexpr int kHalo = 2;  // pixels of white around the glyphs
constexpr int kGap = 3;   // between the anchor and the text
constexpr int kCell = 64; // grid cell of the overlap test

QFont LabelFont(CHaloLabels::Kind kind) {
    QFont font = QGuiApplication::font();
    font.setPixelSize(kind == CHaloLabels::PointNumber ? 12 : 11);
    if (kind != CHaloLabels::PointNumber)
        font.setBold(true);
    return font;
}

// Rectangles already taken, bucketed by grid cell: the test stays quick with thousands.
class Occupancy {
public:
    bool Free(const QRect& r) const {
        for (int cy = Cell(r.top()); cy <= Cell(r.bottom()); ++cy)
            for (int cx = Cell(r.left()); cx <= Cell(r.right()); ++cx) {
                auto it = m_cells.find(Key(cx, cy));
                if (it == m_cells.end())
                    continue;
                for (const QRect& o : it->second)
                    if (o.intersects(r))
                        return false;
            }
        return true;
    }
    void Take(const QRect& r) {
        for (int cy = Cell(r.top()); cy <= Cell(r.bottom()); ++cy)
            for (int cx = Cell(r.left()); cx <= Cell(r.right()); ++cx)
                m_cells[Key(cx, cy)].push_back(r);
    }

private:
    static int Cell(int v) { return v >= 0 ? v / kCell : -((-v + kCell - 1) / kCell); }
    static long long Key(int cx, int cy) {
        // Cells left of or above the frame are negative: shift their bits, not their values.
        return static_cast<long long>(
            (static_cast<unsigned long long>(static_cast<unsigned>(cx)) << 32) |
            static_cast<unsigned>(cy));
    }
    std::unordered_map<long long, std::vector<QRect>> m_cells;
};

} // namespace

QColor CHaloLabels::ColourOf(Kind kind) {
    switch (kind) {
    case PointNumber:
        return QColor(28, 28, 36);
    case DirectionNumber:
        return QColor(0, 118, 108);
    case AxisX:
        return QColor(200, 40, 40);
    case AxisY:
        return QColor(30, 150, 50);
    case AxisZ:
        return QColor(40, 80, 210);
    case KindCount:
        break;
    }
    return Qt::black;
}

void CHaloLabels::Add(const QString& text, double x, double y, Kind kind) {
    if (!(std::fabs(x) < 1.0e6) || !(std::fabs(y) < 1.0e6))
        return;
    m_items.push_back({text, QPointF(x, y), kind});
}

const QImage& CHaloLabels::Image(const QString& text, Kind kind) {
    QHash<QString, QImage>& cache = m_cache[kind];
    auto it = cache.find(text);
    if (it != cache.end())
        return *it;
    if (cache.size() > 20000)
        cache.clear();
    const QFont font = LabelFont(kind);
    const QFontMetricsF fm(font);
    const int w = static_cast<int>(std::ceil(fm.horizontalAdvance(text))) + 2 * kHalo;
    const int h = static_cast<int>(std::ceil(fm.height())) + 2 * kHalo;
    QImage img(std::max(1, w), std::max(1, h), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath path;
    path.addText(QPointF(kHalo, kHalo + fm.ascent()), font, text);
    p.setPen(
        QPen(QColor(255, 255, 255, 235), 2.0 * kHalo, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(ColourOf(kind));
    p.drawPath(path);
    p.end();
    return *cache.insert(text, img);
}

void CHaloLabels::PaintText(QPainter& painter, QPoint corner, const QString& text, Kind kind) {
    const QFont font = LabelFont(kind);
    const QPointF base(corner.x() + kHalo, corner.y() + kHalo + QFontMetricsF(font).ascent());
    QPainterPath path;
    path.addText(base, font, text);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.strokePath(path, QPen(QColor(255, 255, 255, 235), 2.0 * kHalo, Qt::SolidLine,
                                  Qt::RoundCap, Qt::RoundJoin));
    painter.setFont(font);
    painter.setPen(ColourOf(kind));
    painter.drawText(base, text);
    painter.restore();
}

int CHaloLabels::Paint(QPainter& painter, const QRect& area, const std::vector<QRect>& reserved,
                       bool asText) {
    m_placed.clear();
    Occupancy taken;
    // Axis letters belong to their corner; other labels keep out of the reserved places.
    auto outsideReserved = [&reserved](const Item& item, const QRect& box) {
        if (item.kind == AxisX || item.kind == AxisY || item.kind == AxisZ)
            return true;
        for (const QRect& r : reserved)
            if (r.intersects(box))
                return false;
        return true;
    };
    for (const Item& item : m_items) {
        const QImage& img = Image(item.text, item.kind);
        const int w = img.width(), h = img.height();
        const int x = static_cast<int>(std::floor(item.at.x()));
        const int y = static_cast<int>(std::floor(item.at.y()));
        // Right and above first (clear of lines that leave the point downwards), then the other
        // corners, then centred above and below.
        const QPoint tries[] = {
            {x + kGap - kHalo, y - h + kHalo},     {x + kGap - kHalo, y + kGap - kHalo},
            {x - w - kGap + kHalo, y - h + kHalo}, {x - w - kGap + kHalo, y + kGap - kHalo},
            {x - w / 2, y - h - kGap + kHalo},     {x - w / 2, y + kGap + kHalo}};
        for (const QPoint& corner : tries) {
            // The glyphs' box, without most of the halo: halos may touch.
            const QRect box = QRect(corner, img.size()).adjusted(kHalo, kHalo, -kHalo, -kHalo);
            // Numbers side by side need a gap wider than a digit's own, or "83" and "89" read
            // as "8389".
            const QRect spaced = box.adjusted(-3, -1, 3, 1);
            if (!area.intersects(box) || !taken.Free(spaced) || !outsideReserved(item, box))
                continue;
            taken.Take(box);
            if (asText)
                PaintText(painter, corner, item.text, item.kind);
            else
                painter.drawImage(corner, img);
            m_placed.push_back(box);
            break;
        }
    }
    return static_cast<int>(m_placed.size());
}
