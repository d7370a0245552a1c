#include "CArchive.h"

#include <QtGlobal>

#include <cstring>

CArchive::CArchive() : m_bStoring(true), m_in(m_empty) {}

CArchive::CArchive(const QByteArray& data) : m_bStoring(false), m_in(data) {}

// Fields are stored little-endian; on a little-endian host that is a plain copy.
template <class T> static void ToLittleEndian(T v, char* b) {
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    std::memcpy(b, &v, sizeof v);
#else
    for (std::size_t i = 0; i < sizeof v; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
#endif
}

void CArchive::WriteU16(std::uint16_t v) {
    char b[2];
    ToLittleEndian(v, b);
    Put(b, 2);
}

void CArchive::WriteU32(std::uint32_t v) {
    char b[4];
    ToLittleEndian(v, b);
    Put(b, 4);
}

void CArchive::WriteF64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    char b[8];
    ToLittleEndian(bits, b);
    Put(b, 8);
}

void CArchive::Reserve(std::size_t bytes) {
    if (m_out.size() < m_nLen + bytes)
        m_out.resize(m_nLen + bytes);
}

void CArchive::WriteString(const std::string& s) {
    const std::size_t n = s.size();
    if (n < 255) {
        const char b = char(n);
        Put(&b, 1);
    } else if (n < 65534) {
        const char b = char(0xFF);
        Put(&b, 1);
        WriteU16(static_cast<std::uint16_t>(n));
    } else {
        const char b = char(0xFF);
        Put(&b, 1);
        WriteU16(0xFFFF);
        WriteU32(static_cast<std::uint32_t>(n));
    }
    Put(s.data(), n);
}

void CArchive::Fail(const std::string& why) const {
    throw ArchiveError(why + " (at byte " + std::to_string(m_nPos) + ")");
}

const char* CArchive::Take(std::size_t n) {
    if (Remaining() < n)
        Fail("unexpected end of file");
    const char* p = m_in.constData() + m_nPos;
    m_nPos += n;
    return p;
}

std::uint8_t CArchive::ReadU8() {
    return static_cast<std::uint8_t>(*Take(1));
}

std::uint16_t CArchive::ReadU16() {
    const auto* p = reinterpret_cast<const unsigned char*>(Take(2));
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t CArchive::ReadU32() {
    const auto* p = reinterpret_cast<const unsigned char*>(Take(4));
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

double CArchive::ReadF64() {
    std::uint64_t lo = ReadU32();
    std::uint64_t hi = ReadU32();
    std::uint64_t bits = lo | (hi << 32);
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

std::string CArchive::ReadString() {
    std::uint32_t n = ReadU8();
    if (n == 0xFF) {
        n = ReadU16();
        if (n == 0xFFFF)
            n = ReadU32();
    }
    const char* p = Take(n);
    return std::string(p, n);
}

void CArchive::ReportProgress() {
    constexpr std::size_t kStep = std::size_t(1) << 20;
    if (m_nPos - m_nReported < kStep)
        return;
    m_nReported = m_nPos;
    if (!m_progress(m_nPos, static_cast<std::size_t>(m_in.size())))
        throw ArchiveCancelled();
}

std::uint32_t CArchive::ReadCount(std::size_t minItemBytes, const char* what) {
    // Every list of a scene starts with a count, so this is where a long load reports.
    if (m_progress)
        ReportProgress();
    const std::uint32_t n = ReadU32();
    if (minItemBytes > 0 && n > Remaining() / minItemBytes)
        Fail(std::string("the ") + what + " count " + std::to_string(n) +
             " does not fit in the rest of the file");
    return n;
}
