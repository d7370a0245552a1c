#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

// The texts, prompts and keys of every command, and the layout of the two menu sets. Plain
// data: the main window builds its actions, menus and toolbars from it.
namespace commandtable {

struct CommandText {
    int m_nId;
    const char* m_text;   // menu text, with its '&' and "\t<keys>"
    const char* m_prompt; // "status-bar prompt\ntooltip" or null
};

// Every command with a menu entry or an accelerator.
const QList<CommandText>& Commands();
const CommandText* Find(int id);

constexpr int kSeparator = 0;
constexpr int kRecentFiles = -1; // the recent-file entries

struct MenuLayout {
    const char* m_title;
    QList<int> m_items;
};
// Menus without an open document and with one.
const QList<MenuLayout>& NoDocumentMenus();
const QList<MenuLayout>& DocumentMenus();

// The accelerators of id, in table order.
QList<QKeySequence> Accelerators(int id);
// All ids that have an accelerator, in table order without repeats.
QList<int> AcceleratorIds();

// Toolbars, left to right, kSeparator between groups.
const QList<int>& StandardToolBar();
const QList<int>& GeometryToolBar();
// Looking at the model: fit, standard views and the animation's controls (the main window
// adds the live amplification field after them).
const QList<int>& NavigationToolBar();

} // namespace commandtable
