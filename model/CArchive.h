#pragma once

#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>

// A short or inconsistent stream. `what()` says what was wrong and where.
class ArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Thrown out of a loading archive when its progress callback asks to stop.
class ArchiveCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }
};

// A little-endian byte archive: either storing into a growing buffer or loading from a fixed
// buffer. Every load is bounds-checked and throws ArchiveError on a short read, so no caller
// ever indexes raw bytes.
class CArchive {
public:
    // Storing archive.
    CArchive();
    // Loading archive over `data` (kept by reference: it must outlive the archive).
    explicit CArchive(const QByteArray& data);

    bool IsStoring() const { return m_bStoring; }
    bool IsLoading() const { return !m_bStoring; }

    void WriteU16(std::uint16_t v);
    void WriteU32(std::uint32_t v);
    void WriteI32(std::int32_t v) { WriteU32(static_cast<std::uint32_t>(v)); }
    void WriteF64(double v);
    // Length-prefixed string: one byte below 255, else 0xFF + u16 below 65534, else
    // 0xFF 0xFFFF + u32.
    void WriteString(const std::string& s);

    std::uint8_t ReadU8();
    std::uint16_t ReadU16();
    std::uint32_t ReadU32();
    std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }
    double ReadF64();
    std::string ReadString();

    // A count read from the stream, checked against what is left: each item takes at least
    // `minItemBytes`, so a count that cannot fit is rejected before anything is allocated.
    std::uint32_t ReadCount(std::size_t minItemBytes, const char* what);

    // Called with the position and the size of the loading buffer at most about once per MiB
    // read; returning false stops the load with ArchiveCancelled.
    using Progress = std::function<bool(std::size_t pos, std::size_t total)>;
    void SetProgress(Progress progress) { m_progress = std::move(progress); }

    std::size_t Remaining() const { return static_cast<std::size_t>(m_in.size()) - m_nPos; }
    std::size_t Position() const { return m_nPos; }
    bool AtEnd() const { return Remaining() == 0; }

    // Room for `bytes` more stored bytes, so that a large scene is written without regrowing.
    void Reserve(std::size_t bytes);
    // What has been stored so far.
    const char* Data() const { return m_out.data(); }
    std::size_t Size() const { return m_nLen; }
    QByteArray Buffer() const { return QByteArray(m_out.data(), static_cast<qsizetype>(m_nLen)); }

    [[noreturn]] void Fail(const std::string& why) const;

private:
    const char* Take(std::size_t n);

    void Put(const void* p, std::size_t n) {
        if (m_out.size() - m_nLen < n)
            m_out.resize(std::max(m_out.size() * 2, m_nLen + n));
        std::memcpy(&m_out[m_nLen], p, n);
        m_nLen += n;
    }

    void ReportProgress();

    bool m_bStoring;
    std::string m_out; // plain bytes, sized ahead: appending small fields must be cheap
    std::size_t m_nLen = 0;
    QByteArray m_empty;
    const QByteArray& m_in;
    std::size_t m_nPos = 0;
    Progress m_progress;
    std::size_t m_nReported = 0;
};
