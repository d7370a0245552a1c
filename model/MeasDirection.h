#pragma once

#include "RecordPool.h"

#include <cstdint>
#include <vector>

class CornerPoint;
class Measurement;

// Direction codes: a bit set, one bit per signed axis.
enum DirectionCode : std::uint16_t {
    DirPlusX = 1,
    DirPlusY = 2,
    DirPlusZ = 4,
    DirRadialOut = 8,
    DirMinusX = 16,
    DirMinusY = 32,
    DirMinusZ = 64,
    DirRadialIn = 128,
};

// The code of the opposite direction (1<->16, 2<->32, 4<->64, 8<->128); 0 for anything else.
std::uint16_t OppositeDirectionCode(std::uint16_t code);

// A direction in which vibration was measured at one corner point.
// Owns its measurements, one per series of the document.
class MeasDirection {
public:
    // Empty direction (number 0, no measurements); used by the file reader and copies.
    MeasDirection() = default;
    // A new direction on `point`: number drawn from the document counter, vector from the code,
    // one zero measurement per existing series. The caller appends it to the point.
    MeasDirection(std::uint16_t code, CornerPoint* point);
    ~MeasDirection();
    MeasDirection(const MeasDirection&) = delete;
    MeasDirection& operator=(const MeasDirection&) = delete;

    // Pooled: a large scene holds millions of these.
    static void* operator new(std::size_t size) {
        return size == sizeof(MeasDirection) ? RecordPool<sizeof(MeasDirection)>::Allocate()
                                             : ::operator new(size);
    }
    static void operator delete(void* p, std::size_t size) {
        if (size == sizeof(MeasDirection))
            RecordPool<sizeof(MeasDirection)>::Release(p);
        else
            ::operator delete(p);
    }

    // Deep copy with the same number, code and vector, attached to `point`.
    MeasDirection* Copy(CornerPoint* point) const;

    std::int32_t m_nNumber = 0;
    CornerPoint* m_pPoint = nullptr;
    std::vector<Measurement*> m_measurements; // owned; entry k belongs to series k
    std::uint16_t m_nCode = 0;
    double m_dx = 0.0, m_dy = 0.0, m_dz = 0.0;
};
