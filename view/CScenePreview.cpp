#include "CScenePreview.h"

#include "CCameraMath.h"
#include "CQuivraDoc.h"
#include "CViewState.h"
#include "CornerPoint.h"
#include "Line.h"
#include "SceneObject.h"

#include <QPainter>
#include <QPen>

#include <vector>

bool CScenePreview::Paint(QPainter& painter, const CQuivraDoc& doc, const CViewState& state,
                          int width, int height) {
    painter.fillRect(0, 0, width, height, Qt::white);
    const CCameraMath camera(state, width, height);
    std::vector<QLineF> lines;
    auto add = [&](const Line* line) {
        const CornerPoint* a = line->m_pPointA;
        const CornerPoint* b = line->m_pPointB;
        double ax, ay, bx, by;
        if (a && b && camera.ToWindow({a->m_x, a->m_y, a->m_z}, &ax, &ay) &&
            camera.ToWindow({b->m_x, b->m_y, b->m_z}, &bx, &by))
            lines.emplace_back(ax, ay, bx, by);
    };
    if (state.m_bShowLines) {
        for (const Line* line : doc.m_freeLines)
            add(line);
        for (const SceneObject* object : doc.m_objects)
            for (const Line* line : object->m_lines)
                add(line);
    }
    if (lines.empty())
        return false;
    // The frame's lines at rest: black and unsmoothed in the classic look, dark slate and
    // smoothed in the clear one, at the view's width.
    const bool clear = state.m_nLook == CViewState::LookClear;
    painter.setRenderHint(QPainter::Antialiasing, clear);
    const QColor colour = clear ? QColor::fromRgbF(0.16f, 0.17f, 0.22f) : QColor(Qt::black);
    painter.setPen(QPen(colour, state.m_nLineWidth > 1 ? state.m_nLineWidth : 0));
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    return true;
}
