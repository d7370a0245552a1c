#pragma once

#include <QRect>

class QPainter;

// The legend of the displacement colours: a vertical bar of the colour map from 0 (bottom) to
// the largest amplitude of the period (top), with its value. Drawn with QPainter, like the
// caption, for the view and for printed or exported pictures.
class CColourBar {
public:
    // Paints the bar at the right edge of `area`, below `top` pixels (the axes inset's room).
    // `peak` is the value of the top end. `scale` as for the caption. Returns the rectangle
    // taken.
    static QRect Paint(QPainter& painter, const QRect& area, double peak, int top = 0,
                       double scale = 1.0);
    // The rectangle Paint would return, without painting.
    static QRect PanelRect(const QRect& area, double peak, int top = 0, double scale = 1.0);
};
