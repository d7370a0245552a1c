#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>

#include <vector>

class QPainter;

// The clear look's labels: text without a box, ringed by a white halo so that it stays legible
// over lines, in a colour per kind (point numbers dark, direction numbers in the arrows'
// colour, axis letters in their axis' colour). Labels are collected for a frame, then placed
// beside their anchor where they do not cover each other (a label without any free place is
// left out; zooming in makes room) and painted with QPainter.
class CHaloLabels {
public:
    enum Kind { PointNumber, DirectionNumber, AxisX, AxisY, AxisZ, KindCount };

    static QColor ColourOf(Kind kind);

    void Clear() { m_items.clear(); }
    // A label for the window position (x right, y down).
    void Add(const QString& text, double x, double y, Kind kind);
    bool IsEmpty() const { return m_items.empty(); }

    // Places the labels in the order they were added, all but the axis letters outside
    // `reserved` (panels already in the picture, the axes' corner), and paints them; returns
    // how many were painted. With `asText` the labels are drawn as text over a stroked halo
    // (for vector pictures) instead of as cached images.
    int Paint(QPainter& painter, const QRect& area, const std::vector<QRect>& reserved = {},
              bool asText = false);

    // The places of the last Paint, for tests: one rectangle per painted label, in order.
    const std::vector<QRect>& Placed() const { return m_placed; }

private:
    struct Item {
        QString text;
        QPointF at;
        Kind kind;
    };
    const QImage& Image(const QString& text, Kind kind);
    static void PaintText(QPainter& painter, QPoint corner, const QString& text, Kind kind);

    std::vector<Item> m_items;
    std::vector<QRect> m_placed;
    QHash<QString, QImage> m_cache[KindCount];
};
