#include "CCaption.h"

#include "CQuivraDoc.h"
#include "CViewState.h"
#include "Deflection.h"
#include "NumberText.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>

#include <cmath>

namespace {

// The program shows the user's decimal separator; qvrtool runs under "C" and keeps the point.
QString Number(double v) {
    return numtext::FormatG(v);
}

} // namespace

QString CCaption::PhaseText(int frame, int framesPerPeriod) {
    if (framesPerPeriod < 1)
        return QString();
    const double deg = 360.0 * frame / framesPerPeriod;
    return Number(std::round(deg * 10.0) / 10.0);
}

QStringList CCaption::Lines(const CQuivraDoc& doc, const CViewState& state) {
    QStringList lines;
    const QString path = doc.GetPathName();
    lines << (path.isEmpty() ? QStringLiteral("(not saved)") : QFileInfo(path).fileName());
    const int k = state.m_nCurrentSeries;
    if (k < 0 || k >= doc.m_nSeries || static_cast<std::size_t>(k) >= doc.m_seriesNames.size())
        return lines;
    const auto sk = static_cast<std::size_t>(k);
    lines << QStringLiteral("Series: ") + QString::fromLatin1(doc.m_seriesNames[sk].c_str());
    const double f = doc.m_seriesFrequency[sk];
    const bool rpm = doc.m_seriesFreqUnit[sk] != 0;
    const double hz = rpm ? f / 60.0 : f;
    lines << (rpm ? QStringLiteral("%1 RPM (%2 Hz)").arg(Number(f), Number(hz))
                  : QStringLiteral("%1 Hz (%2 RPM)").arg(Number(hz), Number(hz * 60.0)));
    lines << QStringLiteral("Amplification: ") + Number(doc.m_seriesAmplification[sk]);
    const int n = Deflection::FramesPerPeriod(doc, k);
    if (state.m_bAnimating && n > 0)
        lines << QStringLiteral("Phase: %1\u00b0 (frame %2 of %3)")
                     .arg(PhaseText(state.m_nFrame, n))
                     .arg(state.m_nFrame + 1)
                     .arg(n);
    return lines;
}

QFont CCaption::Font(double scale) {
    QFont font = QGuiApplication::font();
    font.setPointSizeF(9.0);
    // Pixel sizes: the same picture whatever the screen's dots per inch.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(12.0 * scale))));
    return font;
}

namespace {

// Where the caption's panel and lines go; Paint and PanelRect share it.
struct Layout {
    QFont plain, bold;
    double pad, lineHeight, ascent, boldAscent;
    QRectF panel;

    Layout(const QRect& area, const QStringList& lines, double scale)
        : plain(CCaption::Font(scale)), bold(plain) {
        bold.setBold(true);
        const QFontMetricsF fm(plain), fmBold(bold);
        pad = 6.0 * scale;
        lineHeight = fm.height();
        ascent = fm.ascent();
        boldAscent = fmBold.ascent();
        double width = 0.0;
        for (int i = 0; i < lines.size(); ++i)
            width = std::max(width, (i == 0 ? fmBold : fm).horizontalAdvance(lines[i]));
        const double height = lineHeight * lines.size();
        panel = QRectF(area.left() + pad, area.bottom() + 1 - pad - height - 2 * pad,
                       width + 2 * pad, height + 2 * pad);
    }
};

} // namespace

QRect CCaption::PanelRect(const QRect& area, const QStringList& lines, double scale) {
    return lines.isEmpty() ? QRect() : Layout(area, lines, scale).panel.toAlignedRect();
}

QRect CCaption::Paint(QPainter& painter, const QRect& area, const QStringList& lines,
                      double scale) {
    if (lines.isEmpty())
        return QRect();
    const Layout l(area, lines, scale);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 210));
    painter.drawRoundedRect(l.panel, 3.0 * scale, 3.0 * scale);
    for (int i = 0; i < lines.size(); ++i) {
        painter.setFont(i == 0 ? l.bold : l.plain);
        painter.setPen(i == 0 ? QColor(20, 20, 28) : QColor(60, 60, 72));
        painter.drawText(QPointF(l.panel.left() + l.pad, l.panel.top() + l.pad + i * l.lineHeight +
                                                             (i == 0 ? l.boldAscent : l.ascent)),
                         lines[i]);
    }
    painter.restore();
    return l.panel.toAlignedRect();
}
