#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <atomic>

// The byte-level view of a serial line that the instrument protocol needs. The real port sits on
// QSerialPort; tests use in-memory ports with a simulated clock.
class IBytePort {
public:
    static constexpr int Timeout = -1;

    virtual ~IBytePort() = default;
    // Discards pending input and output.
    virtual void Purge() = 0;
    // Blocking write; true when every byte was written.
    virtual bool Write(const QByteArray& bytes) = 0;
    // One byte 0..255, or Timeout when none arrived within about 150 ms.
    virtual int ReadByte() = 0;
    // A monotonic clock in milliseconds; the protocol measures its bounds with it.
    virtual qint64 NowMs() = 0;
    // While `*flag` is true, reads time out and writes fail at once, so that every wait of the
    // protocol runs out quickly. Null: never cancelled. Ports whose waits are short ignore it.
    virtual void SetCancelFlag(const std::atomic_bool* flag) { (void)flag; }
};
