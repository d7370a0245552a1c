#include "SerialPort.h"

#include <QSettings>

#include <algorithm>

namespace {

constexpr int kReadByteMs = 150; // 50 ms per requested byte + 100 ms per read
constexpr int kSliceMs = 20;     // how long a cancel may go unnoticed

// A pseudo-terminal refuses the modem-control ioctls; a real line that refuses them is broken
// in ways the wake-up will show anyway.
void TolerateUnsupported(QSerialPort& port) {
    if (port.error() == QSerialPort::UnsupportedOperationError)
        port.clearError();
}

} // namespace

SerialPort::SerialPort() {
    m_clock.start();
}

SerialPort::~SerialPort() {
    Close();
}

bool SerialPort::Open(const QString& devicePath, QString* error) {
    m_port.setPortName(devicePath);
    m_port.setBaudRate(57600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::TwoStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(devicePath, m_port.errorString());
        return false;
    }
    m_port.setDataTerminalReady(true);
    TolerateUnsupported(m_port);
    m_port.setRequestToSend(false);
    TolerateUnsupported(m_port);
    Purge();
    return true;
}

void SerialPort::Close() {
    if (m_port.isOpen())
        m_port.close();
}

void SerialPort::Purge() {
    if (!m_port.isOpen())
        return;
    m_port.clear(QSerialPort::AllDirections);
    m_port.readAll(); // whatever Qt had buffered already
}

bool SerialPort::Write(const QByteArray& bytes) {
    if (Cancelled() || !m_port.isOpen() || m_port.write(bytes) != bytes.size())
        return false;
    const qint64 deadline = NowMs() + 50 * bytes.size() + 100;
    while (m_port.bytesToWrite() > 0) {
        const qint64 left = deadline - NowMs();
        if (left <= 0 || Cancelled())
            return false;
        if (!m_port.waitForBytesWritten(int(std::min<qint64>(left, kSliceMs))) &&
            m_port.error() != QSerialPort::NoError && m_port.error() != QSerialPort::TimeoutError)
            return false;
    }
    return true;
}

int SerialPort::ReadByte() {
    if (!m_port.isOpen())
        return Timeout;
    const qint64 deadline = NowMs() + kReadByteMs;
    // waitForReadyRead only reports data arriving after the call: look at the buffer first.
    while (m_port.bytesAvailable() == 0) {
        const qint64 left = deadline - NowMs();
        if (left <= 0 || Cancelled())
            return Timeout;
        if (!m_port.waitForReadyRead(int(std::min<qint64>(left, kSliceMs)))) {
            if (m_port.error() != QSerialPort::NoError &&
                m_port.error() != QSerialPort::TimeoutError) {
                // The other side went away: the port is useless from here on.
                m_port.close();
                return Timeout;
            }
        }
    }
    char c = 0;
    if (!m_port.getChar(&c))
        return Timeout;
    return static_cast<unsigned char>(c);
}

qint64 SerialPort::NowMs() {
    return m_clock.elapsed();
}

QString SerialPort::DefaultDevicePath(int nPort) {
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(nPort);
#else
    return QStringLiteral("/dev/ttyS%1").arg(nPort - 1);
#endif
}

QString SerialPort::DevicePath(int nPort) {
    QSettings settings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"));
    return settings.value(QStringLiteral("serial/COM%1").arg(nPort), DefaultDevicePath(nPort))
        .toString();
}

void SerialPort::SetDevicePath(int nPort, const QString& path) {
    QSettings settings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"));
    settings.setValue(QStringLiteral("serial/COM%1").arg(nPort), path);
}

InstrumentTransfer::PortOpener SerialPort::DeviceOpener(const QString& devicePath) {
    return [devicePath](int, QString* error) -> std::unique_ptr<IBytePort> {
        auto port = std::make_unique<SerialPort>();
        if (!port->Open(devicePath, error))
            return nullptr;
        return port;
    };
}

InstrumentTransfer::PortOpener SerialPort::ComPortOpener() {
    return [](int nPort, QString* error) -> std::unique_ptr<IBytePort> {
        auto port = std::make_unique<SerialPort>();
        if (!port->Open(DevicePath(nPort), error))
            return nullptr;
        return port;
    };
}
