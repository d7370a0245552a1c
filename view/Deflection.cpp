#include "Deflection.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "MeasDirection.h"
#include "Measurement.h"

#include <algorithm>
#include <cmath>

int Deflection::FramesPerPeriod(const CQuivraDoc& doc, int series) {
    if (series < 0 || series >= doc.m_nSeries ||
        static_cast<std::size_t>(series) >= doc.m_seriesFramesPerPeriod.size() ||
        static_cast<std::size_t>(series) >= doc.m_seriesAmplification.size())
        return 0;
    const int n = doc.m_seriesFramesPerPeriod[static_cast<std::size_t>(series)];
    return n >= 1 ? n : 0;
}

double Deflection::FramePhase(int frame, int framesPerPeriod) {
    return static_cast<double>(frame) * kFullTurn / static_cast<double>(framesPerPeriod);
}

Vec3d Deflection::DisplacedPosition(const CornerPoint& p, const CQuivraDoc& doc, int series,
                                    double phase) {
    Vec3d q{p.m_x, p.m_y, p.m_z};
    if (series < 0 || static_cast<std::size_t>(series) >= doc.m_seriesAmplification.size())
        return q;
    const double a = doc.m_seriesAmplification[static_cast<std::size_t>(series)];
    for (const MeasDirection* d : p.m_directions) {
        if (static_cast<std::size_t>(series) >= d->m_measurements.size())
            continue;
        const Measurement* m = d->m_measurements[static_cast<std::size_t>(series)];
        const double w = std::sin(kDegToRad * m->m_dPhase + phase);
        // Left to right, as the recorded shapes were computed.
        q.x += w * d->m_dx * m->m_dAmplitude * a;
        q.y += w * d->m_dy * m->m_dAmplitude * a;
        q.z += w * d->m_dz * m->m_dAmplitude * a;
    }
    return q;
}

int Deflection::MaxDeviationFrame(const CornerPoint& p, const CQuivraDoc& doc, int series,
                                  bool negative) {
    const int n = FramesPerPeriod(doc, series);
    // A count beyond the maximum (a file may hold one) would take minutes to search.
    if (n == 0 || n > CQuivraDoc::kMaxFramesPerPeriod)
        return -1;
    const int first = negative ? n / 2 : 0;
    const int last = negative ? n : n / 2;
    double best = 0.0;
    int bestFrame = 0;
    for (int f = first; f < last; ++f) {
        const Vec3d q = DisplacedPosition(p, doc, series, FramePhase(f, n));
        const double dx = q.x - p.m_x, dy = q.y - p.m_y, dz = q.z - p.m_z;
        const double d2 = dx * dx + dy * dy + dz * dz;
        if (d2 > best) {
            best = d2;
            bestFrame = f;
        }
    }
    return bestFrame;
}

Deflection::Orbit Deflection::OrbitOf(const CornerPoint& p, const CQuivraDoc& doc, int series) {
    Orbit o;
    if (series < 0 || static_cast<std::size_t>(series) >= doc.m_seriesAmplification.size())
        return o;
    const double a = doc.m_seriesAmplification[static_cast<std::size_t>(series)];
    // sin(phi + t) = sin(phi) cos(t) + cos(phi) sin(t): the same terms DisplacedPosition adds.
    for (const MeasDirection* d : p.m_directions) {
        if (static_cast<std::size_t>(series) >= d->m_measurements.size())
            continue;
        const Measurement* m = d->m_measurements[static_cast<std::size_t>(series)];
        const double phi = kDegToRad * m->m_dPhase;
        const double s = std::sin(phi) * m->m_dAmplitude * a;
        const double c = std::cos(phi) * m->m_dAmplitude * a;
        o.cosPart.x += s * d->m_dx;
        o.cosPart.y += s * d->m_dy;
        o.cosPart.z += s * d->m_dz;
        o.sinPart.x += c * d->m_dx;
        o.sinPart.y += c * d->m_dy;
        o.sinPart.z += c * d->m_dz;
    }
    return o;
}

double Deflection::Orbit::Peak() const {
    // The largest eigenvalue of the 2x2 Gram matrix of the two parts.
    const Vec3d& u = cosPart;
    const Vec3d& v = sinPart;
    const double uu = u.x * u.x + u.y * u.y + u.z * u.z;
    const double vv = v.x * v.x + v.y * v.y + v.z * v.z;
    const double uv = u.x * v.x + u.y * v.y + u.z * v.z;
    const double half = 0.5 * (uu - vv);
    const double peak2 = 0.5 * (uu + vv) + std::sqrt(half * half + uv * uv);
    return std::sqrt(std::max(peak2, 0.0));
}

Vec3d Deflection::Orbit::At(double phase) const {
    const double c = std::cos(phase), s = std::sin(phase);
    return {cosPart.x * c + sinPart.x * s, cosPart.y * c + sinPart.y * s,
            cosPart.z * c + sinPart.z * s};
}
