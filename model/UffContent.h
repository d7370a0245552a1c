#pragma once

#include "UffUnits.h"

#include <QString>
#include <QStringList>

#include <array>
#include <complex>
#include <map>
#include <stdexcept>
#include <vector>

// A refusal while reading a Universal File; the text names the dataset and line.
struct UffError : std::runtime_error {
    explicit UffError(const QString& what) : std::runtime_error(what.toStdString()) {}
    QString Text() const { return QString::fromStdString(what()); }
};

// Remarks of one kind, counted: the first one in full, then how many more followed, so that a
// file with thousands of alike datasets gives a summary of a few lines.
class UffRemarks {
public:
    void Add(const QString& kind, const QString& text) {
        auto [it, fresh] = m_byKind.try_emplace(kind, Entry{text, 0});
        if (fresh)
            m_order.push_back(kind);
        else
            ++it->second.more;
    }
    QStringList List() const {
        QStringList out;
        for (const QString& kind : m_order) {
            const Entry& e = m_byKind.at(kind);
            out.append(e.more ? QStringLiteral("%1 (and %2 more like it)").arg(e.text).arg(e.more)
                              : e.text);
        }
        return out;
    }

private:
    struct Entry {
        QString text;
        long long more;
    };
    std::map<QString, Entry> m_byKind;
    std::vector<QString> m_order;
};

// What a Universal File holds, as read: nodes and values in the coordinate systems the file
// names, lengths in the file's unit.
struct UffContent {
    struct Node {
        long long label;
        std::array<double, 3> xyz;
        long long definitionSystem, displacementSystem;
        qint64 line;
    };
    // A coordinate system of dataset 18 (origin, a point on +X and one in the XZ plane, given
    // in a reference system) or 2420 (rows 1-3 the axes, row 4 the origin, in global terms).
    struct System {
        long long label;
        long long type; // 0 Cartesian, 1 cylindrical, 2 spherical
        int dataset;
        qint64 line;
        long long reference = 0; // 18 only
        std::array<std::array<double, 3>, 4> rows{};
    };
    struct Trace {
        std::vector<long long> nodes; // 0 lifts the pen
        qint64 line;
    };
    using Vector = std::array<std::complex<double>, 3>;
    struct NodeValue {
        long long label;
        Vector value;
    };
    struct Shape {
        QString name;
        int dataset;
        qint64 line;
        double frequencyHz = 0.0;
        UffUnits::Quantity quantity = UffUnits::Unknown;
        long long rotationalValues = 0;
        std::vector<NodeValue> values; // in file order; a later value for a node wins
    };

    std::vector<Node> nodes;
    std::vector<System> systems;
    std::vector<Trace> traces;
    std::vector<Shape> shapes;
    double lengthPerMetre = 0.0; // dataset 164's length factor; 0 when the file has none
    UffRemarks skipped;          // datasets or parts of them not used, and why
    UffRemarks notes;            // what was used in a way the user should know
};
