#pragma once

#include <QRgb>

#include <array>

// The colour of a displacement magnitude in the clear look: a sequential map from a light blue
// (no motion) through violet to a deep red (the largest motion of the period). Equal steps of
// the value are equal steps of perceived colour difference (equal distances in the Oklab colour
// space), and the lightness falls steadily, so the order reads without the legend and survives
// a grey-scale print. Dark at the top end, so the parts that move most stand out on white.
class CColourMap {
public:
    static constexpr int kSize = 256;

    // The colour of t in [0, 1] (clamped; NaN reads as 0).
    static QRgb At(double t);
    // The same as floats in [0, 1], for glColor.
    static void At(double t, float rgb[3]);

private:
    static const std::array<QRgb, kSize>& Table();
};
