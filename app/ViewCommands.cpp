// The commands the active view carries out, by id. The main window offers every command here
// first (see CMainFrame::RouteCommand); an id without an entry goes on to the document.
#include "ViewFactory.h"

#include "CCommandMap.h"
#include "CImageOutput.h"
#include "CQuivraView.h"
#include "CommandIds.h"

#include <QSettings>

#include <cstdint>

using namespace cmd;

namespace {

QSettings Settings() {
    return QSettings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"));
}

const QString kLookKey = QStringLiteral("view/look");
const QString kAnimateAllKey = QStringLiteral("view/animateAll");
const QString kTurnKey = QStringLiteral("view/turnAboutCentre");
const QString kSpeedKey = QStringLiteral("view/animationSpeed");

// Whether the view turns about the model's centre: as set, or by default in the clear look
// only (the classic look keeps the origin rule).
bool TurnAboutCentre(int look) {
    const QVariant v = Settings().value(kTurnKey);
    return v.isValid() ? v.toBool() : look == CViewState::LookClear;
}

// The settings every view shares, put into all of them.
void ApplyToAllViews() {
    const QSettings s = Settings();
    const int look = s.value(kLookKey, 0).toInt() == CViewState::LookClear
                         ? CViewState::LookClear
                         : CViewState::LookClassic;
    const bool all = s.value(kAnimateAllKey, false).toBool();
    const bool turn = TurnAboutCentre(look);
    for (CQuivraView* v : CQuivraView::AllViews()) {
        v->m_nLook = look;
        v->m_bAnimateWithoutFocus = all;
        v->m_bTurnAboutCentre = turn;
        v->update();
    }
}

// A View-menu toggle: inverts the flag, repaints at once; checked while the flag is set.
void Toggle(CCommandMap<CQuivraView>& map, int id, std::int32_t CViewState::*flag) {
    map.On(
        id,
        [flag](CQuivraView& v) {
            v.*flag = !(v.*flag);
            v.RepaintNow();
        },
        [flag](CQuivraView& v, CCmdUI& ui) { ui.SetCheck(v.*flag != 0); });
}

// --- image output: print, clipboard copy and the animation period as BMP files ---
void AddImageOutputCommands(CCommandMap<CQuivraView>& map) {
    map.On(ID_FILE_PRINT, [](CQuivraView& v) { CImageOutput::Of(&v)->OnFilePrint(); });
    map.On(ID_EDIT_COPY, [](CQuivraView& v) { CImageOutput::Of(&v)->OnEditCopy(); });
    map.On(ID_ANIMATION_SAVE, [](CQuivraView& v) { CImageOutput::Of(&v)->OnAnimationSave(); });
    map.On(ID_FILE_EXPORT_IMAGE, [](CQuivraView& v) { CImageOutput::Of(&v)->OnExportImage(); });
    map.On(ID_ANIMATION_EXPORT, [](CQuivraView& v) { CImageOutput::Of(&v)->OnExportAnimation(); });
    map.On(
        ID_FILE_PRINT_SIDE_BY_SIDE,
        [](CQuivraView&) { CImageOutput::SetPrintSideBySide(!CImageOutput::PrintSideBySide()); },
        [](CQuivraView&, CCmdUI& ui) { ui.SetCheck(CImageOutput::PrintSideBySide()); });
    map.On(
        ID_FILE_EXPORT_CAPTION,
        [](CQuivraView&) { CImageOutput::SetExportCaption(!CImageOutput::ExportCaption()); },
        [](CQuivraView&, CCmdUI& ui) { ui.SetCheck(CImageOutput::ExportCaption()); });
}

// --- style, navigation and the animation's controls ---
void AddNavigationCommands(CCommandMap<CQuivraView>& map) {
    map.On(
        ID_VIEW_CLEAR_LOOK,
        [](CQuivraView& v) {
            Settings().setValue(kLookKey, v.m_nLook == CViewState::LookClear
                                              ? CViewState::LookClassic
                                              : CViewState::LookClear);
            ApplyToAllViews();
        },
        [](CQuivraView& v, CCmdUI& ui) { ui.SetCheck(v.m_nLook == CViewState::LookClear); });
    map.On(
        ID_VIEW_ORBITS,
        [](CQuivraView& v) {
            v.m_bShowOrbits = !v.m_bShowOrbits;
            v.RepaintNow();
        },
        [](CQuivraView& v, CCmdUI& ui) {
            ui.Enable(v.m_nLook == CViewState::LookClear);
            ui.SetCheck(v.m_bShowOrbits != 0);
        });
    map.On(
        ID_VIEW_TURN_ABOUT_CENTRE,
        [](CQuivraView& v) {
            Settings().setValue(kTurnKey, !v.m_bTurnAboutCentre);
            ApplyToAllViews();
        },
        [](CQuivraView& v, CCmdUI& ui) { ui.SetCheck(v.m_bTurnAboutCentre != 0); });
    map.On(
        ID_VIEW_ANIMATE_ALL,
        [](CQuivraView& v) {
            Settings().setValue(kAnimateAllKey, !v.m_bAnimateWithoutFocus);
            ApplyToAllViews();
        },
        [](CQuivraView& v, CCmdUI& ui) { ui.SetCheck(v.m_bAnimateWithoutFocus != 0); });
    map.On(ID_VIEW_FIT_ALL, [](CQuivraView& v) { v.OnFitAll(); });
    map.On(ID_VIEW_FRONT, [](CQuivraView& v) { v.OnStandardView(CQuivraView::ViewFront); });
    map.On(ID_VIEW_TOP, [](CQuivraView& v) { v.OnStandardView(CQuivraView::ViewTop); });
    map.On(ID_VIEW_SIDE, [](CQuivraView& v) { v.OnStandardView(CQuivraView::ViewSide); });
    map.On(ID_VIEW_ISOMETRIC, [](CQuivraView& v) { v.OnStandardView(CQuivraView::ViewIsometric); });

    map.On(
        ID_ANIMATION_PAUSE, [](CQuivraView& v) { v.OnPause(); },
        [](CQuivraView& v, CCmdUI& ui) {
            ui.Enable(v.m_bAnimating != 0);
            ui.SetCheck(v.m_bPaused != 0);
        });
    map.On(ID_ANIMATION_NEXT_FRAME, [](CQuivraView& v) { v.OnStepFrame(1); });
    map.On(ID_ANIMATION_PREV_FRAME, [](CQuivraView& v) { v.OnStepFrame(-1); });
    auto speed = [](int delta) {
        return [delta](CQuivraView&) {
            CQuivraView::SetSpeedStep(CQuivraView::SpeedStep() + delta);
            Settings().setValue(kSpeedKey, CQuivraView::SpeedStep());
        };
    };
    map.On(ID_ANIMATION_SLOWER, speed(-1), [](CQuivraView&, CCmdUI& ui) {
        ui.Enable(CQuivraView::SpeedStep() > CQuivraView::kSlowest);
    });
    map.On(ID_ANIMATION_FASTER, speed(1), [](CQuivraView&, CCmdUI& ui) {
        ui.Enable(CQuivraView::SpeedStep() < CQuivraView::kFastest);
    });
}

CCommandMap<CQuivraView> MakeViewCommands() {
    CCommandMap<CQuivraView> map;
    Toggle(map, ID_VIEW_LINES, &CViewState::m_bShowLines);
    Toggle(map, ID_VIEW_BASE, &CViewState::m_bShowBase);
    Toggle(map, ID_VIEW_POINT_NUMBERS, &CViewState::m_bShowPointNumbers);
    Toggle(map, ID_VIEW_CENTER_LINES, &CViewState::m_bShowCenterLines);
    Toggle(map, ID_VIEW_DIRECTIONS, &CViewState::m_bShowDirections);
    Toggle(map, ID_VIEW_DIRECTION_NUMBERS, &CViewState::m_bShowDirectionNumbers);
    map.On(
        ID_ANIMATION, [](CQuivraView& v) { v.OnToggleAnimation(); },
        [](CQuivraView& v, CCmdUI& ui) { ui.SetCheck(v.m_bAnimating != 0); });

    // Selection editing, measurement directions and the view's own forms: the context menus'
    // commands (and "Settings..." of the View menu) are carried out by the view itself.
    static_assert(static_cast<int>(CQuivraView::ID_SHOW_VIEW_SETTINGS) ==
                  static_cast<int>(ID_VIEW_SETTINGS));
    for (int id : CQuivraView::CommandIds())
        map.On(id, [id](CQuivraView& v) { v.OnCommand(id); });

    AddImageOutputCommands(map);
    AddNavigationCommands(map);
    return map;
}

} // namespace

namespace viewfactory {

void ApplySharedSettings(QWidget* view) {
    auto* v = qobject_cast<CQuivraView*>(view);
    if (!v)
        return;
    v->m_bRememberCamera = true;
    const QSettings s = Settings();
    CQuivraView::SetSpeedStep(s.value(kSpeedKey, 0).toInt());
    ApplyToAllViews();
}

bool OnCmdMsg(QWidget* view, int id, CCmdUI* update) {
    static const CCommandMap<CQuivraView> commands = MakeViewCommands();
    auto* quivraView = qobject_cast<CQuivraView*>(view);
    return quivraView && commands.Dispatch(*quivraView, id, update);
}

} // namespace viewfactory
