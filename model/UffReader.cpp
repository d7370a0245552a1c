#include "UffReader.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "Line.h"
#include "MeasDirection.h"
#include "Measurement.h"

#include <QFile>

#include <array>
#include <cmath>
#include <complex>
#include <map>
#include <stdexcept>
#include <unordered_map>

namespace {

struct UffError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Node {
    long long label;
    double x, y, z;
};

struct Shape {
    QString name;
    double frequencyHz = 0.0;
    std::map<long long, std::array<std::complex<double>, 3>> values; // by node label
};

struct Parsed {
    std::vector<Node> nodes;
    std::vector<std::vector<long long>> traces;
    std::vector<Shape> shapes;
};

// The lines of one dataset, read by column.
class Body {
public:
    Body(int dataset, const std::vector<QByteArray>& lines, int first, int end, int lineBase)
        : m_dataset(dataset), m_lines(lines), m_pos(first), m_end(end), m_base(lineBase) {}

    bool AtEnd() const { return m_pos >= m_end; }
    const QByteArray& Next() {
        if (AtEnd())
            throw UffError(QStringLiteral("dataset %1 breaks off at line %2")
                               .arg(m_dataset)
                               .arg(m_end + m_base)
                               .toStdString());
        return m_lines[m_pos++];
    }
    int LineNumber() const { return m_pos + m_base - 1; } // of the line last taken

    [[noreturn]] void Fail(const QString& what) const {
        throw UffError(QStringLiteral("dataset %1, line %2: %3")
                           .arg(m_dataset)
                           .arg(LineNumber())
                           .arg(what)
                           .toStdString());
    }

    // Field [start, start+width) of `line`; a line shorter than that gives an empty field.
    static QByteArray Field(const QByteArray& line, int start, int width) {
        if (start >= line.size())
            return {};
        return line.mid(start, width).trimmed();
    }

    long long Int(const QByteArray& line, int start, int width, const char* what) const {
        const QByteArray f = Field(line, start, width);
        if (f.isEmpty())
            return 0;
        bool ok = false;
        const long long v = f.toLongLong(&ok);
        if (!ok)
            Fail(QStringLiteral("%1 \"%2\" is not a whole number")
                     .arg(QLatin1String(what), QString::fromLatin1(f)));
        return v;
    }

    static bool ParseReal(QByteArray f, double& v) {
        f = f.trimmed();
        if (f.isEmpty()) {
            v = 0.0;
            return true;
        }
        for (char& c : f)
            if (c == 'D' || c == 'd')
                c = 'E';
        bool ok = false;
        v = f.toDouble(&ok);
        return ok && std::isfinite(v);
    }

    // `n` reals from `line` in fields of `width` from column `start`. Files written by hand or
    // by loose writers separate values by blanks without keeping the columns; when the columns
    // do not parse but the blank-separated words do, the words are taken.
    std::vector<double> LineReals(const QByteArray& line, int start, int width, int n,
                                  const char* what) const {
        std::vector<double> v(static_cast<std::size_t>(n));
        int bad = -1;
        for (int k = 0; k < n && bad < 0; ++k)
            if (!ParseReal(Field(line, start + k * width, width), v[k]))
                bad = k;
        if (bad < 0)
            return v;
        const QList<QByteArray> words = line.mid(start).simplified().split(' ');
        if (words.size() == n) {
            bool all = true;
            for (int k = 0; k < n && all; ++k)
                all = ParseReal(words[k], v[k]);
            if (all)
                return v;
        }
        Fail(QStringLiteral("%1 \"%2\" is not a number")
                 .arg(QLatin1String(what),
                      QString::fromLatin1(Field(line, start + bad * width, width))));
    }

    // `count` reals in fields of `width`, `perLine` to a line, over as many lines as it takes.
    std::vector<double> Reals(std::size_t count, int width, int perLine, const char* what) {
        std::vector<double> v;
        v.reserve(count);
        while (v.size() < count) {
            const QByteArray& line = Next();
            const int n = static_cast<int>(std::min<std::size_t>(perLine, count - v.size()));
            for (double x : LineReals(line, 0, width, n, what))
                v.push_back(x);
        }
        return v;
    }
    std::vector<long long> Ints(std::size_t count, int width, int perLine, const char* what) {
        std::vector<long long> v;
        v.reserve(count);
        while (v.size() < count) {
            const QByteArray& line = Next();
            for (int k = 0; k < perLine && v.size() < count; ++k)
                v.push_back(Int(line, k * width, width, what));
        }
        return v;
    }

private:
    int m_dataset;
    const std::vector<QByteArray>& m_lines;
    int m_pos, m_end, m_base;
};

// "    -1": the two characters end by column 6 (a "-1" in a 10-wide data field does not count).
bool IsDelimiter(const QByteArray& line) {
    if (line.trimmed() != "-1")
        return false;
    return line.indexOf("-1") + 2 <= 6;
}

void ReadNodes2411(Body& b, Parsed& out) {
    while (!b.AtEnd()) {
        const QByteArray& r1 = b.Next();
        if (r1.trimmed().isEmpty())
            continue;
        const long long label = b.Int(r1, 0, 10, "node label");
        const std::vector<double> c = b.LineReals(b.Next(), 0, 25, 3, "coordinate");
        out.nodes.push_back({label, c[0], c[1], c[2]});
    }
}

void ReadNodes15(Body& b, Parsed& out) {
    while (!b.AtEnd()) {
        const QByteArray& r = b.Next();
        if (r.trimmed().isEmpty())
            continue;
        const long long label = b.Int(r, 0, 10, "node label");
        const std::vector<double> c = b.LineReals(r, 40, 13, 3, "coordinate");
        out.nodes.push_back({label, c[0], c[1], c[2]});
    }
}

void ReadTrace82(Body& b, Parsed& out) {
    const QByteArray& r1 = b.Next();
    const long long count = b.Int(r1, 10, 10, "node count");
    if (count < 0 || count > 1000000)
        b.Fail(QStringLiteral("trace line node count %1 is out of range").arg(count));
    b.Next(); // identification
    out.traces.push_back(b.Ints(static_cast<std::size_t>(count), 10, 8, "trace node"));
}

void ReadData55(Body& b, Parsed& out, int datasetLine, QStringList& skipped) {
    Shape shape;
    shape.name = QString::fromLatin1(b.Next().trimmed());
    for (int i = 0; i < 4; ++i)
        b.Next();
    const QByteArray& r6 = b.Next();
    const long long analysis = b.Int(r6, 10, 10, "analysis type");
    const long long characteristic = b.Int(r6, 20, 10, "data characteristic");
    const long long dataType = b.Int(r6, 40, 10, "data type");
    const long long ndv = b.Int(r6, 50, 10, "values per node");
    const QByteArray& r7 = b.Next();
    const long long nInt = b.Int(r7, 0, 10, "integer count");
    const long long nReal = b.Int(r7, 10, 10, "real count");
    if (nInt < 0 || nInt > 100 || nReal < 0 || nReal > 100)
        b.Fail(QStringLiteral("parameter counts %1 and %2 are out of range").arg(nInt).arg(nReal));
    // The integer parameters follow on record 7, 8 to a line in all.
    for (long long seen = 6; seen < nInt; seen += 8)
        b.Next();
    const std::vector<double> reals = b.Reals(static_cast<std::size_t>(nReal), 13, 6, "parameter");
    if (!reals.empty())
        shape.frequencyHz =
            analysis == 3 && reals.size() >= 2 ? std::fabs(reals[1]) / (2 * M_PI) : reals[0];
    const bool complex = dataType == 5 || dataType == 6;
    const bool real = dataType == 2 || dataType == 4;
    if ((characteristic != 2 && characteristic != 3) || (!complex && !real) || ndv < 3 || ndv > 6) {
        skipped.append(QStringLiteral("dataset 55 \"%1\" (line %2): not a 3-D translation")
                           .arg(shape.name)
                           .arg(datasetLine));
        while (!b.AtEnd())
            b.Next();
        return;
    }
    const std::size_t perNode = static_cast<std::size_t>(ndv) * (complex ? 2 : 1);
    while (!b.AtEnd()) {
        const QByteArray& r9 = b.Next();
        if (r9.trimmed().isEmpty())
            continue;
        const long long node = b.Int(r9, 0, 10, "node number");
        const std::vector<double> v = b.Reals(perNode, 13, 6, "value");
        std::array<std::complex<double>, 3> c;
        for (int axis = 0; axis < 3; ++axis)
            c[axis] = complex ? std::complex<double>(v[2 * axis], v[2 * axis + 1])
                              : std::complex<double>(v[axis], 0.0);
        shape.values[node] = c;
    }
    out.shapes.push_back(std::move(shape));
}

Parsed Parse(const QByteArray& data, QStringList& skipped) {
    std::vector<QByteArray> lines;
    for (QByteArray line : data.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        lines.push_back(line);
    }
    if (!lines.empty() && lines.back().isEmpty())
        lines.pop_back();

    Parsed out;
    const int n = static_cast<int>(lines.size());
    int i = 0;
    bool sawDataset = false;
    while (i < n) {
        if (lines[i].trimmed().isEmpty()) {
            ++i;
            continue;
        }
        if (!IsDelimiter(lines[i]))
            throw UffError(QStringLiteral("line %1: expected \"    -1\" before a dataset")
                               .arg(i + 1)
                               .toStdString());
        ++i;
        while (i < n && lines[i].trimmed().isEmpty())
            ++i;
        if (i >= n)
            break; // a trailing delimiter
        const int headerLine = i + 1;
        bool ok = false;
        const int dataset = lines[i].left(6).trimmed().toInt(&ok);
        if (!ok)
            throw UffError(QStringLiteral("line %1: \"%2\" is not a dataset number")
                               .arg(headerLine)
                               .arg(QString::fromLatin1(lines[i].left(20)))
                               .toStdString());
        sawDataset = true;
        const int first = ++i;
        while (i < n && !IsDelimiter(lines[i]))
            ++i;
        Body body(dataset, lines, first, i, 1);
        switch (dataset) {
        case 15:
            ReadNodes15(body, out);
            break;
        case 2411:
            ReadNodes2411(body, out);
            break;
        case 82:
            ReadTrace82(body, out);
            break;
        case 55:
            ReadData55(body, out, headerLine, skipped);
            break;
        case 151:
        case 164:
            break; // header and units: nothing the scene keeps
        default:
            skipped.append(QStringLiteral("dataset %1 (line %2)").arg(dataset).arg(headerLine));
        }
        if (i < n)
            ++i; // the closing delimiter; a missing one at the end of the file is tolerated
    }
    if (!sawDataset)
        throw UffError("no dataset found");
    return out;
}

} // namespace

bool UffReader::Import(const QByteArray& data, CQuivraDoc& doc, Summary* summary, QString* error,
                       const std::function<void()>& beforeChange) {
    Summary s;
    Parsed parsed;
    try {
        parsed = Parse(data, s.skipped);
    } catch (const UffError& e) {
        if (error)
            *error = QString::fromStdString(e.what());
        return false;
    } catch (const std::bad_alloc&) {
        if (error)
            *error = QStringLiteral("not enough memory");
        return false;
    }

    // Everything is read: now change the document.
    if (beforeChange)
        beforeChange();
    std::unordered_map<long long, CornerPoint*> byLabel;
    long long maxLabel = 0;
    for (const Node& n : parsed.nodes) {
        if (byLabel.count(n.label)) {
            s.warnings.append(
                QStringLiteral("node %1 is defined twice; the first one is used").arg(n.label));
            continue;
        }
        auto* p = new CornerPoint;
        p->m_pDoc = &doc;
        p->m_nNumber = static_cast<std::int32_t>(n.label);
        p->m_x = n.x;
        p->m_y = n.y;
        p->m_z = n.z;
        doc.m_freePoints.push_back(p);
        byLabel.emplace(n.label, p);
        maxLabel = std::max(maxLabel, n.label);
        ++s.points;
    }
    if (maxLabel >= doc.m_nNextPointNumber && maxLabel < 0x7FFFFFFF)
        doc.m_nNextPointNumber = static_cast<std::int32_t>(maxLabel + 1);

    for (const auto& trace : parsed.traces) {
        CornerPoint* pen = nullptr;
        for (long long label : trace) {
            if (label == 0) {
                pen = nullptr;
                continue;
            }
            auto it = byLabel.find(label);
            if (it == byLabel.end()) {
                s.warnings.append(QStringLiteral("a trace line passes node %1, which the file does "
                                                 "not define")
                                      .arg(label));
                pen = nullptr;
                continue;
            }
            if (pen && pen != it->second) {
                doc.m_freeLines.push_back(new Line(pen, it->second));
                ++s.lines;
            }
            pen = it->second;
        }
    }

    // One direction per node and axis that moves in any shape, then one series per shape.
    static const std::uint16_t axisCode[3] = {DirPlusX, DirPlusY, DirPlusZ};
    std::map<std::pair<long long, int>, MeasDirection*> dirs;
    for (const Shape& shape : parsed.shapes) {
        for (const auto& [label, c] : shape.values) {
            auto it = byLabel.find(label);
            if (it == byLabel.end())
                continue;
            for (int axis = 0; axis < 3; ++axis) {
                if (c[axis] == std::complex<double>() || dirs.count({label, axis}))
                    continue;
                auto* d = new MeasDirection(axisCode[axis], it->second);
                it->second->m_directions.push_back(d);
                dirs.emplace(std::make_pair(label, axis), d);
                ++s.directions;
            }
        }
    }
    for (const Shape& shape : parsed.shapes) {
        doc.AddSeries();
        const int k = doc.m_nSeries - 1;
        doc.m_seriesNames[k] = (shape.name.isEmpty() || shape.name == QLatin1String("NONE")
                                    ? QStringLiteral("UFF shape %1").arg(s.series + 1)
                                    : shape.name)
                                   .toLatin1()
                                   .toStdString();
        doc.m_seriesFrequency[k] = shape.frequencyHz;
        for (const auto& [key, d] : dirs) {
            auto v = shape.values.find(key.first);
            if (v == shape.values.end())
                continue;
            const std::complex<double> c = v->second[key.second];
            d->m_measurements[k]->m_dAmplitude = std::abs(c);
            d->m_measurements[k]->m_dPhase = std::arg(c) * 180.0 / M_PI;
        }
        ++s.series;
    }
    if (summary)
        *summary = s;
    return true;
}

bool UffReader::ImportFile(const QString& path, CQuivraDoc& doc, Summary* summary, QString* error,
                           const std::function<void()>& beforeChange) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open \"%1\": %2").arg(path, f.errorString());
        return false;
    }
    QString why;
    if (!Import(f.readAll(), doc, summary, &why, beforeChange)) {
        if (error)
            *error = QStringLiteral("\"%1\" cannot be imported: %2").arg(path, why);
        return false;
    }
    return true;
}
