#include "KtlBuilder.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "ImportInstrumentFile.h"
#include "InstrumentCrc16.h"
#include "KtlReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

const QString kReadError = QStringLiteral("Error reading R4 quivra file");
const QString kCorrupt = QStringLiteral("Invalid or corrupted R4 quivra file");
const QString kVersion = QStringLiteral("File format not recognized. \rPlease updat the program.");

TEST(InstrumentCrc16, CheckValues) {
    struct Case {
        const char* text;
        std::uint16_t crc;
    } cases[] = {{"", 0x0000}, {"a", 0xF082}, {"abc", 0xF76D}, {"123456789", 0x4777}};
    for (const Case& c : cases)
        EXPECT_EQ(
            InstrumentCrc16(reinterpret_cast<const unsigned char*>(c.text), std::strlen(c.text)),
            c.crc)
            << c.text;
}

TEST(KtlReader, HeaderChecksInOrder) {
    struct Case {
        const char* name;
        QByteArray bytes;
        KtlResult::Status status;
        QString message;
    };
    KtlBuilder badSum;
    badSum.breakChecksum = true;
    badSum.version = 121; // the checksum is checked before the version
    KtlBuilder upperHalf;
    upperHalf.checksumUpper = 0x0001;
    KtlBuilder v121;
    v121.version = 121;
    KtlBuilder vHuge;
    vHuge.version = 0xFFFFFFFFu;
    const QByteArray good = KtlBuilder().Bytes();
    const Case cases[] = {
        {"empty file", QByteArray(), KtlResult::ShortHeader, kReadError},
        {"367 bytes", good.left(367), KtlResult::ShortHeader, kReadError},
        {"wrong checksum", badSum.Bytes(), KtlResult::BadChecksum, kCorrupt},
        {"upper half set", upperHalf.Bytes(), KtlResult::BadChecksum, kCorrupt},
        {"version 121", v121.Bytes(), KtlResult::BadVersion, kVersion},
        {"version 0xFFFFFFFF", vHuge.Bytes(), KtlResult::BadVersion, kVersion},
        {"all zero header", QByteArray(368, '\0'), KtlResult::BadChecksum, kCorrupt},
    };
    for (const Case& c : cases) {
        const KtlResult r = KtlReader::ReadBytes(c.bytes);
        EXPECT_EQ(r.m_nStatus, c.status) << c.name;
        EXPECT_EQ(r.Message(), c.message) << c.name;
        EXPECT_FALSE(r.HeaderAccepted()) << c.name;
        EXPECT_TRUE(r.m_records.empty()) << c.name;
    }
}

TEST(KtlReader, RecordFieldsAndUnitMapping) {
    // File unit code -> UnitTable index; 12 has no table entry and is kept as it is.
    const int fileToTable[][2] = {{0, 9}, {1, 1}, {2, 0}, {3, 2}, {4, 3},  {5, 5},
                                  {6, 6}, {7, 4}, {8, 7}, {9, 8}, {12, 12}};
    KtlBuilder b;
    std::uint16_t id = 65535;
    for (const auto& u : fileToTable)
        b.Add({id--, 1.5f, -45.25f, 1480.f, 1.f, 13, std::uint8_t(u[0])});
    b.Add({7, 0.1f, 0.f, 24.f, 1.f, 0, 3});   // speed unit other than 13: RPM
    b.Add({8, 0.2f, 0.f, 24.f, 1.f, 255, 3}); // likewise
    const KtlResult r = KtlReader::ReadBytes(b.Bytes());
    ASSERT_EQ(r.m_nStatus, KtlResult::Ok);
    ASSERT_EQ(r.m_records.size(), std::size(fileToTable) + 2);
    for (std::size_t i = 0; i < std::size(fileToTable); ++i) {
        const ImportedMeas& m = r.m_records[i];
        EXPECT_EQ(std::make_tuple(m.m_nId, m.m_nUnit, m.m_nFreqUnit),
                  std::make_tuple(65535 - int(i), fileToTable[i][1], 0))
            << "file code " << fileToTable[i][0];
        EXPECT_EQ(std::make_tuple(m.m_fAmplitude, m.m_fPhase, m.m_fSpeed, m.m_fMultiple),
                  std::make_tuple(1.5f, -45.25f, 1480.f, 1.f));
    }
    EXPECT_EQ(r.m_records[11].m_nFreqUnit, 1);
    EXPECT_EQ(r.m_records[12].m_nFreqUnit, 1);
}

TEST(KtlReader, MultiplesFromFirstTwoDistinctValues) {
    struct Case {
        std::vector<float> multiples;
        std::vector<float> expected;
    } cases[] = {
        {{2, 2, 1}, {1, 2}},
        {{1, 1, 1}, {0, 1}},
        {{}, {0, 0}},
        {{3, 5, 7}, {3, 5}},
        {{0, 3}, {0, 3}},
        {{-1, 2}, {-1, 2}}, // a negative value before any positive one still fills m2
        {{0.5f, 4, 0.25f}, {0.5f, 4}},
    };
    for (const Case& c : cases) {
        KtlBuilder b;
        b.version = 120; // the newest version read
        std::uint16_t id = 1;
        for (float m : c.multiples)
            b.Add({id++, 1.f, 0.f, 10.f, m});
        const KtlResult r = KtlReader::ReadBytes(b.Bytes());
        ASSERT_EQ(r.m_nStatus, KtlResult::Ok);
        EXPECT_TRUE(r.Message().isEmpty());
        EXPECT_EQ(r.m_records.size(), c.multiples.size());
        EXPECT_EQ(r.m_multiples, c.expected) << ::testing::PrintToString(c.multiples);
    }
}

TEST(KtlReader, DamagedAndEmptySlotsSkipped) {
    KtlBuilder b;
    b.Add({1, 1.f, 10.f, 5.f, 1.f});
    b.AddFilled('\0');
    b.AddFilled(char(0xFF));
    b.AddDamaged({2, 2.f, 20.f, 5.f, 7.f}); // its multiple must not count either
    b.Add({3, 3.f, 30.f, 5.f, 1.f});
    const KtlResult r = KtlReader::ReadBytes(b.Bytes() + QByteArray(10, 'x')); // tail ignored
    ASSERT_EQ(r.m_nStatus, KtlResult::Ok);
    ASSERT_EQ(r.m_records.size(), 2u);
    EXPECT_EQ(r.m_records[0].m_nId, 1);
    EXPECT_EQ(r.m_records[1].m_nId, 3);
    EXPECT_EQ(r.m_multiples, (std::vector<float>{0, 1}));
}

TEST(KtlReader, SlotCountFromFlag) {
    // Flag clear: 4096 slots whatever the count says.
    KtlBuilder full;
    full.counted = false;
    full.countOverride = 1;
    full.Add({1, 1.f, 0.f, 5.f, 1.f});
    while (full.m_slots.size() < 4095)
        full.AddFilled('\0');
    full.Add({4096, 2.f, 0.f, 5.f, 2.f});
    KtlResult r = KtlReader::ReadBytes(full.Bytes());
    ASSERT_EQ(r.m_nStatus, KtlResult::Ok);
    ASSERT_EQ(r.m_records.size(), 2u);
    EXPECT_EQ(r.m_records[1].m_nId, 4096);

    // Flag clear with fewer slots: the records before the short one are kept.
    KtlBuilder shortFile;
    shortFile.counted = false;
    shortFile.Add({1, 1.f, 0.f, 5.f, 1.f}).Add({2, 1.f, 0.f, 5.f, 2.f});
    r = KtlReader::ReadBytes(shortFile.Bytes() + QByteArray(43, '\0'));
    EXPECT_EQ(r.m_nStatus, KtlResult::ShortRecord);
    EXPECT_EQ(r.Message(), kReadError);
    EXPECT_TRUE(r.HeaderAccepted());
    EXPECT_EQ(r.m_records.size(), 2u);
    EXPECT_TRUE(r.m_multiples.empty());

    // Flag set: the count rules, so extra m_slots are not read and missing ones are short.
    KtlBuilder counted;
    counted.countOverride = 1;
    counted.Add({1, 1.f, 0.f, 5.f, 1.f}).Add({2, 1.f, 0.f, 5.f, 1.f});
    r = KtlReader::ReadBytes(counted.Bytes());
    EXPECT_EQ(r.m_nStatus, KtlResult::Ok);
    EXPECT_EQ(r.m_records.size(), 1u);
    counted.countOverride = 3;
    r = KtlReader::ReadBytes(counted.Bytes());
    EXPECT_EQ(r.m_nStatus, KtlResult::ShortRecord);
    EXPECT_EQ(r.m_records.size(), 2u);
}

class ImportInstrumentFileTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        return WriteTestFile(m_dir, name, bytes);
    }
    void Prefill() {
        m_doc.m_importedMeas = {ImportedMeas{42, 1, 0, 9.f, 9.f, 9.f, 9.f}};
        m_doc.m_importedMultiples = {9.f, 0.f};
    }
    QTemporaryDir m_dir;
    CQuivraDoc m_doc;
};

TEST_F(ImportInstrumentFileTest, HeaderFailureKeepsPreviousRecords) {
    KtlBuilder bad;
    bad.breakChecksum = true;
    const QString paths[] = {m_dir.filePath("missing.KTL"),
                             Write(QStringLiteral("bad.KTL"), bad.Bytes()), m_dir.path()};
    const QString messages[] = {QStringLiteral("Error opening quivra file"), kCorrupt,
                                QStringLiteral("Error opening quivra file")};
    for (int i = 0; i < 3; ++i) {
        Prefill();
        QString message;
        EXPECT_EQ(ImportInstrumentFile(paths[i], &m_doc, &message), ImportOutcome::Refused);
        EXPECT_EQ(message, messages[i]) << paths[i].toStdString();
        ASSERT_EQ(m_doc.m_importedMeas.size(), 1u);
        EXPECT_EQ(m_doc.m_importedMeas[0].m_nId, 42);
        EXPECT_EQ(m_doc.m_importedMultiples, (std::vector<float>{9.f, 0.f}));
    }
    // The system's reason, for the command line.
    EXPECT_FALSE(KtlReader::ReadFile(paths[0]).m_strOpenError.isEmpty());
}

TEST_F(ImportInstrumentFileTest, SuccessAndShortRecordReplaceRecords) {
    auto* p = new CornerPoint(1, 2, 3, &m_doc);
    m_doc.m_freePoints.push_back(p);
    m_doc.AddSeries();

    KtlBuilder good;
    good.Add({5, 1.f, 90.f, 10.f, 2.f}).Add({6, 2.f, 180.f, 10.f, 2.f});
    Prefill();
    QString message = QStringLiteral("stale");
    EXPECT_EQ(
        ImportInstrumentFile(Write(QStringLiteral("good.KTL"), good.Bytes()), &m_doc, &message),
        ImportOutcome::Imported);
    EXPECT_TRUE(message.isEmpty());
    ASSERT_EQ(m_doc.m_importedMeas.size(), 2u);
    EXPECT_EQ(m_doc.m_importedMeas[1].m_fPhase, 180.f);
    EXPECT_EQ(m_doc.m_importedMultiples, (std::vector<float>{0.f, 2.f}));

    Prefill();
    EXPECT_EQ(ImportInstrumentFile(Write(QStringLiteral("short.KTL"), good.Bytes().chopped(1)),
                                   &m_doc, &message),
              ImportOutcome::Partial);
    EXPECT_EQ(message, kReadError);
    ASSERT_EQ(m_doc.m_importedMeas.size(), 1u);
    EXPECT_EQ(m_doc.m_importedMeas[0].m_nId, 5);
    EXPECT_TRUE(m_doc.m_importedMultiples.empty());

    // The scene is untouched by either import.
    ASSERT_EQ(m_doc.PointCount(), 1u);
    EXPECT_EQ(m_doc.m_freePoints[0], p);
    EXPECT_EQ(m_doc.m_nSeries, 1);
    EXPECT_FALSE(m_doc.IsModified());
}

} // namespace
