// The period's file names and qvrtool frames on its own.
#include "SceneBuilder.h"

#include "CPeriodWriter.h"
#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "MeasDirection.h"
#include "SceneFile.h"
#include "ToolRun.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace scene;

namespace {

TEST(PeriodWriter, NamesFramesFromOneWithThreeDigits) {
    CQuivraDoc doc;
    AddSeries(doc, 24);
    AddSeries(doc, 24);
    doc.m_seriesNames[0] = "Run 1";
    doc.m_seriesNames[1] = "M\xfc"
                           "hle"; // Latin-1 as stored
    const QString base = CPeriodWriter::BaseName(QStringLiteral("/data/pump.qvr"), doc, 0);
    EXPECT_EQ(base, QStringLiteral("/data/pump.qvr - Run 1"));
    EXPECT_EQ(CPeriodWriter::BaseName(QString(), doc, 1), QStringLiteral(" - M\u00fchle"));
    struct Case {
        int k;
        const char* name;
    } cases[] = {{0, "_001.bmp"}, {998, "_999.bmp"}, {999, "_1000.bmp"}};
    for (const Case& c : cases)
        EXPECT_EQ(CPeriodWriter::FileName(base, c.k), base + QLatin1String(c.name));
}

// Names a file cannot carry are mended so that every frame can be written, and the user is told.
TEST(PeriodWriter, SeriesNamesBecomeValidFileNameParts) {
    CQuivraDoc doc;
    AddSeries(doc, 2);
    const std::string longName(300, 'x');
    const std::pair<std::string, QString> cases[] = {
        {"Run 1", QStringLiteral("Run 1")},
        {"a/b\tc", QStringLiteral("a_b_c")},
        {longName, QString(255 - 15 - 11, QLatin1Char('x'))}, // "pump.qvr - " leads the name
    };
    QTemporaryDir dir;
    for (const auto& [name, part] : cases) {
        doc.m_seriesNames[0] = name;
        QString note;
        const QString base = CPeriodWriter::BaseName(dir.filePath("pump.qvr"), doc, 0, &note);
        EXPECT_EQ(base, dir.filePath("pump.qvr - ") + part);
        EXPECT_EQ(note.isEmpty(), name == "Run 1") << name;
        QImage frame(8, 4, QImage::Format_RGB32);
        frame.fill(Qt::white);
        EXPECT_EQ(CPeriodWriter::Write(base, 1, [&](int) { return frame; }).nWritten, 1) << name;
    }
}

TEST(PeriodWriter, ANullFrameIsListedAndTheRestRemoved) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString base = dir.filePath("x");
    QImage ok(8, 4, QImage::Format_RGB32);
    ok.fill(Qt::white);
    const CPeriodWriter::Result r =
        CPeriodWriter::Write(base, 3, [&](int k) { return k == 1 ? QImage() : ok; });
    EXPECT_EQ(r.nWritten, 0);
    EXPECT_EQ(r.nRemoved, 2);
    ASSERT_EQ(r.failed.size(), 1);
    EXPECT_TRUE(r.failed[0].contains(QStringLiteral("x_002.bmp")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

class QvrtoolFrames : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_scene = m_dir.filePath("scene.qvr");
        AddSeries(m_doc, 12);
        AddSeries(m_doc, 6);
        m_doc.m_seriesNames[0] = "Run 1";
        m_doc.m_seriesNames[1] = "Run 2";
        CornerPoint* a = AddFree(m_doc, -400, 10, 0);
        CornerPoint* b = AddFree(m_doc, 400, 10, 0);
        AddLine(m_doc, a, b);
        AddDirection(a, DirPlusY, 150, 90);
        QString error;
        ASSERT_TRUE(SceneFile::Save(m_doc, m_scene, &error)) << error.toStdString();
    }
    QStringList Bmps(const QString& folder) const {
        return QDir(folder).entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
    }
    QTemporaryDir m_dir;
    QString m_scene;
    CQuivraDoc m_doc;
};

// The option parser's refusals are render's (shared); here what only frames can meet.
TEST_F(QvrtoolFrames, RefusesWhatCannotBeWritten) {
    CQuivraDoc empty;
    const QString bare = m_dir.filePath("bare.qvr");
    ASSERT_TRUE(SceneFile::Save(empty, bare, nullptr));
    const struct {
        QStringList args;
        const char* says;
    } cases[] = {
        {{"frames", m_scene, "--series", "2"}, "does not exist"},
        {{"frames", m_scene, "--out", m_dir.filePath("missing/folder/x"), "--size", "40x30"},
         "x - Run 1_012.bmp"},
        {{"frames", bare}, "no measurement series"},
    };
    for (const auto& c : cases) {
        const ToolRun r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, 1) << c.says;
        EXPECT_TRUE(r.err.contains(QLatin1String(c.says))) << r.err.toStdString();
    }
    EXPECT_TRUE(Bmps(m_dir.path()).isEmpty());
}

} // namespace
