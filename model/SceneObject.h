#pragma once

#include <cstdint>
#include <vector>

class CornerPoint;
class CQuivraDoc;
class Line;

// Abstract base of the generated objects (box, cylinder).
// Owns its points, its lines, and for cylinders the centre position and centre line.
// Destroying an object unregisters it from the document (live or undo array) and destroys its
// points one by one; each point calls back RemovePoint, which drops the lines that used it.
class SceneObject {
public:
    enum { TypeCylinder = 1, TypeBox = 2 };

    explicit SceneObject(CQuivraDoc* doc = nullptr) : m_pDoc(doc) {}
    virtual ~SceneObject();
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    virtual int GetType() const = 0;
    // Deep copy for the undo snapshot: points, directions, measurements and lines re-linked by
    // position in m_points.
    virtual SceneObject* Clone() const = 0;
    // Removes `point` from m_points and destroys every line of m_lines that ends at it.
    virtual void RemovePoint(CornerPoint* point);

    int IndexOfPoint(const CornerPoint* point) const;

    std::vector<CornerPoint*> m_points; // owned
    std::vector<Line*> m_lines;         // owned
    CQuivraDoc* m_pDoc = nullptr;
    std::int32_t m_nAxis = 0; // 1 X, 2 Y, 4 Z (cylinders)
    std::int32_t m_bHasCentreLine = 0;
    double m_dRadius = 0.0;
    CornerPoint* m_pCentre = nullptr; // owned, outside every document list
    Line* m_pCentreLine = nullptr;    // owned or null

protected:
    // Copies points and lines of this object into `copy` (lines mapped by position).
    void CloneInto(SceneObject* copy) const;
    // Destroys the points (first remaining one each time) and lines; used by the destructors.
    void DestroyContents();

    bool m_bDestroying = false;
};
