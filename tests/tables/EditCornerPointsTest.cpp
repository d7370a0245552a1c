#include "CCellEdit.h"
#include "CEditCornerPointsDlg.h"
#include "CPointListCtrl.h"
#include "CountingToolWindows.h"
#include "Line.h"
#include "TablesTestSupport.h"

#include <QItemSelectionModel>

using namespace testscenes;
using tablestest::FakeView;

namespace {

struct CornerPoints : ::testing::Test {
    CQuivraDoc doc;
    FakeView view{&doc};
    CEditCornerPointsDlg dlg;

    void Open() {
        dlg.Bind(&doc);
        ASSERT_TRUE(tablestest::ShowActive(&dlg));
    }
    CPointListCtrl* List() const { return dlg.List(); }
    std::vector<int> Numbers() const {
        std::vector<int> n;
        for (int r = 0; r < List()->GetItemCount(); ++r)
            n.push_back(List()->GetItemText(r, 0).toInt());
        return n;
    }
    QStringList Row(int r) const {
        QStringList cells;
        for (int c = 0; c < 4; ++c)
            cells << List()->GetItemText(r, c);
        return cells;
    }
};

} // namespace

TEST_F(CornerPoints, CoordinatesAreRelativeToTheOrigin) {
    doc.m_pOrigin->m_x = 10;
    doc.m_pOrigin->m_y = 20;
    doc.m_pOrigin->m_z = 30;
    AddFree(doc, 17, 20, 30);
    Open();
    EXPECT_EQ(Row(0), (QStringList{"1", "7", "0", "0"}));

    // The origin moved twice by 5 in x (as the Move Local Origin form does): X follows.
    doc.m_pOrigin->m_x += 5;
    doc.m_pOrigin->m_x += 5;
    dlg.RebuildTable(true);
    EXPECT_EQ(Row(0), (QStringList{"1", "-3", "0", "0"}));

    // New makes a point at the absolute origin, highlighted, its X cell open; undo takes it away.
    dlg.OnNew();
    ASSERT_EQ(doc.m_freePoints.size(), 2u);
    EXPECT_EQ(doc.m_pHighlightPoint, doc.m_freePoints.back());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Row(1), (QStringList{"2", "-20", "-20", "-30"}));
    ASSERT_TRUE(List()->CurrentEditor());
    EXPECT_EQ(List()->CurrentEditor()->Row(), 1);
    doc.Undo();
    EXPECT_EQ(doc.m_freePoints.size(), 1u);
}

TEST_F(CornerPoints, ListsByNumberFreeAndObjectPointsAlike) {
    CornerPoint* free5 = AddFree(doc, 0, 0, 0);
    BoxObject* box = AddBox(doc, 0, 0, 0);
    free5->m_nNumber = 5;
    for (std::size_t i = 0; i < box->m_points.size(); ++i)
        box->m_points[i]->m_nNumber = 100 + static_cast<int>(i);
    box->m_points[0]->m_nNumber = 3;
    Open();
    ASSERT_EQ(List()->GetItemCount(), 9);
    EXPECT_EQ(List()->PointAt(0), box->m_points[0]);
    EXPECT_EQ(List()->PointAt(1), free5);
    EXPECT_EQ(Numbers().back(), 107);
}

TEST_F(CornerPoints, ShowingOpensTheHighlightedPointsXAndSelectingHighlights) {
    CornerPoint* first = AddFree(doc, 1, 0, 0);
    doc.m_pHighlightPoint = AddFree(doc, 2.5, 0, 0);
    int before = view.m_nRedraws;
    Open();
    ASSERT_TRUE(List()->CurrentEditor());
    EXPECT_EQ(List()->CurrentEditor()->Column(), 1);
    EXPECT_EQ(List()->CurrentEditor()->text(), "2.5"); // the second row
    EXPECT_GT(view.m_nRedraws, before);
    List()->selectRow(0);
    EXPECT_EQ(doc.m_pHighlightPoint, first);
    before = view.m_nRedraws;
    List()->clearSelection(); // keeps the highlight
    EXPECT_EQ(doc.m_pHighlightPoint, first);
    EXPECT_EQ(view.m_nRedraws, before);
}

TEST_F(CornerPoints, DeleteRemovesTheHighlightedObjectPointAndItsLines) {
    auto* tools = new CountingToolWindows;
    doc.m_pToolWindows.reset(tools);
    doc.AddSeries();
    BoxObject* box = AddBox(doc, 0, 0, 0);
    CornerPoint* victim = box->m_points[0];
    AddDirection(victim, DirPlusZ);
    doc.m_selPoints.push_back(box->m_points[1]);
    doc.m_selObjects.push_back(box);
    Open();
    // The user is typing into the point's cell when Delete is pressed.
    doc.m_pHighlightPoint = victim;
    dlg.RebuildTable(true);
    ASSERT_TRUE(List()->CurrentEditor());
    QTest::keyClicks(List()->CurrentEditor(), "3");
    dlg.OnDelete();
    EXPECT_EQ(box->m_points.size(), 7u);
    EXPECT_EQ(doc.m_pHighlightPoint, nullptr);
    EXPECT_TRUE(doc.m_selPoints.empty());
    EXPECT_EQ(List()->GetItemCount(), 7);
    EXPECT_EQ(tools->m_nMeasurements, 1);
}

TEST_F(CornerPoints, CompactRenumbersInListedOrder) {
    AddFree(doc, 1, 0, 0);
    CornerPoint* two = AddFree(doc, 2, 0, 0);
    AddFree(doc, 3, 0, 0);
    Open();
    dlg.OnDelete(); // nothing highlighted: nothing to delete
    EXPECT_FALSE(doc.m_bUndoAvailable || doc.IsModified());
    doc.m_pHighlightPoint = two;
    dlg.OnDelete();
    ASSERT_EQ(Numbers(), (std::vector<int>{1, 3}));
    dlg.OnCompact();
    EXPECT_EQ(Numbers(), (std::vector<int>{1, 2}));
    EXPECT_EQ(doc.m_freePoints[1]->m_nNumber, 2);
    EXPECT_EQ(doc.m_nNextPointNumber, 3);
    dlg.OnNew();
    EXPECT_EQ(doc.m_freePoints.back()->m_nNumber, 3);
}

TEST_F(CornerPoints, CompactOnAnEmptyTableResetsTheCounter) {
    doc.m_nNextPointNumber = 17;
    Open();
    dlg.OnCompact();
    EXPECT_EQ(doc.m_nNextPointNumber, 1);
}
