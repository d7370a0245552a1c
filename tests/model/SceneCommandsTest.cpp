// The selection-based editing commands: lines, deletions, alignment and direction toggles.
#include "SceneCommands.h"
#include "SceneFile.h"
#include "TestScenes.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace testscenes;

namespace {

TEST(SceneCommands, DrawLinesMakesAChainInSelectionOrder) {
    CQuivraDoc doc;
    CornerPoint* p1 = AddFree(doc, 0, 0, 0);
    CornerPoint* p2 = AddFree(doc, 1, 0, 0);
    CornerPoint* p3 = AddFree(doc, 2, 0, 0);
    doc.m_selPoints = {p1, p2, p3};
    EXPECT_EQ(SceneCommands::DrawLines(doc), 2);
    ASSERT_EQ(doc.m_freeLines.size(), 2u);
    EXPECT_TRUE(HasLine(doc.m_freeLines, p1, p2));
    EXPECT_TRUE(HasLine(doc.m_freeLines, p2, p3));
    EXPECT_FALSE(HasLine(doc.m_freeLines, p3, p1));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_selPoints.size(), 3u); // the selection stays
    EXPECT_EQ(doc.Undo(), 1);
    EXPECT_TRUE(doc.m_freeLines.empty());
}

TEST(SceneCommands, DrawLinesIntoTheCommonObjectOnly) {
    CQuivraDoc doc;
    BoxObject* box = AddBox(doc, 0, 0, 0);
    CornerPoint* free = AddFree(doc, 5, 5, 5);
    doc.m_selPoints = {box->m_points[0], box->m_points[7]};
    SceneCommands::DrawLines(doc);
    EXPECT_EQ(box->m_lines.size(), 13u);
    EXPECT_TRUE(doc.m_freeLines.empty());
    doc.m_selPoints = {box->m_points[0], free};
    SceneCommands::DrawLines(doc);
    EXPECT_EQ(box->m_lines.size(), 13u);
    EXPECT_EQ(doc.m_freeLines.size(), 1u);
}

TEST(SceneCommands, DeleteLinesRemovesOnlyConsecutivePairs) {
    CQuivraDoc doc;
    CornerPoint* p1 = AddFree(doc, 0, 0, 0);
    CornerPoint* p2 = AddFree(doc, 1, 0, 0);
    CornerPoint* p3 = AddFree(doc, 2, 0, 0);
    doc.m_freeLines = {new Line(p1, p2), new Line(p3, p2), new Line(p1, p3), new Line(p2, p1)};
    doc.m_selPoints = {p1, p2, p3};
    EXPECT_EQ(SceneCommands::DeleteLines(doc), 2);
    ASSERT_EQ(doc.m_freeLines.size(), 2u); // p1-p3 and the second p2-p1 stay
    EXPECT_TRUE(HasLine(doc.m_freeLines, p1, p3));
    EXPECT_EQ(doc.m_freeLines[1]->m_pPointA, p2);

    BoxObject* box = AddBox(doc, 0, 0, 0);
    doc.m_selPoints = {box->m_points[1], box->m_points[0]};
    EXPECT_EQ(SceneCommands::DeleteLines(doc), 1);
    EXPECT_EQ(box->m_lines.size(), 11u);
    EXPECT_EQ(SceneCommands::DeleteLines(doc), 0); // no such line any more
}

TEST(SceneCommands, DeletionsClearSelectionAndHighlightAndUndoExactly) {
    CQuivraDoc doc;
    BuildSample(doc);
    const QByteArray before = SceneFile::ToBytes(doc);
    CornerPoint* a = doc.m_freePoints[0];
    doc.m_selPoints = {a, doc.m_objects[0]->m_points[2], a}; // a twice: destroyed once
    doc.m_selObjects = {doc.m_objects[0]};
    doc.m_pHighlightPoint = a;
    SceneCommands::DeleteCornerPoints(doc);
    EXPECT_EQ(doc.m_freePoints.size(), 2u);
    EXPECT_EQ(doc.m_objects[0]->m_points.size(), 7u);
    EXPECT_TRUE(doc.m_selPoints.empty() && doc.m_selObjects.empty());
    EXPECT_EQ(doc.m_pHighlightPoint, nullptr);
    doc.Undo();
    EXPECT_EQ(SceneFile::ToBytes(doc), before);

    doc.m_selObjects = {doc.m_objects[1], doc.m_objects[1]};
    doc.m_pHighlightPoint = doc.m_objects[1]->m_points[0];
    SceneCommands::DeleteObjects(doc);
    EXPECT_EQ(doc.m_objects.size(), 1u);
    EXPECT_EQ(doc.m_pHighlightPoint, nullptr);
    doc.Undo();
    EXPECT_EQ(SceneFile::ToBytes(doc), before);

    // Every structural command takes its own snapshot and undoes to the same bytes.
    const std::function<void(CQuivraDoc&)> commands[] = {
        SceneCommands::DrawLines, SceneCommands::DeleteLines, SceneCommands::DeleteCornerPoints,
        SceneCommands::DeleteObjects, SceneCommands::AlignCornerPoints};
    for (const auto& command : commands) {
        SceneObject* box = doc.m_objects[0];
        doc.m_selPoints = {doc.m_freePoints[2], box->m_points[0], box->m_points[1]};
        doc.m_selObjects = {box};
        doc.m_bUndoAvailable = 0;
        command(doc);
        EXPECT_TRUE(doc.IsModified()); // writing the bytes below clears it again
        EXPECT_NE(SceneFile::ToBytes(doc), before);
        ASSERT_TRUE(doc.Undo());
        EXPECT_EQ(SceneFile::ToBytes(doc), before);
    }
}

TEST(SceneCommands, AlignMovesTheObjectAndTheCylinderCentre) {
    CQuivraDoc doc;
    CylinderObject* cyl = AddCylinder(doc, true);
    CornerPoint* target = AddFree(doc, 100, 50, 25);
    CornerPoint* corner = cyl->m_points[4]; // (10, 2, 0): no coordinate 0 to hide a sign
    doc.m_selPoints = {corner, target};
    doc.m_selObjects = {cyl};
    ASSERT_TRUE(SceneCommands::AlignCornerPoints(doc));
    EXPECT_EQ(std::make_tuple(corner->m_x, corner->m_y, corner->m_z), std::make_tuple(100, 50, 25));
    EXPECT_EQ(cyl->m_points[9]->m_x, 100); // the other centre point, moved by the same vector
    EXPECT_EQ(std::make_tuple(cyl->m_pCentre->m_x, cyl->m_pCentre->m_y, cyl->m_pCentre->m_z),
              std::make_tuple(90, 48, 25));
    EXPECT_EQ(target->m_x, 100); // the target stays
    EXPECT_TRUE(doc.IsModified());
    doc.m_selObjects.clear();
    EXPECT_FALSE(SceneCommands::AlignCornerPoints(doc));
}

TEST(SceneCommands, DirectionToggleReplaceAndRemove) {
    CQuivraDoc doc;
    doc.AddSeries();
    CornerPoint* p = AddFree(doc, 0, 0, 0);
    AddDirection(p, DirMinusX)->m_measurements[0]->m_dAmplitude = 3; // number 1
    AddDirection(p, DirPlusY);                                       // number 2
    using C = SceneCommands::DirectionChange;
    EXPECT_EQ(SceneCommands::SetMeasDirection(doc, p, DirPlusX), C::Replaced);
    ASSERT_EQ(p->m_directions.size(), 2u);
    EXPECT_EQ(std::make_tuple(p->m_directions[0]->m_nCode, p->m_directions[0]->m_nNumber,
                              p->m_directions[0]->m_dx),
              std::make_tuple(DirPlusX, 1, 1.0));
    EXPECT_EQ(p->m_directions[0]->m_measurements[0]->m_dAmplitude, 0.0);
    EXPECT_EQ(doc.m_nNextDirectionNumber, 3);
    EXPECT_EQ(SceneCommands::SetMeasDirection(doc, p, DirPlusX), C::Removed);
    ASSERT_EQ(p->m_directions.size(), 1u);
    EXPECT_EQ(p->m_directions[0]->m_nNumber, 1); // 2 closed the gap
    EXPECT_EQ(doc.m_nNextDirectionNumber, 2);
    EXPECT_EQ(SceneCommands::SetMeasDirection(doc, p, DirPlusZ), C::Added);
    EXPECT_EQ(p->m_directions[1]->m_nNumber, 2);
    EXPECT_EQ(p->m_directions[1]->m_measurements.size(), 1u);
}

TEST(SceneCommands, RemovingDirectionThreeOfFive) {
    for (int edited = 0; edited < 2; ++edited) {
        CQuivraDoc doc;
        BoxObject* box = AddBox(doc, 0, 0, 0);
        CornerPoint* free = AddFree(doc, 9, 9, 9);
        for (int i = 0; i < 4; ++i)
            AddDirection(box->m_points[i], DirPlusZ); // 1..4
        AddDirection(free, DirPlusX);                 // 5
        doc.m_bMeasEdited = edited;
        SceneCommands::SetMeasDirection(doc, box->m_points[2], DirPlusZ); // removes 3
        EXPECT_EQ(box->m_points[3]->m_directions[0]->m_nNumber, edited ? 4 : 3);
        EXPECT_EQ(free->m_directions[0]->m_nNumber, edited ? 5 : 4);
        SceneCommands::SetMeasDirection(doc, box->m_points[5], DirPlusY);
        EXPECT_EQ(box->m_points[5]->m_directions[0]->m_nNumber, edited ? 6 : 5);
    }
}

} // namespace
