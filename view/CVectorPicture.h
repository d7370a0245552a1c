#pragma once

#include <QColor>
#include <QPicture>
#include <QPointF>

#include <vector>

class COffscreenGL;
class CQuivraDoc;
class CSceneRenderer;
class CViewState;
class QPainter;

// One frame of a scene as line art: the renderer draws it as always while GL hands back the
// projected lines, points and triangles instead of pixels (feedback mode), and the labels,
// caption and colour bar are recorded as text and shapes. Painted onto any QPainter (printer,
// PDF, SVG), it is sharp at every zoom and shows exactly what the view shows.
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

    // Draws the frame of `state` at width x height into `gl` and keeps it as line art. False
    // when nothing could be drawn.
    bool Capture(COffscreenGL& gl, CSceneRenderer& renderer, const CQuivraDoc& doc,
                 CViewState& state, int width, int height);

    // Paints the picture with its top-left corner at the painter's origin, one unit per pixel
    // of the captured frame, on a white ground.
    void Paint(QPainter& painter) const;

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
    QPicture m_overlay; // labels and panels, painted after the geometry
};
