#include "CylinderGenerator.h"
#include "BoxGenerator.h"
#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "CylinderObject.h"
#include "Line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <tuple>

namespace {

// The radius times the sine as the generator must compute it.
double SinF(double a) {
    return static_cast<double>(static_cast<float>(std::sin(a)));
}

TEST(CylinderGenerator, DefaultAroundXWithEightCorners) {
    CQuivraDoc doc;
    CylinderObject* cyl = AddCylinder(doc, CylinderInput{});
    ASSERT_EQ(doc.m_objects.size(), 1u);
    EXPECT_EQ(cyl->GetType(), SceneObject::TypeCylinder);
    ASSERT_EQ(cyl->m_points.size(), 18u);
    ASSERT_EQ(cyl->m_lines.size(), 24u);
    EXPECT_EQ(cyl->m_points[0]->m_y, 20.0);
    // The stored step 6.28318 / 8 (not pi) and the single-precision sine show in the corners.
    const double a = 2 * 0.7853975;
    EXPECT_EQ(cyl->m_points[2]->m_y, 20.0 * std::cos(a));
    EXPECT_EQ(cyl->m_points[2]->m_z, 20.0 * SinF(a));
    EXPECT_NE(cyl->m_points[1]->m_z, 20.0 * std::sin(0.7853975));
    for (int i = 0; i < 18; ++i) {
        const CornerPoint* p = cyl->m_points[i];
        EXPECT_EQ(p->m_nNumber, i + 1);
        EXPECT_EQ(p->m_pOwner, cyl);
        if (i < 8) { // the second circle is the first moved by the length along X
            const CornerPoint* q = cyl->m_points[8 + i];
            EXPECT_EQ(std::make_tuple(q->m_x, q->m_y, q->m_z),
                      std::make_tuple(100.0, p->m_y, p->m_z));
        }
    }
    // Lines: first polygon, second polygon, sides.
    for (int i = 0; i < 8; ++i)
        for (const auto& [line, a0, b0] :
             {std::make_tuple(16 + i, i, 8 + i), std::make_tuple(i, i, (i + 1) % 8),
              std::make_tuple(8 + i, 8 + i, 8 + (i + 1) % 8)}) {
            EXPECT_EQ(cyl->IndexOfPoint(cyl->m_lines[line]->m_pPointA), a0) << line;
            EXPECT_EQ(cyl->IndexOfPoint(cyl->m_lines[line]->m_pPointB), b0) << line;
        }
    // The centre line exists but is not drawn unless asked for.
    ASSERT_NE(cyl->m_pCentreLine, nullptr);
    EXPECT_EQ(cyl->m_bHasCentreLine, 0);
    EXPECT_EQ(cyl->m_pCentreLine->m_pPointA, cyl->m_pCircleCentre1);
    EXPECT_EQ(cyl->m_pCentreLine->m_pPointB, cyl->m_pCircleCentre2);
    EXPECT_EQ(cyl->IndexOfPoint(cyl->m_pCircleCentre1), 16);
    EXPECT_EQ(cyl->m_points[17]->m_x, 100.0);
    EXPECT_EQ(cyl->m_nAxis, AxisX);
    EXPECT_EQ(cyl->m_dRadius, 20.0);
    ASSERT_NE(cyl->m_pCentre, nullptr);
    EXPECT_EQ(cyl->m_pCentre->m_pDoc, nullptr);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_bUndoAvailable, 1);
}

TEST(CylinderGenerator, AxesPlaceCirclesAndSecondCircle) {
    struct Case {
        std::int32_t axis;
        // First corner (angle 0) and the second circle's first corner, centre (1, 2, 3), r 10,
        // length 50.
        double first[3];
        double second[3];
    } const cases[] = {
        {AxisX, {1, 12, 3}, {51, 12, 3}},
        {AxisY, {11, 2, 3}, {11, 52, 3}},
        {AxisZ, {11, 2, 3}, {11, 2, 53}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.axis);
        CQuivraDoc doc;
        CylinderInput in;
        in.m_centre = {1, 2, 3};
        in.m_nAxis = c.axis;
        in.m_dRadius = 10;
        in.m_dLength = 50;
        in.m_nCorners = 4;
        CylinderObject* cyl = AddCylinder(doc, in);
        ASSERT_EQ(cyl->m_points.size(), 10u);
        const CornerPoint* p = cyl->m_points[0];
        const CornerPoint* q = cyl->m_points[4];
        EXPECT_EQ(std::make_tuple(p->m_x, p->m_y, p->m_z),
                  std::make_tuple(c.first[0], c.first[1], c.first[2]));
        EXPECT_EQ(std::make_tuple(q->m_x, q->m_y, q->m_z),
                  std::make_tuple(c.second[0], c.second[1], c.second[2]));
        // The cosine term runs along the first remaining axis, the sine term along the last.
        const CornerPoint* r = cyl->m_points[1];
        const double s = 10 * SinF(6.28318 / 4);
        EXPECT_EQ(c.axis == AxisZ ? r->m_y - 2 : r->m_z - 3, s);
        EXPECT_NEAR(c.axis == AxisX ? r->m_y - 2 : r->m_x - 1, 10 * std::cos(6.28318 / 4), 1e-12);
        const CornerPoint* c2 = cyl->m_points[9];
        EXPECT_EQ(c2->m_x + c2->m_y + c2->m_z, 1 + 2 + 3 + 50);
    }
}

TEST(CylinderGenerator, OriginAngleAndNegativeRadius) {
    CQuivraDoc doc;
    doc.m_pOrigin->m_x = 5;
    doc.m_pOrigin->m_y = -5;
    CylinderInput in;
    in.m_dRadius = -5;
    in.m_dAngleDeg = 90;
    CylinderObject* cyl = AddCylinder(doc, in);
    EXPECT_EQ(cyl->m_dRadius, 5.0);
    EXPECT_EQ(cyl->m_pCentre->m_x, 5.0);
    EXPECT_EQ(cyl->m_pCentre->m_y, -5.0);
    const double a = 90 * 0.017453292222222222;
    EXPECT_EQ(cyl->m_dFirstAngle, a);
    EXPECT_EQ(cyl->m_points[0]->m_y, -5.0 + 5.0 * std::cos(a));
    EXPECT_EQ(cyl->m_points[0]->m_z, 5.0 * SinF(a));
    for (int i = 0; i < 8; ++i) {
        const CornerPoint* p = cyl->m_points[i];
        EXPECT_NEAR(std::hypot(p->m_y + 5.0, p->m_z), 5.0, 1e-6);
    }
}

TEST(CylinderGenerator, ShapesByLengthCornersAndOptions) {
    struct Case {
        const char* name;
        double length;
        int corners;
        bool cornerLines;
        bool centreLine;
        size_t points;
        size_t lines;
        bool centreLineObject;
        int centreFlag;
    } const cases[] = {
        {"length 0: one polygon", 0, 8, true, true, 8, 8, false, 0},
        {"negative length", -10, 6, true, false, 6, 6, false, 0},
        {"no corner lines", 100, 8, false, false, 18, 0, true, 0},
        {"centre line drawn", 100, 8, true, true, 18, 24, true, 1},
        {"no corners", 100, 0, true, true, 2, 0, true, 1},
        {"negative corners", 100, -3, true, false, 2, 0, true, 0},
        {"no corners, no length", 0, 0, true, true, 0, 0, false, 0},
        {"a single corner", 100, 1, true, false, 4, 3, true, 0},
        {"huge corner count clamped", 0, 2000000000, false, false, kMaxCylinderCorners, 0, false,
         0},
    };
    for (const Case& c : cases) {
        CQuivraDoc doc;
        CylinderInput in;
        in.m_dLength = c.length;
        in.m_nCorners = c.corners;
        in.m_bCornerLines = c.cornerLines;
        in.m_bCentreLine = c.centreLine;
        CylinderObject* cyl = AddCylinder(doc, in);
        EXPECT_EQ(cyl->m_points.size(), c.points) << c.name;
        EXPECT_EQ(cyl->m_lines.size(), c.lines) << c.name;
        EXPECT_EQ(cyl->m_pCentreLine != nullptr, c.centreLineObject) << c.name;
        EXPECT_EQ(cyl->m_bHasCentreLine, c.centreFlag) << c.name;
        EXPECT_EQ(doc.m_nNextPointNumber, static_cast<int>(c.points) + 1) << c.name;
        if (c.length > 0) { // the count the callers refuse by
            EXPECT_EQ(CylinderPointCount(c.corners), static_cast<std::int64_t>(c.points)) << c.name;
        }
        EXPECT_TRUE(std::isfinite(cyl->m_dAngleStep)) << c.name;
    }
}

// Finite input whose sum leaves the doubles: nothing is made, no snapshot is taken.
TEST(CylinderGenerator, ResultsBeyondTheDoublesAreRefused) {
    CQuivraDoc doc;
    BoxInput box;
    box.m_p1.x = 1e308;
    box.m_displacement.x = 1e308;
    EXPECT_EQ(AddBox(doc, box), nullptr);
    CylinderInput cyl;
    cyl.m_centre.x = 1e308;
    cyl.m_dLength = 1e308;
    EXPECT_EQ(AddCylinder(doc, cyl), nullptr);
    cyl = CylinderInput{};
    doc.m_pOrigin->m_y = 1.7e308;
    cyl.m_centre.y = 1.7e308;
    EXPECT_EQ(AddCylinder(doc, cyl), nullptr);
    EXPECT_TRUE(doc.m_objects.empty());
    EXPECT_EQ(doc.m_bUndoAvailable, 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.m_nNextPointNumber, 1);
}

TEST(CylinderGenerator, NumbersFollowABoxAndWorkingValuesAreNotCloned) {
    CQuivraDoc doc;
    AddBox(doc, BoxInput{});
    CylinderInput in;
    in.m_bCentreLine = true;
    CylinderObject* cyl = AddCylinder(doc, in);
    EXPECT_EQ(cyl->m_points.front()->m_nNumber, 9);
    EXPECT_EQ(cyl->m_points.back()->m_nNumber, 26);
    EXPECT_EQ(doc.m_nNextPointNumber, 27);
    EXPECT_EQ(cyl->m_dLength, 100.0);
    EXPECT_EQ(cyl->m_nCorners, 8);
    std::unique_ptr<CylinderObject> copy(static_cast<CylinderObject*>(cyl->Clone()));
    copy->m_pDoc = nullptr; // keep the copy out of the document's arrays
    EXPECT_EQ(copy->m_dLength, 0.0);
    EXPECT_EQ(copy->m_nCorners, 0);
    EXPECT_EQ(copy->m_dAngleStep, 0.0);
    EXPECT_EQ(copy->m_pCircleCentre1, nullptr);
    // What the generator made that is part of the scene survives the copy.
    ASSERT_NE(copy->m_pCentreLine, nullptr);
    EXPECT_EQ(copy->IndexOfPoint(copy->m_pCentreLine->m_pPointB), 17);
    EXPECT_EQ(copy->m_dRadius, 20.0);
    // The centre line is copied by its ends' places, the first place too; one whose end is not
    // the cylinder's own point is dropped.
    CornerPoint* const end = cyl->m_pCentreLine->m_pPointA;
    for (CornerPoint* p : {cyl->m_points[0], doc.m_pOrigin}) {
        cyl->m_pCentreLine->m_pPointA = p;
        std::unique_ptr<CylinderObject> c(static_cast<CylinderObject*>(cyl->Clone()));
        c->m_pDoc = nullptr;
        const bool own = p != doc.m_pOrigin;
        EXPECT_EQ(c->m_bHasCentreLine, own ? 1 : 0);
        EXPECT_EQ(c->m_pCentreLine ? c->IndexOfPoint(c->m_pCentreLine->m_pPointA) : -1,
                  own ? 0 : -1);
    }
    cyl->m_pCentreLine->m_pPointA = end;
}

} // namespace
