#pragma once

// The large scene the benchmarks load, save and dump.
#include "BoxObject.h"
#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "Line.h"
#include "MeasDirection.h"
#include "Measurement.h"

namespace bench {

// Half the points free (joined in a chain of lines), half in boxes with their 12 edges;
// 3 directions per point, 10 series.
inline void Build(CQuivraDoc& doc, int nPoints) {
    for (int k = 0; k < 10; ++k)
        doc.AddSeries();
    const int nFree = nPoints / 2;
    for (int i = 0; i < nFree; ++i) {
        auto* p = new CornerPoint(i * 0.5, (i % 100) * 1.0, (i % 7) * 2.0, &doc);
        doc.m_freePoints.push_back(p);
        if (i > 0)
            doc.m_freeLines.push_back(new Line(doc.m_freePoints[i - 1], p));
    }
    static const int edges[12][2] = {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3},
                                     {4, 6}, {5, 7}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    for (int b = 0; b < (nPoints - nFree) / 8; ++b) {
        auto* box = new BoxObject(&doc);
        for (int i = 0; i < 8; ++i) {
            auto* p = new CornerPoint(b * 3.0 + (i & 1), ((i >> 1) & 1), ((i >> 2) & 1), &doc);
            p->m_pOwner = box;
            box->m_points.push_back(p);
        }
        for (const auto& e : edges)
            box->m_lines.push_back(new Line(box->m_points[e[0]], box->m_points[e[1]]));
        doc.m_objects.push_back(box);
    }
    double v = 0.0;
    doc.ForEachPoint([&v](CornerPoint* p) {
        for (std::uint16_t code : {DirPlusX, DirPlusY, DirPlusZ}) {
            auto* d = new MeasDirection(code, p);
            for (Measurement* m : d->m_measurements) {
                m->m_dAmplitude = v += 0.001;
                m->m_dPhase = v * 3;
            }
            p->m_directions.push_back(d);
        }
    });
}

} // namespace bench
