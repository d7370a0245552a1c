#pragma once

#include "CHaloLabels.h"
#include "CLabelPainter.h"
#include "CLineRaster.h"
#include "COverlayCache.h"
#include "CRestLayer.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <vector>

class CornerPoint;
class COffscreenGL;
class CQuivraDoc;
class CViewState;
class QPainter;

// Draws one frame of a scene: the paint cycle's camera transform and the drawing routine.
// Window-free: the view widget, qvrtool and the image output all draw through it, so they
// show the same pixels.
class CSceneRenderer {
public:
    // What the corner-point markers look like in a drawing style: the points' size and colour,
    // and the colours of the highlight and selection rings.
    struct MarkerColours {
        float pointSize;
        float point[3], highlight[3], selectedPoint[3], selectedObject[3];
    };
    CSceneRenderer() = default;

    // The paint cycle: angles into [0, 360), context current, white clear colour, depth test,
    // camera rotation and zoom on a saved matrix, DrawScene, matrix restored. Draws nothing
    // (and returns false) when the frame or the client area is empty.
    bool RenderFrame(COffscreenGL& gl, const CQuivraDoc& doc, CViewState& state, int clientWidth,
                     int clientHeight);

    // The camera on the current model-view matrix, as the frame uses it: rotations about X, Y,
    // Z (degrees, single precision), scale 0.001, scale zoom, and with `withPan` the pan
    // (single precision). Picking and panning build their matrices with it.
    static void ApplyCameraTransform(const CViewState& state, bool withPan);

    // One frame into the current context, in the fixed order of the scene's layers. Expects the
    // eye translation, the rotation and the scale (zoom / 1000, passed as `scale`) on the
    // model-view matrix; leaves the matrix stacks as it found them and waits for the frame.
    // While animating (with a series to animate) it sets state.m_dAnimPhase from the frame.
    void DrawScene(const CQuivraDoc& doc, CViewState& state, int left, int top, int right,
                   int bottom, double scale);

    // Called when a label's position cannot be projected ("Could not project point."); the
    // view shows it in a message box, the command line tool prints it.
    std::function<void(const QString&)> m_fnReport;

    // Whether an animated frame may take the unchanged rest of the model from the rest layer
    // (same pixels, less drawing). Off: every layer is drawn every frame.
    bool m_bUseRestLayer = true;
    // Whether long runs of lines and points go to the rasteriser in batches while the frame is
    // still being drawn (same pixels, less waiting). Off: each run is submitted whole.
    bool m_bSubmitInBatches = true;
    // Whether the clear look's model lines are drawn, smoothed, by CLineRaster over the
    // finished frame (the same look in a fraction of the time). Off: GL's smoothed lines.
    bool m_bRasterLines = true;
    // From how many lines that holds at rest too: below it the depth read back for the markers
    // costs more than GL's smoothing of so few lines.
    std::size_t m_nRasterAtRestFrom = kReduceMinLines;
    // Whether the clear look writes its caption into the frame.
    bool m_bCaption = true;
    // Set while a vector copy of the frame is taken (CVectorPicture): labels, caption and
    // colour bar go to this painter as text and shapes instead of into the pixels, and every
    // layer is drawn, none taken from the rest layer.
    QPainter* m_pVectorOverlay = nullptr;
    // Whether the last frame took its rest lines from the rest layer.
    bool LastFrameLayered() const { return m_bLastFrameLayered; }

    // Set by the view while the picture moves (a drag, a wheel zoom, a running animation).
    // A big scene whose last full frame was slower than the budget is then drawn reduced: no
    // markers, no labels, its lines thinned (ReducedLines.h) and, in the clear look, not
    // smoothed. Off (the default, and for every saved or copied frame): always the full frame.
    bool m_bMoving = false;
    // A full frame slower than this cannot keep up with the mouse: 10,000 lines take 12-25 ms
    // here, 1,000 lines 2-3 ms. The floor keeps small models full however loaded the machine.
    static constexpr double kFrameBudgetMs = 8.0;
    static constexpr std::size_t kReduceMinLines = 3000;
    double m_dFrameBudgetMs = kFrameBudgetMs; // tests set 0 to leave the floor alone in charge
    // A reduced frame draws about this many lines at most (whole chains thinned evenly).
    static constexpr std::size_t kReducedLines = 4000;
    bool LastFrameReduced() const { return m_bLastFrameReduced; }
    // Milliseconds the last full frame took to draw (0 before the first).
    double LastFullFrameMs() const { return m_dLastFullMs; }
    // Every line of the scene, object lines included (not centre lines).
    static std::size_t LineCount(const CQuivraDoc& doc);
    // The model length of the clear look's direction arrows: kClearArrowPixels on screen at the
    // rotation centre's depth, in a frame `height` pixels high.
    static constexpr double kClearArrowPixels = 30.0;
    static double ClearArrowLength(const CViewState& state, int height);
    // The clear look's labels of the last frame (for tests: where they were placed).
    const CHaloLabels& ClearLabels() const { return m_haloLabels; }
    // The largest displacement of any point over the period of the last clear frame (the top
    // of its colour scale); 0 at rest.
    double LastPeak() const { return m_dLastPeak; }

private:
    void DrawClassicScene(const CQuivraDoc& doc, CViewState& state, int w, int h, double scale);
    void DrawAxesInset(const CViewState& state, int w, int h, double scale);
    void DrawDeflectedLines(const CQuivraDoc& doc, CViewState& state);
    void DrawRestLines(const CQuivraDoc& doc, const CViewState& state);
    // Whether this animated frame takes its rest lines and arrows from the rest layer
    // (building it with `draw` when the picture stayed put since the last frame); `behindFrom`
    // as CRestLayer::Build takes it.
    bool UseRestLayer(const CQuivraDoc& doc, const CViewState& state, int w, int h,
                      const std::function<void()>& draw, quint32 behindFrom = 0);
    // Puts the rest layer over the finished frame whose depth was read before its glFinish;
    // false (layer dropped) when it did not fit.
    bool ApplyRestLayer(bool depthRead);

    // --- the clear look (CSceneRendererClear.cpp) ---
    void DrawClearScene(const CQuivraDoc& doc, CViewState& state, int w, int h, double scale);
    // In a reduced frame: lines from here on unsmoothed and unblended.
    void UnsmoothedIfReduced();
    void DrawClearInset(const CViewState& state, int w, int h, double scale);
    void DrawClearModel(const CQuivraDoc& doc, const CViewState& state, bool behind);
    void DrawClearDeflected(const CQuivraDoc& doc, const CViewState& state, double peak);
    void DrawClearArrows(const CQuivraDoc& doc, const CViewState& state, int w, int h);
    void DrawClearOrbits(const CQuivraDoc& doc, const CViewState& state, double peak);
    void AddClearLabels(const CQuivraDoc& doc, const CViewState& state, bool moving, int h);
    // Labels, caption and colour bar painted over the finished frame.
    void PaintClearOverlay(const CQuivraDoc& doc, const CViewState& state, int w, int h,
                           bool moving);
    void PaintClearPanels(QPainter& painter, const CQuivraDoc& doc, const CViewState& state, int w,
                          int h, bool moving);
    quint64 RestLayerKey(const CQuivraDoc& doc, const CViewState& state, int w, int h) const;
    void WritePendingLabels(int w, int h);
    void DrawArrows(const CQuivraDoc& doc, const CViewState& state);
    void DrawLabels(const CQuivraDoc& doc, const CViewState& state, int w, int h);
    void DrawMarkers(const CQuivraDoc& doc, const MarkerColours& colours);
    static const MarkerColours kClassicMarkers;
    // Writes `text` at the projection of (x, y, z) under the matrices read last.
    void Label(const QString& text, double x, double y, double z, int w, int h);
    void ReadMatrices();

    struct PendingLabel {
        QString text;
        int left, top;
    };

    CLabelPainter m_labels;
    CHaloLabels m_haloLabels;
    COverlayCache m_overlays;
    double m_dLastPeak = 0.0;
    // The largest displacement of the period, and the fingerprint of what it was worked out from.
    double m_dKeptPeak = 0.0;
    quint64 m_peakKey = 0;
    CRestLayer m_restLayer;
    // The model lines of this frame, when CLineRaster draws them.
    CLineRaster m_lineRaster;
    bool m_bRasterThisFrame = false;
    bool m_bModelByRaster = false;
    quint64 m_lastLayerKey = 0;
    bool m_bDeferLabels = false;
    bool m_bLastFrameLayered = false;
    std::vector<PendingLabel> m_pendingLabels;
    // The frame being drawn is reduced: lines thinned by m_nStride (1 in a full frame).
    bool m_bReduced = false;
    int m_nStride = 1;
    bool m_bLastFrameReduced = false;
    double m_dLastFullMs = 0.0;
    double m_modelView[16] = {};
    double m_projection[16] = {};
    int m_viewport[4] = {};
};
