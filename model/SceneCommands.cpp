#include "SceneCommands.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "CylinderObject.h"
#include "Line.h"
#include "MeasDirection.h"

#include <algorithm>

namespace {

SceneObject* CommonOwner(const CornerPoint* a, const CornerPoint* b) {
    return a->m_pOwner && a->m_pOwner == b->m_pOwner ? a->m_pOwner : nullptr;
}

bool Joins(const Line* l, const CornerPoint* a, const CornerPoint* b) {
    return (l->m_pPointA == a && l->m_pPointB == b) || (l->m_pPointA == b && l->m_pPointB == a);
}

} // namespace

int SceneCommands::DrawLines(CQuivraDoc& doc) {
    doc.SaveUndoState();
    doc.SetModifiedFlag();
    int made = 0;
    for (std::size_t i = 0; i + 1 < doc.m_selPoints.size(); ++i) {
        CornerPoint* a = doc.m_selPoints[i];
        CornerPoint* b = doc.m_selPoints[i + 1];
        auto* line = new Line(a, b);
        if (SceneObject* o = CommonOwner(a, b))
            o->m_lines.push_back(line);
        else
            doc.m_freeLines.push_back(line);
        ++made;
    }
    return made;
}

int SceneCommands::DeleteLines(CQuivraDoc& doc) {
    doc.SaveUndoState();
    doc.SetModifiedFlag();
    int removed = 0;
    for (std::size_t i = 0; i + 1 < doc.m_selPoints.size(); ++i) {
        CornerPoint* a = doc.m_selPoints[i];
        CornerPoint* b = doc.m_selPoints[i + 1];
        SceneObject* o = CommonOwner(a, b);
        std::vector<Line*>& lines = o ? o->m_lines : doc.m_freeLines;
        auto it = std::find_if(lines.begin(), lines.end(),
                               [a, b](const Line* l) { return Joins(l, a, b); });
        if (it != lines.end()) {
            delete *it;
            lines.erase(it);
            ++removed;
        }
    }
    return removed;
}

void SceneCommands::DeleteCornerPoints(CQuivraDoc& doc) {
    doc.SaveUndoState();
    doc.SetModifiedFlag();
    // A point selected twice is destroyed once.
    std::vector<CornerPoint*> points;
    for (CornerPoint* p : doc.m_selPoints)
        if (std::find(points.begin(), points.end(), p) == points.end())
            points.push_back(p);
    doc.ClearSelection();
    for (CornerPoint* p : points)
        delete p;
}

void SceneCommands::DeleteObjects(CQuivraDoc& doc) {
    doc.SaveUndoState();
    doc.SetModifiedFlag();
    std::vector<SceneObject*> objects;
    for (SceneObject* o : doc.m_selObjects)
        if (std::find(objects.begin(), objects.end(), o) == objects.end())
            objects.push_back(o);
    doc.ClearSelection();
    for (SceneObject* o : objects)
        delete o;
}

bool SceneCommands::AlignCornerPoints(CQuivraDoc& doc) {
    if (doc.m_selPoints.size() < 2 || doc.m_selObjects.empty())
        return false;
    const CornerPoint* from = doc.m_selPoints[0];
    const CornerPoint* to = doc.m_selPoints[1];
    const double dx = to->m_x - from->m_x, dy = to->m_y - from->m_y, dz = to->m_z - from->m_z;
    SceneObject* o = doc.m_selObjects[0];
    doc.SaveUndoState();
    doc.SetModifiedFlag();
    if (o->GetType() == SceneObject::TypeCylinder && o->m_pCentre) {
        o->m_pCentre->m_x += dx;
        o->m_pCentre->m_y += dy;
        o->m_pCentre->m_z += dz;
    }
    for (CornerPoint* p : o->m_points) {
        p->m_x += dx;
        p->m_y += dy;
        p->m_z += dz;
    }
    return true;
}

SceneCommands::DirectionChange SceneCommands::SetMeasDirection(CQuivraDoc& doc, CornerPoint* point,
                                                               std::uint16_t code) {
    const bool wasModified = doc.IsModified();
    doc.SetModifiedFlag();
    const std::uint16_t opposite = OppositeDirectionCode(code);
    bool removed = false;
    auto& dirs = point->m_directions;
    for (std::size_t i = 0; i < dirs.size();) {
        MeasDirection* d = dirs[i];
        if (opposite && d->m_nCode == opposite) {
            // The replacement keeps the old number and uses none of the counter's.
            const std::int32_t next = doc.m_nNextDirectionNumber;
            auto* fresh = new MeasDirection(code, point);
            fresh->m_nNumber = d->m_nNumber;
            doc.m_nNextDirectionNumber = next;
            dirs[i] = fresh;
            delete d;
            doc.m_laterEdits.Note(SceneChanges::DirectionTurned);
            return DirectionChange::Replaced;
        }
        if (d->m_nCode == code) {
            if (!doc.m_bMeasEdited) {
                // Close the gap. Free points are renumbered too: numbers are the key that
                // "Copy All" matches instrument records against, so they must stay unique.
                const std::int32_t gone = d->m_nNumber;
                doc.ForEachPoint([gone](CornerPoint* p) {
                    for (MeasDirection* other : p->m_directions)
                        if (other->m_nNumber > gone)
                            other->m_nNumber -= 1;
                });
                if (doc.m_nNextDirectionNumber > INT32_MIN)
                    doc.m_nNextDirectionNumber -= 1;
            }
            delete d;
            dirs.erase(dirs.begin() + static_cast<std::ptrdiff_t>(i));
            removed = true;
            continue;
        }
        ++i;
    }
    if (removed) {
        doc.m_laterEdits.Note(SceneChanges::DirectionRemoved);
        return DirectionChange::Removed;
    }
    if (!doc.HasDirectionNumbers(1)) {
        doc.SetModifiedFlag(wasModified);
        return DirectionChange::Refused;
    }
    point->m_directions.push_back(new MeasDirection(code, point));
    doc.m_laterEdits.Note(SceneChanges::DirectionAdded);
    return DirectionChange::Added;
}
