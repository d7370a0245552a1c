#pragma once

#include <QObject>

class QMainWindow;
class QWidget;

// Lets the main window's accelerators (Ctrl+N, F1 ...) and menu keys (Alt+E ...) work while one
// of its modeless tool windows is active. Qt binds a window's shortcuts to that window only, so
// each tool window, when it first takes the focus, is given the frame's accelerator actions and
// one action per menu key. Keys the tool window uses itself, and the clipboard keys, stay its
// own.
class CToolWindowKeys : public QObject {
    Q_OBJECT
public:
    explicit CToolWindowKeys(QMainWindow* frame);

    // Gives `window` the keys, once. Modal dialogs (they block the menus anyway) and windows
    // that do not belong to the frame are left alone.
    void ShareWith(QWidget* window);

private:
    void OpenMenu(const QKeySequence& key);

    QMainWindow* m_pFrame; // not owned: our parent
};
