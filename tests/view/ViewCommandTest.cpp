// The view's context menus and editing commands, through the real menus and the command routing.
#include "SceneBuilder.h"

#include "BoxObject.h"
#include "CCmdUI.h"
#include "CQuivraDoc.h"
#include "CQuivraView.h"
#include "CommandIds.h"
#include "CornerPoint.h"
#include "CountingToolWindows.h"
#include "CylinderGenerator.h"
#include "CylinderObject.h"
#include "MeasDirection.h"
#include "Measurement.h"
#include "MenuScript.h"
#include "ViewFactory.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

using namespace scene;

namespace {

// The entries of a menu as text, submenus as "Title>entry", checked entries with a leading '*'.
QStringList Entries(const QMenu* menu, const QString& prefix = QString()) {
    QStringList out;
    for (QAction* a : menu->actions()) {
        if (a->menu())
            out << Entries(a->menu(), prefix + a->text() + QLatin1Char('>'));
        else
            out << prefix + (a->isChecked() ? QStringLiteral("*") : QString()) + a->text();
    }
    return out;
}

class ViewCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddSeries(m_doc, 24);
        m_tools = new CountingToolWindows;
        m_doc.m_pToolWindows.reset(m_tools);
        CQuivraDoc::s_pLastBoundView = nullptr;
        m_view = new CQuivraView(&m_doc, &m_window);
        m_view->resize(400, 300);
        m_window.resize(400, 300);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }
    void TearDown() override { CQuivraDoc::s_pLastBoundView = nullptr; }

    // Carries out a command the way the main window does.
    bool Run(int id) { return viewfactory::OnCmdMsg(m_view, id, nullptr); }
    CCmdUI State(int id) {
        CCmdUI ui;
        ui.m_bEnabled = false;
        if (!viewfactory::OnCmdMsg(m_view, id, &ui))
            ui.m_bEnabled = false;
        return ui;
    }
    void OpenContextMenu(QPoint pos) {
        QContextMenuEvent e(QContextMenuEvent::Mouse, pos, m_view->mapToGlobal(pos));
        QApplication::sendEvent(m_view, &e);
    }

    CQuivraDoc m_doc;
    CountingToolWindows* m_tools = nullptr;
    QWidget m_window;
    CQuivraView* m_view = nullptr;
};

TEST_F(ViewCommandTest, ContextMenuFollowsTheSelection) {
    BoxObject* box = AddBox(m_doc, 0, 0, 0, 100, 100, 100);
    CornerPoint* a = box->m_points[0];
    CornerPoint* b = box->m_points[6];
    CornerPoint* f = AddFree(m_doc, -200, 0, 0);
    CornerPoint* g = AddFree(m_doc, -300, 0, 0);
    using P = CQuivraView::Popup;
    const struct {
        std::vector<CornerPoint*> points;
        std::vector<SceneObject*> objects;
        int popup;
    } cases[] = {
        {{}, {}, P::PopupHint},
        {{f}, {}, P::PopupSinglePoint},
        {{a}, {box}, P::PopupSinglePoint},
        {{f, g}, {}, P::PopupPoints},
        {{a, b}, {box}, P::PopupAlign},
        {{a, f}, {box}, P::PopupAlign},  // the first point belongs to the first object
        {{f, a}, {box}, P::PopupPoints}, // it does not
        {{a, b, f}, {box}, P::PopupPoints},
    };
    for (const auto& c : cases) {
        m_doc.m_selPoints = c.points;
        m_doc.m_selObjects = c.objects;
        EXPECT_EQ(m_view->ChooseContextMenu(), c.popup) << c.points.size();
    }
    m_view->m_bAnimating = 1;
    EXPECT_EQ(m_view->ChooseContextMenu(), -1);
    m_view->m_bAnimating = 0;

    // Each menu leads with what sets it apart.
    const std::pair<int, const char*> leads[] = {{P::PopupSinglePoint, "Meas. Dir."},
                                                 {P::PopupPoints, "Draw &Line"},
                                                 {P::PopupAlign, "&Align Corner Points"},
                                                 {P::PopupHint, "You must select at"}};
    for (const auto& [popup, lead] : leads) {
        std::unique_ptr<QMenu> menu(CQuivraView::CreatePopup(popup));
        EXPECT_EQ(Entries(menu.get()).value(0), QString::fromLatin1(lead)) << popup;
    }
}

TEST_F(ViewCommandTest, RightClickMenuAddsFlipsAndRemovesDirections) {
    m_view->m_bShowBase = 0;
    CornerPoint* p = AddFree(m_doc, 0, 0, 0);
    AddFree(m_doc, 100, 0, 0);
    MeasDirection* minusX = AddDirection(p, DirMinusX, 5.0, 30.0);
    AddDirection(p, DirPlusY, 1.0, 0.0);
    const int number = minusX->m_nNumber;
    m_doc.m_selPoints = {p};
    const QPoint at(210, 150);
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(m_view->mapToGlobal(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(m_view, &move);

    QStringList seen[3];
    int numberAfterFlip = 0;
    double amplitudeAfterFlip = -1;
    MenuScript script({
        {QStringLiteral("Meas. Dir."), {}},
        {QStringLiteral("X"), [&](QMenu* m) { seen[0] = Entries(m); }},
        {QStringLiteral("X"),
         [&](QMenu* m) {
             seen[1] = Entries(m);
             numberAfterFlip = p->m_directions[0]->m_nNumber;
             amplitudeAfterFlip = p->m_directions[0]->m_measurements[0]->m_dAmplitude;
         }},
        {QString(), [&](QMenu* m) { seen[2] = Entries(m); }},
    });
    OpenContextMenu(at);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(script.m_nMenus, 4);
    EXPECT_EQ(seen[0], (QStringList{"X", "*-X", "*Y", "-Y", "Z", "-Z"}));
    EXPECT_EQ(seen[1], (QStringList{"*X", "-X", "*Y", "-Y", "Z", "-Z"}));
    EXPECT_EQ(seen[2], (QStringList{"X", "-X", "*Y", "-Y", "Z", "-Z"}));
    EXPECT_EQ(numberAfterFlip, number);
    EXPECT_EQ(amplitudeAfterFlip, 0.0);
    ASSERT_EQ(p->m_directions.size(), 1u);
    EXPECT_EQ(p->m_directions[0]->m_nCode, DirPlusY);
    EXPECT_EQ(m_tools->m_nMeasurements, 2);
    EXPECT_EQ(m_view->m_bShowDirectionNumbers, 1);
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(ViewCommandTest, FlippingADirectionLeavesTheDisplayAlone) {
    CornerPoint* p = AddFree(m_doc, 0, 0, 0);
    AddDirection(p, DirMinusZ, 2.0, 0.0);
    m_doc.m_selPoints = {p};
    ASSERT_TRUE(Run(CQuivraView::ID_DIR_Z));
    EXPECT_EQ(p->m_directions[0]->m_nCode, DirPlusZ);
    EXPECT_EQ(m_view->m_bShowDirections, 0);
    ASSERT_TRUE(Run(CQuivraView::ID_DIR_R)); // added
    EXPECT_EQ(p->m_directions.size(), 2u);
    EXPECT_EQ(m_view->m_bShowDirections, 1);
}

TEST_F(ViewCommandTest, DirectionMenuSizesDependOnTheOwner) {
    CornerPoint* free = AddFree(m_doc, 0, 0, 0);
    BoxObject* box = AddBox(m_doc, 0, 0, 0, 10, 10, 10);
    CylinderObject* cyl = AddCylinder(m_doc, CylinderInput{});
    AddDirection(cyl->m_points[0], DirRadialIn, 1, 0);
    const QStringList six = {"X", "-X", "Y", "-Y", "Z", "-Z"};
    const struct {
        CornerPoint* p;
        QStringList entries;
    } cases[] = {
        {free, six},
        {box->m_points[0], six},
        {cyl->m_points[0], QStringList{"R", "*-R"} + six},
    };
    for (const auto& c : cases) {
        m_doc.m_selPoints = {c.p};
        std::unique_ptr<QMenu> menu(m_view->CreateDirectionMenu());
        ASSERT_TRUE(menu);
        EXPECT_EQ(Entries(menu.get()), c.entries);
    }
    m_doc.m_selPoints.clear();
    EXPECT_EQ(m_view->CreateDirectionMenu(), nullptr);
}

TEST_F(ViewCommandTest, DeletionsEmptyTheSelectionAndRefreshTheTables) {
    BoxObject* box = AddBox(m_doc, 0, 0, 0, 10, 10, 10);
    CornerPoint* f = AddFree(m_doc, -50, 0, 0);
    m_doc.m_selPoints = {f, box->m_points[1]};
    m_doc.m_selObjects = {box};
    m_doc.m_pHighlightPoint = f;
    ASSERT_TRUE(Run(CQuivraView::ID_DELETE_POINTS));
    EXPECT_EQ(box->m_points.size(), 7u);
    EXPECT_TRUE(m_doc.m_selPoints.empty() && m_doc.m_selObjects.empty());
    EXPECT_EQ(m_doc.m_pHighlightPoint, nullptr);
    EXPECT_EQ(m_tools->m_nPointTable, 1);
    EXPECT_EQ(m_tools->m_nMeasurements, 1);

    m_doc.m_selPoints = {box->m_points[0]};
    m_doc.m_selObjects = {box};
    ASSERT_TRUE(Run(CQuivraView::ID_DELETE_OBJECTS));
    EXPECT_TRUE(m_doc.m_objects.empty());
    EXPECT_TRUE(m_doc.m_selPoints.empty() && m_doc.m_selObjects.empty());
    EXPECT_EQ(m_tools->m_nPointTable, 2);
    EXPECT_EQ(m_tools->m_nMeasurements, 2);
}

// The toggles' check marks are the application's menu test; here what the view claims.
TEST_F(ViewCommandTest, ViewCarriesItsCommandsOnly) {
    using namespace cmd;
    // The view carries every context-menu command; undo, cut and paste are not its own.
    for (int id : CQuivraView::CommandIds())
        EXPECT_TRUE(State(id).m_bEnabled) << id;
    for (int id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_PASTE})
        EXPECT_FALSE(viewfactory::OnCmdMsg(m_view, id, nullptr)) << id;
}

} // namespace
