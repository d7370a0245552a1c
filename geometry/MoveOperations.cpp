#include "MoveOperations.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "SceneObject.h"

#include <cmath>
#include <unordered_set>

namespace {

bool IsFinite(double x, double y, double z) {
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
}

bool MovedStaysFinite(const CornerPoint& p, const Point3& d) {
    return IsFinite(p.m_x + d.x, p.m_y + d.y, p.m_z + d.z);
}

void Shift(CornerPoint& p, const Point3& d) {
    p.m_x += d.x;
    p.m_y += d.y;
    p.m_z += d.z;
}

// The selected points that are live points of the document, each once, in selection order.
std::vector<CornerPoint*> LiveSelectedPoints(const CQuivraDoc& doc) {
    std::vector<CornerPoint*> result;
    if (doc.m_selPoints.empty())
        return result;
    std::unordered_set<const CornerPoint*> live;
    live.reserve(doc.PointCount());
    doc.ForEachPoint([&live](CornerPoint* p) { live.insert(p); });
    std::unordered_set<const CornerPoint*> seen;
    for (CornerPoint* p : doc.m_selPoints)
        if (live.count(p) && seen.insert(p).second)
            result.push_back(p);
    return result;
}

// The selected objects that are live objects of the document, each once, in selection order.
std::vector<SceneObject*> LiveSelectedObjects(const CQuivraDoc& doc) {
    std::vector<SceneObject*> result;
    if (doc.m_selObjects.empty())
        return result;
    const std::unordered_set<const SceneObject*> live(doc.m_objects.begin(), doc.m_objects.end());
    std::unordered_set<const SceneObject*> seen;
    for (SceneObject* o : doc.m_selObjects)
        if (live.count(o) && seen.insert(o).second)
            result.push_back(o);
    return result;
}

void EmptySelection(CQuivraDoc& doc) {
    doc.m_selPoints.clear();
    doc.m_selObjects.clear();
}

void BeginStructuralEdit(CQuivraDoc& doc) {
    doc.SaveUndoState();
    doc.SetModifiedFlag(true);
}

} // namespace

bool MoveSelectedPoints(CQuivraDoc& doc, const Point3& d) {
    const std::vector<CornerPoint*> points = LiveSelectedPoints(doc);
    for (const CornerPoint* p : points)
        if (!MovedStaysFinite(*p, d))
            return false;
    BeginStructuralEdit(doc);
    for (CornerPoint* p : points)
        Shift(*p, d);
    EmptySelection(doc);
    return true;
}

bool CopySelectedPoints(CQuivraDoc& doc, const Point3& d, std::vector<CornerPoint*>* copies) {
    const std::vector<CornerPoint*> points = LiveSelectedPoints(doc);
    for (const CornerPoint* p : points)
        if (!MovedStaysFinite(*p, d))
            return false;
    if (!doc.HasPointNumbers(static_cast<std::int64_t>(points.size())))
        return false;
    BeginStructuralEdit(doc);
    doc.m_freePoints.reserve(doc.m_freePoints.size() + points.size());
    for (const CornerPoint* p : points) {
        // Position only: a copy is a free point with no directions and no lines.
        auto* copy = new CornerPoint(p->m_x + d.x, p->m_y + d.y, p->m_z + d.z, &doc);
        doc.m_freePoints.push_back(copy);
        if (copies)
            copies->push_back(copy);
    }
    EmptySelection(doc);
    return true;
}

bool MoveSelectedObjects(CQuivraDoc& doc, const Point3& d) {
    const std::vector<SceneObject*> objects = LiveSelectedObjects(doc);
    for (const SceneObject* o : objects) {
        if (o->GetType() == SceneObject::TypeCylinder && o->m_pCentre &&
            !MovedStaysFinite(*o->m_pCentre, d))
            return false;
        for (const CornerPoint* p : o->m_points)
            if (!MovedStaysFinite(*p, d))
                return false;
    }
    BeginStructuralEdit(doc);
    for (SceneObject* o : objects) {
        // The centre is outside m_points; the two circle centres are inside and move below.
        if (o->GetType() == SceneObject::TypeCylinder && o->m_pCentre)
            Shift(*o->m_pCentre, d);
        for (CornerPoint* p : o->m_points)
            Shift(*p, d);
    }
    EmptySelection(doc);
    return true;
}

bool MoveLocalOrigin(CQuivraDoc& doc, const Point3& d) {
    if (!doc.m_pOrigin || !MovedStaysFinite(*doc.m_pOrigin, d))
        return false;
    Shift(*doc.m_pOrigin, d);
    EmptySelection(doc);
    return true;
}
