#include "ScriptedPort.h"

#include "CQuivraDoc.h"
#include "InstrumentFloat.h"
#include "InstrumentProtocol.h"
#include "InstrumentSet.h"
#include "InstrumentSimulator.h"
#include "InstrumentTransfer.h"
#include "KtlReader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

namespace {

float FromBits(std::uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

TEST(InstrumentFloat, Conversions) {
    struct Case {
        std::uint32_t word;
        float value;
    } cases[] = {
        {0x80000000u, 0.f},
        {0x00000000u, 1.f},
        {0x01000000u, 2.f},
        {0xFF000000u, 0.5f},
        {0x00800000u, -1.f},
        {0x02400000u, 6.f},
        {0x81000000u, FromBits(0x00000000u)},
        {0x80800000u, FromBits(0xFF800000u)}, // the top byte 0x80 with a sign: -inf
    };
    for (const Case& c : cases) {
        const float f = InstrumentFloatToIeee(c.word);
        std::uint32_t got, want;
        std::memcpy(&got, &f, 4);
        std::memcpy(&want, &c.value, 4);
        EXPECT_EQ(got, want) << std::hex << c.word;
    }
    for (float v : {1.f, -1.f, 0.125f, 1480.5f, -3.75e-6f, 2.5e30f, 1e-40f /* subnormal */})
        EXPECT_EQ(InstrumentFloatToIeee(IeeeToInstrumentFloat(v)), v) << v;
    EXPECT_EQ(IeeeToInstrumentFloat(0.f), 0x80000000u);
}

// ---- wake-up, listing, mode --------------------------------------------------------------

TEST(InstrumentProtocol, WakeAnswersEveryOtherByteWithAnotherWakeByte) {
    ScriptedPort port;
    QByteArray answers("ab\x00>", 4);
    port.m_onWrite = [&answers](ScriptedPort& p, const QByteArray&) {
        p.Send(answers.left(1));
        answers.remove(0, 1);
    };
    InstrumentProtocol proto(port);
    EXPECT_TRUE(proto.WakeInstrument());
    EXPECT_EQ(port.m_written, QByteArray(4, '\x40'));
}

TEST(InstrumentProtocol, WakeFailures) {
    struct Case {
        const char* name;
        std::function<void(ScriptedPort&, const QByteArray&)> instrument;
        int maxWrites;
    } cases[] = {
        {"silent", nullptr, 1},
        {"refuses", [](ScriptedPort& p, const QByteArray&) { p.Send("\xFF"); }, 1},
        {"babbles", [](ScriptedPort& p, const QByteArray&) { p.Send("x"); }, 1025},
    };
    for (const Case& c : cases) {
        ScriptedPort port;
        port.m_onWrite = c.instrument;
        InstrumentProtocol proto(port);
        EXPECT_FALSE(proto.WakeInstrument()) << c.name;
        EXPECT_FALSE(proto.Error().isEmpty()) << c.name;
        EXPECT_LE(port.m_written.size(), c.maxWrites) << c.name;
        EXPECT_LE(port.NowMs(), 3500) << c.name;
    }
}

TEST(InstrumentProtocol, ListingSplitsLinesAndEndsAtPrompt) {
    struct Case {
        QByteArray listing;
        QStringList names;
    } cases[] = {
        {"A1\r\nB2\r\n>", {"A1", "B2"}},
        {"\r\n\nA1\nB2\rC3>", {"A1", "B2"}}, // the unfinished C3 is dropped
        {">", {}},
    };
    for (const Case& c : cases) {
        ScriptedPort port;
        port.m_onWrite = [&c](ScriptedPort& p, const QByteArray& w) {
            if (w == "TV\n")
                p.Send("V>");
            if (w == "D\n") {
                p.Send(c.listing.left(3));
                // Pauses short of the limit, counted from the last byte, do not end it.
                for (int i = 1; i < InstrumentProtocol::Limits().m_nListingMaxSilentReads; ++i)
                    p.m_input.push_back(ScriptedPort::Pause);
                p.Send(c.listing.mid(3));
            }
        };
        InstrumentProtocol proto(port);
        QStringList names;
        EXPECT_TRUE(proto.ListSets(&names)) << proto.Error().toStdString();
        EXPECT_EQ(names, c.names) << c.listing.toStdString();
        EXPECT_EQ(port.m_written, QByteArray("TV\nD\n"));
        EXPECT_TRUE(proto.m_strReceived.contains(QStringLiteral("V>")));
    }
}

TEST(InstrumentProtocol, ModeAndListingWaitsAreBounded) {
    // No prompt for the mode: the command is repeated a bounded number of times.
    ScriptedPort port;
    port.m_onWrite = [](ScriptedPort& p, const QByteArray&) { p.Send("?\r\n"); };
    InstrumentProtocol proto(port);
    QStringList names;
    EXPECT_FALSE(proto.ListSets(&names));
    EXPECT_EQ(port.m_written, QByteArray("TV\n").repeated(10));

    // A listing that never ends: names so far kept, then silence ends it.
    ScriptedPort endless;
    endless.m_onWrite = [](ScriptedPort& p, const QByteArray& w) {
        p.Send(w == "TV\n" ? "V>" : "A1\r\nB2");
    };
    InstrumentProtocol proto2(endless);
    EXPECT_FALSE(proto2.ListSets(&names));
    EXPECT_EQ(names, QStringList{"A1"});
    EXPECT_LE(endless.NowMs(), 4000);

    // What a drain reads is kept for the log, without the zero bytes.
    ScriptedPort noisy;
    noisy.Send(QByteArray("a\0\x01", 3));
    InstrumentProtocol proto4(noisy);
    EXPECT_TRUE(proto4.Drain());
    EXPECT_EQ(proto4.m_strReceived, QStringLiteral("a\x01"));
    noisy.m_nByteUs = 1000000; // the last byte comes just at the two-second bound: still fine
    noisy.Send("ab");
    EXPECT_TRUE(proto4.Drain());

    // An instrument that babbles: the drain and the listing stop at their bounds.
    ScriptedPort babble;
    babble.m_bBabble = true;
    InstrumentProtocol proto3(babble);
    EXPECT_FALSE(proto3.Drain());
    EXPECT_FALSE(proto3.ListSets(&names));
    EXPECT_LE(babble.NowMs(), 5000);
}

TEST(InstrumentProtocol, TricklingSetIsCutOff) {
    // One byte every 140 ms never times out, yet the set must not take forever.
    InstrumentSimulator sim;
    std::vector<InstrumentBlock> blocks(40);
    sim.AddSet(QStringLiteral("S"), InstrumentSet::Encode(blocks));
    ScriptedPort port;
    port.m_onWrite = [&sim](ScriptedPort& p, const QByteArray& w) { p.Send(sim.Receive(w)); };
    port.m_nByteUs = 140000;
    InstrumentProtocol proto(port);
    QByteArray data = "previous";
    EXPECT_FALSE(proto.ReceiveSet("S", &data));
    EXPECT_EQ(data, QByteArray("previous"));
    EXPECT_LE(port.NowMs(), 10000); // 8 s plus 0.4 ms per byte of the set, plus the wake-up
    EXPECT_TRUE(proto.Error().contains(QStringLiteral("did not finish")))
        << proto.Error().toStdString();

    // The largest set, each byte just within the per-byte bound: the whole transfer is capped.
    ScriptedPort slow;
    slow.m_onWrite = [](ScriptedPort& p, const QByteArray& w) {
        if (w == "\x40")
            p.Send(">");
        else if (w.startsWith("BG "))
            p.Send(QByteArray("\x00\x00\x01\x00", 4) + QByteArray(262144, 'x'));
    };
    slow.m_nByteUs = 390;
    InstrumentProtocol slowProto(slow);
    EXPECT_FALSE(slowProto.ReceiveSet("S", &data));
    EXPECT_LE(slow.NowMs(), 30500);
    EXPECT_TRUE(slowProto.Error().contains(QStringLiteral("stopped after 30 s")))
        << slowProto.Error().toStdString();
}

// A large set at an even pace within its allowance (8 s and 0.4 ms a byte) arrives whole; at
// 0.37 ms a byte it would be cut off were the allowance a third of a millisecond a byte.
TEST(InstrumentProtocol, SteadySetWithinItsAllowanceArrives) {
    InstrumentSimulator sim;
    const QByteArray set = InstrumentSet::Encode(std::vector<InstrumentBlock>(1300));
    sim.AddSet(QStringLiteral("S"), set);
    ScriptedPort port;
    port.m_onWrite = [&sim](ScriptedPort& p, const QByteArray& w) { p.Send(sim.Receive(w)); };
    port.m_nByteUs = (8000 + set.size() * 37 / 100) * 1000 / set.size();
    InstrumentProtocol proto(port);
    QByteArray data;
    EXPECT_TRUE(proto.ReceiveSet("S", &data)) << proto.Error().toStdString();
    EXPECT_EQ(data, set);
}

// ---- sets ------------------------------------------------------------------------------

// A record's number, multiple and amplitude; all its fields.
using Rec = std::tuple<int, float, float>;
std::vector<Rec> Summary(const std::vector<ImportedMeas>& records) {
    std::vector<Rec> out;
    for (const ImportedMeas& m : records)
        out.emplace_back(m.m_nId, m.m_fMultiple, m.m_fAmplitude);
    return out;
}
auto Fields(const ImportedMeas& m) {
    return std::make_tuple(m.m_nId, m.m_nUnit, m.m_nFreqUnit, m.m_fAmplitude, m.m_fPhase,
                           m.m_fSpeed, m.m_fMultiple);
}

InstrumentBlock Block(float multA, float multB) {
    return InstrumentBlock::Make(2, 0, multA, multB, 24.f, 48.f, 10.f, 30.f, 20.f, 60.f);
}

TEST(InstrumentSet, RecordsAndMultiplesFromBlocks) {
    struct Case {
        const char* name;
        std::vector<InstrumentBlock> blocks;
        std::vector<Rec> records;
        std::vector<float> multiples;
    } cases[] = {
        {"equal multiples: A only", {Block(1, 1)}, {{1, 1, 10}}, {1}},
        {"B zero: A only", {Block(1, 0)}, {{1, 1, 10}}, {1}},
        {"A negative, B 2: B only", {Block(-1, 2)}, {{1, 2, 20}}, {2}},
        {"A zero, B 2: B only", {Block(0, 2)}, {{1, 2, 20}}, {2}},
        {"two blocks",
         {Block(1, 2), Block(2, 3)},
         {{1, 1, 10}, {1, 2, 20}, {2, 2, 10}, {2, 3, 20}},
         {1, 2, 3}},
        {"descending and repeated",
         {Block(5, 0.5f), Block(5, 2)},
         {{1, 5, 10}, {1, 0.5f, 20}, {2, 5, 10}, {2, 2, 20}},
         {0.5f, 2, 5}},
        {"no blocks", {}, {}, {}},
    };
    for (const Case& c : cases) {
        std::vector<ImportedMeas> records;
        std::vector<float> multiples;
        QString error;
        ASSERT_TRUE(
            InstrumentSet::Decode(InstrumentSet::Encode(c.blocks), &records, &multiples, &error))
            << c.name;
        EXPECT_EQ(Summary(records), c.records) << c.name;
        EXPECT_EQ(multiples, c.multiples) << c.name;
    }
    std::vector<ImportedMeas> none = {ImportedMeas{}};
    std::vector<float> multiples;
    QString error; // a count of zero alone is a set without blocks
    EXPECT_TRUE(InstrumentSet::Decode(QByteArray(4, '\0'), &none, &multiples, &error) &&
                none.empty());
}

TEST(InstrumentSet, UnitWordAndFields) {
    InstrumentBlock b = Block(1, 2);
    b.m_words[0] = 0xFFFFFF0Cu; // unit 12, speed unit -1
    std::vector<ImportedMeas> records;
    std::vector<float> multiples;
    QString error;
    ASSERT_TRUE(InstrumentSet::Decode(InstrumentSet::Encode({Block(1, 2), b}), &records, &multiples,
                                      &error));
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(Fields(records[0]), std::make_tuple(1, 2, 0, 10.f, 30.f, 24.f, 1.f));
    EXPECT_EQ(Fields(records[1]), std::make_tuple(1, 2, 0, 20.f, 60.f, 48.f, 2.f));
    EXPECT_EQ(Fields(records[2]), std::make_tuple(2, 12, -1, 10.f, 30.f, 24.f, 1.f));
}

TEST(InstrumentSet, BlockCountBeyondTheDataIsRefused) {
    const std::vector<ImportedMeas> previous = {ImportedMeas{7, 1, 0, 1, 2, 3, 4}};
    const QByteArray sets[] = {
        QByteArray(),                                             // no K at all
        InstrumentSet::Encode({Block(1, 2)}, 2),                  // one block short
        InstrumentSet::Encode({Block(1, 2)}, 0xFFFFFFFFll),       // K as -1
        InstrumentSet::Encode({Block(1, 2)}).left(4 * 6 + 4 * 8), // last word missing
    };
    for (const QByteArray& data : sets) {
        std::vector<ImportedMeas> records = previous;
        std::vector<float> multiples = {9.f};
        QString error;
        EXPECT_FALSE(InstrumentSet::Decode(data, &records, &multiples, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(records.size(), 1u);
        EXPECT_EQ(multiples, std::vector<float>{9.f});
    }
}

// ---- whole transfers against the simulated instrument -----------------------------------

class TransferTest : public ::testing::Test {
protected:
    TransferTest()
        : m_transfer([this](int nPort, QString* error) -> std::unique_ptr<IBytePort> {
              m_nOpenedPort = nPort;
              if (m_bOpenFails) {
                  *error = QStringLiteral("no such device");
                  return nullptr;
              }
              auto port = std::make_unique<ScriptedPort>();
              port->m_onWrite = [this](ScriptedPort& p, const QByteArray& w) {
                  if (m_sim.Babbling())
                      p.m_bBabble = true;
                  p.Send(m_sim.Receive(w));
                  if (m_sim.Babbling())
                      p.m_bBabble = true;
              };
              port->m_onClose = [this](ScriptedPort& p) {
                  m_nLastPortMs = p.NowMs();
                  EXPECT_EQ(p.m_pCancel, m_transfer.m_pCancel); // so that a wait can be cut short
              };
              return port;
          }) {
        m_sim.AddSet(QStringLiteral("PUMP1"), InstrumentSet::Encode({Block(1, 2), Block(2, 3)}));
        m_doc.m_importedMeas = {ImportedMeas{99, 0, 0, 1.f, 1.f, 1.f, 7.f}};
        m_doc.m_importedMultiples = {7.f};
    }
    void ExpectDocUnchanged() {
        ASSERT_EQ(m_doc.m_importedMeas.size(), 1u);
        EXPECT_EQ(m_doc.m_importedMeas[0].m_nId, 99);
        EXPECT_EQ(m_doc.m_importedMultiples, std::vector<float>{7.f});
    }

    InstrumentSimulator m_sim;
    InstrumentTransfer m_transfer;
    qint64 m_nLastPortMs = -1; // the simulated time the last operation took
    int m_nOpenedPort = 0;
    bool m_bOpenFails = false;
    CQuivraDoc m_doc;
};

TEST_F(TransferTest, HealthyInstrumentSeesTheClassicBytes) {
    QByteArray written;
    QStringList names;
    QString message;
    const std::atomic_bool cancel{false};
    m_transfer.m_pCancel = &cancel;
    ASSERT_TRUE(m_transfer.UpdateList(3, &names, &message)) << message.toStdString();
    EXPECT_EQ(m_nOpenedPort, 3);
    EXPECT_EQ(names, QStringList{"PUMP1"});
    EXPECT_EQ(m_transfer.m_strReceived, QStringLiteral("V>")); // kept for the log

    m_sim.m_faults.m_nGarbage = 2; // two junk bytes before each prompt
    ASSERT_TRUE(m_transfer.TransferSet(1, QStringLiteral("PUMP1"), &m_doc, &message))
        << message.toStdString();
    EXPECT_TRUE(message.isEmpty());
    EXPECT_EQ(Summary(m_doc.m_importedMeas),
              (std::vector<Rec>{{1, 1, 10}, {1, 2, 20}, {2, 2, 10}, {2, 3, 20}}));
    EXPECT_EQ(m_doc.m_importedMultiples, (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(m_transfer.Received(), InstrumentSet::Encode({Block(1, 2), Block(2, 3)}));
    EXPECT_EQ(m_sim.m_nWakeBytes, 2 + 3 + 3); // listing: 1 + 1; transfer: two wakes of 3
}

TEST_F(TransferTest, WireBytes) {
    // Record what the program writes with a fresh port per operation.
    std::vector<QByteArray> writes;
    InstrumentTransfer recorder([&](int, QString*) -> std::unique_ptr<IBytePort> {
        auto port = std::make_unique<ScriptedPort>();
        writes.emplace_back();
        const std::size_t index = writes.size() - 1;
        port->m_onWrite = [this, &writes, index](ScriptedPort& p, const QByteArray& w) {
            writes[index] += w;
            p.Send(m_sim.Receive(w));
        };
        return port;
    });
    QStringList names;
    ASSERT_TRUE(recorder.UpdateList(1, &names, nullptr));
    ASSERT_TRUE(recorder.TransferSet(1, QStringLiteral("PUMP1"), &m_doc, nullptr));
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0], QByteArray("@@TV\nD\n"));
    EXPECT_EQ(writes[1], QByteArray("@@BG VPUMP1\n"));
    // The name ends at a zero byte, so one that starts with it asks for the empty name.
    recorder.TransferSet(1, QChar(0) + QStringLiteral("PUMP1"), &m_doc, nullptr);
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[2], QByteArray("@@BG V\n"));
}

TEST_F(TransferTest, FaultsEndInTimeAndFailedTransfersKeepTheDocument) {
    struct Case {
        const char* name;
        void (*set)(SimulatorFaults&);
        bool listOk, transferOk;
    };
    const Case cases[] = {
        {"silent", [](SimulatorFaults& x) { x.m_bSilent = true; }, false, false},
        {"refuses", [](SimulatorFaults& x) { x.m_bRefuse = true; }, false, false},
        {"bad checksum", [](SimulatorFaults& x) { x.m_bBadChecksum = true; }, true, false},
        {"short set", [](SimulatorFaults& x) { x.m_bShortSet = true; }, true, false},
        {"absurd count", [](SimulatorFaults& x) { x.m_bAbsurdCount = true; }, true, false},
        {"K too large", [](SimulatorFaults& x) { x.m_nBlockCount = 3; }, true, false},
        {"babble", [](SimulatorFaults& x) { x.m_bBabble = true; }, false, false},
        {"no mode", [](SimulatorFaults& x) { x.m_bNoMode = true; }, false, true},
        {"endless listing", [](SimulatorFaults& x) { x.m_bEndlessListing = true; }, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatorFaults faults;
        c.set(faults);
        m_sim = InstrumentSimulator();
        m_sim.AddSet(QStringLiteral("PUMP1"), InstrumentSet::Encode({Block(1, 2)}));
        m_sim.m_faults = faults;
        QStringList names;
        QString message;
        m_nLastPortMs = -1;
        EXPECT_EQ(m_transfer.UpdateList(1, &names, &message), c.listOk);
        EXPECT_EQ(message.isEmpty(), c.listOk) << message.toStdString();
        // A half-dead line may cost up to 40 read time-outs for one byte, never much more.
        EXPECT_GE(m_nLastPortMs, 0);
        EXPECT_LE(m_nLastPortMs, 12000);

        m_doc.m_importedMeas = {ImportedMeas{99, 0, 0, 1.f, 1.f, 1.f, 7.f}};
        m_doc.m_importedMultiples = {7.f};
        const QByteArray before = m_transfer.Received();
        m_nLastPortMs = -1;
        EXPECT_EQ(m_transfer.TransferSet(1, QStringLiteral("PUMP1"), &m_doc, &message),
                  c.transferOk);
        EXPECT_EQ(message.isEmpty(), c.transferOk) << message.toStdString();
        EXPECT_GE(m_nLastPortMs, 0);
        EXPECT_LE(m_nLastPortMs, 12000);
        if (!c.transferOk) {
            ExpectDocUnchanged();
            EXPECT_EQ(m_transfer.Received(), before);
        }
    }
}

TEST_F(TransferTest, PortThatCannotOpen) {
    m_bOpenFails = true;
    QStringList names{"stale"};
    QString message;
    EXPECT_FALSE(m_transfer.UpdateList(2, &names, &message));
    EXPECT_TRUE(names.isEmpty());
    EXPECT_EQ(message, QStringLiteral("Cannot open COM2: no such device"));
    EXPECT_FALSE(m_transfer.TransferSet(2, QStringLiteral("PUMP1"), &m_doc, &message));
    ExpectDocUnchanged();
}

TEST_F(TransferTest, ExampleFileServedAsASet) {
    QString error;
    const QByteArray set =
        SetFromKtlFile(QStringLiteral(QUIVRA_EXAMPLES "/box_measurements.KTL"), &error);
    ASSERT_FALSE(set.isEmpty()) << error.toStdString();
    m_sim.AddSet(QStringLiteral("BOX"), set);
    QString message;
    ASSERT_TRUE(m_transfer.TransferSet(1, QStringLiteral("BOX"), &m_doc, &message));
    // Same records as the file, ordered by number with multiple 1 before multiple 2.
    const KtlResult file =
        KtlReader::ReadFile(QStringLiteral(QUIVRA_EXAMPLES "/box_measurements.KTL"));
    ASSERT_EQ(m_doc.m_importedMeas.size(), file.m_records.size());
    for (std::size_t i = 0; i < file.m_records.size(); ++i) {
        EXPECT_EQ(Fields(m_doc.m_importedMeas[i]), Fields(file.m_records[(i % 2) * 8 + i / 2]));
    }
    EXPECT_EQ(m_doc.m_importedMultiples, (std::vector<float>{1.f, 2.f}));
}

} // namespace
