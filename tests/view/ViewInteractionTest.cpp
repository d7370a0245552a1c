// The scene view driven as a user drives it, off screen: camera, picking and selection by
// mouse events, and its context menus and editing commands through the real menus and the
// command routing.
#include "SceneBuilder.h"

#include "BoxObject.h"
#include "CCameraMath.h"
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
#include "TestFiles.h"
#include "ViewFactory.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <tuple>

using namespace scene;

namespace {

constexpr int kW = 400, kH = 300;

// Records picking failures instead of opening modal boxes.
class TestView : public CQuivraView {
public:
    using CQuivraView::CQuivraView;
    QStringList m_failures;

protected:
    void ReportPickFailure(const QString& text) override { m_failures << text; }
};

// One view as the central widget of a main window with the program's status pane.
class ViewMouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_tools = new CountingToolWindows;
        m_doc.m_pToolWindows.reset(m_tools);
        CQuivraDoc::s_pLastBoundView = nullptr;
        m_pane = new QLabel(QStringLiteral("For Help, press F1"));
        m_pane->setObjectName(QStringLiteral("message"));
        m_frame.statusBar()->addWidget(m_pane, 1);
        m_view = new TestView(&m_doc);
        m_view->setFixedSize(kW, kH);
        m_frame.setCentralWidget(m_view);
        m_frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_frame));
        m_frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_frame));
        m_view->setFocus();
        QCoreApplication::processEvents();
        ASSERT_EQ(QSize(m_view->GL().ViewportWidth(), m_view->GL().ViewportHeight()),
                  QSize(kW, kH));
    }
    void TearDown() override { CQuivraDoc::s_pLastBoundView = nullptr; }

    void Mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent e(type, QPointF(pos), QPointF(m_view->mapToGlobal(pos)), button, buttons, mods);
        QApplication::sendEvent(m_view, &e);
    }
    void Click(QPoint pos, Qt::KeyboardModifiers mods = {}, Qt::MouseButton b = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonPress, pos, b, b, mods);
        Mouse(QEvent::MouseButtonRelease, pos, b, Qt::NoButton, mods);
    }
    void RightPress(QPoint pos) { Click(pos, {}, Qt::RightButton); }
    bool NothingSelected() const { return m_doc.m_selPoints.empty() && m_doc.m_selObjects.empty(); }
    using Pts = std::vector<CornerPoint*>;
    using Objs = std::vector<SceneObject*>;
    std::pair<Pts, Objs> Selection() const { return {m_doc.m_selPoints, m_doc.m_selObjects}; }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, mods);
        Mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, mods);
        Mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, mods);
    }
    void Wheel(int delta) {
        const QPoint pos(kW / 2, kH / 2);
        QWheelEvent e(QPointF(pos), QPointF(m_view->mapToGlobal(pos)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_view, &e);
    }
    // The client position where a model point is drawn.
    QPoint At(const CornerPoint* p) {
        return PixelOf(m_view->GL(), *m_view, p->m_x, p->m_y, p->m_z);
    }
    // Camera turned so that no two corners of a box share a pixel.
    void Tilt() {
        m_view->m_dRotX = 30;
        m_view->m_dRotY = 40;
    }

    CQuivraDoc m_doc;
    CountingToolWindows* m_tools = nullptr;
    QMainWindow m_frame;
    QLabel* m_pane = nullptr;
    TestView* m_view = nullptr;
    const QPoint m_centre{kW / 2, kH / 2};
};

TEST_F(ViewMouseTest, ObjectPointWinsOverAFreePointAtTheSamePixel) {
    CornerPoint* free = AddFree(m_doc, 0, 0, 0);
    BoxObject* box = AddBox(m_doc, 0, 0, 0, 100, 100, 100);
    CornerPoint* boxCorner = box->m_points[0]; // at (0, 0, 0) too
    ASSERT_EQ(At(free), At(boxCorner));
    m_doc.m_pOrigin->m_x = -120;
    m_doc.m_pOrigin->m_z = -35.5;

    Click(m_centre);
    EXPECT_EQ(Selection(), std::pair(Pts{boxCorner}, Objs{box}));
    EXPECT_EQ(m_pane->text(), QStringLiteral("(X, Y, Z) = (120   0   35.5)"));
    EXPECT_EQ(m_view->LastMouse(), m_centre);
    // A click on empty space clears the selection, the highlight and the status text.
    m_doc.m_pHighlightPoint = free;
    Click(QPoint(3, 3));
    EXPECT_TRUE(NothingSelected());
    EXPECT_EQ(m_doc.m_pHighlightPoint, nullptr);
    EXPECT_TRUE(m_pane->text().isEmpty());
}

TEST_F(ViewMouseTest, PicksWithinTenPixelsOnly) {
    // The origin projects exactly onto the centre of an even-sized viewport.
    CornerPoint* p = AddFree(m_doc, 0, 0, 0);
    // Squared distances 100, 100, 100 and 101, 121.
    for (const auto& [offset, picked] : {std::pair{QPoint(10, 0), true},
                                         {QPoint(0, -10), true},
                                         {QPoint(6, 8), true},
                                         {QPoint(10, 1), false},
                                         {QPoint(-11, 0), false}}) {
        EXPECT_EQ(m_view->PickPoint(m_centre + offset, true), picked ? p : nullptr)
            << offset.x() << "," << offset.y();
        Click(m_centre + offset);
        EXPECT_EQ(m_doc.m_selPoints.size(), picked ? 1u : 0u);
    }
}

TEST_F(ViewMouseTest, ShiftClicksAddAndRemovePointsWithTheirObjects) {
    Tilt();
    BoxObject* box = AddBox(m_doc, 0, 0, 0, 100, 100, 100);
    CornerPoint* a = box->m_points[0];
    CornerPoint* b = box->m_points[6];
    CornerPoint* f = AddFree(m_doc, -150, 0, 0);

    // The only selected point of the box: removing it takes the box out.
    Click(At(a));
    ASSERT_EQ(m_doc.m_selPoints, Pts{a});
    Click(At(a), Qt::ShiftModifier);
    EXPECT_TRUE(NothingSelected());

    Click(At(a));
    Click(At(b), Qt::ShiftModifier); // second point of a selected box: objects unchanged
    EXPECT_EQ(Selection(), std::pair(Pts{a, b}, Objs{box}));
    Click(At(f), Qt::ShiftModifier); // a free point has no object to add
    Click(At(a), Qt::ShiftModifier); // b still keeps the box selected
    EXPECT_EQ(Selection(), std::pair(Pts{b, f}, Objs{box}));
    Click(At(b), Qt::ShiftModifier);
    EXPECT_EQ(Selection(), std::pair(Pts{f}, Objs{}));
}

TEST_F(ViewMouseTest, RightClickKeepsAMultipleSelectionAndRepicksOtherwise) {
    Tilt();
    BoxObject* box = AddBox(m_doc, 0, 0, 0, 100, 100, 100);
    CornerPoint* a = box->m_points[0];
    CornerPoint* b = box->m_points[6];
    CornerPoint* c = box->m_points[5];
    // The press alone: the context menu it leads to is tested with the commands.
    m_view->setContextMenuPolicy(Qt::NoContextMenu);

    m_doc.m_selPoints = {a, b, c};
    RightPress(At(a));
    EXPECT_EQ(m_doc.m_selPoints, (Pts{a, b, c}));

    Click(At(a));
    const QString status = m_pane->text();
    RightPress(At(b));
    EXPECT_EQ(Selection(), std::pair(Pts{b}, Objs{box}));
    EXPECT_EQ(m_pane->text(), status); // the status bar stays
    RightPress(QPoint(3, 3));
    EXPECT_TRUE(NothingSelected());

    // While animating neither button touches the selection.
    m_doc.m_selPoints = {a};
    m_view->m_bAnimating = 1;
    RightPress(At(b));
    Click(At(b));
    EXPECT_EQ(m_doc.m_selPoints, Pts{a});
    m_view->m_bAnimating = 0;
}

TEST_F(ViewMouseTest, DragRotatesByHalfATurnPerClientSize) {
    Drag(QPoint(100, 100), QPoint(300, 100)); // half the width
    EXPECT_DOUBLE_EQ(m_view->m_dRotY, 90.0);
    EXPECT_DOUBLE_EQ(m_view->m_dRotX, 0.0);
    Drag(QPoint(100, 200), QPoint(100, 50));  // half the height, upward
    EXPECT_DOUBLE_EQ(m_view->m_dRotX, 270.0); // -90, kept in [0, 360) by the repaint
    EXPECT_EQ(m_tools->m_nCamera, 2);
    // Moves without a button only remember the position for the direction menu.
    Mouse(QEvent::MouseMove, QPoint(7, 9), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(m_view->MenuMouse(), QPoint(7, 9));
    EXPECT_DOUBLE_EQ(m_view->m_dRotX, 270.0);
    EXPECT_EQ(m_tools->m_nCamera, 2);
}

TEST_F(ViewMouseTest, CtrlDragPansOnlyWithTheFocusWhileTheWheelAlwaysZooms) {
    m_view->m_dZoom = 2.0;
    // The model follows the cursor exactly: 80 pixels right, then 60 down.
    auto origin = [this] {
        double x = 0, y = 0;
        Project(m_view->GL(), *m_view, 0, 0, 0, &x, &y);
        return QPointF(x, -y); // y downward, as the mouse moves
    };
    const QPointF origin0 = origin();
    Drag(QPoint(100, 100), QPoint(180, 100), Qt::ControlModifier);
    const QPointF origin1 = origin();
    EXPECT_NEAR(origin1.x() - origin0.x(), 80.0, 1e-3); // the pan reaches GL as floats
    EXPECT_DOUBLE_EQ(m_view->m_dRotY, 0.0);             // panned, not turned
    Drag(QPoint(100, 100), QPoint(100, 160), Qt::ControlModifier);
    EXPECT_NEAR(origin().y() - origin1.y(), 60.0, 1e-3);

    // Without the focus neither drag does anything, but the wheel still zooms.
    QWidget other;
    other.show();
    other.activateWindow();
    other.setFocus();
    m_view->clearFocus();
    QCoreApplication::processEvents();
    m_view->m_bHasFocus = 0;
    const double panX = m_view->m_dPanX;
    const int cameraCalls = m_tools->m_nCamera;
    // Sent straight to the view: a real press would take the focus first.
    Mouse(QEvent::MouseMove, QPoint(300, 200), Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(std::pair(m_view->m_dPanX, m_tools->m_nCamera), std::pair(panX, cameraCalls));
    Wheel(120);
    EXPECT_DOUBLE_EQ(m_view->m_dZoom, 2.0 * std::exp(0.1));
    EXPECT_EQ(m_tools->m_nCamera, cameraCalls + 1);
}

TEST_F(ViewMouseTest, ADragNeverSelectsAndAClickWithinTheThresholdDoes) {
    Tilt();
    CornerPoint* p = AddFree(m_doc, 50, 20, 0);
    m_view->RepaintNow();
    const QPoint at = At(p);
    Drag(at, at + QPoint(40, 0)); // starts on the point: turns, selects nothing
    EXPECT_TRUE(m_doc.m_selPoints.empty());
    EXPECT_NE(m_view->m_dRotY, 40.0);
    m_view->m_dRotY = 40;
    m_view->RepaintNow();
    Drag(At(p), At(p) + QPoint(0, 30), Qt::ControlModifier);
    EXPECT_TRUE(m_doc.m_selPoints.empty());
    // A hand that shakes by a few pixels still clicks.
    const QPoint here = At(p);
    Drag(here, here + QPoint(CQuivraView::kDragThreshold, -2));
    EXPECT_EQ(m_doc.m_selPoints, std::vector<CornerPoint*>{p});
}

TEST_F(ViewMouseTest, FirstGeometryOfAnEmptySceneIsFittedAndStandardViewsTurn) {
    m_view->OnInitialUpdate();
    // Far from the origin, as a first box typed into the form may be.
    AddBox(m_doc, 3000, 2000, 1000, 4000, 2500, 1800);
    m_doc.UpdateAllViews();
    m_view->RepaintNow();
    auto allInside = [this] {
        bool inside = true;
        m_doc.ForEachPoint(
            [&](CornerPoint* p) { inside = inside && m_view->rect().contains(At(p)); });
        return inside;
    };
    EXPECT_TRUE(allInside());
    // Later geometry leaves the camera alone.
    const double zoom = m_view->m_dZoom;
    AddFree(m_doc, -9000, 0, 0);
    m_doc.UpdateAllViews();
    EXPECT_EQ(m_view->m_dZoom, zoom);
    m_view->OnFitAll();
    m_view->RepaintNow();
    EXPECT_TRUE(allInside());

    // Each standard view shows its axis pointing at the eye.
    const std::tuple<CQuivraView::StandardView, Vec3d, double> cases[] = {
        {CQuivraView::ViewTop, {0, 1, 0}, 1.0},
        {CQuivraView::ViewSide, {1, 0, 0}, 1.0},
        {CQuivraView::ViewIsometric, {1, 1, 1}, std::sqrt(3.0)}};
    for (const auto& [view, towardEye, length] : cases) {
        m_view->OnStandardView(view);
        const CCameraMath cam(*m_view, kW, kH);
        const double dz = cam.ToEye(towardEye).z - cam.ToEye({0, 0, 0}).z;
        EXPECT_NEAR(dz / (m_view->m_dZoom * 0.001), length, 1e-9) << view;
    }
}

TEST_F(ViewMouseTest, EachSceneKeepsItsCameraForTheNextOpening) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.qvr");
    ASSERT_TRUE(WriteBytes(path, {}));
    AddFree(m_doc, 100, 0, 0);
    m_doc.SetPathName(path);
    auto open = [this] {
        auto view = std::make_unique<TestView>(&m_doc);
        view->m_bRememberCamera = true;
        view->OnInitialUpdate();
        return view;
    };
    {
        auto first = open();
        EXPECT_DOUBLE_EQ(first->m_dZoom, 12.5); // fitted: nothing remembered yet
        first->m_dRotX = 33;
        first->m_dZoom = 7.25;
        first->m_dPanY = -12.5;
    }
    auto second = open();
    EXPECT_EQ(std::make_tuple(second->m_dRotX, second->m_dZoom, second->m_dPanY),
              std::make_tuple(33.0, 7.25, -12.5));
    // Another name for the same file finds it too; another file does not.
    m_doc.SetPathName(dir.path() + QStringLiteral("/./a.qvr"));
    EXPECT_EQ(open()->m_dZoom, 7.25);
    m_doc.SetPathName(dir.filePath("missing.qvr"));
    EXPECT_DOUBLE_EQ(open()->m_dZoom, 12.5);
}

TEST_F(ViewMouseTest, UnprojectablePointsSayWhyAndAreNotPicked) {
    m_view->m_dZoom = 1.0;
    const double eyePlane = 5.0 / static_cast<double>(0.001f);
    AddFree(m_doc, 0, 0, eyePlane);
    Click(QPoint(0, kH)); // where a point projected to (0, 0) would be
    AddCentreLineObject(m_doc, 0, 0, eyePlane, 0, 0, eyePlane);
    Click(QPoint(0, kH));
    RightPress(QPoint(0, kH));
    EXPECT_TRUE(m_doc.m_selPoints.empty());
    EXPECT_EQ(m_view->m_failures,
              (QStringList{QStringLiteral("Could not project point."),
                           QStringLiteral("CQuivraView::OnLButtonDown : Could not project point."),
                           QStringLiteral("Could not project point.")}));
}

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

// The same view with a series, so that directions carry a measurement.
class ViewCommandTest : public ViewMouseTest {
protected:
    void SetUp() override {
        AddSeries(m_doc, 24);
        ViewMouseTest::SetUp();
    }
    // Carries out a command the way the main window does.
    bool Run(int id) { return viewfactory::OnCmdMsg(m_view, id, nullptr); }
    void OpenContextMenu(QPoint pos) {
        QContextMenuEvent e(QContextMenuEvent::Mouse, pos, m_view->mapToGlobal(pos));
        QApplication::sendEvent(m_view, &e);
    }
};

TEST_F(ViewCommandTest, ContextMenuFollowsTheSelection) {
    BoxObject* box = AddBox(m_doc, 0, 0, 0, 100, 100, 100);
    CornerPoint* a = box->m_points[0];
    CornerPoint* b = box->m_points[6];
    CornerPoint* f = AddFree(m_doc, -200, 0, 0);
    CornerPoint* g = AddFree(m_doc, -300, 0, 0);
    using P = CQuivraView::Popup;
    const std::tuple<Pts, Objs, int> cases[] = {
        {{}, {}, P::PopupHint},
        {{f}, {}, P::PopupSinglePoint},
        {{a}, {box}, P::PopupSinglePoint},
        {{f, g}, {}, P::PopupPoints},
        {{a, b}, {box}, P::PopupAlign},
        {{a, f}, {box}, P::PopupAlign},  // the first point belongs to the first object
        {{f, a}, {box}, P::PopupPoints}, // it does not
        {{a, b, f}, {box}, P::PopupPoints},
    };
    for (const auto& [points, objects, popup] : cases) {
        m_doc.m_selPoints = points;
        m_doc.m_selObjects = objects;
        EXPECT_EQ(m_view->ChooseContextMenu(), popup) << points.size();
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
    Mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);

    QStringList seen[3];
    std::pair<int, double> afterFlip; // number and amplitude
    MenuScript script({
        {QStringLiteral("Meas. Dir."), {}},
        {QStringLiteral("X"), [&](QMenu* m) { seen[0] = Entries(m); }},
        {QStringLiteral("X"),
         [&](QMenu* m) {
             seen[1] = Entries(m);
             afterFlip = {p->m_directions[0]->m_nNumber,
                          p->m_directions[0]->m_measurements[0]->m_dAmplitude};
         }},
        {QString(), [&](QMenu* m) { seen[2] = Entries(m); }},
    });
    OpenContextMenu(at);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(script.m_nMenus, 4);
    EXPECT_EQ(seen[0], (QStringList{"X", "*-X", "*Y", "-Y", "Z", "-Z"}));
    EXPECT_EQ(seen[1], (QStringList{"*X", "-X", "*Y", "-Y", "Z", "-Z"}));
    EXPECT_EQ(seen[2], (QStringList{"X", "-X", "*Y", "-Y", "Z", "-Z"}));
    EXPECT_EQ(afterFlip, std::pair(number, 0.0));
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
    // A free point's menu is in the right-click test; a box's corner has the same six.
    BoxObject* box = AddBox(m_doc, 0, 0, 0, 10, 10, 10);
    CylinderObject* cyl = AddCylinder(m_doc, CylinderInput{});
    AddDirection(cyl->m_points[0], DirRadialIn, 1, 0);
    const QStringList six = {"X", "-X", "Y", "-Y", "Z", "-Z"};
    for (const auto& [p, entries] :
         {std::pair{box->m_points[0], six}, {cyl->m_points[0], QStringList{"R", "*-R"} + six}}) {
        m_doc.m_selPoints = {p};
        std::unique_ptr<QMenu> menu(m_view->CreateDirectionMenu());
        ASSERT_TRUE(menu);
        EXPECT_EQ(Entries(menu.get()), entries);
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
    EXPECT_TRUE(NothingSelected());
    EXPECT_EQ(m_doc.m_pHighlightPoint, nullptr);
    EXPECT_EQ(std::make_pair(m_tools->m_nPointTable, m_tools->m_nMeasurements), std::pair(1, 1));

    m_doc.m_selPoints = {box->m_points[0]};
    m_doc.m_selObjects = {box};
    ASSERT_TRUE(Run(CQuivraView::ID_DELETE_OBJECTS));
    EXPECT_TRUE(m_doc.m_objects.empty());
    EXPECT_TRUE(NothingSelected());
    EXPECT_EQ(std::make_pair(m_tools->m_nPointTable, m_tools->m_nMeasurements), std::pair(2, 2));
}

// The toggles' check marks are the application's menu test; here what the view claims.
TEST_F(ViewCommandTest, ViewCarriesItsCommandsOnly) {
    using namespace cmd;
    // The view carries every context-menu command; undo, cut and paste are not its own.
    for (int id : CQuivraView::CommandIds()) {
        CCmdUI ui;
        ui.m_bEnabled = false;
        EXPECT_TRUE(viewfactory::OnCmdMsg(m_view, id, &ui) && ui.m_bEnabled) << id;
    }
    for (int id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_PASTE})
        EXPECT_FALSE(viewfactory::OnCmdMsg(m_view, id, nullptr)) << id;
}

} // namespace
