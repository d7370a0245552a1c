#include "CReportPage.h"

#include "CCaption.h"
#include "CImageOutput.h"
#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CSceneRenderer.h"
#include "CVectorPicture.h"
#include "CViewState.h"
#include "CornerPoint.h"
#include "Deflection.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

QStringList CReportPage::HeaderLines(const CQuivraDoc& doc, const CViewState& state,
                                     const QDateTime& when) {
    const QStringList caption = CCaption::Lines(doc, state);
    return {caption.value(0) + QStringLiteral("    ") +
                QLocale::c().toString(when, QStringLiteral("yyyy-MM-dd HH:mm")),
            caption.mid(1).join(QStringLiteral("    "))};
}

int CReportPage::LargestDeflectionFrame(const CQuivraDoc& doc, int series) {
    const int n = Deflection::FramesPerPeriod(doc, series);
    int best = 0;
    double bestSum = -1.0;
    for (int k = 0; k < n; ++k) {
        const double phase = Deflection::FramePhase(k, n);
        double sum = 0.0;
        doc.ForEachPoint([&](const CornerPoint* p) {
            if (p->m_directions.empty())
                return;
            const Vec3d q = Deflection::DisplacedPosition(*p, doc, series, phase);
            sum += std::hypot(q.x - p->m_x, q.y - p->m_y, q.z - p->m_z);
        });
        if (sum > bestSum) {
            bestSum = sum;
            best = k;
        }
    }
    return best;
}

bool CReportPage::Paint(QPainter& painter, const QRect& area, const CQuivraDoc& doc,
                        const CViewState& state, int width, int height, bool sideBySide,
                        const QDateTime& when) {
    if (area.isEmpty() || width < 1 || height < 1)
        return false;
    // Text at the size it has on the screen, whatever the printer's resolution.
    const double scale = painter.device()->logicalDpiY() / 96.0;
    QFont font = CCaption::Font(scale);
    const QFontMetricsF fm(font);
    const QStringList header = HeaderLines(doc, state, when);
    painter.save();
    for (int i = 0; i < header.size(); ++i) {
        font.setBold(i == 0);
        painter.setFont(font);
        painter.setPen(QColor(20, 20, 28));
        painter.drawText(QPointF(area.left(), area.top() + i * fm.height() + fm.ascent()),
                         header[i]);
    }
    painter.restore();
    const int top = static_cast<int>(std::ceil(fm.height() * (header.size() + 0.8)));
    const QRect room(area.left(), area.top() + top, area.width(), area.height() - top);

    // The pictures: the view's frame, or the rest shape and the largest deflection.
    std::vector<CViewState> views;
    if (sideBySide && Deflection::FramesPerPeriod(doc, state.m_nCurrentSeries) > 0) {
        CViewState rest = state, moved = state;
        rest.m_bAnimating = 0;
        moved.m_bAnimating = 1;
        moved.m_nFrame = LargestDeflectionFrame(doc, state.m_nCurrentSeries);
        views = {rest, moved};
    } else {
        views = {state};
    }
    const int count = static_cast<int>(views.size());
    const QRect target =
        CImageOutput::PrintTarget(room.width(), room.height(), width * count, height);
    if (target.isEmpty())
        return false;
    COffscreenGL gl;
    if (!gl.Resize(width, height).isEmpty())
        return false;
    CSceneRenderer renderer;
    // The header says what the caption would.
    renderer.m_bCaption = false;
    const double s = static_cast<double>(target.width()) / (width * count);
    bool drawn = true;
    for (int i = 0; i < count && drawn; ++i) {
        painter.save();
        painter.translate(room.left() + i * width * s, room.top());
        painter.scale(s, s);
        drawn = CVectorPicture::Draw(painter, gl, renderer, doc, views[static_cast<std::size_t>(i)],
                                     width, height);
        painter.restore();
    }
    return drawn;
}
