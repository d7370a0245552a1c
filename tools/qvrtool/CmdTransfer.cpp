// qvrtool transfer --device PATH list|fetch NAME: talk to the instrument without a window.
#include "CommandRegistry.h"
#include "ToolUtil.h"

#include "CQuivraDoc.h"
#include "InstrumentTransfer.h"
#include "SerialPort.h"

namespace tool {
QString ImportedRecordsJson(const std::vector<ImportedMeas>& records,
                            const std::vector<float>& multiples); // CmdKtl.cpp
} // namespace tool

using namespace tool;

namespace {

const char* const kUsage = "transfer [--device PATH | --port 1..4] list | fetch NAME";

int Run(const QStringList& argsIn) {
    QStringList args = argsIn;
    int nPort = 1;
    QString device;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString opt = args.takeFirst();
        if (args.isEmpty())
            return Usage(kUsage);
        if (opt == QLatin1String("--device")) {
            device = args.takeFirst();
        } else if (opt == QLatin1String("--port")) {
            bool ok = false;
            nPort = args.takeFirst().toInt(&ok);
            if (!ok || nPort < 1 || nPort > 4)
                return Usage(kUsage);
        } else {
            return Usage(kUsage);
        }
    }
    const bool list = args.size() == 1 && args[0] == QLatin1String("list");
    const bool fetch = args.size() == 2 && args[0] == QLatin1String("fetch");
    if (!list && !fetch)
        return Usage(kUsage);

    InstrumentTransfer transfer(device.isEmpty() ? SerialPort::ComPortOpener()
                                                 : SerialPort::DeviceOpener(device));
    transfer.m_strDevice = device;
    QString message;
    if (list) {
        QStringList names;
        const bool ok = transfer.UpdateList(nPort, &names, &message);
        for (const QString& name : names)
            Print(name + QLatin1Char('\n'));
        return ok ? 0 : Fail(message);
    }
    CQuivraDoc doc;
    if (!transfer.TransferSet(nPort, args[1], &doc, &message))
        return Fail(message);
    Print(ImportedRecordsJson(doc.m_importedMeas, doc.m_importedMultiples));
    return 0;
}

CommandRegistrar reg{
    {"transfer", kUsage, "list the instrument's sets, or fetch one as the JSON of `ktl`", Run}};

} // namespace
