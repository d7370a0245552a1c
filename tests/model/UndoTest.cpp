// The one-level undo snapshot: deep, independent copies mapped by position.
#include "SceneCommands.h"
#include "SceneFile.h"
#include "TestScenes.h"

#include <gtest/gtest.h>

#include <functional>

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
    // Edit values, add a series, delete objects and lines: none of it may reach the snapshot.
    doc.m_freePoints[2]->m_directions[0]->m_measurements[1]->m_dAmplitude = -7;
    doc.AddSeries();
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
    cyl->m_pCentre->m_x = 1;
    cyl->m_pCentre->m_y = 2;
    cyl->m_pCentre->m_z = 3;
    Line* l = AddCentreLineObject(doc, 0, 0, 0, 1, 1, 1)->m_pCentreLine;
    std::swap(l->m_pPointA, l->m_pPointB); // a centre line that ends at the object's first point
    doc.SaveUndoState();
    delete cyl;
    doc.Undo();
    ASSERT_EQ(doc.m_objects.size(), 2u);
    EXPECT_NE(doc.m_objects[1]->m_pCentreLine, nullptr);
    SceneObject* back = doc.m_objects[0];
    EXPECT_EQ(
        std::vector<double>({back->m_pCentre->m_x, back->m_pCentre->m_y, back->m_pCentre->m_z}),
        std::vector<double>({1, 2, 3}));
    ASSERT_NE(back->m_pCentreLine, nullptr);
    EXPECT_EQ(back->m_pCentreLine->m_pPointA, back->m_points[8]);
    EXPECT_EQ(back->m_pCentreLine->m_pPointB, back->m_points[9]);
    // Deleting the restored centre end clears the restored object's line, not another's.
    delete back->m_points[9];
    EXPECT_EQ(back->m_pCentreLine, nullptr);
    ASSERT_EQ(doc.m_undoObjects.size(), 2u);
    EXPECT_NE(doc.m_undoObjects[0]->m_pCentreLine, nullptr);
}

// The tally of edits without a snapshot, as the undo question names them.
TEST(Undo, NamesTheLaterEditsItWouldDiscard) {
    using K = SceneChanges::Kind;
    const std::vector<std::pair<std::vector<K>, const char*>> cases = {
        {{}, ""},
        {{K::DirectionAdded, K::DirectionAdded, K::ValueEdited},
         "2 measurement directions added, 1 value edited"},
        {{K::Renumbered, K::SeriesAdded, K::SeriesSettingChanged, K::DirectionRemoved,
          K::DirectionTurned},
         "1 measurement direction removed, 1 measurement direction turned round, 1 series added, "
         "1 series setting changed, 1 renumbering"},
    };
    for (const auto& [kinds, text] : cases) {
        SceneChanges c;
        for (K k : kinds)
            c.Note(k);
        EXPECT_EQ(c.Describe().toStdString(), text);
        EXPECT_EQ(c.IsEmpty(), kinds.empty());
    }

    // Direction commands note themselves; a snapshot, an undo and a redo start a new tally.
    CQuivraDoc doc;
    BuildSample(doc);
    CornerPoint* b = doc.m_freePoints[1];
    SceneCommands::SetMeasDirection(doc, b, DirPlusX);
    EXPECT_TRUE(doc.ChangesLostByUndo().IsEmpty()); // nothing to undo, nothing lost
    doc.SaveUndoState();
    SceneCommands::SetMeasDirection(doc, b, DirMinusX); // turned round
    SceneCommands::SetMeasDirection(doc, b, DirPlusY);
    EXPECT_EQ(doc.ChangesLostByUndo().Describe(),
              "1 measurement direction added, 1 measurement direction turned round");
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_TRUE(doc.ChangesLostByRedo().IsEmpty());
    SceneCommands::SetMeasDirection(doc, doc.m_freePoints[1], DirPlusX); // removed
    EXPECT_EQ(doc.ChangesLostByRedo().Describe(), "1 measurement direction removed");
    ASSERT_EQ(doc.Redo(), 1);
    EXPECT_TRUE(doc.ChangesLostByUndo().IsEmpty());
}

// Redo puts back exactly the scene from before the undo, and only until the next snapshot.
TEST(Undo, RedoRestoresTheStateBeforeTheUndo) {
    CQuivraDoc doc;
    BuildSample(doc);
    const QByteArray snapshot = SceneFile::ToBytes(doc);
    doc.SaveUndoState();
    delete doc.m_objects[0];
    AddDirection(doc.m_freePoints[1], DirPlusY);
    doc.m_seriesNames[0] = "renamed"; // the series columns come back too
    const QByteArray edited = SceneFile::ToBytes(doc);
    EXPECT_EQ(doc.Redo(), 0);
    ASSERT_EQ(doc.Undo(), 1);
    ASSERT_EQ(doc.Redo(), 1);
    EXPECT_EQ(SceneFile::ToBytes(doc), edited);
    EXPECT_EQ(doc.m_seriesNames, (std::vector<std::string>{"renamed", "Motor side \xE4 1x"}));
    EXPECT_EQ(doc.Redo(), 0);
    ASSERT_EQ(doc.Undo(), 1); // the snapshot is still there
    EXPECT_EQ(SceneFile::ToBytes(doc), snapshot);
    doc.SaveUndoState();
    EXPECT_EQ(doc.m_bRedoAvailable, 0);
    EXPECT_EQ(doc.Redo(), 0);
}

// Undo and redo leave the document unmodified exactly when they bring back what the file holds.
TEST(Undo, ModifiedFlagFollowsTheSavedFile) {
    for (const bool saveBetween : {false, true}) {
        CQuivraDoc doc;
        BuildSample(doc);
        doc.SaveUndoState();
        AddFree(doc, 1, 1, 1);
        doc.SetModifiedFlag();
        if (saveBetween)
            doc.MarkSaved();
        ASSERT_EQ(doc.Undo(), 1);
        EXPECT_EQ(doc.IsModified(), saveBetween);
        ASSERT_EQ(doc.Redo(), 1);
        EXPECT_EQ(doc.IsModified(), !saveBetween);
    }
}

} // namespace
