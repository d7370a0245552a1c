#include "BoxGenerator.h"
#include "BoxObject.h"
#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "Line.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace {

void ExpectAt(const CornerPoint* p, double x, double y, double z, const char* what) {
    EXPECT_EQ(std::make_tuple(p->m_x, p->m_y, p->m_z), std::make_tuple(x, y, z)) << what;
}

TEST(BoxGenerator, DefaultBoxPointsLinesAndNumbers) {
    CQuivraDoc doc;
    BoxObject* box = AddBox(doc, BoxInput{});
    ASSERT_EQ(doc.m_objects.size(), 1u);
    EXPECT_EQ(doc.m_objects[0], box);
    EXPECT_EQ(box->GetType(), SceneObject::TypeBox);

    const double expected[8][3] = {{0, 0, 0},   {100, 0, 0},   {100, 100, 0},   {0, 100, 0},
                                   {0, 0, 100}, {100, 0, 100}, {100, 100, 100}, {0, 100, 100}};
    ASSERT_EQ(box->m_points.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        const CornerPoint* p = box->m_points[i];
        ExpectAt(p, expected[i][0], expected[i][1], expected[i][2], "corner");
        EXPECT_EQ(p->m_nNumber, i + 1);
        EXPECT_EQ(p->m_pOwner, box);
        EXPECT_EQ(p->m_pDoc, &doc);
    }
    EXPECT_EQ(doc.m_nNextPointNumber, 9);

    const int ends[12][2] = {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {1, 5}, {2, 6},
                             {3, 7}, {4, 8}, {5, 6}, {6, 7}, {7, 8}, {8, 5}};
    ASSERT_EQ(box->m_lines.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(box->m_lines[i]->m_pPointA->m_nNumber, ends[i][0]) << "line " << i;
        EXPECT_EQ(box->m_lines[i]->m_pPointB->m_nNumber, ends[i][1]) << "line " << i;
    }
    EXPECT_EQ(box->m_pCentreLine, nullptr); // a box keeps none of the cylinder members
}

TEST(BoxGenerator, OriginShiftsPositionsDisplacementAddedAsTyped) {
    CQuivraDoc doc;
    doc.m_pOrigin->m_x = 10.0;
    doc.m_pOrigin->m_y = 20.0;
    doc.m_pOrigin->m_z = 30.0;
    BoxInput in;
    in.m_p2 = {1.0, 2.0, 3.0};
    in.m_displacement = {4.0, 5.0, 6.0};
    BoxObject* box = AddBox(doc, in);
    ExpectAt(box->m_points[0], 14.0, 25.0, 36.0, "corner 1");
    ExpectAt(box->m_points[6], 15.0, 27.0, 39.0, "corner 7");
    // The origin itself is not moved by generating.
    EXPECT_EQ(doc.m_pOrigin->m_x, 10.0);
}

TEST(BoxGenerator, WithoutLinesAndMirroredCorners) {
    CQuivraDoc doc;
    BoxInput in;
    in.m_bGenerateLines = false;
    in.m_p1 = {5.0, 0.0, 0.0};
    in.m_p2 = {-5.0, 0.0, 0.0}; // flat and mirrored: nothing reorders or rejects it
    BoxObject* box = AddBox(doc, in);
    EXPECT_EQ(box->m_points.size(), 8u);
    EXPECT_TRUE(box->m_lines.empty());
    ExpectAt(box->m_points[1], -5.0, 0.0, 0.0, "corner 2");
    ExpectAt(box->m_points[4], 5.0, 0.0, 0.0, "corner 5 coincides with corner 1");
    // Generating alone appends nothing and takes no snapshot.
    std::unique_ptr<BoxObject> loose(GenerateBox(&doc, {1, 2, 3}, {4, 5, 6}, true));
    EXPECT_EQ(doc.m_objects.size(), 1u);
    EXPECT_TRUE(doc.m_undoObjects.empty());
    ExpectAt(loose->m_points[2], 4, 5, 3, "corner 3");
}

TEST(BoxGenerator, AddingTakesSnapshotAndMarksModified) {
    CQuivraDoc doc;
    AddBox(doc, BoxInput{});
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(doc.m_bUndoAvailable, 1);
    EXPECT_TRUE(doc.m_undoObjects.empty()) << "the snapshot is taken before the box is added";

    AddBox(doc, BoxInput{});
    EXPECT_EQ(doc.m_objects[1]->m_points[0]->m_nNumber, 9);
    ASSERT_EQ(doc.Undo(), 1);
    ASSERT_EQ(doc.m_objects.size(), 1u);
    EXPECT_EQ(doc.m_nNextPointNumber, 9);
    EXPECT_EQ(doc.m_objects[0]->m_lines.size(), 12u);
}

} // namespace
