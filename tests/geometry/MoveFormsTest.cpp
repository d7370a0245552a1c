#include "CMoveDlg.h"
#include "CornerPoint.h"
#include "CylinderGenerator.h"
#include "CylinderObject.h"
#include "FormFixture.h"
#include "TestScenes.h"

#include <QApplication>
#include <QGroupBox>
#include <QMessageBox>

#include <cfloat>
#include <tuple>

namespace {

using Layout = CMoveDlg::Layout;

// A move form bound to a document with a second view.
struct Fixture : FormFixture<CMoveDlg> {
    FakeView otherView;

    explicit Fixture(Layout layout) : FormFixture(layout) { doc.AddView(&otherView); }
    ~Fixture() { doc.RemoveView(&otherView); }
    // The common end of every OK, counted once.
    void ExpectCommonEnd(int times) {
        EXPECT_TRUE(doc.m_selPoints.empty());
        EXPECT_TRUE(doc.m_selObjects.empty());
        EXPECT_EQ(tools->m_nPointTable, times);
        EXPECT_EQ(tools->m_nMeasurements, times);
        EXPECT_EQ(view.m_nDocumentChanged, times);
        EXPECT_EQ(otherView.m_nDocumentChanged, times);
        EXPECT_TRUE(dlg.isHidden());
    }
};

// Each layout has its own title and labels and hands the typed vector to its own operation
// (what the operations do is MoveOperations' to test), and every OK ends the same way.
TEST(MoveDlg, OkHandsTheTypedVectorToItsOperation) {
    const char* const relative = "Relative pos change (X Y Z):";
    const struct {
        Layout layout;
        const char* title;
        const char* group;
        double pointY, centreY, originY;
        std::size_t freePoints;
        bool modified;
    } cases[] = {
        {Layout::MovePoints, "Move Corner Points", relative, 12, 0, 0, 1, true},
        {Layout::CopyPoints, "Copy Corner Points", relative, 2, 0, 0, 2, true},
        {Layout::MoveObjects, "Move Objects", relative, 2, 10, 0, 1, true},
        // absolute, and not part of the scene
        {Layout::MoveOrigin, "Move Local Origin", "Absolute Coords (X Y Z) :", 2, 0, 10, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        Fixture f(c.layout);
        EXPECT_EQ(f.dlg.GetLayout(), c.layout);
        EXPECT_EQ(f.dlg.windowTitle(), QString::fromLatin1(c.title));
        EXPECT_EQ(f.Child<QGroupBox>("Group")->title(), QString::fromLatin1(c.group));
        CylinderObject* cyl = AddCylinder(f.doc, CylinderInput());
        CornerPoint* p = testscenes::AddFree(f.doc, 1.0, 2.0, 3.0);
        f.doc.SetModifiedFlag(false);
        f.doc.m_selPoints = {p};
        f.doc.m_selObjects = {cyl};
        f.Type("Y", QStringLiteral("1e1"));
        f.ClickOk();
        EXPECT_EQ(std::make_tuple(p->m_y, cyl->m_pCentre->m_y, f.doc.m_pOrigin->m_y),
                  std::make_tuple(c.pointY, c.centreY, c.originY));
        ASSERT_EQ(f.doc.m_freePoints.size(), c.freePoints);
        EXPECT_EQ(f.doc.m_freePoints.back()->m_y, c.pointY + (c.freePoints - 1) * 10.0);
        EXPECT_EQ(f.doc.IsModified(), c.modified);
        f.ExpectCommonEnd(1);
    }
}

TEST(MoveDlg, BadFieldBlocksOkInEveryLayout) {
    for (Layout layout :
         {Layout::MovePoints, Layout::CopyPoints, Layout::MoveObjects, Layout::MoveOrigin}) {
        SCOPED_TRACE(static_cast<int>(layout));
        for (const char* name : {"X", "Y", "Z"})
            Fixture(layout).ExpectBlankBlocks(name);
    }
}

TEST(MoveDlg, CancelEscapeAndCloseChangeNothing) {
    Fixture f(Layout::MovePoints);
    CornerPoint* p = testscenes::AddFree(f.doc, 1.0, 1.0, 1.0);
    f.doc.m_selPoints = {p};
    f.Type("X", QStringLiteral("7"));
    for (int way = 0; way < 3; ++way) {
        f.dlg.show();
        if (way == 0)
            QTest::mouseClick(f.Child<QPushButton>("Cancel"), Qt::LeftButton);
        else if (way == 1)
            QTest::keyClick(&f.dlg, Qt::Key_Escape);
        else
            f.dlg.close();
        EXPECT_TRUE(f.dlg.isHidden()) << way;
    }
    EXPECT_EQ(std::make_pair(p->m_x, f.doc.m_selPoints.size()),
              std::make_pair(1.0, std::size_t{1}));
    EXPECT_FALSE(f.doc.IsModified());
    EXPECT_EQ(f.Field("X")->text(), QStringLiteral("7"));
}

TEST(MoveDlg, OutOfRangeKeepsTheFormOpenAndSaysSo) {
    Fixture f(Layout::MovePoints);
    CornerPoint* p = testscenes::AddFree(f.doc, DBL_MAX, 0.0, 0.0);
    f.doc.m_selPoints = {p};
    f.Type("X", QStringLiteral("1e308"));
    f.ClickOk();
    EXPECT_EQ(p->m_x, DBL_MAX);
    EXPECT_FALSE(f.doc.IsModified());
    EXPECT_TRUE(f.dlg.isVisible());
    auto* box = f.dlg.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Move Corner Points"));
    box->accept();

    // A smaller value goes through.
    f.Type("X", QStringLiteral("-1e308"));
    f.ClickOk();
    EXPECT_EQ(p->m_x, DBL_MAX - 1e308);
    f.ExpectCommonEnd(1);
}

} // namespace
