// qvrtool add-box / add-cylinder build the same objects as the forms' code.
#include "BoxGenerator.h"
#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "CylinderGenerator.h"
#include "Line.h"
#include "SceneFile.h"
#include "SceneObject.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct RunResult {
    int exitCode = -1;
    QString out;
    QString err;
};

RunResult RunProgram(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    RunResult r;
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

RunResult Qvrtool(const QStringList& args) {
    return RunProgram(QStringLiteral(QVRTOOL_PATH), args);
}

// Same objects, points (number, exact position, owner) and lines (by point index).
void ExpectSameScene(const CQuivraDoc& a, const CQuivraDoc& b) {
    ASSERT_EQ(a.m_objects.size(), b.m_objects.size());
    EXPECT_EQ(a.m_nNextPointNumber, b.m_nNextPointNumber);
    for (size_t i = 0; i < a.m_objects.size(); ++i) {
        const SceneObject* oa = a.m_objects[i];
        const SceneObject* ob = b.m_objects[i];
        EXPECT_EQ(oa->GetType(), ob->GetType()) << "object " << i;
        ASSERT_EQ(oa->m_points.size(), ob->m_points.size()) << "object " << i;
        for (size_t j = 0; j < oa->m_points.size(); ++j) {
            const CornerPoint* pa = oa->m_points[j];
            const CornerPoint* pb = ob->m_points[j];
            EXPECT_EQ(pa->m_nNumber, pb->m_nNumber);
            EXPECT_EQ(pa->m_x, pb->m_x) << "object " << i << " point " << j;
            EXPECT_EQ(pa->m_y, pb->m_y) << "object " << i << " point " << j;
            EXPECT_EQ(pa->m_z, pb->m_z) << "object " << i << " point " << j;
        }
        ASSERT_EQ(oa->m_lines.size(), ob->m_lines.size()) << "object " << i;
        for (size_t j = 0; j < oa->m_lines.size(); ++j) {
            EXPECT_EQ(oa->IndexOfPoint(oa->m_lines[j]->m_pPointA),
                      ob->IndexOfPoint(ob->m_lines[j]->m_pPointA));
            EXPECT_EQ(oa->IndexOfPoint(oa->m_lines[j]->m_pPointB),
                      ob->IndexOfPoint(ob->m_lines[j]->m_pPointB));
        }
        EXPECT_EQ(oa->m_nAxis, ob->m_nAxis);
        EXPECT_EQ(oa->m_dRadius, ob->m_dRadius);
        EXPECT_EQ(oa->m_bHasCentreLine, ob->m_bHasCentreLine);
    }
}

TEST(QvrtoolGeometry, AddBoxThenCylinderMatchesGenerators) {
    QTemporaryDir dir;
    const QString scene = dir.filePath(QStringLiteral("scene.qvr"));
    // No input file yet: the scene starts empty.
    RunResult r =
        Qvrtool({QStringLiteral("add-box"), scene, scene, QStringLiteral("--p1"),
                 QStringLiteral("-10,0,5.5"), QStringLiteral("--p2"), QStringLiteral("90,40,20")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("box: points 1-8, 12 lines\n"));
    r = Qvrtool({QStringLiteral("add-cylinder"), scene, scene, QStringLiteral("--centre"),
                 QStringLiteral("1,2,3"), QStringLiteral("--axis"), QStringLiteral("y"),
                 QStringLiteral("--radius"), QStringLiteral("-7.5"), QStringLiteral("--corners"),
                 QStringLiteral("12"), QStringLiteral("--angle"), QStringLiteral("15"),
                 QStringLiteral("--length"), QStringLiteral("30"),
                 QStringLiteral("--centre-line")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("cylinder: points 9-34, 36 lines and a centre line\n"));
    r = Qvrtool({QStringLiteral("add-box"), scene, scene, QStringLiteral("--no-lines")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = Qvrtool({QStringLiteral("add-cylinder"), scene, scene, QStringLiteral("--length"),
                 QStringLiteral("0"), QStringLiteral("--no-corner-lines")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    CQuivraDoc expected;
    BoxInput box;
    box.m_p1 = {-10, 0, 5.5};
    box.m_p2 = {90, 40, 20};
    AddBox(expected, box);
    CylinderInput cyl;
    cyl.m_centre = {1, 2, 3};
    cyl.m_nAxis = AxisY;
    cyl.m_dRadius = -7.5;
    cyl.m_nCorners = 12;
    cyl.m_dAngleDeg = 15;
    cyl.m_dLength = 30;
    cyl.m_bCentreLine = true;
    AddCylinder(expected, cyl);
    BoxInput plain;
    plain.m_bGenerateLines = false;
    AddBox(expected, plain);
    CylinderInput flat;
    flat.m_dLength = 0;
    flat.m_bCornerLines = false;
    AddCylinder(expected, flat);

    CQuivraDoc loaded;
    QString error;
    ASSERT_TRUE(SceneFile::Load(scene, loaded, &error)) << error.toStdString();
    ExpectSameScene(expected, loaded);
    EXPECT_EQ(loaded.m_objects[1]->m_dRadius, 7.5);
}

TEST(QvrtoolGeometry, BadArgumentsChangeNothing) {
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.qvr"));
    const QString out = dir.filePath(QStringLiteral("out.qvr"));
    ASSERT_EQ(Qvrtool({QStringLiteral("add-box"), in, in}).exitCode, 0);
    QFile file(in);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    const QStringList bad[] = {
        {QStringLiteral("add-box"), in, out, QStringLiteral("--p1"), QStringLiteral("1,2")},
        {QStringLiteral("add-box"), in, out, QStringLiteral("--p2")},
        {QStringLiteral("add-box"), in, out, QStringLiteral("--bogus")},
        {QStringLiteral("add-box"), in},
        {QStringLiteral("add-cylinder"), in, out, QStringLiteral("--axis"), QStringLiteral("w")},
        {QStringLiteral("add-cylinder"), in, out, QStringLiteral("--corners"),
         QStringLiteral("8.5")},
        {QStringLiteral("add-cylinder"), in, out, QStringLiteral("--corners"),
         QStringLiteral("100000000")},
        {QStringLiteral("add-cylinder"), in, out, QStringLiteral("--radius"), QStringLiteral("2x")},
        {QStringLiteral("add-cylinder"), in, out, QStringLiteral("--length")},
        {QStringLiteral("add-cylinder"), in, out, QStringLiteral("--radius"),
         QStringLiteral("nan")},
        {QStringLiteral("add-cylinder"), in, out, QStringLiteral("--centre"),
         QStringLiteral("0,inf,0")},
        {QStringLiteral("add-box"), in, out, QStringLiteral("--p2"), QStringLiteral("1e999,0,0")},
        {QStringLiteral("add-cylinder"), in, out, QStringLiteral("--centre"),
         QStringLiteral("1e308,0,0"), QStringLiteral("--length"), QStringLiteral("1e308")},
    };
    for (const QStringList& args : bad) {
        const RunResult r = Qvrtool(args);
        EXPECT_NE(r.exitCode, 0) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(QFile::exists(out)) << args.join(QLatin1Char(' ')).toStdString();
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

TEST(QvrtoolGeometry, UnreadableInputIsAnErrorNotAnEmptyScene) {
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("broken.qvr"));
    const QString out = dir.filePath(QStringLiteral("out.qvr"));
    QFile file(in);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a scene");
    file.close();
    const RunResult r = Qvrtool({QStringLiteral("add-cylinder"), in, out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_FALSE(QFile::exists(out));
}

TEST(QvrtoolGeometry, ExampleScriptRebuildsTheCommittedExample) {
    QTemporaryDir dir;
    const RunResult r =
        RunProgram(QStringLiteral("sh"), {QStringLiteral(MAKE_EXAMPLES_SCRIPT),
                                          QStringLiteral(QVRTOOL_PATH), dir.path()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile made(dir.filePath(QStringLiteral("pump.qvr")));
    QFile committed(QStringLiteral(QUIVRA_EXAMPLES "/pump.qvr"));
    ASSERT_TRUE(made.open(QIODevice::ReadOnly));
    ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
    const QByteArray a = made.readAll();
    const QByteArray b = committed.readAll();
    EXPECT_GT(a.size(), 0);
    EXPECT_TRUE(a == b) << "examples/pump.qvr is stale: rerun examples/make-examples.sh";
}

} // namespace
