#pragma once

#include <cstddef>
#include <cstdint>

// The 16-bit checksum the instrument writes over the header of its *.KTL files.
// Check values: "abc" gives 0xF76D, "123456789" gives 0x4777; no bytes give 0.
std::uint16_t InstrumentCrc16(const unsigned char* data, std::size_t n);
