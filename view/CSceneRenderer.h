#pragma once

#include "CLabelPainter.h"

#include <QString>

#include <functional>

class CornerPoint;
class COffscreenGL;
class CQuivraDoc;
class CViewState;

// Draws one frame of a scene: the paint cycle's camera transform and the drawing routine.
// Window-free: the view widget, qvrtool and the image output all draw through it, so they
// show the same pixels.
class CSceneRenderer {
public:
    CSceneRenderer() = default;

    // The paint cycle: angles into [0, 360), context current, white clear colour, depth test,
    // camera rotation and zoom on a saved matrix, DrawScene, matrix restored. Draws nothing
    // (and returns false) when the frame or the client area is empty.
    bool RenderFrame(COffscreenGL& gl, const CQuivraDoc& doc, CViewState& state, int clientWidth,
                     int clientHeight);

    // One frame into the current context, in the fixed order of the scene's layers. Expects the
    // eye translation, the rotation and the scale (zoom / 1000, passed as `scale`) on the
    // model-view matrix; leaves the matrix stacks as it found them and waits for the frame.
    // While animating (with a series to animate) it sets state.m_dAnimPhase from the frame.
    void DrawScene(const CQuivraDoc& doc, CViewState& state, int left, int top, int right,
                   int bottom, double scale);

    // Called when a label's position cannot be projected ("Could not project point."); the
    // view shows it in a message box, the command line tool prints it.
    std::function<void(const QString&)> m_fnReport;

private:
    void DrawAxesInset(const CViewState& state, int w, int h, double scale);
    void DrawLines(const CQuivraDoc& doc, CViewState& state);
    void DrawArrows(const CQuivraDoc& doc, const CViewState& state);
    void DrawLabels(const CQuivraDoc& doc, const CViewState& state, int w, int h);
    void DrawMarkers(const CQuivraDoc& doc);
    // Writes `text` at the projection of (x, y, z) under the matrices read last.
    void Label(const QString& text, double x, double y, double z, int w, int h);
    void ReadMatrices();

    CLabelPainter m_labels;
    double m_modelView[16] = {};
    double m_projection[16] = {};
    int m_viewport[4] = {};
};
