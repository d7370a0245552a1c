#include "CArchive.h"

#include <algorithm>

CArchive::CArchive() : m_bStoring(true) {}

CArchive::CArchive(Sink sink, std::size_t chunk) : m_bStoring(true), m_sink(std::move(sink)) {
    Grow(std::max<std::size_t>(chunk, 64));
}

CArchive::CArchive(const QByteArray& data)
    : m_bStoring(false), m_pIn(data.constData()), m_nInEnd(static_cast<std::size_t>(data.size())),
      m_nInSize(m_nInEnd) {}

CArchive::CArchive(Source source, std::size_t size, std::size_t chunk)
    : m_bStoring(false), m_nInSize(size), m_source(std::move(source)),
      m_nWindow(std::max<std::size_t>(std::min(chunk, size), 64)) {
    m_window.reset(new char[m_nWindow]);
    m_pIn = m_window.get();
}

void CArchive::Refill(std::size_t n) {
    if (!m_source || Remaining() < n)
        Fail("unexpected end of file");
    // Keep the unread bytes, then fill the window as far as the source and the size allow.
    const std::size_t kept = m_nInEnd - m_nPos;
    if (m_nWindow < n) {
        // One record larger than the window (a long name, many series): checked to fit in
        // the file above, so bounded by its size.
        std::unique_ptr<char[]> bigger(new char[n]);
        std::memcpy(bigger.get(), m_pIn + (m_nPos - m_nInBase), kept);
        m_window = std::move(bigger);
        m_nWindow = n;
    } else if (kept > 0) {
        std::memmove(m_window.get(), m_pIn + (m_nPos - m_nInBase), kept);
    }
    m_pIn = m_window.get();
    m_nInBase = m_nPos;
    m_nInEnd = m_nPos + kept;
    const std::size_t want = std::min(m_nWindow, m_nInSize - m_nInBase);
    while (m_nInEnd - m_nInBase < want) {
        const std::size_t got =
            m_source(m_window.get() + (m_nInEnd - m_nInBase), want - (m_nInEnd - m_nInBase));
        if (got == 0)
            break;
        m_nInEnd += got;
    }
    if (m_nInEnd - m_nPos < n)
        Fail("unexpected end of file");
}

void CArchive::Grow(std::size_t capacity) {
    std::unique_ptr<char[]> bigger(new char[capacity]);
    if (m_nLen > 0)
        std::memcpy(bigger.get(), m_out.get(), m_nLen);
    m_out = std::move(bigger);
    m_nCap = capacity;
}

void CArchive::MakeRoom(std::size_t n) {
    if (m_sink) {
        Flush();
        if (m_nCap >= n)
            return;
    }
    Grow(std::max(m_nCap * 2, m_nLen + n));
}

bool CArchive::Flush() {
    if (m_sink && m_nLen > 0) {
        // After a refused chunk the rest is dropped: the file is abandoned anyway.
        if (!m_bSinkFailed && !m_sink(m_out.get(), m_nLen))
            m_bSinkFailed = true;
        m_nLen = 0;
    }
    return !m_bSinkFailed;
}

void CArchive::Put(const void* p, std::size_t n) {
    // Long strings may exceed a chunk: hand them on in pieces.
    const char* src = static_cast<const char*>(p);
    while (n > 0) {
        if (m_nLen == m_nCap)
            MakeRoom(1);
        const std::size_t part = std::min(n, m_nCap - m_nLen);
        std::memcpy(m_out.get() + m_nLen, src, part);
        m_nLen += part;
        src += part;
        n -= part;
    }
}

void CArchive::WriteString(const std::string& s) {
    const std::size_t n = s.size();
    if (n < 255) {
        *Room(1) = char(n);
    } else if (n < 65534) {
        *Room(1) = char(0xFF);
        WriteU16(static_cast<std::uint16_t>(n));
    } else {
        *Room(1) = char(0xFF);
        WriteU16(0xFFFF);
        WriteU32(static_cast<std::uint32_t>(n));
    }
    Put(s.data(), n);
}

void CArchive::Fail(const std::string& why) const {
    throw ArchiveError(why + " (at byte " + std::to_string(m_nPos) + ")");
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
    if (!m_progress(m_nPos, m_nInSize))
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
