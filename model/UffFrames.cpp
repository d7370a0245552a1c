#include "UffFrames.h"

#include <cmath>

namespace {

using V3 = std::array<double, 3>;

V3 Sub(const V3& a, const V3& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
double Dot(const V3& a, const V3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
V3 Cross(const V3& a, const V3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
V3 Scale(const V3& a, double s) {
    return {a[0] * s, a[1] * s, a[2] * s};
}

QString Where(const UffContent::System& s) {
    return QStringLiteral("coordinate system %1 (dataset %2, line %3)")
        .arg(s.label)
        .arg(s.dataset)
        .arg(s.line);
}

bool SameSystem(const UffContent::System& a, const UffContent::System& b) {
    return a.type == b.type && a.reference == b.reference && a.rows == b.rows;
}

} // namespace

UffFrames::UffFrames(const std::vector<UffContent::System>& systems) {
    for (const UffContent::System& s : systems) {
        auto [it, fresh] = m_entries.try_emplace(s.label);
        Entry& e = it->second;
        if (fresh) {
            e.system = &s;
        } else if (!SameSystem(*e.system, s) && e.fault.isEmpty()) {
            e.fault = QStringLiteral("%1, which line %2 defines differently again")
                          .arg(Where(*e.system))
                          .arg(s.line);
            e.state = 2;
        }
    }
}

const UffFrames::Frame& UffFrames::For(long long label, long long node) const {
    if (m_entries.find(label) == m_entries.end() && (label == 0 || label == 1))
        return m_global;
    const Entry& e = Resolve(label);
    if (!e.fault.isEmpty())
        throw UffError(QStringLiteral("node %1 uses %2").arg(node).arg(e.fault));
    return e.frame;
}

UffFrames::Entry& UffFrames::Resolve(long long label) const {
    Entry& e = m_entries[label];
    if (e.state == 2)
        return e;
    if (!e.system) {
        e.fault = QStringLiteral("coordinate system %1, which the file does not define").arg(label);
    } else if (e.state == 1) {
        e.fault = QStringLiteral("%1, which is its own reference").arg(Where(*e.system));
    } else if (e.system->type != 0) {
        e.fault = QStringLiteral("%1, which is %2; only Cartesian systems can be imported")
                      .arg(Where(*e.system))
                      .arg(e.system->type == 1 ? QStringLiteral("cylindrical")
                           : e.system->type == 2
                               ? QStringLiteral("spherical")
                               : QStringLiteral("of unknown type %1").arg(e.system->type));
    } else {
        e.state = 1;
        Derive(e);
    }
    e.state = 2;
    return e;
}

// Dataset 2420 gives the axes and origin; dataset 18 three points in a reference system.
void UffFrames::Derive(Entry& e) const {
    const UffContent::System& s = *e.system;
    if (s.dataset == 2420) {
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                if (std::fabs(Dot(s.rows[i], s.rows[j]) - (i == j ? 1.0 : 0.0)) > 1e-4) {
                    e.fault = QStringLiteral("%1, whose matrix is not a rotation").arg(Where(s));
                    return;
                }
        e.frame.axes = {s.rows[0], s.rows[1], s.rows[2]};
        e.frame.origin = s.rows[3];
        return;
    }
    const Frame* ref = &m_global;
    if (m_entries.count(s.reference) || (s.reference != 0 && s.reference != 1)) {
        const Entry& r = Resolve(s.reference);
        if (!r.fault.isEmpty()) {
            e.fault = QStringLiteral("%1, whose reference is %2").arg(Where(s), r.fault);
            return;
        }
        ref = &r.frame;
    }
    const V3 o = Position(*ref, s.rows[0]);
    const V3 x = Sub(Position(*ref, s.rows[1]), o);
    const V3 xz = Sub(Position(*ref, s.rows[2]), o);
    const double lx = std::sqrt(Dot(x, x));
    const V3 ax = lx > 0 ? Scale(x, 1.0 / lx) : V3{};
    const V3 z = Sub(xz, Scale(ax, Dot(xz, ax)));
    const double lz = std::sqrt(Dot(z, z));
    if (!(lx > 0) || !(lz > 1e-9 * std::max(lx, std::sqrt(Dot(xz, xz))))) {
        e.fault = QStringLiteral("%1, whose three points do not span a system").arg(Where(s));
        return;
    }
    const V3 az = Scale(z, 1.0 / lz);
    e.frame.axes = {ax, Cross(az, ax), az};
    e.frame.origin = o;
}

std::array<double, 3> UffFrames::Position(const Frame& f, const std::array<double, 3>& local) {
    V3 p = f.origin;
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k)
            p[k] += local[i] * f.axes[i][k];
    return p;
}

UffContent::Vector UffFrames::Turn(const Frame& f, const UffContent::Vector& local) {
    UffContent::Vector v{};
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k)
            v[k] += local[i] * f.axes[i][k];
    return v;
}
