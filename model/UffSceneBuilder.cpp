#include "UffSceneBuilder.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "Line.h"
#include "MeasDirection.h"
#include "Measurement.h"
#include "UffFrames.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr std::uint16_t kAxisCode[3] = {DirPlusX, DirPlusY, DirPlusZ};
constexpr std::uint16_t kOppositeCode[3] = {DirMinusX, DirMinusY, DirMinusZ};
constexpr long long kMaxNumber = std::numeric_limits<std::int32_t>::max();

bool Finite(const std::array<double, 3>& p) {
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}
bool Finite(const UffContent::Vector& v) {
    for (const auto& c : v)
        if (!std::isfinite(c.real()) || !std::isfinite(c.imag()))
            return false;
    return true;
}

QString Where(const UffContent::Shape& s) {
    return QStringLiteral("dataset %1 \"%2\" (line %3)").arg(s.dataset).arg(s.name).arg(s.line);
}

} // namespace

struct UffSceneBuilder::Impl {
    Impl(const UffContent& c, CQuivraDoc& d, double s)
        : content(c), doc(d), scale(s), frames(c.systems) {}

    const UffContent& content;
    CQuivraDoc& doc;
    double scale;
    UffFrames frames;
    UffRemarks warnings, skipped, notes;

    // New points, held here until the document takes them.
    std::vector<std::unique_ptr<CornerPoint>> newPoints;
    std::vector<long long> newLabels;
    std::unordered_map<long long, const UffContent::Node*> nodeOf; // the first definition
    std::unordered_map<long long, CornerPoint*> byLabel;           // the file's nodes
    std::unordered_map<long long, CornerPoint*> sceneByNumber;     // the scene's points
    std::unordered_set<long long> sceneRepeated;                   // numbers on several points
    bool sceneIndexed = false;
    long long nextPointNumber = 0;
    long long rotational = 0;
    std::vector<std::unique_ptr<Line>> newLines;

    struct Kept {
        const UffContent::Shape* shape;
        std::vector<std::pair<CornerPoint*, UffContent::Vector>> values;
    };
    std::vector<Kept> kept;

    // Where the values along one axis of one point go: an existing direction (its opposite
    // takes them with the sign turned) or a new one.
    struct Target {
        MeasDirection* existing = nullptr;
        std::size_t fresh = 0;
        double sign = 1.0;
    };
    std::map<std::pair<CornerPoint*, int>, Target> targets;
    std::vector<std::unique_ptr<MeasDirection>> newDirs;
    std::unordered_map<CornerPoint*, std::size_t> newDirsPerPoint;

    std::vector<MeasDirection*> existingDirs; // every direction of the scene, in scene order
    std::vector<std::unique_ptr<Measurement>> stagedMeas; // existingDirs x new series
    std::vector<std::string> names;

    CornerPoint* Resolve(long long label);
    void Points();
    void Traces();
    void Shapes();
    void Directions();
    void CheckSize();
    void Stage();
    void Commit() noexcept;
};

CornerPoint* UffSceneBuilder::Impl::Resolve(long long label) {
    if (auto it = byLabel.find(label); it != byLabel.end())
        return it->second;
    if (!sceneIndexed) {
        doc.ForEachPoint([this](CornerPoint* p) {
            if (!sceneByNumber.try_emplace(p->m_nNumber, p).second)
                sceneRepeated.insert(p->m_nNumber);
        });
        sceneIndexed = true;
    }
    auto it = sceneByNumber.find(label);
    if (it == sceneByNumber.end())
        return nullptr;
    if (sceneRepeated.count(label))
        warnings.Add(QStringLiteral("repeated"),
                     QStringLiteral("node %1 names corner point %1, which several points share; "
                                    "the first of them was used")
                         .arg(label));
    return it->second;
}

// The file's nodes become new points, placed through their systems and numbered by label;
// labels a point number cannot hold get fresh numbers.
void UffSceneBuilder::Impl::Points() {
    long long maxValid = 0;
    for (const UffContent::Node& n : content.nodes) {
        auto [it, fresh] = nodeOf.try_emplace(n.label, &n);
        if (!fresh) {
            warnings.Add(QStringLiteral("twice"),
                         QStringLiteral("node %1 is defined twice (lines %2 and %3); the first "
                                        "one is used")
                             .arg(n.label)
                             .arg(it->second->line)
                             .arg(n.line));
            continue;
        }
        std::array<double, 3> p =
            UffFrames::Position(frames.For(n.definitionSystem, n.label), n.xyz);
        for (double& v : p)
            v *= scale;
        if (!Finite(p))
            throw UffError(QStringLiteral("node %1 (line %2): its coordinates are out of range")
                               .arg(n.label)
                               .arg(n.line));
        auto point = std::make_unique<CornerPoint>();
        point->m_x = p[0];
        point->m_y = p[1];
        point->m_z = p[2];
        if (n.label >= 1 && n.label <= kMaxNumber) {
            point->m_nNumber = static_cast<std::int32_t>(n.label);
            maxValid = std::max(maxValid, n.label);
        }
        byLabel.emplace(n.label, point.get());
        newLabels.push_back(n.label);
        newPoints.push_back(std::move(point));
    }
    nextPointNumber =
        std::max<long long>(doc.m_nNextPointNumber, maxValid < kMaxNumber ? maxValid + 1 : 0);
    for (std::size_t i = 0; i < newPoints.size(); ++i) {
        if (newPoints[i]->m_nNumber != 0)
            continue;
        if (nextPointNumber > kMaxNumber)
            throw UffError(
                QStringLiteral("node %1: no corner point number is left for it").arg(newLabels[i]));
        newPoints[i]->m_nNumber = static_cast<std::int32_t>(nextPointNumber++);
        warnings.Add(QStringLiteral("label"),
                     QStringLiteral("node %1 has a label outside 1 to %2; it became corner "
                                    "point %3")
                         .arg(newLabels[i])
                         .arg(kMaxNumber)
                         .arg(newPoints[i]->m_nNumber));
    }
}

void UffSceneBuilder::Impl::Traces() {
    for (const UffContent::Trace& trace : content.traces) {
        CornerPoint* pen = nullptr;
        for (long long label : trace.nodes) {
            if (label == 0) {
                pen = nullptr;
                continue;
            }
            CornerPoint* p = Resolve(label);
            if (!p) {
                warnings.Add(QStringLiteral("trace"),
                             QStringLiteral("a trace line (line %1) passes node %2, which "
                                            "neither the file nor the scene has")
                                 .arg(trace.line)
                                 .arg(label));
                pen = nullptr;
                continue;
            }
            if (pen && pen != p)
                newLines.push_back(std::make_unique<Line>(pen, p));
            pen = p;
        }
    }
}

// Each shape's values, turned into the global system; a shape that moves no point is skipped.
void UffSceneBuilder::Impl::Shapes() {
    long long unconverted = 0;
    for (const UffContent::Shape& shape : content.shapes) {
        const bool convert = scale != 1.0 && shape.quantity != UffUnits::Unknown;
        Kept k{&shape, {}};
        std::unordered_map<CornerPoint*, std::size_t> slot;
        std::unordered_set<long long> nodes, missing;
        for (const UffContent::NodeValue& nv : shape.values) {
            nodes.insert(nv.label);
            CornerPoint* p = Resolve(nv.label);
            if (!p) {
                missing.insert(nv.label);
                continue;
            }
            auto node = nodeOf.find(nv.label);
            UffContent::Vector v =
                node == nodeOf.end()
                    ? nv.value
                    : UffFrames::Turn(frames.For(node->second->displacementSystem, nv.label),
                                      nv.value);
            if (convert)
                for (auto& c : v)
                    c *= scale;
            if (!Finite(v))
                throw UffError(QStringLiteral("%1: the value at node %2 is out of range")
                                   .arg(Where(shape))
                                   .arg(nv.label));
            auto [it, fresh] = slot.try_emplace(p, k.values.size());
            if (fresh)
                k.values.emplace_back(p, v);
            else
                k.values[it->second].second = v; // a later value for the node wins
        }
        if (!missing.empty())
            warnings.Add(QStringLiteral("missing"),
                         QStringLiteral("%1: %2 of %3 nodes have no corner point; their values "
                                        "were not imported")
                             .arg(Where(shape))
                             .arg(missing.size())
                             .arg(nodes.size()));
        bool moves = false;
        for (const auto& pv : k.values)
            for (const auto& c : pv.second)
                moves = moves || c != std::complex<double>();
        if (!moves) {
            const bool none = k.values.empty();
            skipped.Add(none ? QStringLiteral("nopoint") : QStringLiteral("still"),
                        Where(shape) + (none ? QStringLiteral(": no value for any corner point")
                                             : QStringLiteral(": all its values are zero")));
            continue;
        }
        if (scale != 1.0 && !convert)
            ++unconverted;
        rotational += shape.rotationalValues;
        kept.push_back(std::move(k));
    }
    if (rotational)
        notes.Add(QStringLiteral("rotation"),
                  QStringLiteral("%1 rotational values were not used: corner points move along "
                                 "X, Y and Z only")
                      .arg(rotational));
    if (unconverted)
        notes.Add(QStringLiteral("unconverted"),
                  QStringLiteral("the values of %1 shapes of unknown quantity were kept as they "
                                 "are")
                      .arg(unconverted));
}

// One direction per point and axis that moves in any kept shape; an existing direction along
// that axis (or against it) takes the values instead, since a point has at most one per axis.
void UffSceneBuilder::Impl::Directions() {
    for (const Kept& k : kept)
        for (const auto& [p, v] : k.values)
            for (int axis = 0; axis < 3; ++axis) {
                if (v[axis] == std::complex<double>() || targets.count({p, axis}))
                    continue;
                Target t;
                for (MeasDirection* d : p->m_directions) {
                    if (d->m_nCode == kAxisCode[axis] || d->m_nCode == kOppositeCode[axis]) {
                        t.existing = d;
                        t.sign = d->m_nCode == kAxisCode[axis] ? 1.0 : -1.0;
                        break;
                    }
                }
                if (!t.existing) {
                    t.fresh = newDirs.size();
                    auto d = std::make_unique<MeasDirection>();
                    d->m_nCode = kAxisCode[axis];
                    d->m_pPoint = p;
                    (axis == 0 ? d->m_dx : axis == 1 ? d->m_dy : d->m_dz) = 1.0;
                    newDirs.push_back(std::move(d));
                    ++newDirsPerPoint[p];
                }
                targets.emplace(std::make_pair(p, axis), t);
            }
}

// Every series has one measurement per direction: refuse an import whose measurements would
// grow far beyond its own values (sparse shapes over a large scene).
void UffSceneBuilder::Impl::CheckSize() {
    doc.ForEachPoint([this](CornerPoint* p) {
        existingDirs.insert(existingDirs.end(), p->m_directions.begin(), p->m_directions.end());
    });
    const double series = static_cast<double>(kept.size());
    const double dirs = static_cast<double>(existingDirs.size() + newDirs.size());
    const double needed = dirs * series + static_cast<double>(newDirs.size()) * doc.m_nSeries;
    double values = 0;
    for (const Kept& k : kept)
        values += 3.0 * static_cast<double>(k.values.size());
    if (needed > std::max<double>(kMeasurementAllowance, 4 * values))
        throw UffError(QStringLiteral("the import would need %1 measurements (each of the %2 "
                                      "new series needs one for every one of %3 directions), "
                                      "far more than the %4 values in the file; split the file "
                                      "or import it into a scene with fewer directions")
                           .arg(needed, 0, 'f', 0)
                           .arg(kept.size())
                           .arg(dirs, 0, 'f', 0)
                           .arg(values, 0, 'f', 0));
    if (static_cast<double>(doc.m_nNextDirectionNumber) + static_cast<double>(newDirs.size()) >
        static_cast<double>(kMaxNumber))
        throw UffError(QStringLiteral("no direction numbers are left for %1 new directions")
                           .arg(newDirs.size()));
}

// Allocates everything the document will take, values filled in, and the room in its arrays.
void UffSceneBuilder::Impl::Stage() {
    const std::size_t s0 = static_cast<std::size_t>(std::max(doc.m_nSeries, 0));
    const std::size_t sn = kept.size();
    for (auto& d : newDirs) {
        d->m_measurements.reserve(s0 + sn);
        for (std::size_t i = 0; i < s0 + sn; ++i)
            d->m_measurements.push_back(new Measurement(0.0, 0.0));
    }
    std::unordered_map<const MeasDirection*, std::size_t> existingIndex;
    stagedMeas.reserve(existingDirs.size() * sn);
    for (std::size_t i = 0; i < existingDirs.size(); ++i) {
        existingIndex.emplace(existingDirs[i], i);
        for (std::size_t k = 0; k < sn; ++k)
            stagedMeas.emplace_back(new Measurement(0.0, 0.0));
    }
    for (std::size_t k = 0; k < sn; ++k) {
        for (const auto& [p, v] : kept[k].values)
            for (int axis = 0; axis < 3; ++axis) {
                if (v[axis] == std::complex<double>())
                    continue;
                const Target& t = targets.at({p, axis});
                Measurement* m = t.existing
                                     ? stagedMeas[existingIndex.at(t.existing) * sn + k].get()
                                     : newDirs[t.fresh]->m_measurements[s0 + k];
                const std::complex<double> c = v[axis] * t.sign;
                m->m_dAmplitude = std::abs(c);
                m->m_dPhase = std::arg(c) * 180.0 / M_PI;
            }
        const UffContent::Shape& shape = *kept[k].shape;
        const QString name = shape.name.isEmpty() || shape.name == QLatin1String("NONE")
                                 ? QStringLiteral("UFF shape %1").arg(k + 1)
                                 : shape.name;
        names.push_back(name.toLatin1().toStdString());
    }

    doc.m_freePoints.reserve(doc.m_freePoints.size() + newPoints.size());
    doc.m_freeLines.reserve(doc.m_freeLines.size() + newLines.size());
    for (const auto& [p, n] : newDirsPerPoint)
        p->m_directions.reserve(p->m_directions.size() + n);
    for (MeasDirection* d : existingDirs)
        d->m_measurements.reserve(d->m_measurements.size() + sn);
    doc.m_seriesNames.reserve(s0 + sn);
    doc.m_seriesFreqUnit.reserve(s0 + sn);
    doc.m_seriesFreqFlag.reserve(s0 + sn);
    doc.m_seriesFrequency.reserve(s0 + sn);
    doc.m_seriesAmplification.reserve(s0 + sn);
    doc.m_seriesFramesPerPeriod.reserve(s0 + sn);
}

// Hands everything over; every array has its room, so nothing here allocates.
void UffSceneBuilder::Impl::Commit() noexcept {
    for (auto& p : newPoints) {
        p->m_pDoc = &doc;
        doc.m_freePoints.push_back(p.release());
    }
    for (auto& l : newLines)
        doc.m_freeLines.push_back(l.release());
    for (auto& d : newDirs) {
        d->m_nNumber = doc.m_nNextDirectionNumber++;
        d->m_pPoint->m_directions.push_back(d.get());
        d.release();
    }
    const std::size_t sn = kept.size();
    for (std::size_t i = 0; i < existingDirs.size(); ++i)
        for (std::size_t k = 0; k < sn; ++k)
            existingDirs[i]->m_measurements.push_back(stagedMeas[i * sn + k].release());
    for (std::size_t k = 0; k < sn; ++k) {
        doc.m_seriesNames.push_back(std::move(names[k]));
        doc.m_seriesFreqUnit.push_back(0);
        doc.m_seriesFreqFlag.push_back(1);
        doc.m_seriesFrequency.push_back(kept[k].shape->frequencyHz);
        doc.m_seriesFramesPerPeriod.push_back(24);
        doc.m_seriesAmplification.push_back(1.0);
    }
    doc.m_nSeries += static_cast<std::int32_t>(sn);
    doc.m_nNextPointNumber = static_cast<std::int32_t>(nextPointNumber);
}

UffSceneBuilder::UffSceneBuilder(const UffContent& content, CQuivraDoc& doc, double scale,
                                 UffReader::Summary& summary)
    : m_content(content), m_doc(doc), m_scale(scale), m_summary(summary) {}

void UffSceneBuilder::Build(const std::function<void()>& beforeChange) {
    Impl b(m_content, m_doc, m_scale);
    b.Points();
    b.Traces();
    b.Shapes();
    b.Directions();
    b.CheckSize();
    b.Stage();
    // Summaries before the change, so that nothing after it can fail.
    UffReader::Summary& s = m_summary;
    s.points = static_cast<int>(b.newPoints.size());
    s.lines = static_cast<int>(b.newLines.size());
    s.series = static_cast<int>(b.kept.size());
    s.directions = static_cast<int>(b.newDirs.size());
    s.rotationalValues = b.rotational;
    s.skipped += m_content.skipped.List() + b.skipped.List();
    s.warnings += b.warnings.List();
    s.notes += m_content.notes.List() + b.notes.List();
    if (beforeChange)
        beforeChange();
    b.Commit();
}
