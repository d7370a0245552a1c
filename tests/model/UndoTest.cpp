// The one-level undo snapshot: deep, independent copies mapped by position.
#include "SceneFile.h"
#include "TestScenes.h"

#include <gtest/gtest.h>

using namespace testscenes;

namespace {

TEST(Undo, WithoutSnapshotDoesNothingAndIsOneLevel) {
    CQuivraDoc doc;
    BuildSample(doc);
    const QByteArray before = SceneFile::ToBytes(doc);
    EXPECT_EQ(doc.Undo(), 0);
    EXPECT_EQ(doc.SaveUndoState(), 1);
    AddFree(doc, 1, 1, 1);
    EXPECT_EQ(doc.Undo(), 1);
    EXPECT_EQ(SceneFile::ToBytes(doc), before);
    EXPECT_EQ(doc.Undo(), 0); // second undo: nothing
    EXPECT_EQ(SceneFile::ToBytes(doc), before);
}

TEST(Undo, AddedSeriesDisappearsAgain) {
    CQuivraDoc doc;
    BuildSample(doc);
    const QByteArray before = SceneFile::ToBytes(doc);
    doc.SaveUndoState();
    doc.AddSeries();
    EXPECT_EQ(doc.m_nSeries, 3);
    doc.Undo();
    EXPECT_EQ(doc.m_nSeries, 2);
    doc.ForEachPoint([](CornerPoint* p) {
        for (MeasDirection* d : p->m_directions)
            EXPECT_EQ(d->m_measurements.size(), 2u);
    });
    EXPECT_EQ(SceneFile::ToBytes(doc), before);
}

TEST(Undo, DeletedPointComesBackWithDirectionsLineAndNumbers) {
    CQuivraDoc doc;
    BuildSample(doc);
    const QByteArray before = SceneFile::ToBytes(doc);
    doc.SaveUndoState();
    delete doc.m_freePoints[0]; // ends a free line, carries two directions
    EXPECT_EQ(doc.m_freeLines.size(), 2u);
    // Selection and highlight name live records that the undo destroys: they must not survive
    // it, or the next Delete works on freed memory.
    doc.m_selPoints = {doc.m_freePoints[0]};
    doc.m_selObjects = {doc.m_objects[0]};
    doc.m_pHighlightPoint = doc.m_freePoints[1];
    // Both counters come back too (the file holds them): "Copy All >>" matches by number.
    doc.m_nNextPointNumber = doc.m_nNextDirectionNumber = 99;
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(SceneFile::ToBytes(doc), before);
    EXPECT_EQ(doc.m_freePoints[0]->m_directions.size(), 2u);
    EXPECT_EQ(doc.m_freeLines.size(), 3u);
    EXPECT_EQ(doc.m_pHighlightPoint, nullptr);
    EXPECT_TRUE(doc.m_selPoints.empty());
    EXPECT_TRUE(doc.m_selObjects.empty());
}

TEST(Undo, SnapshotIsIndependentOfLaterEdits) {
    CQuivraDoc doc;
    BuildSample(doc);
    const QByteArray before = SceneFile::ToBytes(doc);
    doc.SaveUndoState();
    // Edit values, delete objects and lines: none of it may reach the snapshot.
    doc.m_freePoints[2]->m_directions[0]->m_measurements[1]->m_dAmplitude = -7;
    doc.m_seriesNames[0] = "changed";
    delete doc.m_objects[0];
    delete doc.m_freeLines[0];
    doc.m_freeLines.erase(doc.m_freeLines.begin());
    doc.Undo();
    EXPECT_EQ(SceneFile::ToBytes(doc), before);
    // The restored lines point at the restored records, not at the snapshot's.
    for (const Line* l : doc.m_freeLines) {
        const auto all = doc.AllPoints();
        EXPECT_NE(std::find(all.begin(), all.end(), l->m_pPointA), all.end());
        EXPECT_NE(std::find(all.begin(), all.end(), l->m_pPointB), all.end());
    }
}

TEST(Undo, CylinderCentreLineIsRelinkedInTheCopy) {
    CQuivraDoc doc;
    CylinderObject* cyl = AddCylinder(doc, true);
    doc.SaveUndoState();
    delete cyl;
    doc.Undo();
    ASSERT_EQ(doc.m_objects.size(), 1u);
    SceneObject* back = doc.m_objects[0];
    ASSERT_NE(back->m_pCentreLine, nullptr);
    EXPECT_EQ(back->m_pCentreLine->m_pPointA, back->m_points[8]);
    EXPECT_EQ(back->m_pCentreLine->m_pPointB, back->m_points[9]);
    // Deleting the restored centre end clears the restored object's line, not another's.
    delete back->m_points[9];
    EXPECT_EQ(back->m_pCentreLine, nullptr);
    ASSERT_EQ(doc.m_undoObjects.size(), 1u);
    EXPECT_NE(doc.m_undoObjects[0]->m_pCentreLine, nullptr);
}

} // namespace
