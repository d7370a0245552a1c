#include "CQuivraView.h"

#include "CScenePreview.h"

#include "CCameraMath.h"
#include "CCameraMemory.h"
#include "CMoveDlg.h"
#include "CPointPicker.h"
#include "CQuivraDoc.h"
#include "CViewSettingsDlg.h"
#include "CornerPoint.h"
#include "IToolWindows.h"
#include "MeasDirection.h"
#include "NumberText.h"
#include "SceneCommands.h"
#include "SceneObject.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
std::vector<CQuivraView*> s_views;
} // namespace

int CQuivraView::s_nSpeedStep = 0;

const std::vector<CQuivraView*>& CQuivraView::AllViews() {
    return s_views;
}

CQuivraView::CQuivraView(CQuivraDoc* doc, QWidget* parent) : COpenGLView(parent), m_pDoc(doc) {
    s_views.push_back(this);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // A modal box inside the paint handler would paint the view again (and fail again) from
    // its own event loop: show it after the paint, one at a time.
    m_renderer.m_fnReport = [this](const QString& text) {
        if (m_bReportPending)
            return;
        m_bReportPending = true;
        QTimer::singleShot(0, this, [this, text] {
            QMessageBox::warning(this, QApplication::applicationDisplayName(), text,
                                 QMessageBox::Ok);
            m_bReportPending = false;
        });
    };
    setCursor(Qt::ArrowCursor);
    if (m_pDoc)
        m_pDoc->AddView(this);
    // The view's own forms, hidden until their commands show them.
    m_pMovePointsDlg = new CMoveDlg(CMoveDlg::Layout::MovePoints, this);
    m_pCopyPointsDlg = new CMoveDlg(CMoveDlg::Layout::CopyPoints, this);
    m_pMoveObjectsDlg = new CMoveDlg(CMoveDlg::Layout::MoveObjects, this);
    m_pViewSettingsDlg = new CViewSettingsDlg(this);
    for (CMoveDlg* dlg : {m_pMovePointsDlg, m_pCopyPointsDlg, m_pMoveObjectsDlg}) {
        dlg->Bind(m_pDoc, this);
        dlg->hide();
    }
    m_pViewSettingsDlg->Bind(m_pDoc, this);
    m_pViewSettingsDlg->hide();
    // A buffer and a current context before the first paint: the screen's size until the
    // first real resize sets the client size.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize full = screen ? screen->size() : QSize(640, 480);
    SizeWhenReady(full.width(), full.height());
}

CQuivraView::~CQuivraView() {
    s_views.erase(std::remove(s_views.begin(), s_views.end(), this), s_views.end());
    if (m_bRememberCamera && m_pDoc)
        CCameraMemory::Save(m_pDoc->GetPathName(), *this);
    m_timer.stop();
    delete m_pMovePointsDlg;
    delete m_pCopyPointsDlg;
    delete m_pMoveObjectsDlg;
    delete m_pViewSettingsDlg;
    if (m_pDoc)
        m_pDoc->RemoveView(this);
}

void CQuivraView::OnInitialUpdate() {
    if (m_pDoc) {
        if (!m_bRememberCamera || !CCameraMemory::Load(m_pDoc->GetPathName(), *this))
            m_dZoom = FitZoom(*m_pDoc);
        Vec3d centre;
        m_bSceneWasEmpty = !CCameraMath::SceneCentre(*m_pDoc, &centre);
    }
    RepaintNow();
}

void CQuivraView::OnDocumentChanged() {
    // The first geometry of an empty scene is brought into view, wherever it was made.
    Vec3d centre;
    const bool empty = !m_pDoc || !CCameraMath::SceneCentre(*m_pDoc, &centre);
    if (m_bSceneWasEmpty && !empty) {
        CCameraMath::FitAll(*this, *m_pDoc, width(), height());
        ShowCameraValues();
    }
    m_bSceneWasEmpty = empty;
    update();
}

Vec3d CQuivraView::NavigationCentre() const {
    Vec3d c;
    if (m_pDoc)
        CCameraMath::SceneCentre(*m_pDoc, &c);
    return c;
}

void CQuivraView::OnFitAll() {
    if (!m_pDoc || !CCameraMath::FitAll(*this, *m_pDoc, width(), height()))
        return;
    RepaintNow();
    ShowCameraValues();
}

void CQuivraView::OnStandardView(StandardView which) {
    // Angles as the paint cycle keeps them: X, then Y, then Z.
    static const double kAngles[4][3] = {
        {0.0, 0.0, 0.0}, {90.0, 0.0, 0.0}, {0.0, 270.0, 0.0}, {35.264389682754654, 315.0, 0.0}};
    const double* a = kAngles[which];
    const Vec3d centre = NavigationCentre();
    CCameraMath::Turn(*this, a[0], a[1], a[2], m_bTurnAboutCentre ? &centre : nullptr);
    RepaintNow();
    ShowCameraValues();
}

void CQuivraView::SetSpeedStep(int step) {
    s_nSpeedStep = std::clamp(step, static_cast<int>(kSlowest), static_cast<int>(kFastest));
    for (CQuivraView* v : s_views)
        if (v->m_timer.isActive())
            v->StartTimer();
}

int CQuivraView::TimerInterval() {
    return s_nSpeedStep >= 0 ? kTimerInterval >> s_nSpeedStep : kTimerInterval << -s_nSpeedStep;
}

void CQuivraView::StartTimer() {
    m_timer.start(TimerInterval(), this);
}

void CQuivraView::OnPause() {
    if (!m_bAnimating)
        return;
    m_bPaused = !m_bPaused;
    StopMoving();
    RepaintNow();
}

void CQuivraView::OnStepFrame(int delta) {
    if (!m_pDoc || !StepFrame(*m_pDoc, delta))
        return;
    if (!m_timer.isActive())
        StartTimer();
    RepaintNow();
}

void CQuivraView::MarkMoving(int ms) {
    m_settleTimer.start(ms, this);
}

void CQuivraView::paintEvent(QPaintEvent* event) {
    m_bPainting = true;
    COpenGLView::paintEvent(event);
    m_bPainting = false;
}

bool CQuivraView::PaintPreview(QPainter& painter) {
    return m_pDoc && CScenePreview::Paint(painter, *m_pDoc, *this, width(), height());
}

bool CQuivraView::RenderFrame() {
    if (!m_pDoc)
        return false;
    m_renderer.m_bMoving = m_bPainting && m_settleTimer.isActive();
    return m_renderer.RenderFrame(GL(), *m_pDoc, *this, width(), height());
}

void CQuivraView::OnToggleAnimation() {
    if (!m_bAnimating) {
        // Without a series the animation shows a still, pale model: say why.
        if (m_pDoc && m_pDoc->m_seriesNames.empty())
            SetStatusText(QStringLiteral("Nothing moves: the scene has no measurement series. "
                                         "Add one with Edit > Measurement Series, then type its "
                                         "values in Edit > Measurements."));
        StartAnimation();
        // The first repaint comes with the first tick.
        StartTimer();
    } else {
        m_timer.stop();
        StopAnimation();
        StopMoving();
        RepaintNow();
    }
}

void CQuivraView::MaxDeviation(bool negative) {
    if (!m_pDoc)
        return;
    bool wasAnimating = false;
    if (!StartMaxDeviation(*m_pDoc, negative, &wasAnimating))
        return;
    if (!wasAnimating || !m_timer.isActive())
        StartTimer();
    if (!negative)
        RepaintNow();
}

void CQuivraView::OnMaxDeviationAnim() {
    MaxDeviation(false);
}

void CQuivraView::OnMaxDeviationAnimNeg() {
    MaxDeviation(true);
}

void CQuivraView::OnTimer() {
    if (m_pDoc && Tick(*m_pDoc)) {
        // Two ticks without a frame (the animation froze or lost the focus) end the motion.
        MarkMoving(std::max(static_cast<int>(kSettleMs), 2 * TimerInterval()));
        RepaintNow();
    }
}

void CQuivraView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer.timerId()) {
        OnTimer();
    } else if (event->timerId() == m_settleTimer.timerId()) {
        StopMoving();
        if (m_renderer.LastFrameReduced())
            RepaintNow();
    } else {
        COpenGLView::timerEvent(event);
    }
}

void CQuivraView::focusInEvent(QFocusEvent* event) {
    COpenGLView::focusInEvent(event);
    m_bHasFocus = 1;
    if (m_pDoc)
        m_pDoc->BindToolWindows();
}

void CQuivraView::focusOutEvent(QFocusEvent* event) {
    COpenGLView::focusOutEvent(event);
    m_bHasFocus = 0;
}

void CQuivraView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(event);
    else if (event->button() == Qt::RightButton)
        OnRButtonDown(event);
    COpenGLView::mousePressEvent(event);
}

void CQuivraView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(event);
    COpenGLView::mouseReleaseEvent(event);
}

void CQuivraView::mouseMoveEvent(QMouseEvent* event) {
    OnMouseMove(event);
    COpenGLView::mouseMoveEvent(event);
}

void CQuivraView::wheelEvent(QWheelEvent* event) {
    OnMouseWheel(event);
}

void CQuivraView::contextMenuEvent(QContextMenuEvent* event) {
    OnContextMenu(event);
}

// --- view settings and series host ---

double CQuivraView::GetCameraValue(CameraValue which) const {
    switch (which) {
    case RotX:
        return m_dRotX;
    case RotY:
        return m_dRotY;
    case RotZ:
        return m_dRotZ;
    case Zoom:
        return m_dZoom;
    case PanX:
        return m_dPanX;
    case PanY:
        return m_dPanY;
    case PanZ:
        return m_dPanZ;
    case CameraValueCount:
        break;
    }
    return 0.0;
}

void CQuivraView::SetCameraValue(CameraValue which, double value) {
    switch (which) {
    case RotX:
        m_dRotX = value;
        break;
    case RotY:
        m_dRotY = value;
        break;
    case RotZ:
        m_dRotZ = value;
        break;
    case Zoom:
        m_dZoom = value;
        break;
    case PanX:
        m_dPanX = value;
        break;
    case PanY:
        m_dPanY = value;
        break;
    case PanZ:
        m_dPanZ = value;
        break;
    case CameraValueCount:
        break;
    }
}

// --- camera and picking ---

CornerPoint* CQuivraView::PickPoint(const QPoint& mouse, bool leftClick) {
    if (!m_pDoc || !GL().MakeCurrent())
        return nullptr;
    // One box per click: a scene full of unprojectable points must not bury the user in them.
    QString failure;
    CornerPoint* picked = CPointPicker::Pick(
        *m_pDoc, *this, mouse.x(), mouse.y(), height(), [&failure, leftClick](bool objectPoint) {
            if (failure.isEmpty())
                failure =
                    objectPoint && leftClick
                        ? QStringLiteral("CQuivraView::OnLButtonDown : Could not project point.")
                        : QStringLiteral("Could not project point.");
        });
    if (!failure.isEmpty())
        ReportPickFailure(failure);
    return picked;
}

void CQuivraView::ReportPickFailure(const QString& text) {
    QMessageBox::warning(this, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
}

void CQuivraView::SetStatusText(const QString& text) {
    auto* frame = qobject_cast<QMainWindow*>(window());
    // statusBar() would create a bar where there is none.
    QStatusBar* bar = frame ? frame->findChild<QStatusBar*>() : nullptr;
    if (!bar)
        return;
    if (auto* pane = bar->findChild<QLabel*>(QStringLiteral("message"))) {
        pane->setText(text);
        pane->repaint();
    } else {
        bar->showMessage(text);
        bar->repaint();
    }
}

void CQuivraView::ShowCameraValues() {
    if (m_pDoc && m_pDoc->m_pToolWindows)
        m_pDoc->m_pToolWindows->ShowCameraValues();
}

void CQuivraView::OnLButtonDown(QMouseEvent* event) {
    // Qt holds the mouse for this widget until the button is released: drags keep coming. What
    // the press means is known only when the mouse moves away or the button comes up.
    m_ptLastMouse = event->position().toPoint();
    m_ptPress = m_ptLastMouse;
    m_bLeftDown = true;
    m_bDragging = false;
}

void CQuivraView::OnClick(const QPoint& at, Qt::KeyboardModifiers modifiers) {
    if (!m_pDoc)
        return;
    m_pDoc->m_pHighlightPoint = nullptr;
    if (m_bAnimating)
        return;
    CornerPoint* picked = PickPoint(at, true);
    if (picked) {
        const CornerPoint* o = m_pDoc->m_pOrigin;
        const double ox = o ? o->m_x : 0.0, oy = o ? o->m_y : 0.0, oz = o ? o->m_z : 0.0;
        // The user's decimal separator, as in the tables.
        SetStatusText(QStringLiteral("(X, Y, Z) = (%1   %2   %3)")
                          .arg(numtext::FormatG(picked->m_x - ox),
                               numtext::FormatG(picked->m_y - oy),
                               numtext::FormatG(picked->m_z - oz)));
    } else {
        SetStatusText(QString());
    }
    CPointPicker::ApplyLeftClick(*m_pDoc, picked, (modifiers & Qt::ShiftModifier) != 0);
    RepaintNow();
}

void CQuivraView::OnLButtonUp(QMouseEvent* event) {
    const bool click = m_bLeftDown && !m_bDragging;
    m_bLeftDown = false;
    m_bDragging = false;
    StopMoving();
    if (click)
        OnClick(m_ptPress, event->modifiers());
    else
        RepaintNow();
}

void CQuivraView::OnRButtonDown(QMouseEvent* event) {
    if (!m_pDoc || m_bAnimating)
        return;
    // Keep a multiple selection for the context menu that follows.
    if (m_pDoc->m_selPoints.size() > 1)
        return;
    m_pDoc->m_pHighlightPoint = nullptr;
    CornerPoint* picked = PickPoint(event->position().toPoint(), false);
    CPointPicker::SelectOnly(*m_pDoc, picked);
    RepaintNow();
}

void CQuivraView::Pan(const QPoint& mouse) {
    // The model follows the cursor exactly, at the depth of its centre.
    CCameraMath::PanBy(*this, width(), height(), m_ptLastMouse.x() + 0.5, m_ptLastMouse.y() + 0.5,
                       mouse.x() + 0.5, mouse.y() + 0.5, NavigationCentre());
}

void CQuivraView::Turn(const QPoint& mouse) {
    const int w = width(), h = height();
    double rx = m_dRotX, ry = m_dRotY;
    if (w > 0)
        ry += static_cast<double>(mouse.x() - m_ptLastMouse.x()) * 180.0 / w;
    if (h > 0)
        rx += static_cast<double>(mouse.y() - m_ptLastMouse.y()) * 180.0 / h;
    const Vec3d centre = NavigationCentre();
    CCameraMath::Turn(*this, rx, ry, m_dRotZ, m_bTurnAboutCentre ? &centre : nullptr);
}

void CQuivraView::OnMouseMove(QMouseEvent* event) {
    const QPoint mouse = event->position().toPoint();
    m_ptMenuMouse = mouse;
    if (!m_bHasFocus || !(event->buttons() & Qt::LeftButton))
        return;
    if (!m_bDragging) {
        // Only a move beyond the threshold makes the press a drag; it then counts from the
        // press, so nothing of the movement is lost.
        const QPoint d = mouse - m_ptPress;
        if (std::max(std::abs(d.x()), std::abs(d.y())) <= kDragThreshold)
            return;
        m_bDragging = true;
        m_ptLastMouse = m_ptPress;
    }
    if (event->modifiers() & Qt::ControlModifier)
        Pan(mouse);
    else
        Turn(mouse);
    m_ptLastMouse = mouse;
    MarkMoving();
    RepaintNow();
    ShowCameraValues();
}

void CQuivraView::OnMouseWheel(QWheelEvent* event) {
    const double before = m_dZoom;
    const double after = WheelZoom(before, event->angleDelta().y(), m_pDoc);
    if (before > 0.0 && std::isfinite(before) && after != before) {
        // Toward the cursor: the point under it (at the model centre's depth) stays under it.
        const QPointF at = event->position();
        const CCameraMath cam(*this, width(), height());
        CCameraMath::ZoomAt(*this, after / before,
                            cam.Unproject(at.x(), at.y(), NavigationCentre()));
    }
    m_dZoom = after;
    MarkMoving();
    RepaintNow();
    ShowCameraValues();
    event->accept();
}

// --- context menus and commands ---

const std::vector<int>& CQuivraView::CommandIds() {
    static const std::vector<int> ids = {
        ID_DRAW_LINE,      ID_MOVE_POINTS,
        ID_COPY_POINTS,    ID_ALIGN_POINTS,
        ID_MOVE_OBJECTS,   ID_DELETE_POINTS,
        ID_DELETE_OBJECTS, ID_DELETE_LINES,
        ID_DIR_X,          ID_DIR_Y,
        ID_DIR_Z,          ID_DIR_MINUS_Z,
        ID_DIR_MINUS_Y,    ID_DIR_MINUS_X,
        ID_DIR_R,          ID_DIR_MINUS_R,
        ID_MAX_DEVIATION,  ID_MAX_DEVIATION_NEG,
        ID_MEAS_DIR_MENU,  ID_SHOW_VIEW_SETTINGS,
    };
    return ids;
}

namespace {

struct DirEntry {
    int id;
    const char* text;
    std::uint16_t code;
};
const DirEntry kDirX{CQuivraView::ID_DIR_X, "X", DirPlusX};
const DirEntry kDirY{CQuivraView::ID_DIR_Y, "Y", DirPlusY};
const DirEntry kDirZ{CQuivraView::ID_DIR_Z, "Z", DirPlusZ};
const DirEntry kDirMX{CQuivraView::ID_DIR_MINUS_X, "-X", DirMinusX};
const DirEntry kDirMY{CQuivraView::ID_DIR_MINUS_Y, "-Y", DirMinusY};
const DirEntry kDirMZ{CQuivraView::ID_DIR_MINUS_Z, "-Z", DirMinusZ};
const DirEntry kDirR{CQuivraView::ID_DIR_R, "R", DirRadialOut};
const DirEntry kDirMR{CQuivraView::ID_DIR_MINUS_R, "-R", DirRadialIn};
const DirEntry kAllDirs[] = {kDirX, kDirY, kDirZ, kDirMX, kDirMY, kDirMZ, kDirR, kDirMR};

QAction* AddEntry(QMenu* menu, const char* text, int id) {
    QAction* a = menu->addAction(QString::fromLatin1(text));
    a->setData(id);
    return a;
}

// The Move and Delete submenus and the common entries of popups 1 and 2.
void AddPointsEntries(QMenu* menu) {
    AddEntry(menu, "Draw &Line", CQuivraView::ID_DRAW_LINE);
    AddEntry(menu, "Co&py Corner Points", CQuivraView::ID_COPY_POINTS);
    QMenu* move = menu->addMenu(QStringLiteral("Move"));
    AddEntry(move, "Corner &Points", CQuivraView::ID_MOVE_POINTS);
    AddEntry(move, "&Objects ", CQuivraView::ID_MOVE_OBJECTS);
    QMenu* del = menu->addMenu(QStringLiteral("Delete"));
    AddEntry(del, "Corner &Points", CQuivraView::ID_DELETE_POINTS);
    AddEntry(del, "&Lines", CQuivraView::ID_DELETE_LINES);
    AddEntry(del, "&Objects", CQuivraView::ID_DELETE_OBJECTS);
}

void ShowNormal(QWidget* w) {
    if (!w)
        return;
    w->showNormal();
    w->raise();
    w->activateWindow();
}

} // namespace

QMenu* CQuivraView::CreatePopup(int popup, QWidget* parent) {
    static const char* const kTitles[PopupCount] = {
        "popup", "menu1", "menu2", "Measure Directions", "context_menu_04", "Meas. Dir."};
    if (popup < 0 || popup >= PopupCount)
        return nullptr;
    auto* menu = new QMenu(QString::fromLatin1(kTitles[popup]), parent);
    switch (popup) {
    case PopupSinglePoint: {
        AddEntry(menu, "Meas. Dir.", ID_MEAS_DIR_MENU);
        AddEntry(menu, "Co&py Corner Point", ID_COPY_POINTS);
        QMenu* move = menu->addMenu(QStringLiteral("Move"));
        AddEntry(move, "Corner &Point", ID_MOVE_POINTS);
        AddEntry(move, "&Object", ID_MOVE_OBJECTS);
        QMenu* del = menu->addMenu(QStringLiteral("Delete"));
        AddEntry(del, "Corner &Point", ID_DELETE_POINTS);
        AddEntry(del, "&Object", ID_DELETE_OBJECTS);
        AddEntry(menu, "Max Deviation Anim", ID_MAX_DEVIATION);
        AddEntry(menu, "Max Deviation Anim Neg", ID_MAX_DEVIATION_NEG);
        break;
    }
    case PopupPoints:
        AddPointsEntries(menu);
        break;
    case PopupAlign:
        AddEntry(menu, "&Align Corner Points", ID_ALIGN_POINTS);
        AddPointsEntries(menu);
        break;
    case PopupDirections:
        for (const DirEntry& d : kAllDirs)
            AddEntry(menu, d.text, d.id);
        break;
    case PopupHint:
        // A hint, not a choice.
        AddEntry(menu, "You must select at", 0)->setEnabled(false);
        AddEntry(menu, "least one corner point.", 0)->setEnabled(false);
        break;
    case PopupDirectionMenu:
        AddEntry(menu, "", 0)->setEnabled(false);
        break;
    }
    return menu;
}

int CQuivraView::ChooseContextMenu() const {
    if (m_bAnimating || !m_pDoc)
        return -1;
    const std::size_t n = m_pDoc->m_selPoints.size();
    if (n == 0)
        return PopupHint;
    if (n == 1)
        return PopupSinglePoint;
    if (n == 2 && !m_pDoc->m_selObjects.empty() &&
        m_pDoc->m_selObjects.front()->IndexOfPoint(m_pDoc->m_selPoints.front()) >= 0)
        return PopupAlign;
    return PopupPoints;
}

void CQuivraView::OnContextMenu(QContextMenuEvent* event) {
    const int popup = ChooseContextMenu();
    if (popup < 0)
        return;
    QMenu* menu = CreatePopup(popup, this);
    QAction* chosen = menu->exec(event->globalPos());
    const int id = chosen ? chosen->data().toInt() : 0;
    delete menu;
    if (id)
        OnCommand(id);
}

QMenu* CQuivraView::CreateDirectionMenu(QWidget* parent) const {
    if (!m_pDoc || m_pDoc->m_selPoints.empty())
        return nullptr;
    const CornerPoint* p = m_pDoc->m_selPoints.front();
    QMenu* menu = CreatePopup(PopupDirectionMenu, parent);
    menu->clear();
    const bool cylinder = p->m_pOwner && p->m_pOwner->GetType() == SceneObject::TypeCylinder;
    std::vector<DirEntry> entries;
    if (cylinder)
        entries = {kDirR, kDirMR};
    for (const DirEntry& d : {kDirX, kDirMX, kDirY, kDirMY, kDirZ, kDirMZ})
        entries.push_back(d);
    for (const DirEntry& d : entries) {
        QAction* a = AddEntry(menu, d.text, d.id);
        bool present = false;
        for (const MeasDirection* md : p->m_directions)
            present = present || md->m_nCode == d.code;
        a->setCheckable(true);
        a->setChecked(present);
    }
    return menu;
}

void CQuivraView::OnMeasDirMenu() {
    // The menu comes back at the same place after every choice, with fresh check marks, until
    // it is closed without one.
    for (;;) {
        QMenu* menu = CreateDirectionMenu(this);
        if (!menu)
            return;
        QAction* chosen = menu->exec(mapToGlobal(m_ptMenuMouse));
        const int id = chosen ? chosen->data().toInt() : 0;
        delete menu;
        const DirEntry* entry = nullptr;
        for (const DirEntry& d : kAllDirs)
            if (d.id == id)
                entry = &d;
        if (!entry)
            return;
        SetMeasDirection(entry->code);
    }
}

void CQuivraView::RefreshPointTable() {
    if (m_pDoc->m_pToolWindows)
        m_pDoc->m_pToolWindows->RebuildPointTable();
}

void CQuivraView::RefreshMeasurements() {
    if (m_pDoc->m_pToolWindows)
        m_pDoc->m_pToolWindows->RefillMeasurements();
}

void CQuivraView::SetMeasDirection(std::uint16_t code) {
    if (!m_pDoc || m_pDoc->m_selPoints.empty())
        return;
    const auto change = SceneCommands::SetMeasDirection(*m_pDoc, m_pDoc->m_selPoints.front(), code);
    if (change == SceneCommands::DirectionChange::Refused) {
        auto* box = new QMessageBox(QMessageBox::Warning, QApplication::applicationDisplayName(),
                                    CQuivraDoc::DirectionNumbersUsedUp(), QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    if (change != SceneCommands::DirectionChange::Replaced) {
        m_bShowDirections = 1;
        m_bShowDirectionNumbers = 1;
    }
    m_pDoc->UpdateAllViews();
    RefreshMeasurements();
}

void CQuivraView::OnDrawLines() {
    SceneCommands::DrawLines(*m_pDoc);
    m_pDoc->UpdateAllViews();
}

void CQuivraView::OnDeleteLines() {
    SceneCommands::DeleteLines(*m_pDoc);
    RefreshPointTable();
    m_pDoc->UpdateAllViews();
}

void CQuivraView::OnDeleteCornerPoints() {
    SceneCommands::DeleteCornerPoints(*m_pDoc);
    RefreshPointTable();
    RefreshMeasurements();
    m_pDoc->UpdateAllViews();
}

void CQuivraView::OnDeleteObjects() {
    SceneCommands::DeleteObjects(*m_pDoc);
    RefreshPointTable();
    RefreshMeasurements();
    m_pDoc->UpdateAllViews();
}

void CQuivraView::OnAlignCornerPoints() {
    if (!SceneCommands::AlignCornerPoints(*m_pDoc))
        return;
    RefreshPointTable();
    m_pDoc->UpdateAllViews();
}

void CQuivraView::OnShowViewSettings() {
    ShowNormal(m_pViewSettingsDlg);
}

void CQuivraView::OnShowCopyPoints() {
    ShowNormal(m_pCopyPointsDlg);
}

void CQuivraView::OnShowMovePoints() {
    ShowNormal(m_pMovePointsDlg);
}

void CQuivraView::OnShowMoveObjects() {
    ShowNormal(m_pMoveObjectsDlg);
}

bool CQuivraView::OnCommand(int id) {
    for (const DirEntry& d : kAllDirs)
        if (d.id == id) {
            SetMeasDirection(d.code);
            return true;
        }
    switch (id) {
    case ID_SHOW_VIEW_SETTINGS:
        OnShowViewSettings();
        return true;
    case ID_COPY_POINTS:
        OnShowCopyPoints();
        return true;
    case ID_MOVE_POINTS:
        OnShowMovePoints();
        return true;
    case ID_MOVE_OBJECTS:
        OnShowMoveObjects();
        return true;
    case ID_MAX_DEVIATION:
        OnMaxDeviationAnim();
        return true;
    case ID_MAX_DEVIATION_NEG:
        OnMaxDeviationAnimNeg();
        return true;
    case ID_MEAS_DIR_MENU:
        OnMeasDirMenu();
        return true;
    default:
        break;
    }
    if (!m_pDoc)
        return false;
    switch (id) {
    case ID_DRAW_LINE:
        OnDrawLines();
        return true;
    case ID_DELETE_LINES:
        OnDeleteLines();
        return true;
    case ID_DELETE_POINTS:
        OnDeleteCornerPoints();
        return true;
    case ID_DELETE_OBJECTS:
        OnDeleteObjects();
        return true;
    case ID_ALIGN_POINTS:
        OnAlignCornerPoints();
        return true;
    default:
        return false;
    }
}
