#include "SceneBuilder.h"

#include "CQuivraDoc.h"
#include "CViewState.h"
#include "CornerPoint.h"
#include "Deflection.h"
#include "MeasDirection.h"
#include "Measurement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>
#include <utility>

using namespace scene;

namespace {

const double k = 0.017453292222222222;

TEST(Deflection, DisplacementAddsDirectionsWithAmplification) {
    struct Case {
        double amplification, phaseX, phaseY, phase;
    } cases[] = {
        {1.0, 0.0, 90.0, 0.3},
        {2.0, 30.0, 30.0, 1.1},
        {-1.0, 45.0, 225.0, 2.5},
    };
    for (const Case& c : cases) {
        CQuivraDoc doc;
        AddSeries(doc, 24, c.amplification);
        CornerPoint* p = AddFree(doc, 10.0, 20.0, 30.0);
        AddDirection(p, DirPlusX, 4.0, c.phaseX);
        AddDirection(p, DirMinusY, 3.0, c.phaseY);
        const Vec3d q = Deflection::DisplacedPosition(*p, doc, 0, c.phase);
        // The same products, left to right.
        const double wx = std::sin(k * c.phaseX + c.phase);
        const double wy = std::sin(k * c.phaseY + c.phase);
        EXPECT_EQ(q.x, 10.0 + wx * 1.0 * 4.0 * c.amplification);
        EXPECT_EQ(q.y, 20.0 + wy * -1.0 * 3.0 * c.amplification);
        EXPECT_EQ(q.z, 30.0 + 0.0);
    }
}

TEST(Deflection, PointWithoutDirectionsOrSeriesStaysAtRest) {
    CQuivraDoc doc;
    CornerPoint* p = AddFree(doc, 1, 2, 3);
    AddDirection(p, DirPlusX, 5.0, 0.0); // no series: no measurement to read
    const Vec3d q = Deflection::DisplacedPosition(*p, doc, 0, 1.0);
    EXPECT_EQ(std::make_tuple(q.x, q.y, q.z), std::make_tuple(1.0, 2.0, 3.0));
    // A series index beyond the last one reads nothing either.
    AddSeries(doc, 24);
    EXPECT_EQ(Deflection::DisplacedPosition(*p, doc, 5, 1.0).x, 1.0);
}

TEST(Deflection, SeriesThatCannotAnimateHaveNoFrames) {
    CQuivraDoc doc;
    EXPECT_EQ(Deflection::FramesPerPeriod(doc, 0), 0);
    AddSeries(doc, 24);
    AddSeries(doc, 0);
    AddSeries(doc, -3);
    const std::pair<int, int> cases[] = {{0, 24}, {1, 0}, {2, 0}, {3, 0}, {-1, 0}};
    for (const auto& [series, frames] : cases)
        EXPECT_EQ(Deflection::FramesPerPeriod(doc, series), frames) << series;
}

struct MaxDevCase {
    int frames;
    double phaseDeg;
    double amplitude;
    int positive, negative;
};

TEST(Deflection, MaxDeviationFrames) {
    // Peaks of sin^2 at frames 12 and 24.5 of 25: only the ranges 0..11 and 12..24 give 0
    // and 12.
    const double peak12 = (M_PI / 2 - 12 * 6.28318 / 25) / k;
    const MaxDevCase cases[] = {
        {24, 0.0, 1.0, 6, 18},
        {25, peak12, 1.0, 0, 12},
        {24, 0.0, 0.0, 0, 0},
        {24, 90.0, 2.0, 0, 12},
        {1, 0.0, 1.0, 0, 0},
        // sin(30 deg + t) peaks at frames 4 and 16; with the phase turned the wrong way it
        // would peak at 8 and 20 (squared deviations alone do not tell the ways apart).
        {24, 30.0, 1.0, 4, 16},
    };
    for (const MaxDevCase& c : cases) {
        CQuivraDoc doc;
        AddSeries(doc, c.frames);
        CornerPoint* p = AddFree(doc, 5, 5, 5);
        AddDirection(p, DirPlusY, c.amplitude, c.phaseDeg);
        EXPECT_EQ(Deflection::MaxDeviationFrame(*p, doc, 0, false), c.positive)
            << c.frames << " frames, phase " << c.phaseDeg;
        EXPECT_EQ(Deflection::MaxDeviationFrame(*p, doc, 0, true), c.negative)
            << c.frames << " frames, phase " << c.phaseDeg;
    }
}

TEST(Deflection, MaxDeviationWithoutAnimatableSeries) {
    CQuivraDoc doc;
    AddSeries(doc, 0);
    CornerPoint* p = AddFree(doc, 5, 5, 5);
    AddDirection(p, DirPlusY, 1.0, 0.0);
    EXPECT_EQ(Deflection::MaxDeviationFrame(*p, doc, 0, false), -1);
    EXPECT_EQ(Deflection::MaxDeviationFrame(*p, doc, 3, true), -1);

    CViewState st;
    doc.m_selPoints.push_back(p);
    EXPECT_FALSE(st.StartMaxDeviation(doc, false));
    EXPECT_EQ(st.m_bAnimating, 0);
    EXPECT_EQ(doc.m_selPoints.size(), 1u); // nothing happened
}

TEST(ViewState, AnimateAllPauseAndSingleSteps) {
    CQuivraDoc doc;
    AddSeries(doc, 4);
    CViewState unfocused, other; // two windows, neither with the focus
    unfocused.StartAnimation();
    other.StartAnimation();
    unfocused.m_bAnimateWithoutFocus = 1;
    EXPECT_TRUE(unfocused.Tick(doc));
    EXPECT_FALSE(other.Tick(doc));
    EXPECT_EQ(unfocused.m_nFrame, 1);
    unfocused.m_bPaused = 1;
    EXPECT_FALSE(unfocused.Tick(doc));
    EXPECT_EQ(unfocused.m_nFrame, 1);
    // Steps wrap both ways and leave the animation paused; a stopped one starts at frame 0.
    const int steps[][2] = {{-1, 0}, {-1, 3}, {1, 0}, {1, 1}};
    for (const auto& s : steps) {
        EXPECT_TRUE(unfocused.StepFrame(doc, s[0]));
        EXPECT_EQ(unfocused.m_nFrame, s[1]);
    }
    other.StopAnimation();
    EXPECT_TRUE(other.StepFrame(doc, 1));
    EXPECT_TRUE(other.m_bAnimating && other.m_bPaused);
    EXPECT_EQ(other.m_nFrame, 0);
    CQuivraDoc empty;
    EXPECT_FALSE(other.StepFrame(empty, 1));
}

TEST(Deflection, OrbitIsThePathOverAPeriodAndItsPeak) {
    struct Case {
        double ampX, phaseX, ampY, phaseY, ampZ, phaseZ, amplification;
    } cases[] = {
        {4.0, 0.0, 3.0, 90.0, 0.0, 0.0, 1.0},     // ellipse
        {4.0, 30.0, 2.0, 210.0, 0.0, 0.0, 2.0},   // a segment: against each other
        {1.0, 10.0, 2.0, 75.0, 3.0, 300.0, -1.5}, // tilted ellipse in space
    };
    for (const Case& c : cases) {
        CQuivraDoc doc;
        AddSeries(doc, 24, c.amplification);
        CornerPoint* p = AddFree(doc, 10.0, -5.0, 2.0);
        AddDirection(p, DirPlusX, c.ampX, c.phaseX);
        AddDirection(p, DirMinusY, c.ampY, c.phaseY);
        AddDirection(p, DirPlusZ, c.ampZ, c.phaseZ);
        const Deflection::Orbit o = Deflection::OrbitOf(*p, doc, 0);
        double peak = 0.0;
        for (int i = 0; i < 7200; ++i) {
            const double t = i * 2.0 * M_PI / 7200;
            const Vec3d q = Deflection::DisplacedPosition(*p, doc, 0, t);
            const Vec3d d = o.At(t);
            EXPECT_LT(std::hypot(d.x - (q.x - p->m_x), d.y - (q.y - p->m_y), d.z - (q.z - p->m_z)),
                      1e-9);
            peak = std::max(peak, std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z));
        }
        EXPECT_GE(o.Peak(), peak - 1e-12);
        EXPECT_NEAR(o.Peak(), peak, 1e-5 * peak);
        // A series the scene has not (one past the last, or below the first) has no orbit.
        for (int series : {1, -1})
            EXPECT_EQ(Deflection::OrbitOf(*p, doc, series).Peak(), 0.0) << series;
    }
}

// Records out of step with the series (a direction short of a measurement, a series short of
// its amplification) are guarded in both: nothing past them is read, the point stays at rest.
TEST(Deflection, RecordsOutOfStepWithTheSeriesAreLeftAtRest) {
    CQuivraDoc doc;
    AddSeries(doc, 24);
    AddSeries(doc, 24);
    CornerPoint* p = AddFree(doc, 1, 2, 3);
    CornerPoint* q = AddFree(doc, 4, 5, 6);
    MeasDirection* shortOne = AddDirection(p, DirPlusX, 4.0, 30.0);
    AddDirection(q, DirPlusX, 4.0, 30.0);
    // The vectors keep their capacity: a read past the end would find the old values.
    const std::unique_ptr<Measurement> taken(shortOne->m_measurements.back());
    shortOne->m_measurements.pop_back();
    for (int pass = 0; pass < 2; ++pass) {
        const CornerPoint* r = pass ? q : p;
        EXPECT_EQ(Deflection::OrbitOf(*r, doc, 1).Peak(), 0.0) << pass;
        EXPECT_EQ(Deflection::DisplacedPosition(*r, doc, 1, 0.5).x, r->m_x) << pass;
        doc.m_seriesAmplification.pop_back(); // then q, whose direction is whole
    }
}

TEST(ViewState, TickWithoutAnimatableSeriesRepaintsAtFrameZero) {
    struct Case {
        int frames;
        int series;
    } cases[] = {{-1, 0}, {0, 0}, {24, 1}, {24, -2}};
    for (const Case& c : cases) {
        CQuivraDoc doc;
        if (c.frames >= 0)
            AddSeries(doc, c.frames);
        CViewState st;
        st.m_bHasFocus = 1;
        st.m_nCurrentSeries = c.series;
        st.StartAnimation();
        EXPECT_TRUE(st.Tick(doc));
        EXPECT_EQ(st.m_nFrame, 0);
    }
}

TEST(ViewState, AnglesAreNormalised) {
    const double cases[][2] = {{-30, 330}, {0, 0},         {360, 0},        {725, 5},
                               {-720, 0},  {359.5, 359.5}, {-0.25, 359.75}, {3.6e9 + 10, 10}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(CViewState::NormaliseAngle(c[0]), c[1]) << c[0];
    EXPECT_EQ(CViewState::NormaliseAngle(std::nan("")), 0.0);
}

TEST(ViewState, FitZoom) {
    CQuivraDoc empty;
    EXPECT_EQ(CViewState::FitZoom(empty), 5.0);
    CQuivraDoc origin;
    AddFree(origin, 0, 0, 0);
    EXPECT_EQ(CViewState::FitZoom(origin), 5.0);
    CQuivraDoc one;
    AddFree(one, 300, 400, 0);
    EXPECT_EQ(CViewState::FitZoom(one), 2.5);
    CQuivraDoc boxed;
    AddFree(boxed, 10, 0, 0);
    AddBox(boxed, -100, 0, 0, 0, 50, 25); // farthest: (-100, 50, 25) in the object
    EXPECT_DOUBLE_EQ(CViewState::FitZoom(boxed), 1250.0 / std::sqrt(100.0 * 100 + 2500 + 625));
    // A file may hold non-finite points: the fit is made for the others.
    AddFree(one, HUGE_VAL, 0, 0);
    AddFree(one, std::nan(""), 0, 0);
    EXPECT_EQ(CViewState::FitZoom(one), 2.5);
}

TEST(ViewState, WheelRecoversFromAZoomOfZeroOrInfinity) {
    CQuivraDoc one;
    AddFree(one, 300, 400, 0);
    for (double zoom : {0.0, HUGE_VAL, std::nan("")})
        EXPECT_EQ(CViewState::WheelZoom(zoom, 120, &one), 2.5) << zoom;
    EXPECT_DOUBLE_EQ(CViewState::WheelZoom(2.0, 120, &one), 2.0 * std::exp(0.1));
    EXPECT_EQ(CViewState::WheelZoom(1e-323, -120000, &one), 1e-323); // never down to 0
}

} // namespace
