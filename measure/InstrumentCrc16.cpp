#include "InstrumentCrc16.h"

static std::uint32_t Swap16(std::uint32_t v) {
    return ((v & 0xFFu) << 8) | ((v >> 8) & 0xFFu);
}

std::uint16_t InstrumentCrc16(const unsigned char* data, std::size_t n) {
    if (n == 0)
        return 0;
    std::uint32_t state = 0xFFFF;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t s = Swap16(state) ^ (std::uint32_t(data[i]) << 8);
        // 32-bit arithmetic: the shifted term needs 20 bits before the final mask.
        const std::uint32_t t = s ^ ((s & 0xFF00u) << 4);
        state = (t ^ ((t >> 5) & 0x07F8u)) & 0xFFFFu;
    }
    return static_cast<std::uint16_t>(~Swap16(state) & 0xFFFFu);
}
