#include "CommandTable.h"

#include "CommandIds.h"

using namespace cmd;

namespace commandtable {

const QList<CommandText>& Commands() {
    static const QList<CommandText> table = {
        {ID_FILE_NEW, "&New\tCtrl+N", "Create a new document\nNew"},
        {ID_FILE_OPEN, "&Open...\tCtrl+O", "Open an existing document\nOpen"},
        {ID_FILE_CLOSE, "&Close", "Close the active document\nClose"},
        {ID_FILE_SAVE, "&Save\tCtrl+S", "Save the active document\nSave"},
        {ID_FILE_SAVE_AS, "Save &As...", "Save the active document with a new name\nSave As"},
        {ID_FILE_TRANSFER, "&Transfer Quivra", nullptr},
        {ID_FILE_R4_IMPORT, "R4 import", nullptr},
        {ID_FILE_EXPORT_UFF, "Export UFF...",
         "Write the model and its deflection shapes as a Universal File\nExport UFF"},
        {ID_FILE_IMPORT_UFF, "Import UFF...",
         "Add nodes, trace lines and shapes from a Universal File\nImport UFF"},
        {ID_FILE_EXPORT_IMAGE, "Export Image...",
         "Write the picture as PNG, SVG, PDF or BMP\nExport Image"},
        {ID_FILE_EXPORT_CAPTION, "Caption in E&xports",
         "Write file, series, frequency, amplification and phase into exported pictures\nCaption "
         "in Exports"},
        {ID_ANIMATION_EXPORT, "Export Animation...",
         "Write periods of the shape as an animated GIF or an MP4 video\nExport Animation"},
        {ID_FILE_PRINT_SIDE_BY_SIDE, "Print Rest and Lar&gest Deflection",
         "Print the shape at rest and at its largest deflection side by side\nPrint Side by "
         "Side"},
        {ID_FILE_PRINT, "&Print...\tCtrl+P", "Print the active document\nPrint"},
        {ID_FILE_PRINT_SETUP, "P&rint Setup...", "Change the printing options\nPrint Setup"},
        {ID_FILE_MRU_FILE1, "Recent File", "Open this document"},
        {ID_APP_EXIT, "E&xit", "Quit the application; prompts to save documents\nExit"},
        {ID_EDIT_UNDO, "&Undo\tCtrl+Z", "Undo the last action\nUndo"},
        {ID_EDIT_REDO, "&Redo\tCtrl+Y", "Redo the previously undone action\nRedo"},
        {ID_EDIT_COPY, "&Copy\tCtrl+C", "Copy the selection and put it on the Clipboard\nCopy"},
        {ID_EDIT_CAMERA, "C&amera Settings", nullptr},
        {ID_EDIT_POINTS, "Edit Corner P&oints", nullptr},
        {ID_EDIT_MEASUREMENTS, "&Measurements", nullptr},
        {ID_EDIT_SERIES, "Measurement &Series", nullptr},
        {ID_EDIT_BOX, "Create &Box", "Create new box object\nCreate Box"},
        {ID_EDIT_CYLINDER, "Create C&ylinder", nullptr},
        {ID_EDIT_LOCAL_ORIGIN, "Move Local &Origin", nullptr},
        {ID_EDIT_IMPORT, "&Import Measurements", nullptr},
        {ID_VIEW_TOOLBAR, "&Toolbar", "Show or hide the toolbar\nToggle ToolBar"},
        {ID_VIEW_STATUS_BAR, "&Status Bar", "Show or hide the status bar\nToggle StatusBar"},
        {ID_VIEW_SETTINGS, "Settings...", nullptr},
        {ID_VIEW_LINES, "&Lines", nullptr},
        {ID_VIEW_BASE, "&Base", nullptr},
        {ID_VIEW_POINT_NUMBERS, "Corner Point &Numbers", nullptr},
        {ID_VIEW_CENTER_LINES, "&Center Lines", nullptr},
        {ID_VIEW_DIRECTIONS, "&Directions", nullptr},
        {ID_VIEW_DIRECTION_NUMBERS, "Direction N&umbers", nullptr},
        {ID_ANIMATION, "&Animation", nullptr},
        {ID_ANIMATION_SAVE, "&Save", nullptr},
        {ID_VIEW_CLEAR_LOOK, "C&lear Style",
         "Anti-aliased lines, the moving shape coloured by its amplitude, a caption\nClear Style"},
        {ID_VIEW_ORBITS, "&Orbits", "Show the path each point traces over a period\nOrbits"},
        {ID_VIEW_TURN_ABOUT_CENTRE, "Turn About Model C&entre",
         "Turn the model about the centre of its bounding box instead of the origin\nTurn About "
         "Centre"},
        {ID_VIEW_FIT_ALL, "&Fit All\tF", "Bring the whole model into view\nFit All"},
        {ID_VIEW_FRONT, "&Front\tCtrl+1", "Look at the model from the front\nFront"},
        {ID_VIEW_TOP, "To&p\tCtrl+2", "Look at the model from above\nTop"},
        {ID_VIEW_SIDE, "S&ide\tCtrl+3", "Look at the model from its right side (+X)\nSide"},
        {ID_VIEW_ISOMETRIC, "&Isometric\tCtrl+4", "An isometric view of the model\nIsometric"},
        {ID_VIEW_ANIMATE_ALL, "Animate All &Windows",
         "Every window animates, not only the active one\nAnimate All Windows"},
        {ID_ANIMATION_PAUSE, "&Pause\tP", "Hold the animation at its frame\nPause"},
        {ID_ANIMATION_NEXT_FRAME, "&Next Frame\t.", "One frame forward\nNext Frame"},
        {ID_ANIMATION_PREV_FRAME, "P&revious Frame\t,", "One frame back\nPrevious Frame"},
        {ID_ANIMATION_SLOWER, "S&lower\t-", "Animate more slowly\nSlower"},
        {ID_ANIMATION_FASTER, "&Faster\t+", "Animate faster\nFaster"},
        {ID_WINDOW_NEW, "&New Window", "Open another window for the active document\nNew Window"},
        {ID_WINDOW_CASCADE, "&Cascade", "Arrange windows so they overlap\nCascade Windows"},
        {ID_WINDOW_TILE_HORZ, "&Tile", "Arrange windows as non-overlapping tiles\nTile Windows"},
        {ID_WINDOW_ARRANGE, "&Arrange Icons",
         "Arrange icons at the bottom of the window\nArrange Icons"},
        {ID_HELP_DRAW_LINES, "&Draw Lines", nullptr},
        {ID_APP_ABOUT, "&About Quivra...",
         "Display program information, version number and copyright\nAbout"},
        // Accelerator-only commands.
        {ID_EDIT_PASTE, "Paste", "Insert Clipboard contents\nPaste"},
        {ID_EDIT_CUT, "Cut", "Cut the selection and put it on the Clipboard\nCut"},
        {ID_HELP, "Help", "Display help for current task or command\nHelp"},
        {ID_CONTEXT_HELP, "Help Mode",
         "Display help for clicked on buttons, menus and windows\nHelp"},
        {ID_NEXT_PANE, "Next Pane", "Switch to the next window pane\nNext Pane"},
        {ID_PREV_PANE, "Previous Pane", "Switch back to the previous window pane\nPrevious Pane"},
    };
    return table;
}

const CommandText* Find(int id) {
    for (const CommandText& c : Commands())
        if (c.m_nId == id)
            return &c;
    return nullptr;
}

const QList<MenuLayout>& NoDocumentMenus() {
    static const QList<MenuLayout> menus = {
        {"&File",
         {ID_FILE_NEW, ID_FILE_OPEN, kSeparator, ID_FILE_PRINT_SETUP, kSeparator, kRecentFiles,
          kSeparator, ID_APP_EXIT}},
        {"&View", {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}},
        {"&Help", {ID_APP_ABOUT}},
    };
    return menus;
}

const QList<MenuLayout>& DocumentMenus() {
    static const QList<MenuLayout> menus = {
        {"&File",
         {ID_FILE_NEW,
          ID_FILE_OPEN,
          ID_FILE_CLOSE,
          ID_FILE_SAVE,
          ID_FILE_SAVE_AS,
          kSeparator,
          ID_FILE_TRANSFER,
          ID_FILE_R4_IMPORT,
          ID_FILE_EXPORT_UFF,
          ID_FILE_IMPORT_UFF,
          kSeparator,
          ID_FILE_EXPORT_IMAGE,
          ID_FILE_EXPORT_CAPTION,
          kSeparator,
          ID_FILE_PRINT,
          ID_FILE_PRINT_SETUP,
          ID_FILE_PRINT_SIDE_BY_SIDE,
          kSeparator,
          kRecentFiles,
          kSeparator,
          ID_APP_EXIT}},
        {"&Edit",
         {ID_EDIT_UNDO, ID_EDIT_REDO, kSeparator, ID_EDIT_COPY, kSeparator, ID_EDIT_CAMERA,
          ID_EDIT_POINTS, ID_EDIT_MEASUREMENTS, ID_EDIT_SERIES, ID_EDIT_BOX, ID_EDIT_CYLINDER,
          ID_EDIT_LOCAL_ORIGIN, ID_EDIT_IMPORT}},
        {"&View",
         {ID_VIEW_TOOLBAR,
          ID_VIEW_STATUS_BAR,
          kSeparator,
          ID_VIEW_SETTINGS,
          kSeparator,
          ID_VIEW_LINES,
          ID_VIEW_BASE,
          ID_VIEW_POINT_NUMBERS,
          ID_VIEW_CENTER_LINES,
          ID_VIEW_DIRECTIONS,
          ID_VIEW_DIRECTION_NUMBERS,
          kSeparator,
          ID_VIEW_CLEAR_LOOK,
          ID_VIEW_ORBITS,
          kSeparator,
          ID_VIEW_FIT_ALL,
          ID_VIEW_FRONT,
          ID_VIEW_TOP,
          ID_VIEW_SIDE,
          ID_VIEW_ISOMETRIC,
          ID_VIEW_TURN_ABOUT_CENTRE,
          kSeparator,
          ID_VIEW_ANIMATE_ALL}},
        {"&Animation",
         {ID_ANIMATION, ID_ANIMATION_SAVE, ID_ANIMATION_EXPORT, kSeparator, ID_ANIMATION_PAUSE,
          ID_ANIMATION_NEXT_FRAME, ID_ANIMATION_PREV_FRAME, ID_ANIMATION_SLOWER,
          ID_ANIMATION_FASTER}},
        {"&Window", {ID_WINDOW_NEW, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE}},
        {"&Help", {ID_HELP_DRAW_LINES, kSeparator, ID_APP_ABOUT}},
    };
    return menus;
}

namespace {
struct Accel {
    QKeySequence m_keys;
    int m_nId;
};
const QList<Accel>& AcceleratorTable() {
    static const QList<Accel> table = {
        {QKeySequence(Qt::CTRL | Qt::Key_C), ID_EDIT_COPY},
        {QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW},
        {QKeySequence(Qt::CTRL | Qt::Key_O), ID_FILE_OPEN},
        {QKeySequence(Qt::CTRL | Qt::Key_P), ID_FILE_PRINT},
        {QKeySequence(Qt::CTRL | Qt::Key_S), ID_FILE_SAVE},
        {QKeySequence(Qt::CTRL | Qt::Key_V), ID_EDIT_PASTE},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), ID_EDIT_UNDO},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), ID_EDIT_CUT},
        {QKeySequence(Qt::Key_F1), ID_HELP},
        {QKeySequence(Qt::SHIFT | Qt::Key_F1), ID_CONTEXT_HELP},
        {QKeySequence(Qt::Key_F6), ID_NEXT_PANE},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), ID_PREV_PANE},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), ID_EDIT_COPY},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), ID_EDIT_PASTE},
        {QKeySequence(Qt::CTRL | Qt::Key_X), ID_EDIT_CUT},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), ID_EDIT_UNDO},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), ID_EDIT_REDO},
        {QKeySequence(Qt::Key_F), ID_VIEW_FIT_ALL},
        {QKeySequence(Qt::CTRL | Qt::Key_1), ID_VIEW_FRONT},
        {QKeySequence(Qt::CTRL | Qt::Key_2), ID_VIEW_TOP},
        {QKeySequence(Qt::CTRL | Qt::Key_3), ID_VIEW_SIDE},
        {QKeySequence(Qt::CTRL | Qt::Key_4), ID_VIEW_ISOMETRIC},
        {QKeySequence(Qt::Key_P), ID_ANIMATION_PAUSE},
        {QKeySequence(Qt::Key_Period), ID_ANIMATION_NEXT_FRAME},
        {QKeySequence(Qt::Key_Comma), ID_ANIMATION_PREV_FRAME},
        {QKeySequence(Qt::Key_Minus), ID_ANIMATION_SLOWER},
        {QKeySequence(Qt::Key_Plus), ID_ANIMATION_FASTER},
        {QKeySequence(Qt::Key_Equal), ID_ANIMATION_FASTER},
    };
    return table;
}
} // namespace

QList<QKeySequence> Accelerators(int id) {
    QList<QKeySequence> keys;
    for (const Accel& a : AcceleratorTable())
        if (a.m_nId == id)
            keys.append(a.m_keys);
    return keys;
}

QList<int> AcceleratorIds() {
    QList<int> ids;
    for (const Accel& a : AcceleratorTable())
        if (!ids.contains(a.m_nId))
            ids.append(a.m_nId);
    return ids;
}

const QList<int>& StandardToolBar() {
    static const QList<int> buttons = {ID_FILE_NEW,   ID_FILE_OPEN, ID_FILE_SAVE,
                                       kSeparator,    ID_EDIT_COPY, kSeparator,
                                       ID_FILE_PRINT, kSeparator,   ID_APP_ABOUT};
    return buttons;
}

const QList<int>& NavigationToolBar() {
    static const QList<int> buttons = {
        ID_VIEW_FIT_ALL,         ID_VIEW_FRONT,       ID_VIEW_TOP,        ID_VIEW_SIDE,
        ID_VIEW_ISOMETRIC,       kSeparator,          ID_ANIMATION_PAUSE, ID_ANIMATION_PREV_FRAME,
        ID_ANIMATION_NEXT_FRAME, ID_ANIMATION_SLOWER, ID_ANIMATION_FASTER};
    return buttons;
}

const QList<int>& GeometryToolBar() {
    static const QList<int> buttons = {ID_EDIT_BOX, ID_EDIT_CYLINDER, ID_EDIT_CAMERA, ID_ANIMATION};
    return buttons;
}

} // namespace commandtable
