#pragma once

class COpenGLView;
class QWidget;

// Start-up timing for bench/StartupBench: with QUIVRA_EXIT_AFTER_FIRST_FRAME set (to anything
// but empty), the program prints "quivra: window painted" when the main window first paints and
// "quivra: model painted" when a view first shows a scene with points, then quits. Without
// the variable every call here does nothing.
namespace startupprobe {
// Whether the variable is set; read once.
bool Active();
void WatchWindow(QWidget* mainWindow);
void WatchView(COpenGLView* view, bool (*hasModel)(COpenGLView*));
} // namespace startupprobe
