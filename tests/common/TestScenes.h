#pragma once

// Small scenes built record by record through the records' own constructors, shared by the tests.
#include "BoxObject.h"
#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "CylinderObject.h"
#include "Line.h"
#include "MeasDirection.h"
#include "Measurement.h"

#include <QByteArray>

#include <cstring>

namespace testscenes {

inline CornerPoint* AddFree(CQuivraDoc& doc, double x, double y, double z) {
    auto* p = new CornerPoint(x, y, z, &doc);
    doc.m_freePoints.push_back(p);
    return p;
}

// A direction with the same amplitude and phase in every series of the document.
inline MeasDirection* AddDirection(CornerPoint* p, std::uint16_t code, double amplitude = 0,
                                   double phase = 0) {
    auto* d = new MeasDirection(code, p);
    p->m_directions.push_back(d);
    for (Measurement* m : d->m_measurements) {
        m->m_dAmplitude = amplitude;
        m->m_dPhase = phase;
    }
    return d;
}

// A free line, or an object's own when both ends belong to the same object.
inline Line* AddLine(CQuivraDoc& doc, CornerPoint* a, CornerPoint* b) {
    auto* l = new Line(a, b);
    if (a->m_pOwner && a->m_pOwner == b->m_pOwner)
        a->m_pOwner->m_lines.push_back(l);
    else
        doc.m_freeLines.push_back(l);
    return l;
}

// Whether one of `lines` joins a and b, either way round.
inline bool HasLine(const std::vector<Line*>& lines, const CornerPoint* a, const CornerPoint* b) {
    for (const Line* l : lines)
        if ((l->m_pPointA == a && l->m_pPointB == b) || (l->m_pPointA == b && l->m_pPointB == a))
            return true;
    return false;
}

// Appends a series with `frames` frames per period and the given amplification.
inline void AddSeries(CQuivraDoc& doc, int frames, double amplification = 1.0) {
    doc.AddSeries();
    doc.m_seriesFramesPerPeriod.back() = frames;
    doc.m_seriesAmplification.back() = amplification;
}

inline CornerPoint* AddObjectPoint(CQuivraDoc& doc, SceneObject* o, double x, double y, double z) {
    auto* p = new CornerPoint(x, y, z, &doc);
    p->m_pOwner = o;
    o->m_points.push_back(p);
    return p;
}

// An axis-parallel box with its 8 points and 12 edges.
inline BoxObject* AddBox(CQuivraDoc& doc, double x0, double y0, double z0, double x1, double y1,
                         double z1) {
    auto* b = new BoxObject(&doc);
    for (int i = 0; i < 8; ++i)
        AddObjectPoint(doc, b, (i & 1) ? x1 : x0, (i & 2) ? y1 : y0, (i & 4) ? z1 : z0);
    static const int edges[12][2] = {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3},
                                     {4, 6}, {5, 7}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    for (const auto& e : edges)
        b->m_lines.push_back(new Line(b->m_points[e[0]], b->m_points[e[1]]));
    doc.m_objects.push_back(b);
    return b;
}

// A unit box.
inline BoxObject* AddBox(CQuivraDoc& doc, double x0, double y0, double z0) {
    return AddBox(doc, x0, y0, z0, x0 + 1, y0 + 1, z0 + 1);
}

// A cylinder stand-in: two points joined by its centre line.
inline CylinderObject* AddCentreLineObject(CQuivraDoc& doc, double x0, double y0, double z0,
                                           double x1, double y1, double z1) {
    auto* c = new CylinderObject(&doc);
    doc.m_objects.push_back(c);
    CornerPoint* a = AddObjectPoint(doc, c, x0, y0, z0);
    c->m_pCentreLine = new Line(a, AddObjectPoint(doc, c, x1, y1, z1));
    c->m_bHasCentreLine = 1;
    return c;
}

// A four-sided "cylinder" around the X axis: two squares of radius 2 plus their centres,
// optionally joined by a centre line.
inline CylinderObject* AddCylinder(CQuivraDoc& doc, bool centreLine) {
    auto* c = new CylinderObject(&doc);
    c->m_nAxis = 1;
    c->m_dRadius = 2.0;
    c->m_pCentre = new CornerPoint;
    for (int end = 0; end < 2; ++end) {
        const double x = end * 10.0;
        AddObjectPoint(doc, c, x, 2, 0);
        AddObjectPoint(doc, c, x, 0, 2);
        AddObjectPoint(doc, c, x, -2, 0);
        AddObjectPoint(doc, c, x, 0, -2);
    }
    for (int i = 0; i < 4; ++i) {
        c->m_lines.push_back(new Line(c->m_points[i], c->m_points[(i + 1) % 4]));
        c->m_lines.push_back(new Line(c->m_points[4 + i], c->m_points[4 + (i + 1) % 4]));
        c->m_lines.push_back(new Line(c->m_points[i], c->m_points[4 + i]));
    }
    CornerPoint* c1 = AddObjectPoint(doc, c, 0, 0, 0);
    CornerPoint* c2 = AddObjectPoint(doc, c, 10, 0, 0);
    if (centreLine) {
        c->m_pCentreLine = new Line(c1, c2);
        c->m_bHasCentreLine = 1;
    }
    doc.m_objects.push_back(c);
    return c;
}

// Free points with lines, a box, a cylinder with radial directions, two series with values.
inline void BuildSample(CQuivraDoc& doc) {
    doc.AddSeries();
    CornerPoint* a = AddFree(doc, 0, 0, 0);
    CornerPoint* b = AddFree(doc, 100, 0, 0);
    CornerPoint* c = AddFree(doc, 100, 50, -25.5);
    AddDirection(a, DirPlusX);
    AddDirection(a, DirMinusY);
    AddDirection(c, DirPlusZ);
    BoxObject* box = AddBox(doc, 10, 20, 30);
    AddDirection(box->m_points[3], DirMinusX);
    CylinderObject* cyl = AddCylinder(doc, true);
    AddDirection(cyl->m_points[1], DirRadialOut);
    AddDirection(cyl->m_points[6], DirRadialIn);
    doc.m_freeLines.push_back(new Line(a, b));
    doc.m_freeLines.push_back(new Line(b, c));
    doc.m_freeLines.push_back(new Line(c, box->m_points[0]));
    doc.AddSeries();
    doc.m_seriesNames[1] = "Motor side \xE4 1x";
    doc.m_seriesFreqUnit[1] = 1;
    doc.m_seriesFrequency[1] = 1487.25;
    doc.m_seriesFramesPerPeriod[1] = 36;
    doc.m_seriesAmplification[1] = 0.1;
    double v = 0.125;
    doc.ForEachPoint([&v](CornerPoint* p) {
        for (MeasDirection* d : p->m_directions)
            for (Measurement* m : d->m_measurements) {
                m->m_dAmplitude = v;
                m->m_dPhase = v * 37.0 - 180.0;
                v += 0.3333;
            }
    });
}

// A scene file's bytes, little-endian, record by record.
struct SceneBytes {
    QByteArray b;
    SceneBytes& u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b.append(char((v >> (8 * i)) & 0xFF));
        return *this;
    }
    SceneBytes& u16(std::uint16_t v) {
        b.append(char(v & 0xFF));
        b.append(char(v >> 8));
        return *this;
    }
    SceneBytes& f64(double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, 8);
        for (int i = 0; i < 8; ++i)
            b.append(char((bits >> (8 * i)) & 0xFF));
        return *this;
    }
    SceneBytes& raw(const QByteArray& r) {
        b.append(r);
        return *this;
    }
    SceneBytes& header(std::uint32_t series, std::uint32_t points, std::uint32_t free,
                       std::uint32_t objects) {
        return u32(0).u32(series).u32(points).u32(free).u32(objects);
    }
    SceneBytes& series() {
        b.append('\0'); // empty name
        return f64(1000).u32(0).u32(1).u32(24).f64(1);
    }
    SceneBytes& point(std::uint32_t number, std::uint32_t directions = 0) {
        return u32(number).f64(1).f64(2).f64(3).u32(directions);
    }
    SceneBytes& direction(std::uint32_t number, std::uint32_t measurements) {
        u32(number).u16(1).f64(1).f64(0).f64(0).u32(measurements);
        for (std::uint32_t i = 0; i < measurements; ++i)
            f64(1).f64(2);
        return *this;
    }
    SceneBytes& box(std::initializer_list<std::uint32_t> points,
                    std::initializer_list<std::uint32_t> lineEnds = {}) {
        u32(2).u32(static_cast<std::uint32_t>(points.size()));
        for (auto p : points)
            u32(p);
        u32(static_cast<std::uint32_t>(lineEnds.size() / 2));
        for (auto p : lineEnds)
            u32(p);
        return *this;
    }
    SceneBytes& tail(std::initializer_list<std::uint32_t> lineEnds = {}) {
        u32(static_cast<std::uint32_t>(lineEnds.size() / 2));
        for (auto p : lineEnds)
            u32(p);
        return u32(10).u32(10);
    }
};

} // namespace testscenes
