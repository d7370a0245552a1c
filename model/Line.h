#pragma once

#include "RecordPool.h"

class CornerPoint;

// A straight segment between two corner points. Owns nothing.
class Line {
public:
    Line() = default;
    Line(CornerPoint* a, CornerPoint* b) : m_pPointA(a), m_pPointB(b) {}
    virtual ~Line() = default;

    // Pooled: a large scene holds a million of these.
    static void* operator new(std::size_t size) {
        return size == sizeof(Line) ? RecordPool<sizeof(Line)>::Allocate() : ::operator new(size);
    }
    static void operator delete(void* p, std::size_t size) {
        if (size == sizeof(Line))
            RecordPool<sizeof(Line)>::Release(p);
        else
            ::operator delete(p);
    }

    bool Uses(const CornerPoint* p) const { return m_pPointA == p || m_pPointB == p; }

    CornerPoint* m_pPointA = nullptr;
    CornerPoint* m_pPointB = nullptr;
};
