#include "InstrumentFloat.h"

#include <cstring>

float InstrumentFloatToIeee(std::uint32_t word) {
    if (word == 0x80000000u)
        return 0.f;
    const std::uint32_t sign = (word >> 23) & 1u;
    const std::uint32_t exponent = ((word >> 24) + 127u) & 0xFFu;
    const std::uint32_t bits = (sign << 31) | (exponent << 23) | (word & 0x7FFFFFu);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

std::uint32_t IeeeToInstrumentFloat(float value) {
    if (value == 0.f)
        return 0x80000000u;
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const std::uint32_t sign = bits >> 31;
    const std::uint32_t exponent = ((bits >> 23) - 127u) & 0xFFu;
    return (exponent << 24) | (sign << 23) | (bits & 0x7FFFFFu);
}
