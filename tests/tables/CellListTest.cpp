// The point table: its in-place editor (opening, keys, commits) and its buttons.
#include "CCellEdit.h"
#include "CEditCornerPointsDlg.h"
#include "CPointListCtrl.h"
#include "CountingToolWindows.h"
#include "Line.h"
#include "TablesTestSupport.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

using namespace testscenes;
using tablestest::FakeView;

namespace {

// The point table; Build(n) fills it with `n` free points at x = 12, 13, ... with the origin at
// (10, 0, 0).
struct PointTable : ::testing::Test {
    CQuivraDoc doc;
    FakeView view{&doc};
    CEditCornerPointsDlg dlg;
    CPointListCtrl* list = nullptr;

    void Open() {
        dlg.Bind(&doc);
        ASSERT_TRUE(tablestest::ShowActive(&dlg));
        list = dlg.List();
    }
    void Build(int n) {
        doc.m_pOrigin->m_x = 10.0;
        for (int i = 0; i < n; ++i)
            AddFree(doc, 12.0 + i, 0.0, 0.0);
        Open();
        ASSERT_EQ(list->GetItemCount(), n);
    }
    QStringList Row(int r) const {
        QStringList cells;
        for (int c = 0; c < 4; ++c)
            cells << list->GetItemText(r, c);
        return cells;
    }
    std::vector<int> Numbers() const {
        std::vector<int> n;
        for (int r = 0; r < list->GetItemCount(); ++r)
            n.push_back(list->GetItemText(r, 0).toInt());
        return n;
    }
    CCellEdit* Editor() const { return list->CurrentEditor(); }
    std::pair<int, int> EditorCell() const {
        CCellEdit* e = Editor();
        return e ? std::make_pair(e->Row(), e->Column()) : std::make_pair(-1, -1);
    }
    void Type(const QString& text) {
        Editor()->selectAll();
        QTest::keyClicks(Editor(), text);
    }
};

} // namespace

// Walking through the cells changes nothing, nor does Escape; leaving a cell commits it.
TEST_F(PointTable, EscapeDropsTheEditAndFocusLossCommitsIt) {
    Build(2);
    doc.m_freePoints[0]->m_y = 1.23456789;
    list->BeginCellEdit(0, 1);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(Editor(), Qt::Key_Tab);
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_EQ(doc.m_freePoints[0]->m_y, 1.23456789);
    EXPECT_DOUBLE_EQ(doc.m_freePoints[1]->m_x, 13.0);
    list->BeginCellEdit(1, 1);
    Type("99");
    QTest::keyClick(Editor(), Qt::Key_Escape);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(list->GetItemText(1, 1), "3");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(dlg.isVisible()); // Escape belongs to the editor, not to the window

    list->BeginCellEdit(0, 3);
    Type("-4.5");
    dlg.findChild<QPushButton*>("Close")->setFocus();
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_DOUBLE_EQ(doc.m_freePoints[0]->m_z, -4.5);
    EXPECT_EQ(list->GetItemText(0, 3), "-4.5");
}

// Text without a number, or a value that leaves the doubles once the origin is added, is
// refused: the point stays, the cell keeps its text and the status line says why.
TEST_F(PointTable, RefusedTextKeepsThePointAndSaysWhy) {
    Build(1);
    doc.m_pOrigin->m_x = 1.7e308;
    const std::pair<const char*, const char*> cases[] = {{"abc", "not a number"},
                                                         {"1e308", "out of range"}};
    for (const auto& [text, why] : cases) {
        list->BeginCellEdit(0, 1);
        Type(QString::fromLatin1(text));
        QTest::keyClick(Editor(), Qt::Key_Return);
        EXPECT_DOUBLE_EQ(doc.m_freePoints[0]->m_x, 12.0) << text;
        EXPECT_EQ(list->GetItemText(0, 1), "2") << text;
        EXPECT_TRUE(dlg.StatusLine()->text().contains(QLatin1String(why))) << text;
    }
    EXPECT_FALSE(doc.IsModified());
}

// Tab runs through X, Y, Z and on to the next row (the last wraps to row 0); the arrows keep the
// column. Each move commits the cell it leaves, and Down on the last row reopens that cell.
TEST_F(PointTable, KeysWalkTheCellsAndCommitTheCellLeft) {
    Build(5);
    list->BeginCellEdit(0, 1);
    const struct {
        const char* typed;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int row, column;
    } steps[] = {
        {"8", Qt::Key_Tab, {}, 0, 2},
        {nullptr, Qt::Key_Tab, {}, 0, 3},
        {nullptr, Qt::Key_Tab, {}, 1, 1},
        {nullptr, Qt::Key_Backtab, Qt::ShiftModifier, 0, 3},
        {nullptr, Qt::Key_Up, {}, 0, 3},
        {nullptr, Qt::Key_Down, {}, 1, 3},
        {nullptr, Qt::Key_End, Qt::ControlModifier, 4, 3},
        {"6", Qt::Key_Down, {}, 4, 3},
        {nullptr, Qt::Key_Tab, {}, 0, 1},
        {nullptr, Qt::Key_Backtab, Qt::ShiftModifier, 0, 1},
        {nullptr, Qt::Key_End, Qt::ControlModifier, 4, 1},
        {nullptr, Qt::Key_Home, Qt::ControlModifier, 0, 1},
    };
    for (const auto& s : steps) {
        if (s.typed)
            Type(QString::fromLatin1(s.typed));
        QTest::keyClick(Editor(), s.key, s.mods);
        EXPECT_EQ(EditorCell(), std::make_pair(s.row, s.column)) << s.key;
    }
    EXPECT_DOUBLE_EQ(doc.m_freePoints[0]->m_x, 18.0);
    EXPECT_DOUBLE_EQ(doc.m_freePoints[4]->m_z, 6.0);
}

// The editor opens on a cell clicked (the number column's click edits X), never on a missing
// row or a column too narrow or not editable.
TEST_F(PointTable, ClickOnNumberColumnEditsX) {
    Build(3);
    EXPECT_EQ(list->BeginCellEdit(3, 1), nullptr);
    EXPECT_EQ(list->BeginCellEdit(0, 4), nullptr);
    EXPECT_EQ(list->BeginCellEdit(0, 0), nullptr);
    list->setColumnWidth(2, 4);
    EXPECT_EQ(list->BeginCellEdit(0, 2), nullptr);
    EXPECT_EQ(doc.m_pHighlightPoint, nullptr);
    const QRect nr = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, nr.center());
    EXPECT_EQ(EditorCell(), std::make_pair(2, 1));
    EXPECT_EQ(doc.m_pHighlightPoint, doc.m_freePoints[2]);
    const QRect z = list->visualRect(list->model()->index(1, 3));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, z.center());
    EXPECT_EQ(EditorCell(), std::make_pair(1, 3));
    EXPECT_EQ(list->HitTestCell(QPoint(nr.center().x(), list->viewport()->height() + 50)).row, -1);
}

// Long tables: the page keys move on release and stop at the last row; scrolling commits and
// closes the editor first; an editor opened out of sight scrolls its row into view.
TEST_F(PointTable, PagingAndScrolling) {
    Build(300);
    const int page = list->GetCountPerPage();
    ASSERT_GT(page, 1);
    list->BeginCellEdit(0, 1);
    QTest::keyPress(Editor(), Qt::Key_PageDown);
    EXPECT_EQ(EditorCell(), std::make_pair(0, 1));
    QTest::keyRelease(Editor(), Qt::Key_PageDown);
    EXPECT_EQ(EditorCell(), std::make_pair(page, 1));
    list->BeginCellEdit(295, 1);
    QTest::keyClick(Editor(), Qt::Key_PageDown);
    EXPECT_EQ(EditorCell(), std::make_pair(299, 1));

    list->BeginCellEdit(1, 1);
    Type("42");
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->value() + 20);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_DOUBLE_EQ(doc.m_freePoints[1]->m_x, 52.0);
    CCellEdit* e = list->BeginCellEdit(299, 3);
    ASSERT_TRUE(e);
    EXPECT_TRUE(list->viewport()->rect().intersects(e->geometry()));
}

TEST_F(PointTable, EditorOfADeletedRowNeverWritesIntoIt) {
    Build(3);
    list->BeginCellEdit(1, 1);
    Type("7");
    // The table is rebuilt under the editor (as after an undo): the edit is dropped.
    CornerPoint* p = doc.m_freePoints[1];
    list->DeleteAllItems();
    delete p;
    QApplication::processEvents();
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(doc.m_freePoints.size(), 2u);
    EXPECT_DOUBLE_EQ(doc.m_freePoints[0]->m_x, 12.0);
    EXPECT_DOUBLE_EQ(doc.m_freePoints[1]->m_x, 14.0);
}

TEST_F(PointTable, CoordinatesShowAndCommitRelativeToTheOrigin) {
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

    // The editor starts from the shown value, all selected, and commits it absolute.
    CCellEdit* e = list->BeginCellEdit(0, 1);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->selectedText(), "-3");
    EXPECT_TRUE(e->hasFocus());
    EXPECT_EQ(doc.m_pHighlightPoint, doc.m_freePoints[0]);
    Type("5");
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_DOUBLE_EQ(doc.m_freePoints[0]->m_x, 25.0);
    EXPECT_EQ(list->GetItemText(0, 1), "5");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.m_bUndoAvailable); // a cell edit takes no snapshot
    EXPECT_EQ(Editor(), nullptr);       // Enter on the last row only closes the editor
    doc.SetModifiedFlag(false);

    // New makes a point at the absolute origin, highlighted, its X cell open; undo takes it away.
    dlg.OnNew();
    ASSERT_EQ(doc.m_freePoints.size(), 2u);
    EXPECT_EQ(doc.m_pHighlightPoint, doc.m_freePoints.back());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Row(1), (QStringList{"2", "-20", "-20", "-30"}));
    ASSERT_TRUE(list->CurrentEditor());
    EXPECT_EQ(list->CurrentEditor()->Row(), 1);
    doc.Undo();
    EXPECT_EQ(doc.m_freePoints.size(), 1u);
}

// Free and object points alike, by number; the table opens with the highlighted point's X in
// the editor, and a selected row highlights its point.
TEST_F(PointTable, ListsByNumberOpensTheHighlightedXAndSelectingHighlights) {
    CornerPoint* free5 = AddFree(doc, 2.5, 0, 0);
    BoxObject* box = AddBox(doc, 0, 0, 0);
    free5->m_nNumber = 5;
    for (std::size_t i = 0; i < box->m_points.size(); ++i)
        box->m_points[i]->m_nNumber = 100 + static_cast<int>(i);
    box->m_points[0]->m_nNumber = 3;
    doc.m_pHighlightPoint = free5;
    int before = view.m_nRedraws;
    Open();
    ASSERT_EQ(list->GetItemCount(), 9);
    EXPECT_EQ(list->PointAt(0), box->m_points[0]);
    EXPECT_EQ(list->PointAt(1), free5);
    EXPECT_EQ(Numbers().back(), 107);
    EXPECT_EQ(EditorCell(), std::make_pair(1, 1));
    EXPECT_EQ(Editor()->text(), "2.5");
    EXPECT_GT(view.m_nRedraws, before);
    list->selectRow(0);
    EXPECT_EQ(doc.m_pHighlightPoint, box->m_points[0]);
    before = view.m_nRedraws;
    list->clearSelection(); // keeps the highlight
    EXPECT_EQ(doc.m_pHighlightPoint, box->m_points[0]);
    EXPECT_EQ(view.m_nRedraws, before);
}

TEST_F(PointTable, DeleteRemovesTheHighlightedObjectPointAndItsLines) {
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
    ASSERT_TRUE(list->CurrentEditor());
    QTest::keyClicks(list->CurrentEditor(), "3");
    dlg.OnDelete();
    EXPECT_EQ(box->m_points.size(), 7u);
    EXPECT_EQ(doc.m_pHighlightPoint, nullptr);
    EXPECT_TRUE(doc.m_selPoints.empty());
    EXPECT_EQ(list->GetItemCount(), 7);
    EXPECT_EQ(tools->m_nMeasurements, 1);
}

TEST_F(PointTable, CompactRenumbersInListedOrder) {
    doc.m_nNextPointNumber = 17;
    Open();
    dlg.OnCompact(); // an empty table starts the count again
    EXPECT_EQ(doc.m_nNextPointNumber, 1);
    AddFree(doc, 1, 0, 0);
    CornerPoint* two = AddFree(doc, 2, 0, 0);
    AddFree(doc, 3, 0, 0);
    dlg.RebuildTable(true);
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
