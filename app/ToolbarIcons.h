#pragma once

#include <QIcon>

// The program's own toolbar images (16 x 15) and icon, drawn at start-up.
namespace toolbaricons {
// The image of toolbar command `id`; a null icon for commands without one.
QIcon ForCommand(int id);
QIcon ProgramIcon();
} // namespace toolbaricons
