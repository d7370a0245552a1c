// qvrtool dump and resave, run as a user's script would run them.
#include "SceneFile.h"
#include "TestFiles.h"
#include "TestScenes.h"
#include "ToolRun.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testscenes;

namespace {

QString WriteSample(const QTemporaryDir& dir) {
    CQuivraDoc doc;
    BuildSample(doc);
    const QString path = dir.filePath("sample.qvr");
    EXPECT_TRUE(SceneFile::Save(doc, path, nullptr));
    return path;
}

TEST(QvrtoolScene, DumpDescribesTheWholeScene) {
    QTemporaryDir dir;
    const ToolRun r = RunTool({"dump", WriteSample(dir)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonParseError perr;
    const QJsonObject root = QJsonDocument::fromJson(r.out.toUtf8(), &perr).object();
    ASSERT_EQ(perr.error, QJsonParseError::NoError) << r.out.toStdString();

    const QJsonArray series = root[QStringLiteral("series")].toArray();
    ASSERT_EQ(series.size(), 2);
    EXPECT_EQ(series[1][QStringLiteral("name")].toString(), QString::fromUtf8("Motor side ä 1x"));
    EXPECT_EQ(series[1][QStringLiteral("amplification")].toDouble(), 0.1); // exact

    const QJsonArray points = root[QStringLiteral("points")].toArray();
    ASSERT_EQ(points.size(), 3 + 8 + 10);
    EXPECT_EQ(root[QStringLiteral("freePointCount")].toInt(), 3);
    EXPECT_EQ(points[0][QStringLiteral("owner")].toInt(), -1);
    EXPECT_EQ(points[3][QStringLiteral("owner")].toInt(), 0);
    EXPECT_EQ(points[11][QStringLiteral("owner")].toInt(), 1);
    const QJsonObject dir0 = points[0][QStringLiteral("directions")].toArray()[0].toObject();
    EXPECT_EQ(dir0[QStringLiteral("code")].toInt(), 1);
    EXPECT_EQ(dir0[QStringLiteral("vector")].toArray()[0].toDouble(), 1.0);
    const QJsonArray meas = dir0[QStringLiteral("measurements")].toArray();
    ASSERT_EQ(meas.size(), 2);
    EXPECT_EQ(meas[0].toArray()[0].toDouble(), 0.125);

    const QJsonArray objects = root[QStringLiteral("objects")].toArray();
    ASSERT_EQ(objects.size(), 2);
    EXPECT_EQ(objects[0][QStringLiteral("type")].toInt(), 2);
    EXPECT_EQ(objects[0][QStringLiteral("lines")].toArray().size(), 12);
    const QJsonObject cyl = objects[1].toObject();
    EXPECT_EQ(cyl[QStringLiteral("radius")].toDouble(), 2.0);
    EXPECT_EQ(cyl[QStringLiteral("axis")].toInt(), 1);
    EXPECT_EQ(cyl[QStringLiteral("centreLine")].toArray()[0].toInt(), 19);
    EXPECT_EQ(root[QStringLiteral("nextPointNumber")].toInt(), 22);
    EXPECT_EQ(root[QStringLiteral("nextDirectionNumber")].toInt(), 7);
}

TEST(QvrtoolScene, ResaveKeepsTheBytesAndFailuresExitWithOne) {
    QTemporaryDir dir;
    const QString in = WriteSample(dir);
    const ToolRun ok = RunTool({"resave", in, dir.filePath("out.qvr")});
    ASSERT_EQ(ok.exitCode, 0) << ok.err.toStdString();
    EXPECT_EQ(ReadBytes(dir.filePath("out.qvr")), ReadBytes(in));

    const QString bad = dir.filePath("bad.qvr");
    ASSERT_TRUE(WriteBytes(bad, "not a scene"));
    for (const QStringList& args :
         {QStringList{QStringLiteral("dump"), bad},
          QStringList{QStringLiteral("dump"), dir.filePath("missing.qvr")},
          QStringList{QStringLiteral("resave"), bad, dir.filePath("o.qvr")}}) {
        const ToolRun r = RunTool(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains(args[1])) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("o.qvr")));
    EXPECT_EQ(RunTool({"dump"}).exitCode, 2);
    EXPECT_EQ(RunTool({"no-such-command"}).exitCode, 2);
}

TEST(QvrtoolScene, ScriptedDirectionsSeriesAndValues) {
    QTemporaryDir dir;
    const QString scene = WriteSample(dir); // 3 free points, a box (4..11), a cylinder (12..21)
    ToolRun r = RunTool({"add-series", scene, scene, "--name", "Third", "--frequency", "1200",
                         "--rpm", "--frames", "30"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "series 2\n");
    // The file holds one byte per character: anything else is refused, not stored as '?'.
    r = RunTool({"add-series", scene, scene, "--name", QString::fromUtf8("Pumpe \u20ac")});
    EXPECT_EQ(r.exitCode, 1);
    // Point 1 already carries +X (direction 1): kept; points 4-6 get new ones.
    r = RunTool({"add-direction", scene, scene, "--point", "1,4-6", "--code", "x"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "directions 1 7 8 9\n");
    r = RunTool({"add-direction", scene, scene, "--point", "4", "--code", "R"});
    EXPECT_EQ(r.exitCode, 1); // a box point has no radial direction
    r = RunTool({"add-direction", scene, scene, "--point", "99", "--code", "Y"});
    EXPECT_EQ(r.exitCode, 1);

    const QString table = dir.filePath("values.txt");
    ASSERT_TRUE(
        WriteBytes(table, "# direction amplitude phase\n7 2.5 90\n\n8 0.25 -45  # comment\n"));
    r = RunTool({"set-values", scene, scene, "--series", "2", "--from", table});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "2 values\n");

    // A bad line fails the whole command and leaves the file alone.
    const QByteArray before = ReadBytes(scene);
    ASSERT_TRUE(WriteBytes(table, "7 1 1\n8 oops 3\n"));
    r = RunTool({"set-values", scene, scene, "--series", "2", "--from", table});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("line 2"));
    EXPECT_EQ(ReadBytes(scene), before);

    CQuivraDoc doc;
    ASSERT_TRUE(SceneFile::Load(scene, doc, nullptr));
    EXPECT_EQ(doc.m_nSeries, 3);
    EXPECT_EQ(doc.m_seriesFreqUnit[2], 1);
    EXPECT_EQ(doc.m_seriesFramesPerPeriod[2], 30);
    const MeasDirection* d7 = doc.m_objects[0]->m_points[0]->m_directions.at(0);
    EXPECT_EQ(d7->m_nNumber, 7);
    EXPECT_EQ(d7->m_measurements[2]->m_dAmplitude, 2.5);
    EXPECT_EQ(d7->m_measurements[2]->m_dPhase, 90.0);
    EXPECT_EQ(d7->m_measurements[0]->m_dAmplitude, 0.0);
}

TEST(QvrtoolScene, CopyKtlFillsMatchingDirections) {
    QTemporaryDir dir;
    const QString scene = dir.filePath("box.qvr");
    ASSERT_EQ(RunTool({"add-box", scene, scene}).exitCode, 0);
    ASSERT_EQ(RunTool({"add-direction", scene, scene, "--point", "1-8", "--code", "Z"}).exitCode,
              0);
    ASSERT_EQ(RunTool({"add-series", scene, scene}).exitCode, 0);
    const ToolRun r =
        RunTool({"copy-ktl", scene, QStringLiteral(QUIVRA_EXAMPLES "/box_measurements.KTL"), scene,
                 "--multiple", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    CQuivraDoc doc;
    ASSERT_TRUE(SceneFile::Load(scene, doc, nullptr));
    // The example file gives direction 7 at multiple 1 the amplitude 1.5 and the phase 180.
    const MeasDirection* d = doc.m_objects[0]->m_points[6]->m_directions.at(0);
    EXPECT_EQ(d->m_nNumber, 7);
    EXPECT_FLOAT_EQ(d->m_measurements[0]->m_dAmplitude, 1.5);
    EXPECT_EQ(d->m_measurements[0]->m_dPhase, 180.0);
    EXPECT_EQ(RunTool({"copy-ktl", scene, scene, scene}).exitCode, 1); // not a KTL
}

// Units chosen on export are stated in the file; import reports the file's unit, converts on
// request and fails when nothing could be used.
TEST(QvrtoolScene, UniversalFilesCarryTheirUnits) {
    QTemporaryDir dir;
    const QString uff = dir.filePath("s.uff");
    ToolRun r = RunTool(
        {"export-uff", WriteSample(dir), uff, "--length-unit", "m", "--quantity", "velocity"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray text = ReadBytes(uff);
    EXPECT_TRUE(text.contains("         1SI")); // metres
    EXPECT_TRUE(text.contains("         1         5         2        11         5         3"));

    const QString out = dir.filePath("fe.qvr");
    r = RunTool({"import-uff", QStringLiteral(QUIVRA_TEST_DATA "/uff/fe-modes.uff"), out,
                 "--length-unit", "m"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("skipped dataset 2414 \"Stress\" (line 73): data on elements"));
    EXPECT_TRUE(r.err.contains("length unit: mm\n2 points, 0 lines, 5 directions, 3 series\n"));
    CQuivraDoc doc;
    ASSERT_TRUE(SceneFile::Load(out, doc, nullptr));
    EXPECT_DOUBLE_EQ(doc.m_freePoints[1]->m_z, 0.01);

    EXPECT_EQ(RunTool({"import-uff", uff, out, "--length-unit", "km"}).exitCode, 1);
    r = RunTool({"import-uff", QStringLiteral(QUIVRA_TEST_DATA "/uff/shapes-only.uff"), out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("nothing in")) << r.err.toStdString();
}

} // namespace
