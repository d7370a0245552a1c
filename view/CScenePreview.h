#pragma once

class CQuivraDoc;
class CViewState;
class QPainter;

// The model's lines at rest, drawn with QPainter through the frame's camera: what a view shows
// for the moment between its window appearing and the GL library being ready at start, so that
// the model is on screen at once. The next frame replaces it.
class CScenePreview {
public:
    // Paints the white background and the lines into a client area of width x height; false
    // (background only) when the scene has no line in front of the eye.
    static bool Paint(QPainter& painter, const CQuivraDoc& doc, const CViewState& state, int width,
                      int height);
};
