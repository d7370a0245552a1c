#pragma once

#include "InstrumentProtocol.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class CQuivraDoc;
class IBytePort;

// The window-free work of the Transfer Measurements window: each operation opens the port,
// talks to the instrument and closes the port again. Every operation returns within a few
// seconds whatever the instrument does; on failure `*message` says why.
class InstrumentTransfer {
public:
    // Opens COM port nPort (1..4); null with `*error` set when it cannot be opened.
    using PortOpener = std::function<std::unique_ptr<IBytePort>(int nPort, QString* error)>;

    explicit InstrumentTransfer(PortOpener opener) : m_opener(std::move(opener)) {}

    // "Update": the names of the sets the instrument holds (names received before a failure
    // are kept in `names`).
    bool UpdateList(int nPort, QStringList* names, QString* message);

    // "OK": fetches set `name`; on success replaces doc->m_importedMeas and
    // doc->m_importedMultiples. On failure the document is left as it was.
    bool TransferSet(int nPort, const QString& name, CQuivraDoc* doc, QString* message);

    // The last set received and accepted (the instrument's raw words).
    const QByteArray& Received() const { return m_pReceived; }

    InstrumentProtocol::Limits m_limits;
    // Set when the opener stands for one fixed device (the command line's --device): messages
    // then name it instead of "COM<n>".
    QString m_strDevice;
    QString m_strReceived; // text collected by the last operation's drain steps

private:
    std::unique_ptr<IBytePort> Open(int nPort, QString* message);
    // Keeps the drained text and, on failure, the protocol's message.
    bool Finish(const InstrumentProtocol& protocol, bool ok, QString* message);

    PortOpener m_opener;
    QByteArray m_pReceived;
};
