#include "CColourBar.h"

#include "CCaption.h"
#include "CColourMap.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace {

// Where the bar's panel, bar and texts go; Paint and PanelRect share it.
struct Layout {
    QFont font;
    QString title = QStringLiteral("Amplitude");
    QString high, low = QStringLiteral("0");
    double pad, barW, barH, ascent, lineHeight;
    QRectF panel;

    Layout(const QRect& area, double peak, int top, double scale)
        : font(CCaption::Font(scale)), high(QString::number(peak, 'g', 3)) {
        const QFontMetricsF fm(font);
        pad = 6.0 * scale;
        barW = 10.0 * scale;
        barH = std::clamp(area.height() * 0.30, 40.0 * scale, 160.0 * scale);
        ascent = fm.ascent();
        lineHeight = fm.height();
        const double textW = std::max(fm.horizontalAdvance(high), fm.horizontalAdvance(low));
        const double width = std::max(fm.horizontalAdvance(title), barW + 4.0 * scale + textW);
        panel = QRectF(area.right() + 1 - pad - width - 2 * pad, area.top() + top + pad,
                       width + 2 * pad, barH + lineHeight + 2 * pad + lineHeight * 0.5);
    }
};

} // namespace

QRect CColourBar::PanelRect(const QRect& area, double peak, int top, double scale) {
    return Layout(area, peak, top, scale).panel.toAlignedRect();
}

QRect CColourBar::Paint(QPainter& painter, const QRect& area, double peak, int top, double scale) {
    const Layout l(area, peak, top, scale);
    const QRectF& panel = l.panel;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 210));
    painter.drawRoundedRect(panel, 3.0 * scale, 3.0 * scale);

    painter.setFont(l.font);
    painter.setPen(QColor(60, 60, 72));
    painter.drawText(QPointF(panel.left() + l.pad, panel.top() + l.pad + l.ascent), l.title);
    const QRectF bar(panel.left() + l.pad, panel.top() + l.pad + l.lineHeight + l.lineHeight * 0.25,
                     l.barW, l.barH);
    QLinearGradient g(bar.bottomLeft(), bar.topLeft());
    for (int i = 0; i <= 16; ++i)
        g.setColorAt(i / 16.0, QColor(CColourMap::At(i / 16.0)));
    painter.setBrush(g);
    painter.setPen(QPen(QColor(120, 120, 130), std::max(1.0, 0.8 * scale)));
    painter.drawRect(bar);
    painter.setPen(QColor(60, 60, 72));
    const double tx = bar.right() + 4.0 * scale;
    painter.drawText(QPointF(tx, bar.top() + l.ascent * 0.8), l.high);
    painter.drawText(QPointF(tx, bar.bottom()), l.low);
    painter.restore();
    return panel.toAlignedRect();
}
