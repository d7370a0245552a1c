#include "CViewState.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "Deflection.h"

#include <cmath>

double CViewState::NormaliseAngle(double a) {
    if (!std::isfinite(a))
        return 0.0;
    // Far out of range (typed in, or dragged for a long time) the loops below would take
    // forever or stop moving at all.
    if (std::fabs(a) > 1.0e6)
        a = std::fmod(a, 360.0);
    // Exactly 0 goes up to 360 first and comes back down to 0.
    while (a <= 0.0)
        a += 360.0;
    while (a >= 360.0)
        a -= 360.0;
    return a;
}

void CViewState::NormaliseAngles() {
    m_dRotX = NormaliseAngle(m_dRotX);
    m_dRotY = NormaliseAngle(m_dRotY);
    m_dRotZ = NormaliseAngle(m_dRotZ);
}

double CViewState::FitZoom(const CQuivraDoc& doc) {
    double r = 0.0;
    doc.ForEachPoint([&r](const CornerPoint* p) {
        // A file may hold non-finite coordinates; fitting to one would shrink the rest to a dot.
        // hypot does not overflow on the way for large finite coordinates.
        const double d = std::hypot(p->m_x, p->m_y, p->m_z);
        if (std::isfinite(d) && d > r)
            r = d;
    });
    // All points at the origin (or none) leave no finite fit.
    if (!(r > 0.0) || !std::isfinite(1250.0 / r))
        return 5.0;
    return 1250.0 / r;
}

double CViewState::WheelZoom(double zoom, int steps, const CQuivraDoc* doc) {
    if (zoom == 0.0 || !std::isfinite(zoom))
        return doc ? FitZoom(*doc) : 5.0;
    const double next = zoom * std::exp(steps * 0.0008333333333333334);
    // Scaling further would end in 0 or infinity, from where only the fit leads back.
    return next == 0.0 || !std::isfinite(next) ? zoom : next;
}

void CViewState::StartAnimation() {
    m_bAnimating = 1;
    m_nFrame = 0;
    m_nStopFrame = -1;
    m_bPaused = 0;
}

void CViewState::StopAnimation() {
    m_bAnimating = 0;
    m_bPaused = 0;
}

bool CViewState::Tick(const CQuivraDoc& doc) {
    if (m_nStopFrame != -1 && m_nStopFrame == m_nFrame)
        return false;
    if (m_bPaused || (!m_bHasFocus && !m_bAnimateWithoutFocus))
        return false;
    const int n = Deflection::FramesPerPeriod(doc, m_nCurrentSeries);
    if (n > 0)
        m_nFrame = (m_nFrame + 1) % n;
    return true;
}

bool CViewState::StartMaxDeviation(CQuivraDoc& doc, bool negative, bool* wasAnimating) {
    if (doc.m_selPoints.empty())
        return false;
    const CornerPoint* p = doc.m_selPoints.front();
    if (p->m_directions.empty())
        return false;
    const int best = Deflection::MaxDeviationFrame(*p, doc, m_nCurrentSeries, negative);
    if (best < 0)
        return false;
    doc.m_selPoints.clear();
    if (wasAnimating)
        *wasAnimating = m_bAnimating != 0;
    m_nStopFrame = best;
    m_bAnimating = 1;
    m_nFrame = 0;
    return true;
}

bool CViewState::StepFrame(const CQuivraDoc& doc, int delta) {
    const int n = Deflection::FramesPerPeriod(doc, m_nCurrentSeries);
    if (n < 1)
        return false;
    if (!m_bAnimating) {
        m_bAnimating = 1;
        m_nFrame = 0;
        m_nStopFrame = -1;
    } else {
        m_nFrame = ((m_nFrame + delta) % n + n) % n;
    }
    m_bPaused = 1;
    return true;
}
