#pragma once

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>

// Answers the popup menus that open one after another, as the user would: each step may look
// at the menu, then chooses the entry with the given text (or closes the menu when empty).
class MenuScript {
public:
    struct Step {
        QString choose;
        std::function<void(QMenu*)> inspect;
    };
    explicit MenuScript(std::deque<Step> steps) : m_steps(std::move(steps)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(5);
    }
    int m_nMenus = 0;
    bool Done() const { return m_steps.empty(); }

private:
    void Poll() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || menu->property("answered").toBool() || m_steps.empty())
            return;
        menu->setProperty("answered", true);
        ++m_nMenus;
        const Step step = m_steps.front();
        m_steps.pop_front();
        if (step.inspect)
            step.inspect(menu);
        QAction* chosen = nullptr;
        for (QAction* a : menu->actions())
            if (!step.choose.isEmpty() && a->text() == step.choose)
                chosen = a;
        if (chosen)
            menu->setActiveAction(chosen);
        QTest::keyClick(menu, chosen ? Qt::Key_Return : Qt::Key_Escape);
    }
    std::deque<Step> m_steps;
    QTimer m_timer;
};
