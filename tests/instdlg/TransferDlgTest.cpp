// The Transfer Measurements window against the instrument simulator on a pseudo-terminal.
#include "CTransferDlg.h"
#include "InstDlgTestSupport.h"
#include "InstrumentSet.h"
#include "SerialPort.h"
#include "SimulatorProcess.h"
#include "TestFiles.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>

using namespace instdlgtest;

namespace {

InstrumentBlock Block(float multA, float multB, float ampA, float ampB) {
    return InstrumentBlock::Make(2, 1, multA, multB, 1500.f, 3000.f, ampA, 10.f, ampB, 20.f);
}

struct TransferWindows : ImportedWindows {
    QTemporaryDir m_dir;
    std::unique_ptr<SimulatorProcess> m_pSim;
    std::unique_ptr<CTransferDlg> m_pTransfer;
    std::atomic<int> m_nOpens{0}; // counted in the worker thread

    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        WriteSet("A1", {Block(1, 2, 1.25f, 2.5f), Block(2, 3, 0.5f, 0.75f)});
        WriteSet("B2", {Block(5, 0, 9.f, 0.f)});
        Build(2);
        doc.m_importedMeas = {Rec(99, 1.f, 1.f, 7.f)};
        doc.m_importedMultiples = {0.f, 7.f};
    }
    void WriteSet(const char* name, const std::vector<InstrumentBlock>& blocks) {
        ASSERT_TRUE(WriteBytes(m_dir.filePath(QString::fromLatin1(name) + QStringLiteral(".set")),
                               InstrumentSet::Encode(blocks)));
    }
    // The window on the simulator, whichever COM port is chosen; counts the port openings.
    void Start(const QStringList& faults = {}) {
        m_pSim = std::make_unique<SimulatorProcess>(m_dir.path(), faults);
        ASSERT_FALSE(m_pSim->m_strDevice.isEmpty());
        InstrumentTransfer::PortOpener device = SerialPort::DeviceOpener(m_pSim->m_strDevice);
        Make([this, device](int n, QString* error) {
            ++m_nOpens;
            return device(n, error);
        });
    }
    void Make(InstrumentTransfer::PortOpener opener) {
        m_pTransfer = std::make_unique<CTransferDlg>(std::move(opener));
        m_pTransfer->Bind(&doc);
        m_pTransfer->SetImportedWindow(&imported);
    }
    // Until the running exchange (if any) has ended.
    void Settle() {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !m_pTransfer->IsBusy(); }, 15000));
    }
    void ShowAndSettle() {
        m_pTransfer->show();
        Settle();
    }
    QStringList Names() const {
        QStringList names;
        for (int i = 0; i < m_pTransfer->List()->count(); ++i)
            names << m_pTransfer->List()->item(i)->text();
        return names;
    }
    void Click(const char* name) { instdlgtest::Click(m_pTransfer.get(), name); }
};

TEST_F(TransferWindows, ShowingListsTheSetsAndOkFetchesTheFirstSelected) {
    Start({QStringLiteral("--garbage"), QStringLiteral("2")});
    EXPECT_TRUE(m_pTransfer->findChild<QRadioButton*>(QStringLiteral("Port1"))->isChecked());
    ShowAndSettle();
    EXPECT_EQ(m_nOpens, 1);
    ASSERT_EQ(Names(), (QStringList{"A1", "B2"})) << m_pTransfer->StatusText().toStdString();
    EXPECT_TRUE(m_pTransfer->StatusText().isEmpty());

    // Both selected: the first in list order counts.
    m_pTransfer->List()->item(1)->setSelected(true);
    m_pTransfer->List()->item(0)->setSelected(true);
    Click("OK");
    Settle();
    ASSERT_EQ(doc.m_importedMeas.size(), 4u) << m_pTransfer->StatusText().toStdString();
    EXPECT_EQ(doc.m_importedMultiples, (std::vector<float>{1, 2, 3}));
    EXPECT_FALSE(m_pTransfer->isVisible());
    EXPECT_TRUE(imported.isVisible());
    EXPECT_EQ(Ids(), (QStringList{"1", "1", "2", "2"}));
    EXPECT_EQ(Row(0), (QStringList{"1", "1.250000", "10.000000", "mm/s", "1500.000000", "RPM",
                                   "1.000000"}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // the busy cursor is gone again
}

// One refused set for the window; the protocol's tests go through every kind of fault.
TEST_F(TransferWindows, FailuresKeepTheRecordsAndTheWindowOpen) {
    Start({QStringLiteral("--bad-checksum")});
    ShowAndSettle();
    ASSERT_EQ(Names().size(), 2);
    m_pTransfer->List()->item(0)->setSelected(true);
    Click("OK");
    Settle();
    EXPECT_TRUE(m_pTransfer->isVisible());
    EXPECT_FALSE(m_pTransfer->StatusText().isEmpty());
    ASSERT_EQ(doc.m_importedMeas.size(), 1u);
    EXPECT_EQ(doc.m_importedMeas[0].m_nId, 99);
    EXPECT_FALSE(imported.isVisible());
    // The imported window was rebuilt from the unchanged records.
    EXPECT_EQ(Choices(), (QStringList{"All", "0.000000", "7.000000"}));
}

TEST_F(TransferWindows, UpdateOkWithoutSelectionCancelAndRebinding) {
    Start();
    m_pTransfer->OnRebind(); // hidden: the instrument is left alone
    EXPECT_EQ(m_nOpens, 0);
    ShowAndSettle();
    EXPECT_EQ(m_nOpens, 1);
    m_pTransfer->List()->clear();
    Click("Update");
    Settle();
    EXPECT_EQ(m_nOpens, 2);
    EXPECT_EQ(Names().size(), 2);
    // OK with nothing selected only rebuilds the imported window: the instrument is not asked.
    imported.show();
    imported.Rebuild();
    imported.OnChoiceChanged(2);
    ASSERT_EQ(imported.Filter(), 7.f);
    Click("OK");
    Settle();
    EXPECT_EQ(m_nOpens, 2);
    EXPECT_EQ(imported.Filter(), 0.f);
    EXPECT_TRUE(m_pTransfer->isVisible());
    EXPECT_FALSE(m_pTransfer->StatusText().isEmpty());
    Click("Cancel");
    EXPECT_FALSE(m_pTransfer->isVisible());
    EXPECT_EQ(Names().size(), 2); // hiding keeps the last listing
}

// The exchange runs beside the event loop: a timer keeps firing, the bytes of the set are
// counted, Cancel ends the wait at once and a new port empties the list at once.
TEST_F(TransferWindows, ExchangesLeaveTheWindowResponsiveAndCanBeCancelled) {
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(20);
    Start({QStringLiteral("--silent")});
    m_pTransfer->show(); // two unanswered wake-ups: 300 ms
    EXPECT_TRUE(m_pTransfer->IsBusy());
    Settle();
    EXPECT_GE(ticks, 5);
    EXPECT_TRUE(Names().isEmpty());
    EXPECT_FALSE(m_pTransfer->StatusText().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    Start({QStringLiteral("--slow"), QStringLiteral("15")}); // a 104-byte set takes 1.5 s
    ShowAndSettle();
    ASSERT_EQ(Names(), (QStringList{"A1", "B2"})) << m_pTransfer->StatusText().toStdString();
    Click("Port2");
    EXPECT_TRUE(Names().isEmpty());
    Settle();
    ASSERT_EQ(Names().size(), 2);
    m_pTransfer->List()->item(0)->setSelected(true);
    Click("OK");
    ticks = 0;
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_pTransfer->Progress()->value() >= 64; }, 5000));
    EXPECT_TRUE(m_pTransfer->Progress()->text().endsWith(QLatin1String(" of 96 bytes")));
    EXPECT_GE(ticks, 5);
    QElapsedTimer clock;
    clock.start();
    Click("Cancel");
    EXPECT_LT(clock.elapsed(), 200);
    EXPECT_FALSE(m_pTransfer->IsBusy());
    EXPECT_TRUE(m_pTransfer->isVisible());
    EXPECT_EQ(m_pTransfer->StatusText(), QStringLiteral("Cancelled."));
    ASSERT_EQ(doc.m_importedMeas.size(), 1u); // the records stay as they were
    EXPECT_EQ(doc.m_importedMeas[0].m_nId, 99);
}

TEST_F(TransferWindows, PortRadiosFollowTheComDevicesOfTheSettings) {
    EXPECT_EQ(SerialPort::DefaultDevicePath(4), QStringLiteral("/dev/ttyS3"));
    SimulatorProcess sim(m_dir.path());
    ASSERT_FALSE(sim.m_strDevice.isEmpty());
    SerialPort::SetDevicePath(3, sim.m_strDevice);
    SerialPort::SetDevicePath(1, m_dir.filePath("no-such-device"));
    Make(SerialPort::ComPortOpener());
    ShowAndSettle();
    EXPECT_TRUE(Names().isEmpty());
    EXPECT_TRUE(m_pTransfer->StatusText().startsWith(QStringLiteral("Cannot open COM1")))
        << m_pTransfer->StatusText().toStdString();

    Click("Port3");
    Settle();
    EXPECT_EQ(m_pTransfer->Port(), 3);
    EXPECT_EQ(Names(), (QStringList{"A1", "B2"}));
    EXPECT_TRUE(m_pTransfer->StatusText().isEmpty());
    m_pTransfer->List()->item(1)->setSelected(true);
    Click("OK");
    Settle();
    ASSERT_EQ(doc.m_importedMeas.size(), 1u);
    EXPECT_EQ(doc.m_importedMeas[0].m_fAmplitude, 9.f);
    EXPECT_EQ(doc.m_importedMultiples, std::vector<float>{5.f});
    QSettings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"))
        .remove(QStringLiteral("serial"));
}

} // namespace
