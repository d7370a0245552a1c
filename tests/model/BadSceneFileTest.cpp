// Damaged and inconsistent scene files are rejected whole, with a reason, and leave the
// document untouched.
#include "SceneFile.h"
#include "TestScenes.h"

#include <gtest/gtest.h>

using namespace testscenes;

namespace {

void ExpectRejected(const QByteArray& bytes, const char* mustMention, const char* label) {
    CQuivraDoc doc;
    QString error;
    EXPECT_FALSE(SceneFile::FromBytes(bytes, doc, &error)) << label;
    EXPECT_TRUE(error.contains(QLatin1String(mustMention))) << label << ": " << error.toStdString();
    EXPECT_TRUE(doc.m_freePoints.empty() && doc.m_objects.empty() && doc.m_freeLines.empty())
        << label;
    EXPECT_EQ(doc.m_nSeries, 0) << label;
    EXPECT_TRUE(doc.m_seriesNames.empty()) << label;
    EXPECT_EQ(doc.m_nNextPointNumber, 1) << label;
}

TEST(BadSceneFile, InconsistentFilesAreRejected) {
    // A cylinder of point 2 whose centre line ends at point 1, a free point.
    SceneBytes centreLine = SceneBytes().header(0, 2, 1, 1).point(1).point(2);
    centreLine.u32(1).f64(1).f64(0).f64(0).f64(0).u32(1).u32(1).u32(0);
    centreLine.u32(1).u32(1).u32(1).u32(0).tail();
    struct Case {
        const char* label;
        QByteArray bytes;
        const char* mention;
    } cases[] = {
        {"line to a point past the list", SceneBytes().header(0, 1, 1, 0).point(1).tail({0, 1}).b,
         "refers to point 1 of 1"},
        {"absurd point count", SceneBytes().header(0, 0xFFFFFFF0u, 0, 0).b, "does not fit"},
        {"absurd series count", SceneBytes().header(0x7FFFFFFF, 0, 0, 0).b, "does not fit"},
        {"absurd direction count", SceneBytes().header(0, 1, 1, 0).point(1, 0x40000000).b,
         "does not fit"},
        {"absurd object point count", SceneBytes().header(0, 0, 0, 1).u32(2).u32(0x10000000).b,
         "does not fit"},
        {"more free points than points", SceneBytes().header(0, 1, 2, 0).point(1).tail().b,
         "more free points"},
        {"measurements fewer than series",
         SceneBytes().header(1, 1, 1, 0).series().point(1, 1).direction(1, 0).tail().b,
         "has 0 measurements for 1 series"},
        {"measurements more than series",
         SceneBytes().header(0, 1, 1, 0).point(1, 1).direction(4, 2).tail().b,
         "has 2 measurements for 0 series"},
        {"point in two objects",
         SceneBytes().header(0, 2, 0, 2).point(1).point(2).box({0, 1}).box({1}).tail().b,
         "belongs to two objects"},
        {"point twice in one object", SceneBytes().header(0, 1, 0, 1).point(1).box({0, 0}).tail().b,
         "belongs to two objects"},
        {"free point also in an object",
         SceneBytes().header(0, 2, 1, 1).point(1).point(2).box({0, 1}).tail().b,
         "also an object's point"},
        {"point in no collection", SceneBytes().header(0, 2, 1, 0).point(1).point(7).tail().b,
         "point 7 belongs to no object"},
        {"object line to a free point",
         SceneBytes().header(0, 2, 1, 1).point(1).point(2).box({1}, {1, 0}).tail().b,
         "outside its object"},
        {"centre line outside its object", centreLine.b, "outside its object"},
    };
    for (const Case& c : cases)
        ExpectRejected(c.bytes, c.mention, c.label);
}

TEST(BadSceneFile, ConsistentHandMadeFileIsAccepted) {
    // The same builder makes a good file, so the cases above fail for their one fault only.
    const QByteArray good = SceneBytes()
                                .header(1, 3, 1, 1)
                                .series()
                                .point(1, 1)
                                .direction(1, 1)
                                .point(2)
                                .point(3)
                                .box({1, 2}, {1, 2})
                                .tail({0, 2})
                                .b;
    CQuivraDoc doc;
    QString error;
    ASSERT_TRUE(SceneFile::FromBytes(good, doc, &error)) << error.toStdString();
    EXPECT_EQ(doc.m_freePoints.size(), 1u);
    EXPECT_EQ(doc.m_objects[0]->m_points.size(), 2u);
    EXPECT_EQ(doc.m_freeLines[0]->m_pPointB, doc.m_objects[0]->m_points[1]);
    EXPECT_EQ(SceneFile::ToBytes(doc), good);
}

} // namespace
