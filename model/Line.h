#pragma once

class CornerPoint;

// A straight segment between two corner points. Owns nothing.
class Line {
public:
    Line() = default;
    Line(CornerPoint* a, CornerPoint* b) : m_pPointA(a), m_pPointB(b) {}
    virtual ~Line() = default;

    bool Uses(const CornerPoint* p) const { return m_pPointA == p || m_pPointB == p; }

    CornerPoint* m_pPointA = nullptr;
    CornerPoint* m_pPointB = nullptr;
};
