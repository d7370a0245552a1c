#pragma once

// What a user does with the running program, one call per action, through the real main
// window, its menus, toolbar and document windows. Shared by the end-to-end tests and the soak
// driver; nothing here asserts, every action says whether it did what it should.
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTimer>

class CChildFrame;
class CMainFrame;
class CQuivraView;

class UseActions : public QObject {
public:
    explicit UseActions(CMainFrame* frame);

    CChildFrame* ActiveFrame() const;
    CQuivraView* ActiveView() const;
    QList<CChildFrame*> Frames() const;

    // A menu command, as a click on an enabled entry; events are processed afterwards.
    bool Run(int id);
    // Makes `frame` the active document window and gives its view the focus.
    bool Activate(CChildFrame* frame);
    // Turns the active view's animation on or off with a click on the toolbar's button.
    bool Animate(bool on);
    // Lets the program run until `view` drew `frames` more animation frames (false on time-out).
    static bool WaitFrames(CQuivraView* view, int frames, int timeoutMs = 10000);

    // The active document window, restored, to `size` (its frame included); an empty size
    // maximises it. With `viewOnly` the view alone takes the size (sizes a framed window cannot
    // take, as 1 x 1) until the next layout of its window.
    void ResizeDocument(const QSize& size, bool viewOnly = false);

    // Message boxes and other modal windows that opened during the actions: closed at once
    // (a soak must never wait for a click), their titles and texts kept here.
    QStringList m_modals;

private:
    void CloseModals();

    CMainFrame* m_pFrame;
    QTimer m_modalWatch;
};
