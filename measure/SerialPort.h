#pragma once

#include "IBytePort.h"
#include "InstrumentTransfer.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QString>

// The instrument's line on a real serial device: 57600 baud, 8 data bits, no parity, 2 stop
// bits, no handshake, DTR on, RTS off, pending bytes discarded after opening. A one-byte read
// gives up after 150 ms. Waits run in short slices so that a cancel takes effect within one.
class SerialPort : public IBytePort {
public:
    SerialPort();
    ~SerialPort() override;

    // Opens the device exclusively; false with `*error` set when that fails. Line signals a
    // pseudo-terminal cannot carry (DTR/RTS) do not make it fail.
    bool Open(const QString& devicePath, QString* error);
    void Close();

    void Purge() override;
    bool Write(const QByteArray& bytes) override;
    int ReadByte() override;
    qint64 NowMs() override;
    void SetCancelFlag(const std::atomic_bool* flag) override { m_pCancel = flag; }

    // The device path of "COM1".."COM4": settings section "serial", keys "COM1".."COM4",
    // falling back to DefaultDevicePath.
    static QString DevicePath(int nPort);
    static QString DefaultDevicePath(int nPort);
    static void SetDevicePath(int nPort, const QString& path);

    // Port openers for InstrumentTransfer: COM n through the settings, or one fixed device
    // whatever the port number (command line, tests).
    static InstrumentTransfer::PortOpener ComPortOpener();
    static InstrumentTransfer::PortOpener DeviceOpener(const QString& devicePath);

private:
    QSerialPort m_port;
    QElapsedTimer m_clock;
    const std::atomic_bool* m_pCancel = nullptr; // not owned
    bool Cancelled() const { return m_pCancel && m_pCancel->load(); }
};
