#include "CColourMap.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Lab {
    double L, a, b;
};

// Oklab to sRGB (8 bits per channel), clipped to the gamut.
QRgb ToRgb(const Lab& c) {
    const double l_ = c.L + 0.3963377774 * c.a + 0.2158037573 * c.b;
    const double m_ = c.L - 0.1055613458 * c.a - 0.0638541728 * c.b;
    const double s_ = c.L - 0.0894841775 * c.a - 1.2914855480 * c.b;
    const double l = l_ * l_ * l_, m = m_ * m_ * m_, s = s_ * s_ * s_;
    const double lin[3] = {4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
                           -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
                           -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s};
    int out[3];
    for (int i = 0; i < 3; ++i) {
        const double v = std::clamp(lin[i], 0.0, 1.0);
        const double g = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055;
        out[i] = static_cast<int>(std::lround(g * 255.0));
    }
    return qRgb(out[0], out[1], out[2]);
}

Lab FromLch(double L, double C, double hueDeg) {
    const double h = hueDeg * 3.14159265358979323846 / 180.0;
    return {L, C * std::cos(h), C * std::sin(h)};
}

double Distance(const Lab& p, const Lab& q) {
    return std::sqrt((p.L - q.L) * (p.L - q.L) + (p.a - q.a) * (p.a - q.a) +
                     (p.b - q.b) * (p.b - q.b));
}

std::array<QRgb, CColourMap::kSize> Build() {
    // Lightness, chroma and hue along the map; the path between them is straight in Oklab.
    const Lab keys[] = {FromLch(0.80, 0.09, 235.0), FromLch(0.67, 0.14, 280.0),
                        FromLch(0.57, 0.19, 330.0), FromLch(0.49, 0.19, 25.0)};
    constexpr int kKeys = sizeof keys / sizeof keys[0];
    constexpr int kSteps = 200; // per segment, fine enough to measure the path's length
    std::vector<Lab> path;
    for (int k = 0; k + 1 < kKeys; ++k)
        for (int i = 0; i < kSteps; ++i) {
            const double t = static_cast<double>(i) / kSteps;
            path.push_back({keys[k].L + t * (keys[k + 1].L - keys[k].L),
                            keys[k].a + t * (keys[k + 1].a - keys[k].a),
                            keys[k].b + t * (keys[k + 1].b - keys[k].b)});
        }
    path.push_back(keys[kKeys - 1]);
    std::vector<double> length(path.size(), 0.0);
    for (std::size_t i = 1; i < path.size(); ++i)
        length[i] = length[i - 1] + Distance(path[i - 1], path[i]);
    // Entries at equal distances along the path: a uniform map.
    std::array<QRgb, CColourMap::kSize> table{};
    std::size_t j = 1;
    for (int i = 0; i < CColourMap::kSize; ++i) {
        const double want = length.back() * i / (CColourMap::kSize - 1);
        while (j + 1 < path.size() && length[j] < want)
            ++j;
        const double span = length[j] - length[j - 1];
        const double t = span > 0.0 ? std::clamp((want - length[j - 1]) / span, 0.0, 1.0) : 0.0;
        const Lab& p = path[j - 1];
        const Lab& q = path[j];
        table[static_cast<std::size_t>(i)] =
            ToRgb({p.L + t * (q.L - p.L), p.a + t * (q.a - p.a), p.b + t * (q.b - p.b)});
    }
    return table;
}

} // namespace

const std::array<QRgb, CColourMap::kSize>& CColourMap::Table() {
    static const std::array<QRgb, kSize> table = Build();
    return table;
}

QRgb CColourMap::At(double t) {
    if (!(t > 0.0))
        t = 0.0;
    const int i = static_cast<int>(std::lround(std::min(t, 1.0) * (kSize - 1)));
    return Table()[static_cast<std::size_t>(i)];
}

void CColourMap::At(double t, float rgb[3]) {
    const QRgb c = At(t);
    rgb[0] = qRed(c) / 255.0f;
    rgb[1] = qGreen(c) / 255.0f;
    rgb[2] = qBlue(c) / 255.0f;
}
