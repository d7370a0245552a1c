// `qvrtool ktl` and `qvrtool transfer` as a user runs them.
#include "CommaLocale.h"
#include "KtlBuilder.h"
#include "ToolRun.h"

#include "InstrumentSet.h"
#include "KtlReader.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

ToolRun Qvrtool(const QStringList& args, bool commaLocale = false) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (commaLocale) {
        env.insert(QStringLiteral("LOCPATH"), CommaLocale::Folder());
        env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(CommaLocale::Name()));
    }
    return RunProgram(QStringLiteral(QUIVRA_QVRTOOL), args, env);
}

// The JSON records must read back to exactly the reader's single-precision values.
void ExpectJsonMatches(const QByteArray& json, const std::vector<ImportedMeas>& records,
                       const std::vector<float>& multiples) {
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(json, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();
    const QJsonArray recs = o.value("records").toArray();
    ASSERT_EQ(recs.size(), qsizetype(records.size()));
    for (qsizetype i = 0; i < recs.size(); ++i) {
        const QJsonObject r = recs[i].toObject();
        const ImportedMeas& m = records[std::size_t(i)];
        EXPECT_EQ(r.value("id").toInt(), m.m_nId);
        EXPECT_EQ(r.value("unit").toInt(), m.m_nUnit);
        EXPECT_EQ(r.value("freqUnit").toInt(), m.m_nFreqUnit);
        EXPECT_EQ(float(r.value("amplitude").toDouble()), m.m_fAmplitude);
        EXPECT_EQ(float(r.value("phase").toDouble()), m.m_fPhase);
        EXPECT_EQ(float(r.value("speed").toDouble()), m.m_fSpeed);
        EXPECT_EQ(float(r.value("multiple").toDouble()), m.m_fMultiple);
    }
    const QJsonArray mult = o.value("multiples").toArray();
    ASSERT_EQ(mult.size(), qsizetype(multiples.size()));
    for (qsizetype i = 0; i < mult.size(); ++i)
        EXPECT_EQ(float(mult[i].toDouble()), multiples[std::size_t(i)]);
}

class QvrtoolTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        return WriteTestFile(m_dir, name, bytes);
    }
    QTemporaryDir m_dir;
};

TEST_F(QvrtoolTest, KtlPrintsRecordsExactly) {
    KtlBuilder b;
    b.Add({1, 0.1f, 1e-7f, 3.4028235e38f, 1.f, 0, 12}).Add({2, -2.5f, 359.9f, 24.75f, 1.f});
    const QString path = Write(QStringLiteral("values.KTL"), b.Bytes());
    const KtlResult want = KtlReader::ReadFile(path);
    // JSON keeps its decimal point under a user's comma locale.
    for (bool comma : {false, true}) {
        const ToolRun r = Qvrtool({QStringLiteral("ktl"), path}, comma);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty());
        ExpectJsonMatches(r.out.toUtf8(), want.m_records, want.m_multiples);
    }
}

// The reader's messages (its own tests) reach stderr; a file that ends early still prints
// what was read before the failure.
TEST_F(QvrtoolTest, KtlFailures) {
    KtlBuilder v121;
    v121.version = 121;
    KtlBuilder two;
    two.Add({1, 1.f, 2.f, 3.f, 1.f}).Add({2, 1.f, 2.f, 3.f, 1.f});
    struct Case {
        QString path;
        const char* err;
        int printedRecords; // -1: nothing on stdout
    } cases[] = {
        {m_dir.filePath(QStringLiteral("missing.KTL")),
         "Error opening quivra file (No such file or directory)\n", -1},
        // The terminal shows the message box's carriage return as the line break it means.
        {Write(QStringLiteral("v121.KTL"), v121.Bytes()),
         "File format not recognized.\nPlease updat the program.\n", -1},
        {Write(QStringLiteral("short.KTL"), two.Bytes().chopped(1)),
         "Error reading R4 quivra file\n", 1},
    };
    for (const Case& c : cases) {
        const ToolRun r = Qvrtool({QStringLiteral("ktl"), c.path});
        EXPECT_EQ(r.exitCode, 1) << c.path.toStdString();
        EXPECT_EQ(r.err, c.path + ": " + c.err); // the file is named
        if (c.printedRecords < 0) {
            EXPECT_TRUE(r.out.isEmpty());
        } else {
            const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
            EXPECT_EQ(o.value("records").toArray().size(), c.printedRecords);
            EXPECT_TRUE(o.value("multiples").toArray().isEmpty());
        }
    }
}

#ifdef QUIVRA_SIMULATOR
TEST_F(QvrtoolTest, TransferListAndFetch) {
    const std::vector<InstrumentBlock> blocks = {
        InstrumentBlock::Make(2, 1, 1.f, 2.f, 1480.f, 2960.f, 0.1f, 12.5f, 0.2f, 25.f)};
    Write(QStringLiteral("A1.set"), InstrumentSet::Encode(blocks));
    Write(QStringLiteral("B2.set"), InstrumentSet::Encode({}));
    for (bool silent : {false, true}) {
        QProcess sim;
        QStringList args{QStringLiteral("--stdin-lifeline"), m_dir.path()};
        if (silent)
            args.prepend(QStringLiteral("--silent"));
        sim.start(QStringLiteral(QUIVRA_SIMULATOR), args);
        ASSERT_TRUE(sim.waitForStarted(5000) && sim.waitForReadyRead(5000));
        const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();

        const ToolRun list = Qvrtool({"transfer", "--device", device, "list"});
        const ToolRun fetch = Qvrtool({"transfer", "--device", device, "fetch", "A1"});
        sim.closeWriteChannel();
        if (!sim.waitForFinished(5000))
            sim.kill();
        if (silent) {
            EXPECT_EQ(list.exitCode, 1);
            EXPECT_EQ(list.err, "The instrument does not answer.\n");
            EXPECT_EQ(fetch.exitCode, 1);
            EXPECT_TRUE(fetch.out.isEmpty());
            continue;
        }
        EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
        EXPECT_EQ(list.out, "A1\nB2\n");
        EXPECT_EQ(fetch.exitCode, 0) << fetch.err.toStdString();
        std::vector<ImportedMeas> records;
        std::vector<float> multiples;
        QString error;
        ASSERT_TRUE(
            InstrumentSet::Decode(InstrumentSet::Encode(blocks), &records, &multiples, &error));
        ExpectJsonMatches(fetch.out.toUtf8(), records, multiples);
    }
}
#endif

} // namespace
