#pragma once

#include "UffContent.h"

#include <unordered_map>

// The coordinate systems of a Universal File (datasets 18 and 2420), each resolved to the
// global system: a point's global position is origin + x * axis[0] + y * axis[1] + z * axis[2],
// and a value given in the system turns the same way. Only Cartesian systems can be applied; a
// system that cannot (cylindrical, spherical, undefined, degenerate) is refused when a node
// uses it, with the node and the system named.
class UffFrames {
public:
    struct Frame {
        std::array<std::array<double, 3>, 3> axes{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
        std::array<double, 3> origin{};
    };

    explicit UffFrames(const std::vector<UffContent::System>& systems);

    // The frame of system `label`, used by node `node`; throws UffError when it cannot be used.
    // Systems 0 and 1 are the global system unless the file defines them.
    const Frame& For(long long label, long long node) const;

    static std::array<double, 3> Position(const Frame& f, const std::array<double, 3>& local);
    static UffContent::Vector Turn(const Frame& f, const UffContent::Vector& local);

private:
    struct Entry {
        const UffContent::System* system = nullptr;
        Frame frame;
        QString fault; // why the system cannot be used; empty when it can
        int state = 0; // 0 not resolved, 1 resolving, 2 resolved
    };
    Entry& Resolve(long long label) const;
    void Derive(Entry& e) const;

    mutable std::unordered_map<long long, Entry> m_entries;
    Frame m_global;
};
