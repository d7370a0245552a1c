#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
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

// A little-endian byte archive: storing into a buffer (kept whole, or handed on in chunks) or
// loading from a fixed buffer (or from a source read chunk by chunk). Every load is bounds-checked
// and throws ArchiveError on a short read, so no caller ever indexes raw bytes.
class CArchive {
public:
    // Takes a chunk of stored bytes; false when it could not (the archive then stops storing).
    using Sink = std::function<bool(const char* data, std::size_t size)>;

    // Storing archive that keeps everything in memory (Data, Size, Buffer).
    CArchive();
    // Storing archive that hands its bytes to `sink` whenever `chunk` bytes are gathered, so
    // that a large scene never sits in memory twice; call Flush at the end.
    CArchive(Sink sink, std::size_t chunk);
    // Loading archive over `data` (kept by reference: it must outlive the archive).
    explicit CArchive(const QByteArray& data);
    // Fills `into` with up to `max` more bytes; how many it gave, 0 at the end or on failure.
    using Source = std::function<std::size_t(char* into, std::size_t max)>;
    // Loading archive over the `size` bytes `source` gives, read about `chunk` bytes at a time,
    // so that a large file is never held whole. A source ending early is a short read.
    CArchive(Source source, std::size_t size, std::size_t chunk);

    bool IsStoring() const { return m_bStoring; }
    bool IsLoading() const { return !m_bStoring; }

    void WriteU16(std::uint16_t v) { Store(Room(2), v); }
    void WriteU32(std::uint32_t v) { Store(Room(4), v); }
    void WriteI32(std::int32_t v) { WriteU32(static_cast<std::uint32_t>(v)); }
    void WriteF64(double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, 8);
        Store(Room(8), bits);
    }
    // Length-prefixed string: one byte below 255, else 0xFF + u16 below 65534, else
    // 0xFF 0xFFFF + u32.
    void WriteString(const std::string& s);
    // Bytes a string takes in the stream.
    static std::size_t StringBytes(std::size_t length) {
        return length + (length < 255 ? 1 : length < 65534 ? 3 : 7);
    }
    // Hands the gathered bytes to the sink; false if the sink refused any chunk.
    bool Flush();

    std::uint8_t ReadU8() { return static_cast<std::uint8_t>(*Take(1)); }
    std::uint16_t ReadU16() { return LoadU16(Take(2)); }
    std::uint32_t ReadU32() { return LoadU32(Take(4)); }
    std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }
    double ReadF64() { return LoadF64(Take(8)); }
    std::string ReadString();
    // `n` bytes at once, checked as one read; decode them with the Load functions below. They
    // stay valid until the next read.
    const char* ReadBytes(std::size_t n) { return Take(n); }

    // Little-endian fields at `p`, for bytes already taken by ReadBytes.
    static std::uint16_t LoadU16(const char* p) {
        const auto* b = reinterpret_cast<const unsigned char*>(p);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    static std::uint32_t LoadU32(const char* p) {
        const auto* b = reinterpret_cast<const unsigned char*>(p);
        return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
               (std::uint32_t(b[3]) << 24);
    }
    static std::int32_t LoadI32(const char* p) { return static_cast<std::int32_t>(LoadU32(p)); }
    static double LoadF64(const char* p) {
        const std::uint64_t bits = LoadU32(p) | (std::uint64_t(LoadU32(p + 4)) << 32);
        double v;
        std::memcpy(&v, &bits, 8);
        return v;
    }

    // A count read from the stream, checked against what is left: each item takes at least
    // `minItemBytes`, so a count that cannot fit is rejected before anything is allocated.
    std::uint32_t ReadCount(std::size_t minItemBytes, const char* what);

    // Called with the position and the size of the loading buffer at most about once per MiB
    // read; returning false stops the load with ArchiveCancelled.
    using Progress = std::function<bool(std::size_t pos, std::size_t total)>;
    void SetProgress(Progress progress) { m_progress = std::move(progress); }

    std::size_t Remaining() const { return m_nInSize - m_nPos; }
    std::size_t Position() const { return m_nPos; }
    bool AtEnd() const { return Remaining() == 0; }

    // What has been stored so far (of a chunked archive: since the last chunk was handed on).
    const char* Data() const { return m_out.get(); }
    std::size_t Size() const { return m_nLen; }
    QByteArray Buffer() const { return QByteArray(m_out.get(), static_cast<qsizetype>(m_nLen)); }

    [[noreturn]] void Fail(const std::string& why) const;

private:
    // Fields are stored little-endian; on a little-endian host that is a plain copy.
    template <class T> static void Store(char* b, T v) {
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        std::memcpy(b, &v, sizeof v);
#else
        for (std::size_t i = 0; i < sizeof v; ++i)
            b[i] = char((v >> (8 * i)) & 0xFF);
#endif
    }
    // Where the next `n` stored bytes go.
    char* Room(std::size_t n) {
        if (m_nCap - m_nLen < n)
            MakeRoom(n);
        char* p = m_out.get() + m_nLen;
        m_nLen += n;
        return p;
    }
    void MakeRoom(std::size_t n);
    void Put(const void* p, std::size_t n);
    void Grow(std::size_t capacity);

    const char* Take(std::size_t n) {
        if (m_nInEnd - m_nPos < n)
            Refill(n);
        const char* p = m_pIn + (m_nPos - m_nInBase);
        m_nPos += n;
        return p;
    }
    // Makes the next `n` bytes available, or fails with a short read.
    void Refill(std::size_t n);

    void ReportProgress();

    bool m_bStoring;
    // Stored bytes: plain memory, not zero-filled, since every byte is written before use.
    std::unique_ptr<char[]> m_out;
    std::size_t m_nLen = 0;
    std::size_t m_nCap = 0;
    Sink m_sink;
    bool m_bSinkFailed = false;
    // Loading: the bytes from position m_nInBase to m_nInEnd are at m_pIn.
    const char* m_pIn = nullptr;
    std::size_t m_nInBase = 0;
    std::size_t m_nInEnd = 0;
    std::size_t m_nInSize = 0;
    std::size_t m_nPos = 0;
    Source m_source;
    std::unique_ptr<char[]> m_window; // the source's bytes being read
    std::size_t m_nWindow = 0;
    Progress m_progress;
    std::size_t m_nReported = 0;
};
