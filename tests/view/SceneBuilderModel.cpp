#include "SceneBuilder.h"

#include "BoxObject.h"
#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "CylinderObject.h"
#include "Line.h"
#include "MeasDirection.h"
#include "Measurement.h"

namespace scene {

CornerPoint* AddPoint(CQuivraDoc& doc, double x, double y, double z) {
    auto* p = new CornerPoint(x, y, z, &doc);
    doc.m_freePoints.push_back(p);
    return p;
}

Line* AddLine(CQuivraDoc& doc, CornerPoint* a, CornerPoint* b) {
    auto* l = new Line(a, b);
    if (a->m_pOwner && a->m_pOwner == b->m_pOwner)
        a->m_pOwner->m_lines.push_back(l);
    else
        doc.m_freeLines.push_back(l);
    return l;
}

MeasDirection* AddDirection(CornerPoint* p, std::uint16_t code, double amplitude, double phase) {
    auto* d = new MeasDirection(code, p);
    p->m_directions.push_back(d);
    for (Measurement* m : d->m_measurements) {
        m->m_dAmplitude = amplitude;
        m->m_dPhase = phase;
    }
    return d;
}

void AddSeries(CQuivraDoc& doc, int frames, double amplification) {
    doc.AddSeries();
    doc.m_seriesFramesPerPeriod.back() = frames;
    doc.m_seriesAmplification.back() = amplification;
}

static CornerPoint* ObjectPoint(CQuivraDoc& doc, SceneObject* o, double x, double y, double z) {
    auto* p = new CornerPoint(x, y, z, &doc);
    p->m_pOwner = o;
    o->m_points.push_back(p);
    return p;
}

BoxObject* AddBox(CQuivraDoc& doc, double x0, double y0, double z0, double x1, double y1,
                  double z1) {
    auto* box = new BoxObject(&doc);
    doc.m_objects.push_back(box);
    CornerPoint* c[8];
    for (int i = 0; i < 8; ++i)
        c[i] = ObjectPoint(doc, box, (i & 1) ? x1 : x0, (i & 2) ? y1 : y0, (i & 4) ? z1 : z0);
    const int edges[12][2] = {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3},
                              {4, 6}, {5, 7}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    for (const auto& e : edges)
        box->m_lines.push_back(new Line(c[e[0]], c[e[1]]));
    return box;
}

CylinderObject* AddCentreLineObject(CQuivraDoc& doc, double x0, double y0, double z0, double x1,
                                    double y1, double z1) {
    auto* cyl = new CylinderObject(&doc);
    doc.m_objects.push_back(cyl);
    CornerPoint* a = ObjectPoint(doc, cyl, x0, y0, z0);
    CornerPoint* b = ObjectPoint(doc, cyl, x1, y1, z1);
    cyl->m_bHasCentreLine = 1;
    cyl->m_pCentreLine = new Line(a, b);
    return cyl;
}

} // namespace scene
