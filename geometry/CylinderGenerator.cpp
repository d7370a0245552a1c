#include "CylinderGenerator.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "CylinderObject.h"
#include "Line.h"

#include <algorithm>
#include <cmath>

namespace {

// Moves a position by `d` along the axis code.
Point3 AlongAxis(Point3 p, std::int32_t axis, double d) {
    switch (axis) {
    case AxisY:
        p.y += d;
        break;
    case AxisZ:
        p.z += d;
        break;
    default:
        p.x += d;
        break;
    }
    return p;
}

} // namespace

CylinderObject* GenerateCylinder(CQuivraDoc* doc, double startAngle, double radius, double length,
                                 CornerPoint* centre, std::int32_t axis, std::int32_t corners,
                                 bool drawCornerLines, bool drawCentreLine, bool twoCircles) {
    auto* cyl = new CylinderObject(doc);
    if (!centre)
        centre = new CornerPoint;
    const Point3 c{centre->m_x, centre->m_y, centre->m_z};
    const int n = std::max(corners, 0);

    cyl->m_nAxis = axis;
    cyl->m_dRadius = radius;
    cyl->m_pCentre = centre;
    cyl->m_dLength = length;
    cyl->m_nCorners = corners;
    cyl->m_dFirstAngle = startAngle;
    // No step without corners rather than an infinite or negative one.
    cyl->m_dAngleStep = corners > 0 ? kFullTurn / corners : 0.0;
    cyl->m_bHasCentreLine = 0;
    cyl->m_pCentreLine = nullptr;

    auto& pts = cyl->m_points;
    pts.reserve(static_cast<std::size_t>(twoCircles ? 2 * n + 2 : n));
    for (int i = 0; i < n; ++i) {
        const double a = i * cyl->m_dAngleStep + startAngle;
        const double ca = std::cos(a);
        // The sine goes through single precision before the radius scales it; stored models
        // depend on the exact coordinates this gives.
        const double sa = static_cast<double>(static_cast<float>(std::sin(a)));
        Point3 p = c;
        switch (axis) {
        case AxisY:
            p.x += radius * ca;
            p.z += radius * sa;
            break;
        case AxisZ:
            p.x += radius * ca;
            p.y += radius * sa;
            break;
        default:
            p.y += radius * ca;
            p.z += radius * sa;
            break;
        }
        pts.push_back(new CornerPoint(p.x, p.y, p.z, doc));
    }
    if (drawCornerLines)
        for (int i = 0; i < n; ++i)
            cyl->m_lines.push_back(new Line(pts[i], pts[(i + 1) % n]));
    for (CornerPoint* p : pts)
        p->m_pOwner = cyl;
    if (!twoCircles)
        return cyl;

    for (int i = 0; i < n; ++i) {
        const Point3 q = AlongAxis({pts[i]->m_x, pts[i]->m_y, pts[i]->m_z}, axis, length);
        pts.push_back(new CornerPoint(q.x, q.y, q.z, doc));
    }
    if (drawCornerLines) {
        for (int i = 0; i < n; ++i)
            cyl->m_lines.push_back(new Line(pts[n + i], pts[n + (i + 1) % n]));
        for (int i = 0; i < n; ++i)
            cyl->m_lines.push_back(new Line(pts[i], pts[n + i]));
    }
    const Point3 c2 = AlongAxis(c, axis, length);
    auto* centre1 = new CornerPoint(c.x, c.y, c.z, doc);
    auto* centre2 = new CornerPoint(c2.x, c2.y, c2.z, doc);
    centre1->m_pOwner = cyl;
    centre2->m_pOwner = cyl;
    pts.push_back(centre1);
    pts.push_back(centre2);
    cyl->m_pCircleCentre1 = centre1;
    cyl->m_pCircleCentre2 = centre2;
    cyl->m_pCentreLine = new Line(centre1, centre2);
    cyl->m_bHasCentreLine = drawCentreLine ? 1 : 0;
    for (int i = n; i < 2 * n; ++i)
        pts[i]->m_pOwner = cyl;
    return cyl;
}

std::int64_t CylinderPointCount(std::int32_t corners) {
    // Two circles and their two centres at most.
    return 2 * static_cast<std::int64_t>(std::clamp(corners, 0, kMaxCylinderCorners)) + 2;
}

CylinderObject* AddCylinder(CQuivraDoc& doc, const CylinderInput& in) {
    const CornerPoint& o = *doc.m_pOrigin;
    auto* centre = new CornerPoint;
    centre->m_x = in.m_centre.x + o.m_x;
    centre->m_y = in.m_centre.y + o.m_y;
    centre->m_z = in.m_centre.z + o.m_z;
    const double radius = in.m_dRadius <= 0.0 ? -in.m_dRadius : in.m_dRadius;
    // Every point lies within |radius| + |length| of the centre along each axis: when that
    // bound is finite, so is every coordinate the generator makes.
    for (double c : {centre->m_x, centre->m_y, centre->m_z}) {
        if (!std::isfinite(std::fabs(c) + radius + std::fabs(in.m_dLength))) {
            delete centre;
            return nullptr;
        }
    }
    if (!doc.HasPointNumbers(CylinderPointCount(in.m_nCorners))) {
        delete centre;
        return nullptr;
    }
    doc.SaveUndoState();
    doc.SetModifiedFlag(true);
    CylinderObject* cyl =
        GenerateCylinder(&doc, in.m_dAngleDeg * kDegreeToRadian, radius, in.m_dLength, centre,
                         in.m_nAxis, std::min(in.m_nCorners, kMaxCylinderCorners),
                         in.m_bCornerLines, in.m_bCentreLine, in.m_dLength > 0.0);
    doc.m_objects.push_back(cyl);
    return cyl;
}
