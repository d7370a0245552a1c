#include "UffWriter.h"

#include "AtomicFile.h"
#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "Line.h"
#include "MeasDirection.h"
#include "Measurement.h"
#include "NumberText.h"
#include "SceneObject.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

#include <array>
#include <cmath>
#include <complex>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

namespace {

const char* const kDelimiter = "    -1\n";
constexpr int kMaxTraceNodes = 250; // what older readers accept per trace line

void Text(QByteArray& out, const QString& s) {
    out += s.toLatin1().left(80).replace('\n', ' ').replace('\r', ' ');
    out += '\n';
}

void Int10(QByteArray& out, long long v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%10lld", v);
    out += buf;
}

// Values this large would need a three-digit exponent, which the columns do not hold; the
// export refuses them (and anything not finite) before writing.
constexpr double kTooLarge = 1e100;

bool Writable(double v) {
    return std::isfinite(v) && std::fabs(v) < kTooLarge;
}

// 1P D25.16: double precision with a D exponent (17 digits: reads back exactly).
void D25(QByteArray& out, double v) {
    if (std::fabs(v) < 1e-99)
        v = 0.0;
    char buf[40];
    // The program runs under the user's locale; the format wants a point.
    numtext::SnprintfC(buf, sizeof buf, "%25.16E", v);
    for (char* c = buf; *c; ++c)
        if (*c == 'E')
            *c = 'D';
    out += buf;
}

// 1P E13.5; exponents kept to two digits so that the columns hold.
void E13(QByteArray& out, double v) {
    if (std::fabs(v) < 1e-99)
        v = 0.0;
    char buf[32];
    numtext::SnprintfC(buf, sizeof buf, "%13.5E", v);
    out += buf;
}

void Begin(QByteArray& out, int dataset) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%6d\n", dataset);
    out += kDelimiter;
    out += buf;
}

void WriteHeader(QByteArray& out, const QString& modelName, UffUnits::Length unit) {
    const QDateTime now = QDateTime::currentDateTime();
    const QByteArray stamp =
        QLocale::c().toString(now, QStringLiteral("dd-MMM-yy")).toUpper().toLatin1() +
        QByteArray(1, ' ') + now.toString(QStringLiteral("HH:mm:ss")).toLatin1();
    Begin(out, 151);
    Text(out, modelName.isEmpty() ? QStringLiteral("Quivra model") : modelName);
    Text(out, QStringLiteral("Operating deflection shapes"));
    Text(out, QStringLiteral("Quivra"));
    for (int i = 0; i < 2; ++i) {
        out += stamp.leftJustified(20, ' ');
        Int10(out, 0);
        Int10(out, 0);
        Int10(out, 0);
        out += '\n';
    }
    Text(out, QStringLiteral("Quivra"));
    out += stamp + '\n';
    out += kDelimiter;

    double force = 1.0, temperature = 1.0, offset = 0.0;
    UffUnits::OtherFactors(unit, &force, &temperature, &offset);
    Begin(out, 164);
    Int10(out, UffUnits::UnitsCode(unit));
    out += QByteArray(UffUnits::UnitsDescription(unit)).leftJustified(20, ' ');
    Int10(out, 2);
    out += '\n';
    D25(out, UffUnits::LengthFactor(unit));
    D25(out, force);
    D25(out, temperature);
    out += '\n';
    D25(out, offset);
    out += '\n';
    out += kDelimiter;
}

// A point's motion in series k: the sum over its directions of amplitude * e^(i phase) * the
// direction's unit vector.
std::array<std::complex<double>, 3> Motion(const CornerPoint* p, int k) {
    const double degree = 3.14159265358979323846 / 180.0;
    std::array<std::complex<double>, 3> c{};
    for (const MeasDirection* d : p->m_directions) {
        if (static_cast<std::size_t>(k) >= d->m_measurements.size())
            continue;
        const Measurement* m = d->m_measurements[k];
        const std::complex<double> z = std::polar(m->m_dAmplitude, m->m_dPhase * degree);
        c[0] += z * d->m_dx;
        c[1] += z * d->m_dy;
        c[2] += z * d->m_dz;
    }
    return c;
}

QString SeriesName(const CQuivraDoc& doc, int k) {
    const std::string& raw = doc.m_seriesNames[k];
    return QString::fromLatin1(raw.data(), static_cast<qsizetype>(raw.size()));
}

double SeriesHz(const CQuivraDoc& doc, int k) {
    return doc.m_seriesFreqUnit[k] == 1 ? doc.m_seriesFrequency[k] / 60.0
                                        : doc.m_seriesFrequency[k];
}

// Writing 0 or a clamped number for an impossible value would hand a wrong value on without a
// word: the export names the first one instead.
QString Unwritable(const CQuivraDoc& doc, const std::vector<CornerPoint*>& points) {
    const QString why = QStringLiteral("is not a finite number below 1e100");
    for (const CornerPoint* p : points)
        if (!Writable(p->m_x) || !Writable(p->m_y) || !Writable(p->m_z))
            return QStringLiteral("a coordinate of corner point %1 %2").arg(p->m_nNumber).arg(why);
    for (int k = 0; k < doc.m_nSeries; ++k) {
        if (!Writable(SeriesHz(doc, k)))
            return QStringLiteral("the frequency of series \"%1\" %2").arg(SeriesName(doc, k), why);
        for (const CornerPoint* p : points)
            for (const auto& c : Motion(p, k))
                if (!Writable(c.real()) || !Writable(c.imag()))
                    return QStringLiteral("the value of series \"%1\" at corner point %2 %3")
                        .arg(SeriesName(doc, k))
                        .arg(p->m_nNumber)
                        .arg(why);
    }
    return QString();
}

} // namespace

bool UffWriter::Export(const CQuivraDoc& doc, const QString& modelName, const Options& options,
                       QByteArray* result, QStringList* notes, QString* error) {
    const std::vector<CornerPoint*> points = doc.AllPoints();
    const QString bad = Unwritable(doc, points);
    if (!bad.isEmpty()) {
        if (error)
            *error = bad + QStringLiteral("; correct it before exporting");
        return false;
    }
    QByteArray out;
    WriteHeader(out, modelName, options.length);

    // Node labels are the point numbers; repeated numbers get fresh labels past the largest.
    std::unordered_map<const CornerPoint*, long long> label;
    std::unordered_set<long long> used;
    long long maxLabel = 0;
    for (const CornerPoint* p : points)
        maxLabel = std::max<long long>(maxLabel, p->m_nNumber);
    int relabelled = 0;
    for (const CornerPoint* p : points) {
        long long l = p->m_nNumber;
        if (l <= 0 || !used.insert(l).second) {
            l = ++maxLabel;
            used.insert(l);
            ++relabelled;
        }
        label.emplace(p, l);
    }
    if (relabelled && notes)
        notes->append(QStringLiteral("%1 corner points with repeated or missing numbers were given "
                                     "new node labels from %2 on.")
                          .arg(relabelled)
                          .arg(maxLabel - relabelled + 1));

    if (!points.empty()) {
        Begin(out, 2411);
        for (const CornerPoint* p : points) {
            Int10(out, label[p]);
            Int10(out, 1);
            Int10(out, 1);
            Int10(out, 11);
            out += '\n';
            D25(out, p->m_x);
            D25(out, p->m_y);
            D25(out, p->m_z);
            out += '\n';
        }
        out += kDelimiter;
    }

    // Trace lines: free lines, each object's lines and shown centre lines, as pen-up separated
    // pairs, at most kMaxTraceNodes nodes per trace line.
    std::vector<std::pair<QString, std::vector<const Line*>>> groups;
    groups.push_back({QStringLiteral("Lines"), {doc.m_freeLines.begin(), doc.m_freeLines.end()}});
    for (std::size_t i = 0; i < doc.m_objects.size(); ++i) {
        const SceneObject* o = doc.m_objects[i];
        std::vector<const Line*> lines(o->m_lines.begin(), o->m_lines.end());
        if (o->m_bHasCentreLine && o->m_pCentreLine)
            lines.push_back(o->m_pCentreLine);
        const QString kind = o->GetType() == SceneObject::TypeCylinder ? QStringLiteral("Cylinder")
                                                                       : QStringLiteral("Box");
        groups.push_back({QStringLiteral("%1 %2").arg(kind).arg(i + 1), std::move(lines)});
    }
    int traceNumber = 0;
    for (const auto& group : groups) {
        std::vector<long long> nodes;
        auto flush = [&]() {
            if (nodes.empty())
                return;
            Begin(out, 82);
            Int10(out, ++traceNumber);
            Int10(out, static_cast<long long>(nodes.size()));
            Int10(out, 0);
            out += '\n';
            Text(out, group.first);
            for (std::size_t k = 0; k < nodes.size(); ++k) {
                Int10(out, nodes[k]);
                if (k % 8 == 7 || k + 1 == nodes.size())
                    out += '\n';
            }
            out += kDelimiter;
            nodes.clear();
        };
        for (const Line* l : group.second) {
            auto a = label.find(l->m_pPointA);
            auto b = label.find(l->m_pPointB);
            if (a == label.end() || b == label.end())
                continue;
            if (nodes.size() + 3 > static_cast<std::size_t>(kMaxTraceNodes))
                flush();
            if (!nodes.empty())
                nodes.push_back(0); // pen up
            nodes.push_back(a->second);
            nodes.push_back(b->second);
        }
        flush();
    }

    for (int k = 0; k < doc.m_nSeries; ++k) {
        const QString name = SeriesName(doc, k);
        const double hz = SeriesHz(doc, k);
        Begin(out, 55);
        Text(out, name.isEmpty() ? QStringLiteral("NONE") : name);
        Text(out, QStringLiteral("Operating deflection shape"));
        Text(out, QStringLiteral("Frequency %1 Hz").arg(hz, 0, 'g', 10));
        Text(out, QStringLiteral("NONE"));
        Text(out, QStringLiteral("NONE"));
        // structural model, frequency response, 3-DOF translation, the quantity, complex, 3
        for (int v : {1, 5, 2, UffUnits::DataTypeCode(options.quantity), 5, 3})
            Int10(out, v);
        out += '\n';
        for (int v : {2, 1, 1, k + 1})
            Int10(out, v);
        out += '\n';
        E13(out, hz);
        out += '\n';
        for (const CornerPoint* p : points) {
            Int10(out, label[p]);
            out += '\n';
            for (const auto& v : Motion(p, k)) {
                E13(out, v.real());
                E13(out, v.imag());
            }
            out += '\n';
        }
        out += kDelimiter;
    }
    *result = std::move(out);
    return true;
}

bool UffWriter::Save(const CQuivraDoc& doc, const QString& path, const Options& options,
                     QStringList* notes, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("Cannot write \"%1\": %2").arg(path, why);
        return false;
    };
    QByteArray data;
    QString why;
    if (!Export(doc, QFileInfo(path).completeBaseName(), options, &data, notes, &why))
        return fail(why);
    if (!AtomicFile::Write(path, data.constData(), data.size(), &why))
        return fail(why);
    return true;
}
