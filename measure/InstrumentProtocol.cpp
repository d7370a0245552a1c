#include "InstrumentProtocol.h"

#include "IBytePort.h"

#include <algorithm>

InstrumentProtocol::InstrumentProtocol(IBytePort& port) : m_port(port), m_nStartMs(port.NowMs()) {}

qint64 InstrumentProtocol::Capped(qint64 deadline) const {
    return std::min(deadline, m_nStartMs + m_limits.m_nTransferMs);
}

bool InstrumentProtocol::PastTransferLimit() {
    return m_port.NowMs() > m_nStartMs + m_limits.m_nTransferMs;
}

bool InstrumentProtocol::FailTooSlow() {
    return Fail(QStringLiteral("The transfer was stopped after %1 s: the instrument sends too "
                               "slowly.")
                    .arg(m_limits.m_nTransferMs / 1000));
}

bool InstrumentProtocol::Fail(const QString& message) {
    m_strError = message;
    return false;
}

bool InstrumentProtocol::WakeInstrument() {
    m_port.Purge();
    const qint64 deadline = m_port.NowMs() + m_limits.m_nWakeMs;
    for (int others = 0;; ++others) {
        m_port.Write(QByteArray(1, '\x40'));
        const int b = m_port.ReadByte();
        if (b == IBytePort::Timeout)
            return Fail(QStringLiteral("The instrument does not answer."));
        if (b == 0xFF)
            return Fail(QStringLiteral("The instrument refused the connection."));
        if (b == '>')
            return true;
        if (others >= m_limits.m_nWakeMaxBytes || m_port.NowMs() > deadline)
            return Fail(QStringLiteral("The instrument answers without its prompt."));
    }
}

bool InstrumentProtocol::Drain() {
    const qint64 deadline = m_port.NowMs() + m_limits.m_nDrainMs;
    for (int n = 0;; ++n) {
        const int b = m_port.ReadByte();
        if (b == IBytePort::Timeout)
            return true;
        if (b != 0)
            m_strReceived += QChar(char16_t(b));
        if (n >= m_limits.m_nDrainMaxBytes || m_port.NowMs() > deadline)
            return Fail(QStringLiteral("The instrument does not stop sending."));
    }
}

bool InstrumentProtocol::SelectMode(char c) {
    const QByteArray command = QByteArray("T") + c + '\n';
    const QString prompt =
        QString(QChar(char16_t(static_cast<unsigned char>(c)))) + QLatin1Char('>');
    m_port.Purge();
    m_strReceived.clear();
    const qint64 deadline = m_port.NowMs() + m_limits.m_nModeMs;
    for (int tries = 1;; ++tries) {
        m_port.Write(command);
        if (!Drain())
            return false;
        if (m_strReceived.contains(prompt))
            return true;
        if (tries >= m_limits.m_nModeMaxTries || m_port.NowMs() > deadline)
            return Fail(
                QStringLiteral("The instrument does not switch to mode %1.").arg(prompt[0]));
    }
}

bool InstrumentProtocol::ListSets(QStringList* names) {
    if (!SelectMode('V') || !Drain())
        return false;
    m_port.Write(QByteArrayLiteral("D\n"));
    const qint64 deadline = m_port.NowMs() + m_limits.m_nListingMs;
    const QString incomplete = QStringLiteral("The instrument's list of sets is incomplete: %1");
    QByteArray line;
    int silent = 0;
    for (;;) {
        if (PastTransferLimit())
            return FailTooSlow();
        if (m_port.NowMs() > deadline)
            return Fail(incomplete.arg(QStringLiteral("it does not end.")));
        const int b = m_port.ReadByte();
        if (b == IBytePort::Timeout) {
            // A pause does not end the listing, but a long silence does.
            if (++silent >= m_limits.m_nListingMaxSilentReads)
                return Fail(incomplete.arg(QStringLiteral("the instrument went silent.")));
            continue;
        }
        silent = 0;
        if (b == '\r' || b == '\n') {
            if (!line.isEmpty()) {
                if (names->size() >= m_limits.m_nListingMaxRows)
                    return Fail(incomplete.arg(QStringLiteral("too many names.")));
                names->append(QString::fromLatin1(line));
            }
            line.clear();
            continue;
        }
        if (b == '>')
            return true; // the unfinished line is dropped
        if (line.size() >= m_limits.m_nListingMaxLine)
            return Fail(incomplete.arg(QStringLiteral("a name is too long.")));
        line.append(char(b));
    }
}

int InstrumentProtocol::ReadPatiently(qint64 deadline) {
    // Checked before every byte: an instrument that trickles bytes never times out.
    if (m_port.NowMs() > deadline)
        return IBytePort::Timeout;
    for (int i = 0; i < m_limits.m_nByteTries; ++i) {
        const int b = m_port.ReadByte();
        if (b != IBytePort::Timeout)
            return b;
        if (m_port.NowMs() > deadline)
            break;
    }
    return IBytePort::Timeout;
}

bool InstrumentProtocol::ReadWord(quint32* word, qint64 deadline, const char* what) {
    quint32 w = 0;
    for (int i = 0; i < 4; ++i) {
        const int b = ReadPatiently(deadline);
        if (b == IBytePort::Timeout)
            return PastTransferLimit()
                       ? FailTooSlow()
                       : Fail(QStringLiteral("The instrument did not finish sending the set (%1).")
                                  .arg(QLatin1String(what)));
        w |= quint32(b) << (8 * i);
    }
    *word = w;
    return true;
}

bool InstrumentProtocol::ReceiveSet(const QByteArray& name, QByteArray* data) {
    m_port.Purge();
    WakeInstrument(); // as the instrument expects; its outcome shows in what follows
    m_strError.clear();
    if (!Drain())
        return false;
    // The name ends at a zero byte, as a C string would.
    const qsizetype zero = name.indexOf('\0');
    const QByteArray body = "V" + (zero < 0 ? name : name.left(zero));
    m_port.Write("BG " + body + '\n');

    quint32 n = 0;
    if (!ReadWord(&n, Capped(m_port.NowMs() + m_limits.m_nReceiveBaseMs), "length"))
        return false;
    if (n > m_limits.m_nMaxWords)
        return Fail(QStringLiteral("The instrument announced a set of %1 words; at most %2 are "
                                   "accepted.")
                        .arg(n)
                        .arg(m_limits.m_nMaxWords));
    const qsizetype size = qsizetype(n) * 4;
    const qint64 deadline = Capped(m_port.NowMs() + m_limits.m_nReceiveBaseMs + size * 2 / 5);
    QByteArray received(size, Qt::Uninitialized);
    quint32 sum = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (m_progress && i % kProgressStep == 0)
            m_progress(i, size);
        const int b = ReadPatiently(deadline);
        if (b == IBytePort::Timeout)
            return PastTransferLimit()
                       ? FailTooSlow()
                       : Fail(QStringLiteral("The instrument did not finish sending the set (%1 "
                                             "of %2 bytes).")
                                  .arg(i)
                                  .arg(size));
        received[i] = char(b);
        sum += quint32(b);
    }
    quint32 checksum = 0;
    if (!ReadWord(&checksum, deadline, "checksum"))
        return false;
    if (m_progress)
        m_progress(size, size);
    if (checksum != sum)
        return Fail(QStringLiteral("The set arrived damaged (checksum mismatch)."));
    *data = std::move(received);
    return true;
}
