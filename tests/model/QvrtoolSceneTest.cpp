// qvrtool dump and resave, run as a user's script would run them.
#include "SceneFile.h"
#include "TestScenes.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testscenes;

namespace {

struct Result {
    int exitCode;
    QByteArray out, err;
};

Result RunTool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(QVRTOOL_PATH), args);
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

QString WriteSample(const QTemporaryDir& dir) {
    CQuivraDoc doc;
    BuildSample(doc);
    const QString path = dir.filePath(QStringLiteral("sample.qvr"));
    EXPECT_TRUE(SceneFile::Save(doc, path, nullptr));
    return path;
}

TEST(QvrtoolScene, DumpDescribesTheWholeScene) {
    QTemporaryDir dir;
    const Result r = RunTool({QStringLiteral("dump"), WriteSample(dir)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonParseError perr;
    const QJsonObject root = QJsonDocument::fromJson(r.out, &perr).object();
    ASSERT_EQ(perr.error, QJsonParseError::NoError) << r.out.toStdString();

    const QJsonArray series = root[QStringLiteral("series")].toArray();
    ASSERT_EQ(series.size(), 2);
    EXPECT_EQ(series[1][QStringLiteral("name")].toString(), QString::fromUtf8("Motor side ä 1x"));
    EXPECT_EQ(series[1][QStringLiteral("frequency")].toDouble(), 1487.25);
    EXPECT_EQ(series[1][QStringLiteral("freqUnit")].toInt(), 1);
    EXPECT_EQ(series[1][QStringLiteral("framesPerPeriod")].toInt(), 36);
    EXPECT_EQ(series[1][QStringLiteral("amplification")].toDouble(), 0.1); // exact

    const QJsonArray points = root[QStringLiteral("points")].toArray();
    ASSERT_EQ(points.size(), 3 + 8 + 10);
    EXPECT_EQ(root[QStringLiteral("freePointCount")].toInt(), 3);
    EXPECT_EQ(points[0][QStringLiteral("owner")].toInt(), -1);
    EXPECT_EQ(points[3][QStringLiteral("owner")].toInt(), 0);
    EXPECT_EQ(points[11][QStringLiteral("owner")].toInt(), 1);
    EXPECT_EQ(points[2][QStringLiteral("z")].toDouble(), -25.5);
    const QJsonObject dir0 = points[0][QStringLiteral("directions")].toArray()[0].toObject();
    EXPECT_EQ(dir0[QStringLiteral("code")].toInt(), 1);
    EXPECT_EQ(dir0[QStringLiteral("vector")].toArray()[0].toDouble(), 1.0);
    const QJsonArray meas = dir0[QStringLiteral("measurements")].toArray();
    ASSERT_EQ(meas.size(), 2);
    EXPECT_EQ(meas[0].toArray()[0].toDouble(), 0.125);

    const QJsonArray objects = root[QStringLiteral("objects")].toArray();
    ASSERT_EQ(objects.size(), 2);
    EXPECT_EQ(objects[0][QStringLiteral("type")].toInt(), 2);
    EXPECT_FALSE(objects[0].toObject().contains(QStringLiteral("radius")));
    EXPECT_EQ(objects[0][QStringLiteral("points")].toArray()[0].toInt(), 3);
    EXPECT_EQ(objects[0][QStringLiteral("lines")].toArray().size(), 12);
    const QJsonObject cyl = objects[1].toObject();
    EXPECT_EQ(cyl[QStringLiteral("radius")].toDouble(), 2.0);
    EXPECT_EQ(cyl[QStringLiteral("axis")].toInt(), 1);
    EXPECT_EQ(cyl[QStringLiteral("centreLine")].toArray()[0].toInt(), 19);
    EXPECT_EQ(root[QStringLiteral("freeLines")].toArray()[2].toArray()[1].toInt(), 3);
    EXPECT_EQ(root[QStringLiteral("nextPointNumber")].toInt(), 22);
    EXPECT_EQ(root[QStringLiteral("nextDirectionNumber")].toInt(), 7);
}

TEST(QvrtoolScene, ResaveWritesTheSameBytes) {
    QTemporaryDir dir;
    const QString in = WriteSample(dir);
    const QString out = dir.filePath(QStringLiteral("out.qvr"));
    const Result r = RunTool({QStringLiteral("resave"), in, out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile a(in), b(out);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());
}

TEST(QvrtoolScene, FailuresNameTheFileAndExitWithOne) {
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.qvr"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a scene");
    f.close();
    for (const QStringList& args :
         {QStringList{QStringLiteral("dump"), bad},
          QStringList{QStringLiteral("dump"), dir.filePath(QStringLiteral("missing.qvr"))},
          QStringList{QStringLiteral("resave"), bad, dir.filePath(QStringLiteral("o.qvr"))}}) {
        const Result r = RunTool(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains(args[1].toUtf8())) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("o.qvr"))));
    EXPECT_EQ(RunTool({QStringLiteral("dump")}).exitCode, 2);
    EXPECT_EQ(RunTool({QStringLiteral("no-such-command")}).exitCode, 2);
}

} // namespace
