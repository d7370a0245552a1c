#pragma once

#include <cstdint>

// One record imported from the instrument (file or serial transfer).
struct ImportedMeas {
    std::int32_t m_nId = 0;       // matched against MeasDirection::m_nNumber
    std::int32_t m_nUnit = 0;     // index into UnitTable (0..9 when valid)
    std::int32_t m_nFreqUnit = 0; // index into FreqUnitTable (0 Hz, 1 RPM when valid)
    float m_fAmplitude = 0.f;
    float m_fPhase = 0.f; // degrees
    float m_fSpeed = 0.f;
    float m_fMultiple = 0.f;
};
