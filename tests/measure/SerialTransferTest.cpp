// The transfer over a real serial port: QSerialPort on the pseudo-terminal of the instrument
// simulator program.
#include "CQuivraDoc.h"
#include "InstrumentSet.h"
#include "InstrumentTransfer.h"
#include "SerialPort.h"
#include "SimulatorProcess.h"

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

InstrumentBlock Block(float multA, float multB) {
    return InstrumentBlock::Make(2, 0, multA, multB, 24.f, 48.f, 10.f, 30.f, 20.f, 60.f);
}

class SerialTransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSet(QStringLiteral("A1"), {Block(1, 2), Block(2, 3)});
        WriteSet(QStringLiteral("B2"), {Block(5, 0)});
        m_doc.m_importedMeas = {ImportedMeas{99, 0, 0, 1.f, 1.f, 1.f, 7.f}};
        m_doc.m_importedMultiples = {7.f};
    }
    void WriteSet(const QString& name, const std::vector<InstrumentBlock>& blocks) {
        QFile f(m_dir.filePath(name + QStringLiteral(".set")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(InstrumentSet::Encode(blocks));
    }
    QTemporaryDir m_dir;
    CQuivraDoc m_doc;
};

TEST_F(SerialTransferTest, ListAndFetch) {
    SimulatorProcess sim(m_dir.path(), {QStringLiteral("--garbage"), QStringLiteral("3")});
    ASSERT_FALSE(sim.m_strDevice.isEmpty());
    InstrumentTransfer transfer(SerialPort::DeviceOpener(sim.m_strDevice));
    QStringList names;
    QString message;
    ASSERT_TRUE(transfer.UpdateList(1, &names, &message)) << message.toStdString();
    EXPECT_EQ(names, (QStringList{"A1", "B2"}));

    ASSERT_TRUE(transfer.TransferSet(1, QStringLiteral("A1"), &m_doc, &message))
        << message.toStdString();
    ASSERT_EQ(m_doc.m_importedMeas.size(), 4u);
    EXPECT_EQ(m_doc.m_importedMeas[3].m_nId, 2);
    EXPECT_EQ(m_doc.m_importedMeas[3].m_fMultiple, 3.f);
    EXPECT_EQ(m_doc.m_importedMeas[3].m_fAmplitude, 20.f);
    EXPECT_EQ(m_doc.m_importedMultiples, (std::vector<float>{1, 2, 3}));

    // The port is closed between operations: a second fetch works the same way.
    ASSERT_TRUE(transfer.TransferSet(1, QStringLiteral("B2"), &m_doc, &message));
    EXPECT_EQ(m_doc.m_importedMultiples, (std::vector<float>{5}));
}

TEST_F(SerialTransferTest, FailuresKeepPreviousRecords) {
    const QStringList faults[] = {{QStringLiteral("--bad-checksum")},
                                  {QStringLiteral("--silent")},
                                  {QStringLiteral("--blocks"), QStringLiteral("7")}};
    for (const QStringList& fault : faults) {
        SCOPED_TRACE(fault.join(' ').toStdString());
        SimulatorProcess sim(m_dir.path(), fault);
        ASSERT_FALSE(sim.m_strDevice.isEmpty());
        InstrumentTransfer transfer(SerialPort::DeviceOpener(sim.m_strDevice));
        QString message;
        EXPECT_FALSE(transfer.TransferSet(1, QStringLiteral("A1"), &m_doc, &message));
        EXPECT_FALSE(message.isEmpty());
        ASSERT_EQ(m_doc.m_importedMeas.size(), 1u);
        EXPECT_EQ(m_doc.m_importedMeas[0].m_nId, 99);
        EXPECT_EQ(m_doc.m_importedMultiples, std::vector<float>{7.f});
    }
}

TEST_F(SerialTransferTest, ComPortsMapToDevicesFromTheSettings) {
    EXPECT_EQ(SerialPort::DefaultDevicePath(1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(SerialPort::DefaultDevicePath(4), QStringLiteral("/dev/ttyS3"));
    EXPECT_EQ(SerialPort::DevicePath(3), QStringLiteral("/dev/ttyS2"));

    SimulatorProcess sim(m_dir.path());
    ASSERT_FALSE(sim.m_strDevice.isEmpty());
    SerialPort::SetDevicePath(2, sim.m_strDevice);
    SerialPort::SetDevicePath(3, m_dir.filePath(QStringLiteral("no-such-device")));
    EXPECT_EQ(SerialPort::DevicePath(2), sim.m_strDevice);
    InstrumentTransfer transfer(SerialPort::ComPortOpener());
    QStringList names;
    QString message;
    EXPECT_TRUE(transfer.UpdateList(2, &names, &message)) << message.toStdString();
    EXPECT_EQ(names.size(), 2);
    EXPECT_FALSE(transfer.UpdateList(3, &names, &message));
    EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot open COM3: "))) << message.toStdString();
    EXPECT_TRUE(names.isEmpty());
    QSettings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"))
        .remove(QStringLiteral("serial"));
}

} // namespace
