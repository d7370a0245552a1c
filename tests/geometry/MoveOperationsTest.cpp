#include "MoveOperations.h"
#include "BoxGenerator.h"
#include "BoxObject.h"
#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "CylinderGenerator.h"
#include "CylinderObject.h"
#include "Line.h"
#include "MeasDirection.h"
#include "TestScenes.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <functional>
#include <tuple>

namespace {

using testscenes::AddFree;

void ExpectAt(const CornerPoint* p, double x, double y, double z) {
    EXPECT_EQ(std::make_tuple(p->m_x, p->m_y, p->m_z), std::make_tuple(x, y, z))
        << "point " << p->m_nNumber;
}

// The four edits with their typed vector; the origin's comes last.
const std::pair<const char*, std::function<bool(CQuivraDoc&, const Point3&)>> kEdits[] = {
    {"move points", [](CQuivraDoc& d, const Point3& v) { return MoveSelectedPoints(d, v); }},
    {"copy points", [](CQuivraDoc& d, const Point3& v) { return CopySelectedPoints(d, v); }},
    {"move objects", [](CQuivraDoc& d, const Point3& v) { return MoveSelectedObjects(d, v); }},
    {"origin", [](CQuivraDoc& d, const Point3& v) { return MoveLocalOrigin(d, v); }},
};

TEST(MoveOperations, CopyPointsFourAndNine) {
    CQuivraDoc doc;
    doc.AddSeries();
    BoxInput in;
    in.m_p2 = {10.0, 20.0, 30.0};
    const SceneObject* box = AddBox(doc, in); // points 1..8
    CornerPoint* nine = AddFree(doc, 1.0, 2.0, 3.0);
    nine->m_directions.push_back(new MeasDirection(DirPlusX, nine));
    doc.m_freeLines.push_back(new Line(nine, box->m_points[0]));
    CornerPoint* four = box->m_points[3];
    ASSERT_EQ(four->m_nNumber, 4);
    ASSERT_EQ(nine->m_nNumber, 9);
    doc.SetModifiedFlag(false);
    doc.m_bUndoAvailable = 0;
    doc.m_pHighlightPoint = four;

    // Selection order, not number order, decides the numbers of the copies.
    doc.m_selPoints = {nine, four};
    std::vector<CornerPoint*> copies;
    ASSERT_TRUE(CopySelectedPoints(doc, {0.0, 0.0, 10.0}, &copies));

    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(doc.m_freePoints, (std::vector<CornerPoint*>{nine, copies[0], copies[1]}));
    EXPECT_EQ(std::make_pair(copies[0]->m_nNumber, copies[1]->m_nNumber), std::make_pair(10, 11));
    EXPECT_EQ(doc.m_nNextPointNumber, 12);
    ExpectAt(copies[0], 1.0, 2.0, 13.0);
    ExpectAt(copies[1], 0.0, 20.0, 10.0);
    for (const CornerPoint* c : copies) {
        EXPECT_EQ(c->m_pOwner, nullptr);
        EXPECT_EQ(c->m_pDoc, &doc);
        EXPECT_TRUE(c->m_directions.empty());
    }
    EXPECT_EQ(doc.m_freeLines.size(), 1u) << "copies get no lines";
    ExpectAt(nine, 1.0, 2.0, 3.0);
    ExpectAt(four, 0.0, 20.0, 0.0);
    EXPECT_EQ(box->m_points.size(), 8u);
    EXPECT_TRUE(doc.m_selPoints.empty());
    EXPECT_EQ(doc.m_pHighlightPoint, four) << "the highlight is not part of the selection";
    EXPECT_TRUE(doc.IsModified());

    // The snapshot was taken before the copies existed.
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(doc.m_freePoints.size(), 1u);
    EXPECT_EQ(doc.m_nNextPointNumber, 10);
}

TEST(MoveOperations, MoveObjectsCarriesCylinderCentre) {
    CQuivraDoc doc;
    CylinderInput in;
    in.m_nAxis = AxisZ;
    in.m_dRadius = 20.0;
    in.m_nCorners = 4;
    in.m_dLength = 50.0;
    CylinderObject* cyl = AddCylinder(doc, in);
    SceneObject* box = AddBox(doc, BoxInput());
    SceneObject* other = AddBox(doc, BoxInput());
    ASSERT_EQ(cyl->m_points.size(), 10u);
    doc.SetModifiedFlag(false);
    doc.m_bUndoAvailable = 0;

    doc.m_selObjects = {cyl, box};
    ASSERT_TRUE(MoveSelectedObjects(doc, {5.0, 7.0, 0.0}));

    ExpectAt(cyl->m_pCentre, 5.0, 7.0, 0.0);
    ExpectAt(cyl->m_points[0], 25.0, 7.0, 0.0);
    ExpectAt(cyl->m_pCircleCentre1, 5.0, 7.0, 0.0);
    ExpectAt(cyl->m_pCircleCentre2, 5.0, 7.0, 50.0);
    ExpectAt(box->m_points[6], 105.0, 107.0, 100.0);
    ExpectAt(other->m_points[6], 100.0, 100.0, 100.0);
    EXPECT_TRUE(doc.m_selObjects.empty());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_bUndoAvailable, 1);

    // A radial direction made afterwards points away from the moved axis: unit length along x.
    auto* radial = new MeasDirection(DirRadialOut, cyl->m_points[0]);
    cyl->m_points[0]->m_directions.push_back(radial);
    EXPECT_EQ(std::make_tuple(radial->m_dx, radial->m_dy, radial->m_dz),
              std::make_tuple(1.0, 0.0, 0.0));

    // A centre that would leave the doubles stops the move, though every corner stays finite.
    cyl->m_pCentre->m_x = DBL_MAX;
    doc.m_selObjects = {cyl};
    EXPECT_FALSE(MoveSelectedObjects(doc, {DBL_MAX, 0.0, 0.0}));
    ExpectAt(cyl->m_points[0], 25.0, 7.0, 0.0);
}

TEST(MoveOperations, MovePointsFreeAndObjectOnceEach) {
    CQuivraDoc doc;
    SceneObject* box = AddBox(doc, BoxInput());
    CornerPoint* free = AddFree(doc, 1.0, 1.0, 1.0);
    CornerPoint* untouched = AddFree(doc, 2.0, 2.0, 2.0);
    CQuivraDoc other;
    CornerPoint* foreign = AddFree(other, 1.0, 1.0, 1.0);

    // A repeated entry moves its point once; a record outside the live scene (another
    // document's point, the origin) is left alone.
    doc.m_selPoints = {free, box->m_points[1], free, foreign, doc.m_pOrigin};
    ASSERT_TRUE(MoveSelectedPoints(doc, {-1.0, 0.5, 2.0}));
    ExpectAt(free, 0.0, 1.5, 3.0);
    ExpectAt(box->m_points[1], 99.0, 0.5, 2.0);
    ExpectAt(box->m_points[0], 0.0, 0.0, 0.0);
    ExpectAt(untouched, 2.0, 2.0, 2.0);
    ExpectAt(foreign, 1.0, 1.0, 1.0);
    ExpectAt(doc.m_pOrigin, 0.0, 0.0, 0.0);
    EXPECT_TRUE(doc.m_selPoints.empty());
    EXPECT_EQ(doc.m_bUndoAvailable, 1);
}

TEST(MoveOperations, EmptySelectionStillSnapshotsAndMarksModified) {
    for (const auto& e : {kEdits[0], kEdits[1], kEdits[2]}) {
        CQuivraDoc doc;
        CornerPoint* p = AddFree(doc, 4.0, 5.0, 6.0);
        AddBox(doc, BoxInput());
        doc.m_bUndoAvailable = 0;
        ASSERT_TRUE(e.second(doc, {1, 2, 3})) << e.first;
        EXPECT_TRUE(doc.IsModified()) << e.first;
        EXPECT_EQ(doc.m_bUndoAvailable, 1) << e.first;
        EXPECT_EQ(doc.m_freePoints.size(), 1u) << e.first;
        ExpectAt(p, 4.0, 5.0, 6.0);
        ExpectAt(doc.m_objects[0]->m_points[6], 100.0, 100.0, 100.0);
        EXPECT_EQ(doc.m_nNextPointNumber, 10) << e.first;
    }
}

TEST(MoveOperations, LocalOriginTwice) {
    CQuivraDoc doc;
    CornerPoint* p = AddFree(doc, 15.0, 20.0, 30.0);
    doc.m_selPoints = {p};
    ASSERT_TRUE(MoveLocalOrigin(doc, {5.0, 0.0, 0.0}));
    ASSERT_TRUE(MoveLocalOrigin(doc, {5.0, 0.0, 0.0}));
    ExpectAt(doc.m_pOrigin, 10.0, 0.0, 0.0);
    EXPECT_EQ(p->m_x - doc.m_pOrigin->m_x, 5.0) << "the local X shrinks by 10";
    ExpectAt(p, 15.0, 20.0, 30.0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.m_bUndoAvailable, 0);
    EXPECT_TRUE(doc.m_selPoints.empty());

    // The typed values are the new origin in the current local coordinates.
    ASSERT_TRUE(MoveLocalOrigin(doc, {-10.0, 20.0, 30.0}));
    ExpectAt(doc.m_pOrigin, 0.0, 20.0, 30.0);
}

TEST(MoveOperations, OutOfRangeResultChangesNothing) {
    for (const auto& e : kEdits) {
        CQuivraDoc doc;
        doc.m_pOrigin->m_y = DBL_MAX;
        CornerPoint* fine = AddFree(doc, 0.0, 0.0, 0.0);
        CornerPoint* far = AddFree(doc, 0.0, DBL_MAX, 0.0);
        SceneObject* box = AddBox(doc, BoxInput());
        box->m_points[7]->m_y = DBL_MAX;
        doc.SetModifiedFlag(false);
        doc.m_bUndoAvailable = 0;
        doc.m_selPoints = {fine, far};
        doc.m_selObjects = {box};

        EXPECT_FALSE(e.second(doc, {1.0, DBL_MAX, 1.0})) << e.first;
        ExpectAt(fine, 0.0, 0.0, 0.0);
        EXPECT_EQ(box->m_points[0]->m_x, 0.0) << e.first;
        EXPECT_EQ(doc.m_pOrigin->m_x, 0.0) << e.first;
        EXPECT_EQ(doc.m_freePoints.size(), 2u) << e.first;
        EXPECT_FALSE(doc.IsModified()) << e.first;
        EXPECT_EQ(doc.m_bUndoAvailable, 0) << e.first;
        EXPECT_EQ(doc.m_selPoints.size(), 2u) << e.first;
        EXPECT_EQ(doc.m_selObjects.size(), 1u) << e.first;

        // Away from the edge the same edit goes through.
        EXPECT_TRUE(e.second(doc, {1.0, -1.0, 1.0})) << e.first;
    }
}

} // namespace
