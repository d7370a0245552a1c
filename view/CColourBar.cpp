#include "CColourBar.h"

#include "CCaption.h"
#include "CColourMap.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

QRect CColourBar::Paint(QPainter& painter, const QRect& area, double peak, int top, double scale) {
    const QFont font = CCaption::Font(scale);
    const QFontMetricsF fm(font);
    const QString title = QStringLiteral("Amplitude");
    const QString high = QString::number(peak, 'g', 3);
    const QString low = QStringLiteral("0");
    const double pad = 6.0 * scale, barW = 10.0 * scale;
    const double barH = std::clamp(area.height() * 0.30, 40.0 * scale, 160.0 * scale);
    const double textW = std::max(fm.horizontalAdvance(high), fm.horizontalAdvance(low));
    const double width = std::max(fm.horizontalAdvance(title), barW + 4.0 * scale + textW);
    const QRectF panel(area.right() + 1 - pad - width - 2 * pad, area.top() + top + pad,
                       width + 2 * pad, barH + fm.height() + 2 * pad + fm.height() * 0.5);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 210));
    painter.drawRoundedRect(panel, 3.0 * scale, 3.0 * scale);

    painter.setFont(font);
    painter.setPen(QColor(60, 60, 72));
    painter.drawText(QPointF(panel.left() + pad, panel.top() + pad + fm.ascent()), title);
    const QRectF bar(panel.left() + pad, panel.top() + pad + fm.height() + fm.height() * 0.25, barW,
                     barH);
    QLinearGradient g(bar.bottomLeft(), bar.topLeft());
    for (int i = 0; i <= 16; ++i)
        g.setColorAt(i / 16.0, QColor(CColourMap::At(i / 16.0)));
    painter.setBrush(g);
    painter.setPen(QPen(QColor(120, 120, 130), std::max(1.0, 0.8 * scale)));
    painter.drawRect(bar);
    painter.setPen(QColor(60, 60, 72));
    const double tx = bar.right() + 4.0 * scale;
    painter.drawText(QPointF(tx, bar.top() + fm.ascent() * 0.8), high);
    painter.drawText(QPointF(tx, bar.bottom()), low);
    painter.restore();
    return panel.toAlignedRect();
}
