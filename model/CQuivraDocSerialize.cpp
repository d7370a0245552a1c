// The scene file layout: CQuivraDoc::Serialize and its two halves.
#include "BoxObject.h"
#include "CArchive.h"
#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "CylinderObject.h"
#include "Line.h"
#include "MeasDirection.h"
#include "Measurement.h"

#include <cstdint>
#include <vector>

namespace {

// Smallest encodings, used to reject counts that cannot fit in the rest of the file.
constexpr std::size_t kMinSeriesBytes = 1 + 8 + 4 + 4 + 4 + 8;
constexpr std::size_t kMinPointBytes = 4 + 24 + 4;
constexpr std::size_t kMinDirectionBytes = 4 + 2 + 24 + 4;
constexpr std::size_t kMeasurementBytes = 16;
constexpr std::size_t kMinObjectBytes = 4 + 4 + 4;
constexpr std::size_t kRefBytes = 4;
constexpr std::size_t kLineBytes = 8;
constexpr std::size_t kCylinderBytes = 8 + 24 + 4 + 4; // radius, centre, axis, centre-line flag

// Records made while reading, owned here until the whole file has been read; on failure they
// are destroyed without touching the document.
struct SceneUnderConstruction {
    std::vector<CornerPoint*> points;
    std::vector<SceneObject*> objects;
    std::vector<Line*> freeLines;
    ~SceneUnderConstruction() {
        for (Line* l : freeLines)
            delete l;
        // Points no object has claimed first: the objects destroy their own points.
        for (CornerPoint* p : points) {
            if (!p->m_pOwner) {
                p->m_pDoc = nullptr;
                delete p;
            }
        }
        for (SceneObject* o : objects) {
            o->m_pDoc = nullptr;
            for (CornerPoint* p : o->m_points)
                p->m_pDoc = nullptr;
            delete o;
        }
    }
};

// Where each point sits in the file's point list, for the point references of objects and
// lines: open addressing over the pointers, cheaper than a node-based map at a million points.
class PointIndex {
public:
    explicit PointIndex(const std::vector<CornerPoint*>& points) {
        std::size_t capacity = 16;
        while (capacity < points.size() * 2)
            capacity *= 2;
        m_nMask = capacity - 1;
        m_slots.assign(capacity, Slot{nullptr, 0});
        for (std::size_t i = 0; i < points.size(); ++i) {
            Slot& s = m_slots[Find(points[i])];
            if (!s.point) // the first of a point listed twice wins
                s = Slot{points[i], static_cast<std::uint32_t>(i)};
        }
    }
    // A line to a point outside the scene cannot be stored; the invariants forbid it.
    std::uint32_t Of(const CornerPoint* p) const {
        const Slot& s = m_slots[Find(p)];
        return s.point ? s.index : 0xFFFFFFFFu;
    }

private:
    struct Slot {
        const CornerPoint* point;
        std::uint32_t index;
    };
    // The slot holding `p`, or the empty one where it would go.
    std::size_t Find(const CornerPoint* p) const {
        std::uint64_t h = reinterpret_cast<std::uintptr_t>(p);
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdULL;
        h ^= h >> 33;
        for (std::size_t i = static_cast<std::size_t>(h) & m_nMask;; i = (i + 1) & m_nMask)
            if (m_slots[i].point == p || !m_slots[i].point)
                return i;
    }
    std::vector<Slot> m_slots;
    std::size_t m_nMask = 0;
};

} // namespace

void CQuivraDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        WriteScene(ar);
    else
        ReadScene(ar);
}

std::size_t CQuivraDoc::SceneFileSize() const {
    std::size_t n = 5 * 4 + 2 * 4;
    for (int k = 0; k < m_nSeries; ++k)
        n += CArchive::StringBytes(m_seriesNames[k].size()) + kMinSeriesBytes - 1;
    ForEachPoint([&n](const CornerPoint* p) {
        n += kMinPointBytes;
        for (const MeasDirection* d : p->m_directions)
            n += kMinDirectionBytes + kMeasurementBytes * d->m_measurements.size();
    });
    for (const SceneObject* o : m_objects) {
        n += kMinObjectBytes + o->m_points.size() * kRefBytes + o->m_lines.size() * kLineBytes;
        if (o->GetType() == SceneObject::TypeCylinder)
            n += kCylinderBytes + (o->m_bHasCentreLine && o->m_pCentreLine ? kLineBytes : 0);
    }
    return n + 4 + m_freeLines.size() * kLineBytes;
}

void CQuivraDoc::WriteScene(CArchive& ar) {
    SetModifiedFlag(false);
    const std::vector<CornerPoint*> points = AllPoints();
    const PointIndex index(points);
    auto ref = [&index](const CornerPoint* p) { return index.Of(p); };

    ar.WriteU32(0);
    ar.WriteI32(m_nSeries);
    ar.WriteU32(static_cast<std::uint32_t>(points.size()));
    ar.WriteU32(static_cast<std::uint32_t>(m_freePoints.size()));
    ar.WriteU32(static_cast<std::uint32_t>(m_objects.size()));
    for (int k = 0; k < m_nSeries; ++k) {
        ar.WriteString(m_seriesNames[k]);
        ar.WriteF64(m_seriesFrequency[k]);
        ar.WriteI32(m_seriesFreqUnit[k]);
        ar.WriteI32(m_seriesFreqFlag[k]);
        ar.WriteI32(m_seriesFramesPerPeriod[k]);
        ar.WriteF64(m_seriesAmplification[k]);
    }
    for (const CornerPoint* p : points) {
        ar.WriteI32(p->m_nNumber);
        ar.WriteF64(p->m_x);
        ar.WriteF64(p->m_y);
        ar.WriteF64(p->m_z);
        ar.WriteU32(static_cast<std::uint32_t>(p->m_directions.size()));
        for (const MeasDirection* d : p->m_directions) {
            ar.WriteI32(d->m_nNumber);
            ar.WriteU16(d->m_nCode);
            ar.WriteF64(d->m_dx);
            ar.WriteF64(d->m_dy);
            ar.WriteF64(d->m_dz);
            ar.WriteU32(static_cast<std::uint32_t>(d->m_measurements.size()));
            for (const Measurement* m : d->m_measurements) {
                ar.WriteF64(m->m_dAmplitude);
                ar.WriteF64(m->m_dPhase);
            }
        }
    }
    for (const SceneObject* o : m_objects) {
        const bool cylinder = o->GetType() == SceneObject::TypeCylinder;
        ar.WriteU32(cylinder ? 1 : 2);
        if (cylinder) {
            const bool hasLine = o->m_bHasCentreLine && o->m_pCentreLine;
            ar.WriteF64(o->m_dRadius);
            ar.WriteF64(o->m_pCentre ? o->m_pCentre->m_x : 0.0);
            ar.WriteF64(o->m_pCentre ? o->m_pCentre->m_y : 0.0);
            ar.WriteF64(o->m_pCentre ? o->m_pCentre->m_z : 0.0);
            ar.WriteI32(o->m_nAxis);
            ar.WriteU32(hasLine ? 1 : 0);
            if (hasLine) {
                ar.WriteU32(ref(o->m_pCentreLine->m_pPointA));
                ar.WriteU32(ref(o->m_pCentreLine->m_pPointB));
            }
        }
        ar.WriteU32(static_cast<std::uint32_t>(o->m_points.size()));
        for (const CornerPoint* p : o->m_points)
            ar.WriteU32(ref(p));
        ar.WriteU32(static_cast<std::uint32_t>(o->m_lines.size()));
        for (const Line* l : o->m_lines) {
            ar.WriteU32(ref(l->m_pPointA));
            ar.WriteU32(ref(l->m_pPointB));
        }
    }
    ar.WriteU32(static_cast<std::uint32_t>(m_freeLines.size()));
    for (const Line* l : m_freeLines) {
        ar.WriteU32(ref(l->m_pPointA));
        ar.WriteU32(ref(l->m_pPointB));
    }
    ar.WriteI32(m_nNextPointNumber);
    ar.WriteI32(m_nNextDirectionNumber);
}

void CQuivraDoc::ReadScene(CArchive& ar) {
    ar.ReadU32(); // reserved
    const std::uint32_t nSeries = ar.ReadCount(kMinSeriesBytes, "series");
    const std::uint32_t nPoints = ar.ReadCount(kMinPointBytes, "corner point");
    const std::uint32_t nFree = ar.ReadU32();
    if (nFree > nPoints)
        ar.Fail("more free points (" + std::to_string(nFree) + ") than points (" +
                std::to_string(nPoints) + ")");
    const std::uint32_t nObjects = ar.ReadCount(kMinObjectBytes, "object");

    SeriesColumns columns;
    for (std::uint32_t k = 0; k < nSeries; ++k) {
        const std::string name = ar.ReadString();
        const double freq = ar.ReadF64();
        const std::int32_t unit = ar.ReadI32();
        const std::int32_t flag = ar.ReadI32();
        const std::int32_t frames = ar.ReadI32();
        const double ampl = ar.ReadF64();
        columns.Append(name, unit, flag, freq, frames, ampl);
    }

    SceneUnderConstruction scene;
    scene.points.reserve(nPoints);
    for (std::uint32_t i = 0; i < nPoints; ++i) {
        auto* p = new CornerPoint;
        scene.points.push_back(p);
        const char* b = ar.ReadBytes(kMinPointBytes - 4);
        p->m_nNumber = CArchive::LoadI32(b);
        p->m_x = CArchive::LoadF64(b + 4);
        p->m_y = CArchive::LoadF64(b + 12);
        p->m_z = CArchive::LoadF64(b + 20);
        p->m_pDoc = this;
        const std::uint32_t nDirs = ar.ReadCount(kMinDirectionBytes, "direction");
        p->m_directions.reserve(nDirs);
        for (std::uint32_t j = 0; j < nDirs; ++j) {
            auto* d = new MeasDirection;
            p->m_directions.push_back(d);
            d->m_pPoint = p;
            b = ar.ReadBytes(kMinDirectionBytes - 4);
            d->m_nNumber = CArchive::LoadI32(b);
            d->m_nCode = CArchive::LoadU16(b + 4);
            d->m_dx = CArchive::LoadF64(b + 6);
            d->m_dy = CArchive::LoadF64(b + 14);
            d->m_dz = CArchive::LoadF64(b + 22);
            const std::uint32_t nMeas = ar.ReadCount(kMeasurementBytes, "measurement");
            // Every direction must carry one value per series, or the animation and the
            // tables would read past the array.
            if (nMeas != nSeries)
                ar.Fail("direction " + std::to_string(d->m_nNumber) + " has " +
                        std::to_string(nMeas) + " measurements for " + std::to_string(nSeries) +
                        " series");
            d->m_measurements.reserve(nMeas);
            b = ar.ReadBytes(kMeasurementBytes * nMeas); // the count was checked to fit
            for (std::uint32_t m = 0; m < nMeas; ++m, b += kMeasurementBytes)
                d->m_measurements.push_back(
                    new Measurement(CArchive::LoadF64(b), CArchive::LoadF64(b + 8)));
        }
    }

    // Each point may sit in exactly one collection: the free list or one object (checked below).
    auto pointRef = [&](const char* what) -> CornerPoint* {
        const std::uint32_t i = ar.ReadU32();
        if (i >= nPoints)
            ar.Fail(std::string(what) + " refers to point " + std::to_string(i) + " of " +
                    std::to_string(nPoints));
        return scene.points[i];
    };

    scene.objects.reserve(nObjects);
    for (std::uint32_t k = 0; k < nObjects; ++k) {
        const std::uint32_t type = ar.ReadU32();
        SceneObject* o;
        std::uint32_t centreA = 0, centreB = 0;
        bool centreLine = false;
        if (type == 1) {
            auto* c = new CylinderObject(this);
            o = c;
            scene.objects.push_back(o);
            c->m_dRadius = ar.ReadF64();
            c->m_pCentre = new CornerPoint;
            c->m_pCentre->m_x = ar.ReadF64();
            c->m_pCentre->m_y = ar.ReadF64();
            c->m_pCentre->m_z = ar.ReadF64();
            c->m_nAxis = ar.ReadI32();
            c->m_bHasCentreLine = ar.ReadI32();
            if (c->m_bHasCentreLine != 0) {
                centreLine = true;
                centreA = ar.ReadU32();
                centreB = ar.ReadU32();
            }
        } else {
            o = new BoxObject(this);
            scene.objects.push_back(o);
        }
        const std::uint32_t nObjPoints = ar.ReadCount(kRefBytes, "object point");
        o->m_points.reserve(nObjPoints);
        for (std::uint32_t j = 0; j < nObjPoints; ++j) {
            CornerPoint* p = pointRef("an object");
            // Claimed before, by another object or by this one.
            if (p->m_pOwner)
                ar.Fail("point " + std::to_string(p->m_nNumber) + " belongs to two objects");
            p->m_pOwner = o;
            o->m_points.push_back(p);
        }
        // Object and centre lines may only join the object's own points: deleting any other
        // point would leave them dangling.
        auto ownRef = [&](std::uint32_t i, const char* what) -> CornerPoint* {
            if (i >= nPoints)
                ar.Fail(std::string(what) + " refers to point " + std::to_string(i) + " of " +
                        std::to_string(nPoints));
            CornerPoint* p = scene.points[i];
            if (p->m_pOwner != o)
                ar.Fail(std::string(what) + " ends at a point outside its object");
            return p;
        };
        if (centreLine) {
            CornerPoint* a = ownRef(centreA, "a centre line");
            CornerPoint* b = ownRef(centreB, "a centre line");
            o->m_pCentreLine = new Line(a, b);
        }
        const std::uint32_t nObjLines = ar.ReadCount(kLineBytes, "object line");
        o->m_lines.reserve(nObjLines);
        for (std::uint32_t j = 0; j < nObjLines; ++j) {
            const std::uint32_t a = ar.ReadU32();
            const std::uint32_t b = ar.ReadU32();
            o->m_lines.push_back(
                new Line(ownRef(a, "an object line"), ownRef(b, "an object line")));
        }
    }

    const std::uint32_t nLines = ar.ReadCount(kLineBytes, "line");
    scene.freeLines.reserve(nLines);
    for (std::uint32_t j = 0; j < nLines; ++j) {
        CornerPoint* a = pointRef("a line");
        CornerPoint* b = pointRef("a line");
        scene.freeLines.push_back(new Line(a, b));
    }
    const std::int32_t nextPoint = ar.ReadI32();
    const std::int32_t nextDirection = ar.ReadI32();

    for (std::uint32_t i = 0; i < nPoints; ++i) {
        CornerPoint* p = scene.points[i];
        if (i < nFree && p->m_pOwner)
            ar.Fail("free point " + std::to_string(p->m_nNumber) + " is also an object's point");
        if (i >= nFree && !p->m_pOwner)
            ar.Fail("point " + std::to_string(p->m_nNumber) + " belongs to no object");
    }

    // The whole file is sound: hand the records to the document.
    DestroyScene();
    m_freePoints.assign(scene.points.begin(), scene.points.begin() + nFree);
    m_objects.swap(scene.objects);
    m_freeLines.swap(scene.freeLines);
    scene.points.clear();
    m_nSeries = static_cast<std::int32_t>(nSeries);
    static_cast<SeriesColumns&>(*this) = std::move(columns);
    m_nNextPointNumber = nextPoint;
    m_nNextDirectionNumber = nextDirection;
    m_pHighlightPoint = nullptr;
    m_bUndoAvailable = 0;
    m_bRedoAvailable = 0;
    m_laterEdits = SceneChanges();
    m_selObjects.clear();
    m_selPoints.clear();
}
