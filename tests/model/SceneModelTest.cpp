// Ownership cascades, direction vectors and series operations of the scene records.
#include "TestScenes.h"
#include "UnitTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

using namespace testscenes;

namespace {

TEST(SceneModel, PointNumbersComeFromTheDocumentCounter) {
    CQuivraDoc doc;
    CornerPoint* a = AddFree(doc, 1, 2, 3);
    CornerPoint* b = AddFree(doc, 4, 5, 6);
    EXPECT_EQ(a->m_nNumber, 1);
    EXPECT_EQ(b->m_nNumber, 2);
    EXPECT_EQ(doc.m_nNextPointNumber, 3);
    CornerPoint loose(7, 8, 9, nullptr);
    EXPECT_EQ(loose.m_nNumber, 0);
    EXPECT_EQ(doc.m_nNextPointNumber, 3);
    doc.m_nNextPointNumber = INT32_MAX; // the counter never steps past the top
    EXPECT_EQ(AddFree(doc, 0, 0, 0)->m_nNumber, INT32_MAX);
    EXPECT_EQ(doc.m_nNextPointNumber, INT32_MAX);
}

TEST(SceneModel, DeletingAFreePointRemovesOnlyItsFreeLines) {
    CQuivraDoc doc;
    CornerPoint* a = AddFree(doc, 0, 0, 0);
    CornerPoint* b = AddFree(doc, 1, 0, 0);
    CornerPoint* c = AddFree(doc, 2, 0, 0);
    CornerPoint* d = AddFree(doc, 3, 0, 0);
    doc.m_freeLines = {new Line(a, b), new Line(b, c), new Line(c, d), new Line(b, a),
                       new Line(a, c)};
    delete b;
    ASSERT_EQ(doc.m_freePoints.size(), 3u);
    EXPECT_EQ(std::count(doc.m_freePoints.begin(), doc.m_freePoints.end(), b), 0);
    ASSERT_EQ(doc.m_freeLines.size(), 2u); // adjacent matches: the refilled slot is re-examined
    EXPECT_TRUE(HasLine(doc.m_freeLines, c, d));
    EXPECT_TRUE(HasLine(doc.m_freeLines, a, c));
}

TEST(SceneModel, DeletingABoxPointKeepsTheRestOfTheBox) {
    CQuivraDoc doc;
    BoxObject* box = AddBox(doc, 0, 0, 0);
    CornerPoint* free = AddFree(doc, 5, 5, 5);
    CornerPoint* p0 = box->m_points[0];
    doc.m_freeLines.push_back(new Line(free, p0));
    doc.m_freeLines.push_back(new Line(free, box->m_points[7]));
    delete p0;
    EXPECT_EQ(box->m_points.size(), 7u);
    EXPECT_EQ(box->m_lines.size(), 9u); // point 0 ends three edges
    for (const Line* l : box->m_lines)
        EXPECT_FALSE(l->Uses(p0));
    ASSERT_EQ(doc.m_freeLines.size(), 1u); // free lines to object points go too
    EXPECT_EQ(doc.m_freeLines[0]->m_pPointB, box->m_points[6]);
}

TEST(SceneModel, DeletingAnObjectUnregistersItAndDropsFreeLinesToIt) {
    CQuivraDoc doc;
    CornerPoint* free = AddFree(doc, 5, 5, 5);
    BoxObject* box = AddBox(doc, 0, 0, 0);
    CylinderObject* cyl = AddCylinder(doc, true);
    doc.m_freeLines.push_back(new Line(free, box->m_points[2]));
    doc.m_freeLines.push_back(new Line(free, cyl->m_points[2]));
    delete box;
    ASSERT_EQ(doc.m_objects.size(), 1u);
    EXPECT_EQ(doc.m_objects[0], cyl);
    ASSERT_EQ(doc.m_freeLines.size(), 1u);
    EXPECT_EQ(doc.m_freeLines[0]->m_pPointB, cyl->m_points[2]);
    EXPECT_EQ(std::make_pair(cyl->IndexOfPoint(cyl->m_points[2]), cyl->IndexOfPoint(free)),
              std::make_pair(2, -1));
    // Deleting another point keeps the centre line; deleting one of its ends clears it.
    delete cyl->m_points[0];
    ASSERT_NE(cyl->m_pCentreLine, nullptr);
    delete cyl->m_points.back();
    EXPECT_EQ(cyl->m_pCentreLine, nullptr);
    EXPECT_EQ(cyl->m_bHasCentreLine, 0);
    EXPECT_EQ(cyl->m_points.size(), 8u);
    EXPECT_EQ(cyl->m_lines.size(), 9u);
    delete cyl;
    EXPECT_TRUE(doc.m_objects.empty());
    EXPECT_TRUE(doc.m_freeLines.empty());
    EXPECT_EQ(doc.m_freePoints.size(), 1u);
}

TEST(SceneModel, DirectionVectorsAndOpposites) {
    CQuivraDoc doc;
    CylinderObject* cyl = AddCylinder(doc, false);
    CornerPoint* free = AddFree(doc, 0, 0, 0);
    struct Case {
        CornerPoint* point;
        std::uint16_t code;
        double x, y, z;
    } cases[] = {
        {free, DirPlusX, 1, 0, 0},
        {free, DirMinusX, -1, 0, 0},
        {free, DirPlusY, 0, 1, 0},
        {free, DirMinusY, 0, -1, 0},
        {free, DirPlusZ, 0, 0, 1},
        {free, DirMinusZ, 0, 0, -1},
        {cyl->m_points[1], DirRadialOut, 0, 0, 1}, // (0, 0, 2) around the X axis, radius 2
        {cyl->m_points[2], DirRadialIn, 0, 1, 0},  // (0, -2, 0), inward
    };
    for (const Case& c : cases) {
        MeasDirection* d = AddDirection(c.point, c.code);
        EXPECT_LT(std::hypot(d->m_dx - c.x, d->m_dy - c.y, d->m_dz - c.z), 1e-12) << c.code;
        EXPECT_EQ(OppositeDirectionCode(OppositeDirectionCode(c.code)), c.code);
    }
    EXPECT_EQ(OppositeDirectionCode(DirPlusY), DirMinusY);
    EXPECT_EQ(OppositeDirectionCode(DirRadialOut), DirRadialIn);
    EXPECT_EQ(OppositeDirectionCode(3), 0);
    // The radial vector is fixed at creation: moving the point later does not change it.
    MeasDirection* r = cyl->m_points[1]->m_directions[0];
    cyl->m_points[1]->m_z = 7;
    EXPECT_DOUBLE_EQ(r->m_dz, 1.0);
    EXPECT_EQ(doc.m_nNextDirectionNumber, 9);

    // Around the Y and the Z axis the radial vector lies in the other two coordinates: centre
    // (1, 1, 1), radius 5, the point 3 and 4 off the axis and 7 along it.
    const struct {
        std::int32_t axis;
        double x, y, z, dx, dy, dz;
    } axes[] = {{2, 4, 8, 5, -0.6, 0, -0.8}, {3, 4, 5, 8, -0.6, -0.8, 0}};
    for (const auto& a : axes) {
        auto* c = new CylinderObject(&doc);
        c->m_nAxis = a.axis;
        c->m_dRadius = 5.0;
        c->m_pCentre = new CornerPoint(1, 1, 1, nullptr);
        doc.m_objects.push_back(c);
        MeasDirection* in = AddDirection(AddObjectPoint(doc, c, a.x, a.y, a.z), DirRadialIn);
        EXPECT_LT(std::hypot(in->m_dx - a.dx, in->m_dy - a.dy, in->m_dz - a.dz), 1e-12) << a.axis;
    }
}

TEST(SceneModel, SeriesAddAndRemoveKeepEveryDirectionInStep) {
    CQuivraDoc doc;
    CornerPoint* p = AddFree(doc, 0, 0, 0);
    MeasDirection* early = AddDirection(p, DirPlusX);
    EXPECT_TRUE(early->m_measurements.empty()); // no series yet
    doc.AddSeries();
    ASSERT_EQ(early->m_measurements.size(), 1u);
    EXPECT_EQ(early->m_measurements[0]->m_dAmplitude, 0.0);
    EXPECT_EQ(std::make_tuple(doc.m_seriesNames[0], doc.m_seriesFreqUnit[0],
                              doc.m_seriesFreqFlag[0], doc.m_seriesFrequency[0],
                              doc.m_seriesFramesPerPeriod[0], doc.m_seriesAmplification[0]),
              std::make_tuple(std::string("New Measurement"), 0, 1, 1000.0, 24, 1.0));

    BoxObject* box = AddBox(doc, 0, 0, 0);
    MeasDirection* late = AddDirection(box->m_points[4], DirPlusZ);
    EXPECT_EQ(late->m_measurements.size(), 1u); // one per existing series
    doc.AddSeries();
    early->m_measurements[1]->m_dAmplitude = 2.5;
    late->m_measurements[1]->m_dPhase = 45;
    doc.m_seriesNames[1] = "second";

    doc.RemoveSeries(-1); // nothing
    doc.RemoveSeries(2);  // beyond the last: nothing
    EXPECT_EQ(doc.m_nSeries, 2);
    doc.RemoveSeries(0);
    EXPECT_EQ(doc.m_nSeries, 1);
    ASSERT_EQ(early->m_measurements.size(), 1u);
    EXPECT_EQ(early->m_measurements[0]->m_dAmplitude, 2.5);
    ASSERT_EQ(late->m_measurements.size(), 1u);
    EXPECT_EQ(late->m_measurements[0]->m_dPhase, 45);
    EXPECT_EQ(doc.m_seriesNames, std::vector<std::string>{"second"});
    EXPECT_EQ(doc.m_seriesFrequency.size(), 1u);
    EXPECT_EQ(doc.m_seriesAmplification.size(), 1u);
}

TEST(SceneModel, UnitTablesAndSafeLookups) {
    EXPECT_STREQ(UnitName(9), "mv");
    EXPECT_STREQ(UnitName(10), "?");
    EXPECT_STREQ(UnitName(-1), "?");
    EXPECT_STREQ(FreqUnitName(0), "Hz");
    EXPECT_STREQ(FreqUnitName(2), "?");
}

} // namespace
