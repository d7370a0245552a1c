#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class IBytePort;

// The instrument's serial protocol from the program's side, over any byte port. A healthy
// instrument sees exactly the bytes of the classic exchange; the waits that an instrument could
// stretch without end (silence, babbling, a half-dead line) are cut off by the limits below, and
// Error() then says what went wrong.
class InstrumentProtocol {
public:
    struct Limits {
        int m_nWakeMaxBytes = 1024; // other bytes answered with 0x40 before giving up
        qint64 m_nWakeMs = 3000;
        int m_nDrainMaxBytes = 16384;
        qint64 m_nDrainMs = 2000;
        int m_nModeMaxTries = 10; // "T%c\n" repetitions without the prompt
        qint64 m_nModeMs = 4000;
        int m_nListingMaxSilentReads = 20; // about 3 s of silence inside a listing
        qint64 m_nListingMs = 8000;
        int m_nListingMaxRows = 4096;
        int m_nListingMaxLine = 1024;
        int m_nByteTries = 40;          // reads per byte of a set, its length and checksum
        quint32 m_nMaxWords = 65536;    // a set holds at most this many 32-bit words
        qint64 m_nReceiveBaseMs = 8000; // plus a generous 0.4 ms per byte of the set
        // The whole exchange, from this object's making: a large set trickled just within the
        // per-byte bound would otherwise take minutes.
        qint64 m_nTransferMs = 30000;
    };

    explicit InstrumentProtocol(IBytePort& port);

    // 0x40 until the prompt '>'; fails on a time-out, 0xFF or endless other bytes.
    bool WakeInstrument();
    // Reads until a read times out, collecting non-zero bytes in m_strReceived. Fails only when
    // the instrument keeps sending.
    bool Drain();
    // "T<c>\n" until "<c>>" has been received.
    bool SelectMode(char c);
    // Mode 'V', then the "D\n" listing: one name per CR- or LF-ended line, up to '>'. Names
    // received before a failure stay in `names`.
    bool ListSets(QStringList* names);
    // "BG V<name>\n", then the word count N, 4N bytes and their byte-sum checksum. `data` is
    // replaced only on success.
    bool ReceiveSet(const QByteArray& name, QByteArray* data);

    const QString& Error() const { return m_strError; }

    Limits m_limits;
    QString m_strReceived; // text collected by Drain
    // Called by ReceiveSet with the bytes of the set received so far and its size: once the
    // size is known, then every kProgressStep bytes and at the end.
    std::function<void(qint64 received, qint64 total)> m_progress;
    static constexpr qint64 kProgressStep = 64;

private:
    bool Fail(const QString& message);
    // One byte with up to m_nByteTries reads, unless the deadline has passed; Timeout when none.
    int ReadPatiently(qint64 deadline);
    bool ReadWord(quint32* word, qint64 deadline, const char* what);
    // `deadline`, or the end of the whole transfer when that comes first.
    qint64 Capped(qint64 deadline) const;
    bool PastTransferLimit();
    bool FailTooSlow();

    IBytePort& m_port;
    qint64 m_nStartMs;
    QString m_strError;
};
