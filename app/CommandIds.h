#pragma once

// Numeric command ids. The program's own commands start at 32771; the framework's standard
// commands keep their usual numbers (57600 and up). Menus, toolbars, accelerators and tests all
// find an action by these numbers (QAction::data()).
namespace cmd {
enum : int {
    // program's own commands
    ID_VIEW_LINES = 32771,
    ID_EDIT_POINTS = 32772,
    ID_EDIT_CYLINDER = 32773,
    ID_EDIT_CAMERA = 32774,
    ID_VIEW_BASE = 32775,
    ID_VIEW_POINT_NUMBERS = 32776,
    ID_EDIT_BOX = 32777,
    ID_VIEW_CENTER_LINES = 32784,
    ID_VIEW_DIRECTIONS = 32794,
    ID_ANIMATION = 32795,
    ID_EDIT_MEASUREMENTS = 32809,
    ID_EDIT_SERIES = 32810,
    ID_VIEW_DIRECTION_NUMBERS = 32811,
    ID_EDIT_LOCAL_ORIGIN = 32823,
    ID_VIEW_SETTINGS = 32836,
    ID_FILE_TRANSFER = 32837,
    ID_EDIT_IMPORT = 32838,
    ID_ANIMATION_SAVE = 32839,
    ID_FILE_R4_IMPORT = 32840,
    ID_FILE_EXPORT_UFF = 32900, // exchange with other vibration tools
    ID_FILE_IMPORT_UFF = 32901,
    // report-ready output: pictures and animations as files
    ID_FILE_EXPORT_IMAGE = 32902,
    ID_FILE_EXPORT_CAPTION = 32903,
    ID_ANIMATION_EXPORT = 32904,
    ID_FILE_PRINT_SIDE_BY_SIDE = 32905,
    ID_HELP_DRAW_LINES = 142,
    // looking at the model: style, navigation and animation controls
    ID_VIEW_CLEAR_LOOK = 32950,
    ID_VIEW_ORBITS = 32951,
    ID_VIEW_TURN_ABOUT_CENTRE = 32952,
    ID_VIEW_FIT_ALL = 32953,
    ID_VIEW_FRONT = 32954,
    ID_VIEW_TOP = 32955,
    ID_VIEW_SIDE = 32956,
    ID_VIEW_ISOMETRIC = 32957,
    ID_VIEW_ANIMATE_ALL = 32958,
    ID_ANIMATION_PAUSE = 32959,
    ID_ANIMATION_NEXT_FRAME = 32960,
    ID_ANIMATION_PREV_FRAME = 32961,
    ID_ANIMATION_SLOWER = 32962,
    ID_ANIMATION_FASTER = 32963,

    // framework's standard commands
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_MRU_FILE1 = 57616, // recent files: 57616 .. 57616 + kRecentFiles - 1
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_WINDOW_NEW = 57648,
    ID_WINDOW_ARRANGE = 57649,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_CONTEXT_HELP = 57669,
    ID_HELP = 57670,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_WINDOW_CHILD_FIRST = 65280, // the Window menu's list of open document windows
};

constexpr int kRecentFiles = 4;
} // namespace cmd
