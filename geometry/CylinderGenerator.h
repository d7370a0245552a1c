#pragma once

#include "Point3.h"

#include <cstdint>

class CornerPoint;
class CQuivraDoc;
class CylinderObject;

// Degrees to radians with the program's stored constant (3.1415926 / 180), not pi / 180: files
// and measurements made with it must keep their exact coordinates.
constexpr double kDegreeToRadian = 0.017453292222222222;
// One full turn as stored (not 2 pi); the angle step is this over the corner count.
constexpr double kFullTurn = 6.28318;
// The most corners a circle may have. Far beyond any useful polygon; it keeps a mistyped count
// from exhausting memory (each corner is two points and three lines).
constexpr std::int32_t kMaxCylinderCorners = 10000;

enum CylinderAxis : std::int32_t { AxisX = 1, AxisY = 2, AxisZ = 4 };

// What the user gives for a cylinder; the centre is relative to the local origin, the angle in
// degrees.
struct CylinderInput {
    Point3 m_centre{0.0, 0.0, 0.0};
    std::int32_t m_nAxis = AxisX;
    double m_dRadius = 20.0;
    std::int32_t m_nCorners = 8;
    double m_dAngleDeg = 0.0;
    double m_dLength = 100.0;
    bool m_bCornerLines = true;
    bool m_bCentreLine = false;
};

// Builds a cylinder around an axis through `centre` (absolute, taken over as m_pCentre; no
// document, no number). Points, numbered from the document counter: the first circle, then with
// twoCircles the second circle `length` further along the axis and the two circle centres.
// Lines with drawCornerLines: the first polygon, then the second polygon and the side lines.
// With twoCircles the centre line always exists; drawCentreLine only sets its flag. The caller
// appends the object.
CylinderObject* GenerateCylinder(CQuivraDoc* doc, double startAngle, double radius, double length,
                                 CornerPoint* centre, std::int32_t axis, std::int32_t corners,
                                 bool drawCornerLines, bool drawCentreLine, bool twoCircles);

// Adds a cylinder from user input: |radius|, two circles only for a positive length; takes the
// undo snapshot, marks the document modified and appends the object. Corner counts above
// kMaxCylinderCorners are the caller's to refuse; here they are clamped. When a coordinate
// could leave the finite doubles, or the point numbers are used up, nothing happens (no
// snapshot either) and the result is null.
CylinderObject* AddCylinder(CQuivraDoc& doc, const CylinderInput& input);
// The most corner points a cylinder of `corners` per circle numbers (for the numbering check).
std::int64_t CylinderPointCount(std::int32_t corners);
