#pragma once

#include "ImportedMeas.h"
#include "InstrumentProtocol.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class CQuivraDoc;
class IBytePort;

// The window-free work of the Transfer Measurements window: each operation opens the port,
// talks to the instrument and closes the port again. Every operation returns within a few
// seconds whatever the instrument does; on failure `*message` says why. An operation may run in
// a thread of its own; the object is then the thread's until it returns.
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
    // TransferSet without the document: the decoded records, for a caller that applies them
    // elsewhere (a worker thread must not touch the document).
    bool FetchSet(int nPort, const QString& name, std::vector<ImportedMeas>* records,
                  std::vector<float>* multiples, QString* message);

    // The last set received and accepted (the instrument's raw words).
    const QByteArray& Received() const { return m_pReceived; }

    InstrumentProtocol::Limits m_limits;
    // Set when the opener stands for one fixed device (the command line's --device): messages
    // then name it instead of "COM<n>".
    QString m_strDevice;
    QString m_strReceived; // text collected by the last operation's drain steps
    // Handed to the port and the protocol of each operation; see IBytePort::SetCancelFlag and
    // InstrumentProtocol::m_progress. Both may be used from the thread running the operation.
    const std::atomic_bool* m_pCancel = nullptr;
    std::function<void(qint64 received, qint64 total)> m_progress;

private:
    std::unique_ptr<IBytePort> Open(int nPort, QString* message);
    // Keeps the drained text and, on failure, the protocol's message.
    bool Finish(const InstrumentProtocol& protocol, bool ok, QString* message);

    PortOpener m_opener;
    QByteArray m_pReceived;
};
