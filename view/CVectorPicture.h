#pragma once

#include <QColor>
#include <QPointF>

#include <vector>

class COffscreenGL;
class CQuivraDoc;
class CSceneRenderer;
class CViewState;
class QPainter;

// One frame of a scene as line art: the renderer draws it as always while GL hands back the
// projected lines, points and triangles instead of pixels (feedback mode); the labels, caption
// and colour bar are then painted as text and shapes by the renderer itself. Painted onto any
// QPainter (printer, PDF, SVG), it is sharp at every zoom and shows what the view shows.
class CVectorPicture {
public:
    struct Vertex {
        QPointF at; // picture coordinates, y downward
        QColor colour;
    };
    enum Kind { Point, Line, Polygon };
    struct Item {
        Kind kind;
        float size; // the line width or the point diameter, in picture pixels
        std::vector<Vertex> vertices;
        double depth; // mean window depth: 0 near, 1 far
    };

    // Draws the frame of `state` at width x height into `gl` and keeps its geometry as line
    // art. False when nothing could be drawn.
    bool Capture(COffscreenGL& gl, CSceneRenderer& renderer, const CQuivraDoc& doc,
                 CViewState& state, int width, int height);

    // Paints the captured geometry with its top-left corner at the painter's origin, one unit
    // per pixel of the frame, on a white ground.
    void Paint(QPainter& painter) const;

    // Paints the frame's labels, caption and colour bar onto `painter` (same units as Paint),
    // drawing the frame once more in feedback mode so that they land exactly where the
    // renderer places them. Recording them for later would not do: a recorded picture
    // replays its text at its own resolution, wrong on a printer.
    static bool PaintOverlay(QPainter& painter, COffscreenGL& gl, CSceneRenderer& renderer,
                             const CQuivraDoc& doc, CViewState& state, int width, int height);

    // Capture, Paint and PaintOverlay in one: the whole frame onto `painter`.
    static bool Draw(QPainter& painter, COffscreenGL& gl, CSceneRenderer& renderer,
                     const CQuivraDoc& doc, CViewState& state, int width, int height);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    const std::vector<Item>& Items() const { return m_items; }
    int Count(Kind kind) const;

private:
    // Reads GL's feedback stream (GL_3D_COLOR) of `count` values.
    void Parse(const std::vector<float>& buffer, int count);

    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<Item> m_items;
};
