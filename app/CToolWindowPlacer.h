#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>

class QMainWindow;
class QWidget;

// Places the main window's modeless windows (tool windows, their forms, help) the first time
// they show without a placement of their own: beside each other, covering no other visible
// window of the program, inside the screen. Left to itself Qt centres each over its owner, so
// the windows one step opens would stack exactly on top of each other. Remembered placements
// are applied before showing and count as placed: they stay as they are.
class CToolWindowPlacer : public QObject {
    Q_OBJECT
public:
    explicit CToolWindowPlacer(QMainWindow* frame);

    // Where a window of outer size `size` goes inside `work` without touching any of `taken`:
    // the right-most, then top-most free spot, so the windows line up down the screen's right
    // side and then in columns leftwards. When nothing is free: cascaded from the last of
    // `taken`, still inside `work`.
    static QPoint FreeSpot(const QSize& size, const QRect& work, const QList<QRect>& taken);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsOurs(const QWidget* window) const;
    void Place(QWidget* window);

    QMainWindow* m_pFrame; // not owned: our parent
};
