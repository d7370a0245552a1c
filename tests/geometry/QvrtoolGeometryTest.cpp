// qvrtool add-box / add-cylinder build the same objects as the forms' code.
#include "BoxGenerator.h"
#include "CQuivraDoc.h"
#include "CylinderGenerator.h"
#include "SceneFile.h"
#include "TestFiles.h"
#include "ToolRun.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(QvrtoolGeometry, AddBoxThenCylinderMatchesGenerators) {
    QTemporaryDir dir;
    const QString scene = dir.filePath("scene.qvr");
    // No input file yet: the scene starts empty.
    ToolRun r = RunTool({"add-box", scene, scene, "--p1", "-10,0,5.5", "--p2", "90,40,20"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("box: points 1-8, 12 lines\n"));
    r = RunTool({"add-cylinder", scene, scene, "--centre", "1,2,3", "--axis", "y", "--radius",
                 "-7.5", "--corners", "12", "--angle", "15", "--length", "30", "--centre-line"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("cylinder: points 9-34, 36 lines and a centre line\n"));
    r = RunTool({"add-box", scene, scene, "--no-lines"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = RunTool({"add-cylinder", scene, scene, "--length", "0", "--no-corner-lines"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    CQuivraDoc expected;
    BoxInput box;
    box.m_p1 = {-10, 0, 5.5};
    box.m_p2 = {90, 40, 20};
    AddBox(expected, box);
    CylinderInput cyl;
    cyl.m_centre = {1, 2, 3};
    std::tie(cyl.m_nAxis, cyl.m_dRadius, cyl.m_nCorners, cyl.m_dAngleDeg, cyl.m_dLength) =
        std::make_tuple(AxisY, -7.5, 12, 15.0, 30.0);
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
    // The tool and the forms make the same file, byte for byte.
    EXPECT_EQ(SceneFile::ToBytes(loaded), SceneFile::ToBytes(expected));
    EXPECT_EQ(loaded.m_objects[1]->m_dRadius, 7.5);
}

TEST(QvrtoolGeometry, BadArgumentsChangeNothing) {
    QTemporaryDir dir;
    const QString in = dir.filePath("in.qvr");
    const QString out = dir.filePath("out.qvr");
    ASSERT_EQ(RunTool({"add-box", in, in}).exitCode, 0);
    const QByteArray before = ReadBytes(in);
    // An unreadable input is an error, not an empty scene.
    const QString broken = dir.filePath("broken.qvr");
    ASSERT_TRUE(WriteBytes(broken, "not a scene"));

    const QStringList bad[] = {
        {"add-box", in, out, "--p1", "1,2"},                 // too few coordinates
        {"add-box", in, out, "--p2"},                        // no value
        {"add-box", in, out, "--bogus"},                     // no such option
        {"add-box", in},                                     // no output
        {"add-cylinder", in, out, "--axis", "w"},            // no such axis
        {"add-cylinder", in, out, "--corners", "8.5"},       // not a whole number
        {"add-cylinder", in, out, "--corners", "100000000"}, // too many corners
        {"add-cylinder", in, out, "--radius", "nan"},        // not a finite number
        {"add-cylinder", in, out, "--centre", "1e308,0,0", "--length", "1e308"}, // beyond doubles
        {"add-cylinder", broken, out},
    };
    for (const QStringList& args : bad) {
        const ToolRun r = RunTool(args);
        EXPECT_NE(r.exitCode, 0) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(QFile::exists(out)) << args.join(QLatin1Char(' ')).toStdString();
    }
    EXPECT_EQ(ReadBytes(in), before);
}

TEST(QvrtoolGeometry, ExampleScriptRebuildsTheCommittedExample) {
    QTemporaryDir dir;
    const ToolRun r = RunProgram(QStringLiteral("sh"), {QStringLiteral(MAKE_EXAMPLES_SCRIPT),
                                                        QStringLiteral(QVRTOOL_PATH), dir.path()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray made = ReadBytes(dir.filePath("pump.qvr"));
    EXPECT_GT(made.size(), 0);
    EXPECT_TRUE(made == ReadBytes(QStringLiteral(QUIVRA_EXAMPLES "/pump.qvr")))
        << "examples/pump.qvr is stale: rerun examples/make-examples.sh";
}

} // namespace
