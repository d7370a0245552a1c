#pragma once

class CornerPoint;
class CQuivraDoc;

struct Vec3d {
    double x = 0.0, y = 0.0, z = 0.0;
};

// The operating deflection shape: where a corner point is at a given animation phase.
class Deflection {
public:
    // Degrees to radians and the full turn, both deliberately short of full precision: frames
    // and exported images must match those of earlier releases.
    static constexpr double kDegToRad = 0.017453292222222222;
    static constexpr double kFullTurn = 6.28318;

    // Frames per period of `series`, or 0 when the series cannot be animated: no such series,
    // or a frames-per-period below 1. Every caller treats 0 as "no series", so neither the
    // frame step nor the phase ever divides by it.
    static int FramesPerPeriod(const CQuivraDoc& doc, int series);
    // Phase of `frame`: frame * 6.28318 / N (N >= 1).
    static double FramePhase(int frame, int framesPerPeriod);
    // Position of `p` at `phase` for `series`: every direction adds
    // sin(phase_deg * k + phase) * vector * amplitude * amplification. A direction without a
    // measurement for the series adds nothing.
    static Vec3d DisplacedPosition(const CornerPoint& p, const CQuivraDoc& doc, int series,
                                   double phase);
    // The frame of largest squared deviation in the first half period [0, N/2) or, when
    // `negative`, the second half [N/2, N); strict comparison, so ties keep the earlier frame
    // and no deviation at all gives 0. -1 when the series cannot be animated.
    static int MaxDeviationFrame(const CornerPoint& p, const CQuivraDoc& doc, int series,
                                 bool negative);

    // The path of `p` over a period: its displacement at phase t is
    // cosPart * cos(t) + sinPart * sin(t), an ellipse about the rest position (a segment when
    // all its directions swing in phase or against each other). Zero without a series.
    struct Orbit {
        Vec3d cosPart, sinPart;
        // The largest displacement over the whole period (the ellipse's semi-major axis).
        double Peak() const;
        Vec3d At(double phase) const;
    };
    static Orbit OrbitOf(const CornerPoint& p, const CQuivraDoc& doc, int series);
};
