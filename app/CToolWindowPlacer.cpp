#include "CToolWindowPlacer.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMargins>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <functional>

namespace {

constexpr int kGap = 4;      // between windows, so their borders do not touch
constexpr int kCascade = 28; // about a title bar: each cascaded window's title stays visible

} // namespace

CToolWindowPlacer::CToolWindowPlacer(QMainWindow* frame) : QObject(frame), m_pFrame(frame) {
    qApp->installEventFilter(this);
}

bool CToolWindowPlacer::IsOurs(const QWidget* window) const {
    if (window == m_pFrame || window->windowModality() != Qt::NonModal)
        return false;
    const Qt::WindowType type = window->windowType();
    if (type != Qt::Window && type != Qt::Dialog && type != Qt::Tool)
        return false;
    // Owned by the main window, directly or through another of its windows.
    for (const QWidget* w = window->parentWidget(); w; w = w->parentWidget())
        if (w == m_pFrame)
            return true;
    return false;
}

bool CToolWindowPlacer::eventFilter(QObject* watched, QEvent* event) {
    // The show event comes before the window is mapped and before a dialog centres itself over
    // its owner; a window moved here stays where it is put.
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* window = static_cast<QWidget*>(watched);
        if (window->isWindow() && !window->testAttribute(Qt::WA_Moved) && IsOurs(window))
            Place(window);
    }
    return QObject::eventFilter(watched, event);
}

void CToolWindowPlacer::Place(QWidget* window) {
    QScreen* screen = m_pFrame->screen() ? m_pFrame->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // What the window manager adds around a window is known only once one is shown: take the
    // largest of the main window's and the shown tool windows'.
    QMargins decoration;
    auto learn = [&decoration](const QWidget* w) {
        const QRect outer = w->frameGeometry(), inner = w->geometry();
        decoration.setLeft(std::max(decoration.left(), inner.left() - outer.left()));
        decoration.setTop(std::max(decoration.top(), inner.top() - outer.top()));
        decoration.setRight(std::max(decoration.right(), outer.right() - inner.right()));
        decoration.setBottom(std::max(decoration.bottom(), outer.bottom() - inner.bottom()));
    };
    learn(m_pFrame);
    QList<QRect> taken;
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other == window || !other->isVisible() || !IsOurs(other))
            continue;
        taken.append(other->frameGeometry());
        learn(other);
    }
    const QSize outer = window->size().grownBy(decoration);
    window->move(FreeSpot(outer, screen->availableGeometry(), taken));
}

QPoint CToolWindowPlacer::FreeSpot(const QSize& size, const QRect& work,
                                   const QList<QRect>& taken) {
    const int w = size.width(), h = size.height();
    QList<int> xs{work.right() + 1 - w}, ys{work.top()};
    for (const QRect& r : taken) {
        xs.append(r.left() - kGap - w);
        xs.append(r.right() + 1 + kGap);
        ys.append(r.bottom() + 1 + kGap);
        ys.append(r.top());
    }
    std::sort(xs.begin(), xs.end(), std::greater<int>());
    std::sort(ys.begin(), ys.end());
    for (int x : xs) {
        for (int y : ys) {
            const QRect spot(x, y, w, h);
            if (!work.contains(spot))
                continue;
            const QRect apart = spot.adjusted(-kGap + 1, -kGap + 1, kGap - 1, kGap - 1);
            if (std::none_of(taken.begin(), taken.end(),
                             [&apart](const QRect& r) { return r.intersects(apart); }))
                return spot.topLeft();
        }
    }
    QPoint at =
        taken.isEmpty() ? work.topLeft() : taken.last().topLeft() + QPoint(kCascade, kCascade);
    at.setX(std::clamp(at.x(), work.left(), std::max(work.left(), work.right() + 1 - w)));
    at.setY(std::clamp(at.y(), work.top(), std::max(work.top(), work.bottom() + 1 - h)));
    return at;
}
