#pragma once

#include <QPoint>

#include <cstdint>

class BoxObject;
class CornerPoint;
class COffscreenGL;
class CQuivraDoc;
class CViewState;
class CylinderObject;
class Line;
class MeasDirection;

// Small scenes for the view tests, built through the records' own constructors.
namespace scene {

CornerPoint* AddPoint(CQuivraDoc& doc, double x, double y, double z);
Line* AddLine(CQuivraDoc& doc, CornerPoint* a, CornerPoint* b);
// A direction with the same amplitude and phase in every series of the document.
MeasDirection* AddDirection(CornerPoint* p, std::uint16_t code, double amplitude, double phase);
// Appends a series with `frames` frames per period and the given amplification.
void AddSeries(CQuivraDoc& doc, int frames, double amplification = 1.0);
// An axis-parallel box with its 8 points and 12 lines.
BoxObject* AddBox(CQuivraDoc& doc, double x0, double y0, double z0, double x1, double y1,
                  double z1);
// A cylinder stand-in: two points joined by its centre line (and one ordinary line).
CylinderObject* AddCentreLineObject(CQuivraDoc& doc, double x0, double y0, double z0, double x1,
                                    double y1, double z1);

// Where a model point lands in the frame of `gl` (context current, client size w x h) under the
// camera of `st`: the pixel (column, row from the top) that holds the projected position.
// `withPan` false gives the rotation centre's transform. `inset` projects with the axes
// inset's transform and viewport.
QPoint PixelOf(COffscreenGL& gl, const CViewState& st, double x, double y, double z,
               bool withPan = true, bool inset = false);
// Window coordinates of the projection (x, y upward), same transform as PixelOf.
void Project(COffscreenGL& gl, const CViewState& st, double x, double y, double z, double* wx,
             double* wy, bool withPan = true, bool inset = false);

} // namespace scene
