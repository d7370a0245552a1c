#pragma once

#include "RecordPool.h"

#include <cstdint>
#include <vector>

class CQuivraDoc;
class MeasDirection;
class SceneObject;

// One vertex of the wire model. Owns its directions.
// Destruction unregisters the point from the document (or asks its owner object to drop it)
// and destroys every free line of the document that ends at it.
class CornerPoint {
public:
    CornerPoint() = default;
    // A point registered in `doc`: takes the next point number from the document counter.
    CornerPoint(double x, double y, double z, CQuivraDoc* doc);
    virtual ~CornerPoint();
    CornerPoint(const CornerPoint&) = delete;
    CornerPoint& operator=(const CornerPoint&) = delete;

    // Pooled: a large scene holds a million of these, read and dropped together.
    static void* operator new(std::size_t size) {
        return size == sizeof(CornerPoint) ? RecordPool<sizeof(CornerPoint)>::Allocate()
                                           : ::operator new(size);
    }
    static void operator delete(void* p, std::size_t size) {
        if (size == sizeof(CornerPoint))
            RecordPool<sizeof(CornerPoint)>::Release(p);
        else
            ::operator delete(p);
    }

    // Deep copy (number, position, document, directions with their measurements); no owner.
    CornerPoint* Copy() const;

    std::int32_t m_nNumber = 0;
    double m_x = 0.0, m_y = 0.0, m_z = 0.0;
    std::vector<MeasDirection*> m_directions; // owned, in creation order
    CQuivraDoc* m_pDoc = nullptr;             // null for the local origin and cylinder centres
    SceneObject* m_pOwner = nullptr;          // null: a free point
};
