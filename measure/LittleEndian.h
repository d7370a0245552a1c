#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Little-endian fields of fixed-size blocks. The offset is a template argument, so a field that
// does not fit inside its block fails to compile instead of reading past it.
namespace le {

template <std::size_t Off, std::size_t N> std::uint8_t U8(const std::array<unsigned char, N>& b) {
    static_assert(Off + 1 <= N, "field outside the block");
    return b[Off];
}

template <std::size_t Off, std::size_t N> std::uint16_t U16(const std::array<unsigned char, N>& b) {
    static_assert(Off + 2 <= N, "field outside the block");
    return static_cast<std::uint16_t>(b[Off] | (b[Off + 1] << 8));
}

template <std::size_t Off, std::size_t N> std::uint32_t U32(const std::array<unsigned char, N>& b) {
    static_assert(Off + 4 <= N, "field outside the block");
    return std::uint32_t(b[Off]) | (std::uint32_t(b[Off + 1]) << 8) |
           (std::uint32_t(b[Off + 2]) << 16) | (std::uint32_t(b[Off + 3]) << 24);
}

template <std::size_t Off, std::size_t N> float F32(const std::array<unsigned char, N>& b) {
    const std::uint32_t bits = U32<Off>(b);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

inline std::uint32_t U32At(const unsigned char* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

inline void PutU32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

} // namespace le
