#include "InstrumentTransfer.h"

#include "CQuivraDoc.h"
#include "IBytePort.h"
#include "InstrumentSet.h"

static void SetMessage(QString* message, const QString& text) {
    if (message)
        *message = text;
}

std::unique_ptr<IBytePort> InstrumentTransfer::Open(int nPort, QString* message) {
    SetMessage(message, QString());
    QString error;
    std::unique_ptr<IBytePort> port = m_opener(nPort, &error);
    if (!port && m_strDevice.isEmpty()) {
        SetMessage(message, QStringLiteral("Cannot open COM%1: %2").arg(nPort).arg(error));
    } else if (!port) {
        // The opener's reason starts with the device already.
        const QString named = m_strDevice + QStringLiteral(": ");
        SetMessage(message, QStringLiteral("Cannot open %1: %2")
                                .arg(m_strDevice,
                                     error.startsWith(named) ? error.mid(named.size()) : error));
    } else {
        port->SetCancelFlag(m_pCancel);
    }
    return port;
}

bool InstrumentTransfer::Finish(const InstrumentProtocol& protocol, bool ok, QString* message) {
    m_strReceived = protocol.m_strReceived;
    if (!ok)
        SetMessage(message, protocol.Error());
    return ok;
}

bool InstrumentTransfer::UpdateList(int nPort, QStringList* names, QString* message) {
    names->clear();
    std::unique_ptr<IBytePort> port = Open(nPort, message);
    if (!port)
        return false;
    InstrumentProtocol protocol(*port);
    protocol.m_limits = m_limits;
    // The first wake-up only rouses a sleeping instrument; the second one must succeed.
    protocol.WakeInstrument();
    return Finish(protocol, protocol.WakeInstrument() && protocol.ListSets(names), message);
}

bool InstrumentTransfer::TransferSet(int nPort, const QString& name, CQuivraDoc* doc,
                                     QString* message) {
    std::vector<ImportedMeas> records;
    std::vector<float> multiples;
    if (!FetchSet(nPort, name, &records, &multiples, message))
        return false;
    doc->m_importedMeas = std::move(records);
    doc->m_importedMultiples = std::move(multiples);
    return true;
}

bool InstrumentTransfer::FetchSet(int nPort, const QString& name,
                                  std::vector<ImportedMeas>* records, std::vector<float>* multiples,
                                  QString* message) {
    std::unique_ptr<IBytePort> port = Open(nPort, message);
    if (!port)
        return false;
    InstrumentProtocol protocol(*port);
    protocol.m_limits = m_limits;
    protocol.m_progress = m_progress;
    QByteArray data;
    if (!Finish(protocol, protocol.WakeInstrument() && protocol.ReceiveSet(name.toLatin1(), &data),
                message))
        return false;
    if (data.isEmpty()) {
        SetMessage(message, QStringLiteral("The instrument has no data for set \"%1\".").arg(name));
        return false;
    }
    QString error;
    if (!InstrumentSet::Decode(data, records, multiples, &error)) {
        SetMessage(message, error);
        return false;
    }
    m_pReceived = std::move(data);
    return true;
}
