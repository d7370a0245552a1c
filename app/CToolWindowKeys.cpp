#include "CToolWindowKeys.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QSet>

namespace {

const char* const kSharedProperty = "quivraFrameKeys";

// Alt+letter keys the window's own buttons, labels and group boxes answer to.
QSet<QKeySequence> OwnMnemonics(const QWidget* window) {
    QSet<QKeySequence> keys;
    auto add = [&keys](const QString& text) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (!key.isEmpty())
            keys.insert(key);
    };
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>())
        add(b->text());
    for (const QLabel* l : window->findChildren<QLabel*>())
        add(l->text());
    for (const QGroupBox* g : window->findChildren<QGroupBox*>())
        add(g->title());
    return keys;
}

bool IsClipboardKey(const QAction* action) {
    for (const QKeySequence& key : action->shortcuts())
        for (auto which : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste})
            if (QKeySequence::keyBindings(which).contains(key))
                return true;
    return false;
}

} // namespace

CToolWindowKeys::CToolWindowKeys(QMainWindow* frame) : QObject(frame), m_pFrame(frame) {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now)
            ShareWith(now->window());
    });
}

void CToolWindowKeys::ShareWith(QWidget* window) {
    if (!window || window == m_pFrame || window->windowModality() != Qt::NonModal ||
        window->property(kSharedProperty).toBool())
        return;
    QWidget* owner = window->parentWidget();
    if (!owner || owner->window() != m_pFrame)
        return;
    window->setProperty(kSharedProperty, true);
    // One action serves several windows: its shortcut matches in every window it was added to.
    // The clipboard keys stay the window's own: its lists and fields copy their own text.
    for (QAction* action : m_pFrame->actions())
        if (!IsClipboardKey(action))
            window->addAction(action);
    const QSet<QKeySequence> own = OwnMnemonics(window);
    QSet<QKeySequence> done;
    for (const QAction* menu : m_pFrame->menuBar()->actions()) {
        const QKeySequence key = QKeySequence::mnemonic(menu->text());
        if (key.isEmpty() || own.contains(key) || done.contains(key))
            continue;
        done.insert(key);
        auto* action = new QAction(window);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, [this, key] { OpenMenu(key); });
        window->addAction(action);
    }
}

void CToolWindowKeys::OpenMenu(const QKeySequence& key) {
    // The menu bar changes with the open documents: look the menu up when the key comes.
    QMenuBar* bar = m_pFrame->menuBar();
    for (QAction* menu : bar->actions()) {
        if (QKeySequence::mnemonic(menu->text()) == key) {
            bar->setActiveAction(menu);
            return;
        }
    }
}
