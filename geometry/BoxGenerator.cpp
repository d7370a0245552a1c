#include "BoxGenerator.h"

#include "BoxObject.h"
#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "Line.h"

#include <cmath>

BoxObject* GenerateBox(CQuivraDoc* doc, const Point3& p1, const Point3& p2, bool generateLines) {
    auto* box = new BoxObject(doc);
    const Point3 corners[8] = {
        {p1.x, p1.y, p1.z}, {p2.x, p1.y, p1.z}, {p2.x, p2.y, p1.z}, {p1.x, p2.y, p1.z},
        {p1.x, p1.y, p2.z}, {p2.x, p1.y, p2.z}, {p2.x, p2.y, p2.z}, {p1.x, p2.y, p2.z},
    };
    box->m_points.reserve(8);
    for (const Point3& c : corners) {
        auto* p = new CornerPoint(c.x, c.y, c.z, doc);
        p->m_pOwner = box;
        box->m_points.push_back(p);
    }
    if (generateLines) {
        // 0-based ends: the p1.z face, the uprights, the p2.z face.
        static const int ends[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 4}, {1, 5},
                                        {2, 6}, {3, 7}, {4, 5}, {5, 6}, {6, 7}, {7, 4}};
        box->m_lines.reserve(12);
        for (const auto& e : ends)
            box->m_lines.push_back(new Line(box->m_points[e[0]], box->m_points[e[1]]));
    }
    return box;
}

BoxObject* AddBox(CQuivraDoc& doc, const BoxInput& in) {
    const CornerPoint& o = *doc.m_pOrigin;
    // The origin shifts the positions; the displacement is already a difference.
    const Point3 p1{in.m_p1.x + o.m_x + in.m_displacement.x,
                    in.m_p1.y + o.m_y + in.m_displacement.y,
                    in.m_p1.z + o.m_z + in.m_displacement.z};
    const Point3 p2{in.m_p2.x + o.m_x + in.m_displacement.x,
                    in.m_p2.y + o.m_y + in.m_displacement.y,
                    in.m_p2.z + o.m_z + in.m_displacement.z};
    for (double v : {p1.x, p1.y, p1.z, p2.x, p2.y, p2.z})
        if (!std::isfinite(v))
            return nullptr;
    if (!doc.HasPointNumbers(8))
        return nullptr;
    doc.SaveUndoState();
    doc.SetModifiedFlag(true);
    BoxObject* box = GenerateBox(&doc, p1, p2, in.m_bGenerateLines);
    doc.m_objects.push_back(box);
    return box;
}
