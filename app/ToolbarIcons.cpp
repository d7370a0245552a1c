#include "ToolbarIcons.h"

#include "CommandIds.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <tuple>

namespace toolbaricons {

namespace {

using Painter = void (*)(QPainter&);

void Page(QPainter& p, int x, int y) {
    p.setBrush(Qt::white);
    p.drawRect(x, y, 8, 11);
    p.drawLine(x + 2, y + 3, x + 6, y + 3);
    p.drawLine(x + 2, y + 5, x + 6, y + 5);
    p.drawLine(x + 2, y + 7, x + 6, y + 7);
}

void DrawNew(QPainter& p) {
    Page(p, 3, 1);
}
void DrawOpen(QPainter& p) {
    p.setBrush(QColor(230, 200, 90));
    p.drawRect(1, 4, 13, 9);
    p.drawRect(1, 2, 5, 2);
}
void DrawSave(QPainter& p) {
    p.setBrush(QColor(60, 60, 150));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(Qt::lightGray);
    p.drawRect(4, 9, 7, 5);
}
void DrawCopy(QPainter& p) {
    Page(p, 1, 1);
    Page(p, 6, 3);
}
void DrawPrint(QPainter& p) {
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(Qt::lightGray);
    p.drawRect(1, 6, 13, 6);
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 7, 4);
}
void DrawAbout(QPainter& p) {
    p.setBrush(QColor(255, 255, 200));
    p.drawEllipse(1, 0, 13, 13);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 7, QFont::Bold));
    p.drawText(QRect(1, 0, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
}
void DrawFitAll(QPainter& p) {
    // A small box inside four corner marks.
    p.setPen(QColor(0, 0, 160));
    p.setBrush(Qt::NoBrush);
    p.drawRect(5, 5, 5, 4);
    p.setPen(QPen(Qt::black, 1.4));
    for (auto [x, y, dx, dy] : {std::tuple{1, 1, 1, 1}, std::tuple{14, 1, -1, 1},
                                std::tuple{1, 13, 1, -1}, std::tuple{14, 13, -1, -1}}) {
        p.drawLine(x, y, x + 3 * dx, y);
        p.drawLine(x, y, x, y + 3 * dy);
    }
}
void DrawBox(QPainter& p) {
    p.setPen(QColor(0, 0, 160));
    p.drawRect(1, 5, 9, 9);
    p.drawRect(5, 1, 9, 9);
    p.drawLine(1, 5, 5, 1);
    p.drawLine(10, 5, 14, 1);
    p.drawLine(1, 14, 5, 10);
    p.drawLine(10, 14, 14, 10);
}
void DrawCylinder(QPainter& p) {
    p.setPen(QColor(0, 0, 160));
    p.drawEllipse(2, 0, 11, 4);
    p.drawArc(2, 10, 11, 4, 180 * 16, 180 * 16);
    p.drawLine(2, 2, 2, 12);
    p.drawLine(13, 2, 13, 12);
}
void DrawCamera(QPainter& p) {
    p.setBrush(Qt::darkGray);
    p.drawRect(1, 4, 11, 8);
    p.drawPolygon(QPolygon({QPoint(12, 6), QPoint(15, 4), QPoint(15, 12), QPoint(12, 10)}));
}
void DrawAnimation(QPainter& p) {
    p.setPen(QPen(QColor(180, 0, 0), 1.5));
    QPainterPath wave;
    wave.moveTo(0, 7);
    wave.cubicTo(3, -1, 5, -1, 8, 7);
    wave.cubicTo(11, 15, 13, 15, 16, 7);
    p.drawPath(wave);
}

QIcon Make(Painter paint) {
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::black);
    paint(p);
    return QIcon(pixmap);
}

} // namespace

QIcon ForCommand(int id) {
    switch (id) {
    case cmd::ID_FILE_NEW:
        return Make(DrawNew);
    case cmd::ID_FILE_OPEN:
        return Make(DrawOpen);
    case cmd::ID_FILE_SAVE:
        return Make(DrawSave);
    case cmd::ID_EDIT_COPY:
        return Make(DrawCopy);
    case cmd::ID_FILE_PRINT:
        return Make(DrawPrint);
    case cmd::ID_APP_ABOUT:
        return Make(DrawAbout);
    case cmd::ID_EDIT_BOX:
        return Make(DrawBox);
    case cmd::ID_EDIT_CYLINDER:
        return Make(DrawCylinder);
    case cmd::ID_EDIT_CAMERA:
        return Make(DrawCamera);
    case cmd::ID_ANIMATION:
        return Make(DrawAnimation);
    case cmd::ID_VIEW_FIT_ALL:
        return Make(DrawFitAll);
    default:
        return QIcon();
    }
}

QIcon ProgramIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 160), 2));
    p.drawRect(3, 11, 17, 17);
    p.drawRect(11, 3, 17, 17);
    p.drawLine(3, 11, 11, 3);
    p.drawLine(20, 11, 28, 3);
    p.drawLine(3, 28, 11, 20);
    p.drawLine(20, 28, 28, 20);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(20, 28, 26, 31);
    return QIcon(pixmap);
}

} // namespace toolbaricons
