#pragma once

class COpenGLView;
class QWidget;

// Start-up timing for bench/StartupBench: with QUIVRA_EXIT_AFTER_FIRST_FRAME set (to anything
// but empty), the program prints "quivra: window painted" when the main window first paints and
// "quivra: model shown" when a view first shows a scene with points (its preview while the GL
// library opens, or its first frame), "quivra: model painted" at the first frame of it, then
// quits. Without
// the variable every call here does nothing.
namespace startupprobe {
// Whether the variable is set; read once.
bool Active();
void WatchWindow(QWidget* mainWindow);
void WatchView(COpenGLView* view, bool (*hasModel)(COpenGLView*));
} // namespace startupprobe
