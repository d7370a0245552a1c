#pragma once

class CCmdUI;
class CQuivraDoc;
class IDocView;
class QWidget;

// The one place that knows the concrete view class of a document window.
namespace viewfactory {
// A new view of `doc`; it registers with the document itself.
QWidget* CreateView(CQuivraDoc* doc, QWidget* parent);
IDocView* DocViewOf(QWidget* view);
// The view's first update after its document is loaded.
void InitialUpdate(QWidget* view);
// The settings all views share (style, animate all, turning, speed), and remembering the
// scene's camera: for a view of the program's own windows.
void ApplySharedSettings(QWidget* view);
// The view's own commands (see ViewCommands.cpp); false when it has no handler for `id`.
bool OnCmdMsg(QWidget* view, int id, CCmdUI* update);
} // namespace viewfactory
