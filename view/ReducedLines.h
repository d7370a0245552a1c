#pragma once

// The lines of a reduced frame: fewer of them, chosen so that the shape stays readable while it
// moves. Shared by both drawing styles of CSceneRenderer.
#include "Line.h"

#include <cstddef>
#include <vector>

class CornerPoint;

namespace reducedlines {

// Calls drawLine(a, b) for the lines of `lines` thinned by `stride` (1: every line as it is).
// A chain (each line starting where the one before ended) becomes a coarser chain through every
// stride-th joint with both ends kept, so long runs stay unbroken instead of turning into
// dashes; a lone line is taken when `lone` (counted on across calls, so that small objects do
// not all lose the same edges) is a multiple of the stride.
template <class DrawLine>
void ForEach(const std::vector<Line*>& lines, int stride, std::size_t& lone, DrawLine drawLine) {
    const std::size_t n = lines.size();
    if (stride <= 1) {
        for (const Line* l : lines)
            drawLine(l->m_pPointA, l->m_pPointB);
        return;
    }
    const auto step = static_cast<std::size_t>(stride);
    std::size_t i = 0;
    while (i < n) {
        std::size_t j = i;
        while (j + 1 < n && lines[j]->m_pPointB == lines[j + 1]->m_pPointA)
            ++j;
        if (j == i) {
            if (lone++ % step == 0)
                drawLine(lines[i]->m_pPointA, lines[i]->m_pPointB);
        } else {
            const CornerPoint* from = lines[i]->m_pPointA;
            for (std::size_t k = i + step - 1; k < j; k += step) {
                drawLine(from, lines[k]->m_pPointB);
                from = lines[k]->m_pPointB;
            }
            drawLine(from, lines[j]->m_pPointB);
        }
        i = j + 1;
    }
}

// Whether the point counted `index` keeps its arrows (and orbit) in a frame thinned by `stride`.
inline bool KeepPoint(std::size_t index, int stride) {
    return stride <= 1 || index % static_cast<std::size_t>(stride) == 0;
}

} // namespace reducedlines
