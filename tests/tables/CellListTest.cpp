// The in-place editor over the point and measurement tables: opening, keys, commits.
#include "CCellEdit.h"
#include "CEditCornerPointsDlg.h"
#include "CMeasListCtrl.h"
#include "CMeasurementsDlg.h"
#include "CPointListCtrl.h"
#include "CommaLocale.h"
#include "TablesTestSupport.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

using namespace testscenes;
using tablestest::FakeView;

namespace {

// A point table over `n` free points at x = 12, 13, ... with the origin at (10, 0, 0).
struct PointTable : ::testing::Test {
    CQuivraDoc doc;
    FakeView view{&doc};
    CEditCornerPointsDlg dlg;
    CPointListCtrl* list = nullptr;

    void Build(int n) {
        doc.m_pOrigin->m_x = 10.0;
        for (int i = 0; i < n; ++i)
            AddFree(doc, 12.0 + i, 0.0, 0.0);
        dlg.Bind(&doc);
        ASSERT_TRUE(tablestest::ShowActive(&dlg));
        list = dlg.List();
        ASSERT_EQ(list->GetItemCount(), n);
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

TEST_F(PointTable, EditorStartsRelativeToOriginAndCommitsAbsolute) {
    Build(1);
    CCellEdit* e = list->BeginCellEdit(0, 1);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->text(), "2");
    EXPECT_EQ(doc.m_pHighlightPoint, doc.m_freePoints[0]);
    EXPECT_TRUE(e->hasFocus());
    EXPECT_EQ(e->selectedText(), "2");
    Type("5");
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_DOUBLE_EQ(doc.m_freePoints[0]->m_x, 15.0);
    EXPECT_EQ(list->GetItemText(0, 1), "5");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.m_bUndoAvailable); // a cell edit takes no snapshot
    // Enter on the last row only closes the editor.
    EXPECT_EQ(Editor(), nullptr);
}

TEST_F(PointTable, EscapeDropsTheEditAndFocusLossCommitsIt) {
    Build(2);
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

TEST_F(PointTable, WalkingThroughCellsChangesNothing) {
    Build(2);
    doc.m_freePoints[0]->m_y = 1.23456789;
    list->BeginCellEdit(0, 1);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(Editor(), Qt::Key_Tab);
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_EQ(doc.m_freePoints[0]->m_y, 1.23456789);
    EXPECT_DOUBLE_EQ(doc.m_freePoints[1]->m_x, 13.0);
    EXPECT_FALSE(doc.IsModified());
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

TEST_F(PointTable, PageKeysMoveOnRelease) {
    Build(200);
    const int page = list->GetCountPerPage();
    ASSERT_GT(page, 1);
    list->BeginCellEdit(0, 1);
    QTest::keyPress(Editor(), Qt::Key_PageDown);
    EXPECT_EQ(EditorCell(), std::make_pair(0, 1));
    QTest::keyRelease(Editor(), Qt::Key_PageDown);
    EXPECT_EQ(EditorCell(), std::make_pair(page, 1));
    list->BeginCellEdit(195, 1);
    QTest::keyClick(Editor(), Qt::Key_PageDown); // stops at the last row
    EXPECT_EQ(EditorCell(), std::make_pair(199, 1));
}

TEST_F(PointTable, ClickOnNumberColumnEditsX) {
    Build(3);
    const QRect nr = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, nr.center());
    EXPECT_EQ(EditorCell(), std::make_pair(2, 1));
    EXPECT_EQ(doc.m_pHighlightPoint, doc.m_freePoints[2]);
    const QRect z = list->visualRect(list->model()->index(1, 3));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, z.center());
    EXPECT_EQ(EditorCell(), std::make_pair(1, 3));
    EXPECT_EQ(list->HitTestCell(QPoint(nr.center().x(), list->viewport()->height() + 50)).row, -1);
}

TEST_F(PointTable, RefusesMissingRowsAndNarrowOrUneditableColumns) {
    Build(2);
    EXPECT_EQ(list->BeginCellEdit(2, 1), nullptr);
    EXPECT_EQ(list->BeginCellEdit(0, 4), nullptr);
    EXPECT_EQ(list->BeginCellEdit(0, 0), nullptr);
    list->setColumnWidth(2, 4);
    EXPECT_EQ(list->BeginCellEdit(0, 2), nullptr);
    EXPECT_EQ(doc.m_pHighlightPoint, nullptr);
}

TEST_F(PointTable, ScrollingCommitsAndClosesFirst) {
    Build(300);
    list->BeginCellEdit(1, 1);
    Type("42");
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->value() + 20);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_DOUBLE_EQ(doc.m_freePoints[1]->m_x, 52.0);
    // Opening an editor on a row out of sight scrolls it into view.
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

namespace {

// A measurement table over `n` +X directions on free points, one series.
struct MeasTable : ::testing::Test {
    CQuivraDoc doc;
    FakeView view{&doc};
    CMeasurementsDlg dlg;
    CMeasListCtrl* list = nullptr;

    void Build(int n) {
        doc.AddSeries();
        for (int i = 0; i < n; ++i)
            AddDirection(AddFree(doc, i, 0, 0), DirPlusX)->m_measurements[0]->m_dPhase = 10 * i;
        dlg.Bind(&doc, &view);
        ASSERT_TRUE(tablestest::ShowActive(&dlg));
        list = dlg.List();
        ASSERT_EQ(list->GetItemCount(), n);
    }
    std::pair<int, int> EditorCell() const {
        CCellEdit* e = list->CurrentEditor();
        return e ? std::make_pair(e->Row(), e->Column()) : std::make_pair(-1, -1);
    }
    MeasDirection* Dir(int i) const { return doc.m_freePoints[i]->m_directions[0]; }
};

} // namespace

// The leading number is read (NumberTextTest has its rules), in the user's locale.
TEST_F(MeasTable, CommaLocaleCellsReadAndShowCommas) {
    CommaLocale locale;
    ASSERT_TRUE(locale.IsActive()) << locale.Why().toStdString();
    Build(1);
    const std::pair<const char*, double> cases[] = {{"0,9Hz", 0.9}, {"2.5", 0.9}};
    for (const auto& [text, amplitude] : cases) {
        list->BeginCellEdit(0, 3);
        QTest::keyClicks(list->CurrentEditor(), QString::fromLatin1(text));
        QTest::keyClick(list->CurrentEditor(), Qt::Key_Return);
        EXPECT_DOUBLE_EQ(Dir(0)->m_measurements[0]->m_dAmplitude, amplitude) << text;
        EXPECT_EQ(list->GetItemText(0, 3), "0,9") << text;
        EXPECT_TRUE(doc.IsModified());
    }
    // "2.5" is the other convention's number: refused rather than read as 2.
    EXPECT_TRUE(dlg.StatusLine()->text().contains(QLatin1String("\",\"")))
        << dlg.StatusLine()->text().toStdString();
}

TEST_F(MeasTable, ClickOnIdOpensAmplitudeAndMarksTheRow) {
    Build(3);
    EXPECT_EQ(doc.m_bMeasEdited, 0);
    const QRect id = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, id.center());
    EXPECT_EQ(EditorCell(), std::make_pair(2, 3));
    EXPECT_EQ(dlg.SelRow(), 2);
    EXPECT_EQ(doc.m_bMeasEdited, 1);
    EXPECT_EQ(doc.m_pHighlightPoint, doc.m_freePoints[2]);
    const QRect angle = list->visualRect(list->model()->index(0, 4));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, angle.center());
    EXPECT_EQ(EditorCell(), std::make_pair(0, 4));
    EXPECT_EQ(list->CurrentEditor()->text(), "0");
}

// Tab goes from amplitude to angle and on down, staying on the last row; Enter commits and
// moves down.
TEST_F(MeasTable, TabAndEnterWalkTheValueCells) {
    Build(3);
    list->BeginCellEdit(1, 3);
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int row, column;
    } steps[] = {
        {Qt::Key_Tab, {}, 1, 4},
        {Qt::Key_Tab, {}, 2, 3},
        {Qt::Key_Tab, {}, 2, 4},
        {Qt::Key_Tab, {}, 2, 3},
        {Qt::Key_Backtab, Qt::ShiftModifier, 1, 4},
    };
    for (const auto& s : steps) {
        QTest::keyClick(list->CurrentEditor(), s.key, s.mods);
        EXPECT_EQ(EditorCell(), std::make_pair(s.row, s.column)) << s.key;
    }
    list->BeginCellEdit(0, 4);
    QTest::keyClicks(list->CurrentEditor(), "45");
    QTest::keyClick(list->CurrentEditor(), Qt::Key_Enter);
    EXPECT_DOUBLE_EQ(Dir(0)->m_measurements[0]->m_dPhase, 45.0);
    EXPECT_EQ(EditorCell(), std::make_pair(1, 4));
    EXPECT_EQ(list->CurrentEditor()->text(), "10");
}
