#pragma once

// One measured value of one direction in one series.
class Measurement {
public:
    Measurement() = default;
    Measurement(double amplitude, double phase) : m_dPhase(phase), m_dAmplitude(amplitude) {}

    double m_dPhase = 0.0;     // degrees
    double m_dAmplitude = 0.0; // in the series' measurement unit
};
