// qvrtool render end to end: a scene file in, a BMP out, pixels where gluProject puts them.
#include "SceneBuilder.h"

#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CViewState.h"
#include "CornerPoint.h"
#include "MeasDirection.h"
#include "SceneFile.h"
#include "ToolRun.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace scene;

namespace {

class QvrtoolRender : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_scene = m_dir.filePath("scene.qvr");
        m_out = m_dir.filePath("out.bmp");
        CQuivraDoc doc;
        AddSeries(doc, 24);
        // Off the pixel boundaries, so the line has one row at the probed column.
        CornerPoint* a = AddFree(doc, -400, 10, 0);
        CornerPoint* b = AddFree(doc, 400, 10, 0);
        AddLine(doc, a, b);
        AddDirection(a, DirPlusY, 150, 90);
        AddDirection(b, DirPlusY, 150, 90);
        QString error;
        ASSERT_TRUE(SceneFile::Save(doc, m_scene, &error)) << error.toStdString();
    }
    QTemporaryDir m_dir;
    QString m_scene, m_out;
};

TEST_F(QvrtoolRender, RestAndFrameAtProjectedPixels) {
    ASSERT_EQ(RunTool({"render", m_scene, m_out, "--size", "203x120", "--hide", "base"}).exitCode,
              0);
    QImage img;
    ASSERT_TRUE(img.load(m_out, "BMP"));
    EXPECT_EQ(img.size(), QSize(200, 120)); // width cut to a multiple of 4

    // Same camera in our own context: default zoom is the fit, 1250 / 400.
    COffscreenGL gl;
    ASSERT_TRUE(gl.Resize(203, 120).isEmpty());
    CViewState st;
    st.m_dZoom = 1250.0 / std::sqrt(400.0 * 400 + 100);
    const QPoint end = PixelOf(gl, st, 400, 10, 0);
    const QPoint mid = PixelOf(gl, st, 100, 10, 0);
    EXPECT_EQ(img.pixel(end) & 0xffffff, 0xff0000u);
    EXPECT_EQ(img.pixel(mid) & 0xffffff, 0x000000u);

    ASSERT_EQ(RunTool({"render", m_scene, m_out, "--size", "203x120", "--frame", "0", "--zoom",
                       QString::number(st.m_dZoom, 'g', 17)})
                  .exitCode,
              0);
    ASSERT_TRUE(img.load(m_out, "BMP"));
    EXPECT_EQ(img.pixel(mid) & 0xffffff, qRgb(204, 153, 230) & 0xffffff);
    EXPECT_EQ(img.pixel(PixelOf(gl, st, 100, 160, 0)) & 0xffffff, 0x000000u);

    // The clear look (its colours are ClearLookTest's) is taken by render and frames.
    ASSERT_EQ(RunTool({"render", m_scene, m_out, "--frame", "0", "--look", "clear"}).exitCode, 0);
    ASSERT_EQ(RunTool({"frames", m_scene, "--size", "200x120", "--look", "clear", "--out",
                       m_dir.filePath("f")})
                  .exitCode,
              0);
    EXPECT_TRUE(QFile::exists(m_dir.filePath("f - New Measurement_024.bmp")));
}

// Refusals of the scene's own limits; the option parser's are in the export table.
TEST_F(QvrtoolRender, RejectsFramesAndSeriesTheSceneHasNot) {
    const ToolRun r = RunTool({"render", m_scene, m_out, "--frame", "24"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("frame 24"))) << r.err.toStdString();
    EXPECT_EQ(RunTool({"render", m_scene, m_out, "--series", "1"}).exitCode, 1);
    EXPECT_EQ(RunTool({"render", m_scene, m_out, "--size", "3x10"}).exitCode, 2); // no BMP row
}

} // namespace
