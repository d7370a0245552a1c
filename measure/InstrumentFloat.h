#pragma once

#include <cstdint>

// The instrument keeps a float as a signed power-of-two exponent in the top byte, the sign in
// bit 23 and the IEEE fraction in bits 0..22; the word 0x80000000 stands for 0.
float InstrumentFloatToIeee(std::uint32_t word);
// The inverse, for the instrument's side (simulator, tests): 0 and -0 give 0x80000000.
std::uint32_t IeeeToInstrumentFloat(float value);
