// The commands the active view carries out, by id. The main window offers every command here
// first (see CMainFrame::RouteCommand); an id without an entry goes on to the document.
#include "ViewFactory.h"

#include "CCommandMap.h"
#include "CImageOutput.h"
#include "CQuivraView.h"
#include "CommandIds.h"

#include <cstdint>

using namespace cmd;

namespace {

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
    return map;
}

} // namespace

namespace viewfactory {

bool OnCmdMsg(QWidget* view, int id, CCmdUI* update) {
    static const CCommandMap<CQuivraView> commands = MakeViewCommands();
    auto* quivraView = qobject_cast<CQuivraView*>(view);
    return quivraView && commands.Dispatch(*quivraView, id, update);
}

} // namespace viewfactory
