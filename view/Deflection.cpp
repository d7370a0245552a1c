#include "Deflection.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "MeasDirection.h"
#include "Measurement.h"

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
    if (n == 0)
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
