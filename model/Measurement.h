#pragma once

#include "RecordPool.h"

// One measured value of one direction in one series.
class Measurement {
public:
    Measurement() = default;
    Measurement(double amplitude, double phase) : m_dPhase(phase), m_dAmplitude(amplitude) {}

    // Pooled: a large scene holds millions of these.
    static void* operator new(std::size_t size) {
        return size == sizeof(Measurement) ? RecordPool<sizeof(Measurement)>::Allocate()
                                           : ::operator new(size);
    }
    static void operator delete(void* p, std::size_t size) {
        if (size == sizeof(Measurement))
            RecordPool<sizeof(Measurement)>::Release(p);
        else
            ::operator delete(p);
    }

    double m_dPhase = 0.0;     // degrees
    double m_dAmplitude = 0.0; // in the series' measurement unit
};
