#pragma once

#include <cstdint>

class CornerPoint;
class CQuivraDoc;

// What one scene view shows and how: camera, display toggles and animation state. Plain data
// with the animation rules, shared by the view widget and the headless renderer.
class CViewState {
public:
    // --- camera (degrees, factor, model units) ---
    double m_dRotX = 0.0;
    double m_dRotY = 0.0;
    double m_dRotZ = 0.0;
    double m_dZoom = 5.0;
    double m_dPanX = 0.0;
    double m_dPanY = 0.0;
    double m_dPanZ = 0.0;

    // --- display toggles ---
    std::int32_t m_nLineWidth = 1;
    std::int32_t m_bShowDirections = 0;
    std::int32_t m_bShowLines = 1;
    std::int32_t m_bShowBase = 1;
    std::int32_t m_bShowCenterLines = 1;
    std::int32_t m_bShowPointNumbers = 0;
    std::int32_t m_bShowDirectionNumbers = 0;
    // The drawing style: the classic pixels, or the clear look (anti-aliased, coloured by
    // displacement, captioned).
    enum Look : std::int32_t { LookClassic = 0, LookClear = 1 };
    std::int32_t m_nLook = LookClassic;
    // Clear look only: the ellipse each moving point traces over a period.
    std::int32_t m_bShowOrbits = 0;
    // Turning keeps the model's centre in place instead of the world origin.
    std::int32_t m_bTurnAboutCentre = 0;

    // --- animation ---
    std::int32_t m_nCurrentSeries = 0;
    std::int32_t m_bAnimating = 0;
    std::int32_t m_bHasFocus = 0;
    std::int32_t m_nFrame = 0;
    std::int32_t m_nStopFrame = -1; // -1: free running
    double m_dAnimPhase = 0.0;      // radians, derived from m_nFrame
    // Frozen at the current frame (the timer keeps running, nothing advances).
    std::int32_t m_bPaused = 0;
    // Advance without the keyboard focus too (several views compared side by side).
    std::int32_t m_bAnimateWithoutFocus = 0;

    // Brings each rotation angle into [0, 360) and stores it so.
    void NormaliseAngles();
    static double NormaliseAngle(double degrees);

    // The zoom of a view's first update: the farthest corner point from the model origin lies
    // 1.25 eye units from the rotation centre; 5.0 when there is no such distance. Points with
    // a non-finite coordinate are left out.
    static double FitZoom(const CQuivraDoc& doc);
    // The zoom after a wheel turn of `steps` eighths of a degree (positive: closer). A zoom of
    // 0 or one that is not finite cannot be scaled back by any factor: the wheel then starts
    // again from the fit of `doc` (5.0 without a document).
    static double WheelZoom(double zoom, int steps, const CQuivraDoc* doc);

    // Plain start: free running from frame 0.
    void StartAnimation();
    void StopAnimation();
    // One timer tick. Returns whether the view must repaint.
    bool Tick(const CQuivraDoc& doc);
    // One frame forward (or back), frozen there: the animation is paused (and started when it
    // was not running). False without a series to step through.
    bool StepFrame(const CQuivraDoc& doc, int delta);
    // Runs the animation up to the frame of largest deviation of the first selected point
    // (first half period, or the second one when `negative`) and freezes it there. Clears the
    // point selection. Returns false (and changes nothing) when there is nothing to search.
    // `wasAnimating` tells the caller whether the timer already runs.
    bool StartMaxDeviation(CQuivraDoc& doc, bool negative, bool* wasAnimating = nullptr);
};
