#include "UffParser.h"

#include "UffLineReader.h"

#include <QIODevice>

#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;

// "    -1": the two characters end by column 6 (a "-1" in a 10-wide data field does not count).
bool IsDelimiter(const QByteArray& line) {
    if (line.trimmed() != "-1")
        return false;
    return line.indexOf("-1") + 2 <= 6;
}

bool IsBlank(const QByteArray& line) {
    return line.trimmed().isEmpty();
}

bool ParseInt(const QByteArray& f, long long& v) {
    bool ok = false;
    v = f.trimmed().toLongLong(&ok);
    return ok;
}

// Fortran reals: D exponents too; only finite values.
bool ParseReal(QByteArray f, double& v) {
    f = f.trimmed();
    for (char& c : f)
        if (c == 'D' || c == 'd')
            c = 'E';
    bool ok = false;
    v = f.toDouble(&ok);
    return ok && std::isfinite(v);
}

QList<QByteArray> Words(const QByteArray& line) {
    const QByteArray s = line.simplified();
    return s.isEmpty() ? QList<QByteArray>() : s.split(' ');
}

// `n` fields of `width` from column `start`. The columns are taken only where they fit the
// line: no number may run across a field boundary (a digit or point on both sides of it, unless
// the field after it is filled to its last column, as a 10-digit label fills an I10 field), and
// with `wholeLine` nothing but blanks may follow the last field.
bool SplitColumns(const QByteArray& line, int start, int width, int n, bool wholeLine,
                  QList<QByteArray>& out) {
    out.clear();
    auto numeric = [](char c) { return (c >= '0' && c <= '9') || c == '.'; };
    for (int k = 0; k <= n; ++k) {
        const qsizetype b = start + static_cast<qsizetype>(k) * width;
        const QByteArray field = b < line.size() ? line.mid(b, width) : QByteArray();
        const bool full = k < n && field.size() == width && !field.contains(' ');
        if (b > 0 && b < line.size() && numeric(line[b - 1]) && numeric(line[b]) && !full)
            return false;
        if (k < n)
            out.append(field.trimmed());
    }
    const qsizetype end = start + static_cast<qsizetype>(n) * width;
    return !wholeLine || end >= line.size() || IsBlank(line.mid(end));
}

// The records of one dataset, taken line by line up to its closing delimiter.
class Body {
public:
    Body(UffLineReader& in, const QByteArray& name, qint64 headerLine)
        : m_in(in), m_name(name), m_header(headerLine) {}

    // True when the next line closes the dataset. The file may not end before that line.
    bool AtEnd() {
        Peek();
        return IsDelimiter(m_in.Line());
    }
    // The next record; refuses the closing delimiter and lines too long to be records.
    QByteArray Next() {
        if (AtEnd())
            throw UffError(QStringLiteral("dataset %1 (line %2) breaks off at line %3: \"    -1\" "
                                          "comes before the end of its records")
                               .arg(Name())
                               .arg(m_header)
                               .arg(m_in.LineNumber()));
        m_bPending = false;
        if (m_in.LineTooLong())
            Fail(QStringLiteral("the line is longer than %1 characters")
                     .arg(UffLineReader::kMaxLine));
        return m_in.Line();
    }
    // Whatever is left up to the delimiter.
    void SkipRest() {
        while (!AtEnd())
            m_bPending = false;
    }
    // After binary data: blank lines, then the delimiter.
    void CloseAfterBinary(qint64 bytes) {
        while (!AtEnd()) {
            if (!IsBlank(m_in.Line()))
                Fail(QStringLiteral("expected \"    -1\" after the %1 bytes of binary data")
                         .arg(bytes));
            m_bPending = false;
        }
    }
    UffLineReader& Reader() { return m_in; }
    QString Name() const { return QString::fromLatin1(m_name); }
    qint64 HeaderLine() const { return m_header; }
    qint64 LineNumber() const { return m_in.LineNumber(); }

    [[noreturn]] void Fail(const QString& what) const {
        throw UffError(
            QStringLiteral("dataset %1, line %2: %3").arg(Name()).arg(LineNumber()).arg(what));
    }

    // One record line: `nInt` I10 fields from column 0, then `nReal` reals of `realWidth`. By
    // column where the columns fit, else by words. Reals are required, and so are the first
    // `needInts` integers; later integers read 0 when missing.
    void Record(const QByteArray& line, int nInt, int needInts, int nReal, int realWidth,
                const char* what, std::vector<long long>* ints, std::vector<double>* reals) const {
        if (!ByColumns(line, nInt, needInts, nReal, realWidth, ints, reals) &&
            !ByWords(line, nInt, needInts, nReal, ints, reals))
            Fail(QStringLiteral("cannot read %1 from \"%2\"")
                     .arg(QLatin1String(what), QString::fromLatin1(line.trimmed().left(80))));
    }
    std::vector<long long> Ints(const QByteArray& line, int n, int need, const char* what) const {
        std::vector<long long> v;
        Record(line, n, need, 0, 0, what, &v, nullptr);
        return v;
    }
    std::vector<double> Reals(const QByteArray& line, int n, int width, const char* what) const {
        std::vector<double> v;
        Record(line, 0, 0, n, width, what, nullptr, &v);
        return v;
    }

    // A record of one integer (a node label): the whole line, else its first I10 field, so that
    // a label wider than its 10 columns is read whole.
    long long Label(const QByteArray& line, const char* what) const {
        long long v = 0;
        if (ParseInt(line, v))
            return v;
        QList<QByteArray> f;
        if (SplitColumns(line, 0, 10, 1, false, f) && ParseInt(f[0], v))
            return v;
        Fail(QStringLiteral("%1 \"%2\" is not a whole number")
                 .arg(QLatin1String(what), QString::fromLatin1(line.trimmed().left(80))));
    }

    // `count` reals, `perLine` fields of `width` to a line, over as many lines as it takes. A
    // line read by words may hold fewer, never more than are still due.
    std::vector<double> RealsOver(std::size_t count, int width, int perLine, const char* what) {
        std::vector<double> v;
        v.reserve(std::min<std::size_t>(count, 64));
        QList<QByteArray> f;
        while (v.size() < count) {
            const QByteArray line = Next();
            const std::size_t due = count - v.size();
            const int want = static_cast<int>(std::min<std::size_t>(perLine, due));
            bool ok = SplitColumns(line, 0, width, want, true, f);
            std::vector<double> got(static_cast<std::size_t>(want));
            for (int k = 0; ok && k < want; ++k)
                ok = ParseReal(f[k], got[k]);
            if (!ok) {
                const QList<QByteArray> w = Words(line);
                ok = !w.isEmpty() && static_cast<std::size_t>(w.size()) <= due;
                got.assign(static_cast<std::size_t>(w.size()), 0.0);
                for (qsizetype k = 0; ok && k < w.size(); ++k)
                    ok = ParseReal(w[k], got[k]);
            }
            if (!ok)
                Fail(QStringLiteral("cannot read %1 %2 from \"%3\"")
                         .arg(due)
                         .arg(QLatin1String(what), QString::fromLatin1(line.trimmed().left(80))));
            v.insert(v.end(), got.begin(), got.end());
        }
        return v;
    }
    // `count` integers, 8 I10 fields to a line; fields past `count` on the last line (some
    // writers fill it with zeros) are not read.
    std::vector<long long> IntsOver(std::size_t count, const char* what) {
        std::vector<long long> v;
        v.reserve(std::min<std::size_t>(count, 64));
        QList<QByteArray> f;
        while (v.size() < count) {
            const QByteArray line = Next();
            const std::size_t due = count - v.size();
            const int want = static_cast<int>(std::min<std::size_t>(8, due));
            bool ok = SplitColumns(line, 0, 10, want, false, f);
            std::vector<long long> got(static_cast<std::size_t>(want));
            for (int k = 0; ok && k < want; ++k)
                ok = ParseInt(f[k], got[k]);
            if (!ok) {
                const QList<QByteArray> w = Words(line);
                const qsizetype n = std::min<qsizetype>(w.size(), static_cast<qsizetype>(due));
                ok = n > 0;
                got.assign(static_cast<std::size_t>(n), 0);
                for (qsizetype k = 0; ok && k < n; ++k)
                    ok = ParseInt(w[k], got[k]);
            }
            if (!ok)
                Fail(QStringLiteral("cannot read %1 from \"%2\"")
                         .arg(QLatin1String(what), QString::fromLatin1(line.trimmed().left(80))));
            v.insert(v.end(), got.begin(), got.end());
        }
        return v;
    }

private:
    void Peek() {
        if (m_bPending)
            return;
        if (!m_in.Next())
            throw UffError(QStringLiteral("dataset %1 (line %2) breaks off after line %3: the file "
                                          "ends before its closing \"    -1\"")
                               .arg(Name())
                               .arg(m_header)
                               .arg(m_in.LineNumber()));
        m_bPending = true;
    }

    static bool ByColumns(const QByteArray& line, int nInt, int needInts, int nReal, int realWidth,
                          std::vector<long long>* ints, std::vector<double>* reals) {
        QList<QByteArray> fi, fr;
        if (!SplitColumns(line, 0, 10, nInt, nReal == 0, fi) ||
            (nReal > 0 && !SplitColumns(line, nInt * 10, realWidth, nReal, true, fr)))
            return false;
        if (ints)
            ints->assign(static_cast<std::size_t>(nInt), 0);
        for (int k = 0; k < nInt; ++k) {
            if (fi[k].isEmpty() && k >= needInts)
                continue;
            if (!ParseInt(fi[k], (*ints)[k]))
                return false;
        }
        if (reals)
            reals->assign(static_cast<std::size_t>(nReal), 0.0);
        for (int k = 0; k < nReal; ++k)
            if (!ParseReal(fr[k], (*reals)[k]))
                return false;
        return true;
    }
    static bool ByWords(const QByteArray& line, int nInt, int needInts, int nReal,
                        std::vector<long long>* ints, std::vector<double>* reals) {
        const QList<QByteArray> w = Words(line);
        const bool fits =
            nReal > 0 ? w.size() == nInt + nReal : w.size() >= needInts && w.size() <= nInt;
        if (!fits)
            return false;
        if (ints)
            ints->assign(static_cast<std::size_t>(nInt), 0);
        for (int k = 0; k < nInt && k < w.size(); ++k)
            if (!ParseInt(w[k], (*ints)[k]))
                return false;
        if (reals)
            reals->assign(static_cast<std::size_t>(nReal), 0.0);
        for (int k = 0; k < nReal; ++k)
            if (!ParseReal(w[nInt + k], (*reals)[k]))
                return false;
        return true;
    }

    UffLineReader& m_in;
    QByteArray m_name;
    qint64 m_header;
    bool m_bPending = false; // the reader's current line is the next one of this dataset
};

std::array<double, 3> Triple(const std::vector<double>& v, std::size_t from) {
    return {v[from], v[from + 1], v[from + 2]};
}

void ReadNodes2411(Body& b, UffContent& out) {
    while (!b.AtEnd()) {
        const QByteArray r1 = b.Next();
        if (IsBlank(r1))
            continue;
        const qint64 line = b.LineNumber();
        const auto ints = b.Ints(r1, 4, 1, "a node label and its coordinate systems");
        const auto c = b.Reals(b.Next(), 3, 25, "3 coordinates");
        out.nodes.push_back({ints[0], Triple(c, 0), ints[1], ints[2], line});
    }
}

void ReadNodes15(Body& b, UffContent& out) {
    while (!b.AtEnd()) {
        const QByteArray r = b.Next();
        if (IsBlank(r))
            continue;
        std::vector<long long> ints;
        std::vector<double> c;
        b.Record(r, 4, 4, 3, 13, "a node label, its coordinate systems and 3 coordinates", &ints,
                 &c);
        out.nodes.push_back({ints[0], Triple(c, 0), ints[1], ints[2], b.LineNumber()});
    }
}

// Origin and a point on +X (record 3), a point in the XZ plane (record 4), in the reference
// system of record 1.
void ReadSystems18(Body& b, UffContent& out) {
    while (!b.AtEnd()) {
        const QByteArray r1 = b.Next();
        if (IsBlank(r1))
            continue;
        UffContent::System s;
        s.line = b.LineNumber();
        s.dataset = 18;
        const auto ints = b.Ints(r1, 5, 3, "a coordinate system's label, type and reference");
        s.label = ints[0];
        s.type = ints[1];
        s.reference = ints[2];
        b.Next(); // name
        const auto p = b.Reals(b.Next(), 6, 13, "an origin and a point on the X axis");
        const auto q = b.Reals(b.Next(), 3, 13, "a point in the XZ plane");
        s.rows = {Triple(p, 0), Triple(p, 3), Triple(q, 0), std::array<double, 3>{}};
        out.systems.push_back(s);
    }
}

void ReadSystems2420(Body& b, UffContent& out) {
    b.Next(); // part UID
    b.Next(); // part name
    while (!b.AtEnd()) {
        const QByteArray r3 = b.Next();
        if (IsBlank(r3))
            continue;
        UffContent::System s;
        s.line = b.LineNumber();
        s.dataset = 2420;
        const auto ints = b.Ints(r3, 4, 2, "a coordinate system's label and type");
        s.label = ints[0];
        s.type = ints[1];
        b.Next(); // name
        for (auto& row : s.rows)
            row = Triple(b.Reals(b.Next(), 3, 25, "a row of the transformation matrix"), 0);
        out.systems.push_back(s);
    }
}

void ReadUnits164(Body& b, UffContent& out) {
    b.Next(); // units code, description, temperature mode
    const double length = b.RealsOver(3, 25, 3, "unit factors")[0];
    if (!(length > 0))
        b.Fail(QStringLiteral("the length factor %1 is not a positive number").arg(length));
    if (out.lengthPerMetre > 0 && std::fabs(out.lengthPerMetre - length) > 1e-9 * length)
        b.Fail(QStringLiteral("a second dataset 164 states another length unit (%1, before %2)")
                   .arg(UffUnits::DescribeFactor(length),
                        UffUnits::DescribeFactor(out.lengthPerMetre)));
    out.lengthPerMetre = length;
}

void ReadTrace82(Body& b, UffContent& out) {
    const auto r1 = b.Ints(b.Next(), 3, 2, "a trace line's number and node count");
    const long long count = r1[1];
    if (count < 0 || count > 1000000)
        b.Fail(QStringLiteral("trace line node count %1 is out of range").arg(count));
    b.Next(); // identification
    out.traces.push_back(
        {b.IntsOver(static_cast<std::size_t>(count), "trace line nodes"), b.HeaderLine()});
}

// Skips binary function data: 11 text lines, then the number of bytes the header line gives
// (FORMAT I6,A1,I6,I6,I12,I12), then the delimiter, which may follow the bytes directly.
void SkipBinary58(Body& b, const QByteArray& header) {
    long long lines = 0, bytes = 0;
    if (!ParseInt(header.mid(19, 12), lines) || !ParseInt(header.mid(31, 12), bytes) || lines < 0 ||
        lines > 1000 || bytes < 0)
        b.Fail(QStringLiteral("the header of binary dataset 58b gives no line and byte count"));
    for (long long i = 0; i < lines; ++i)
        b.Next();
    if (!b.Reader().SkipBytes(bytes))
        b.Fail(QStringLiteral("the file ends inside the %1 bytes of binary data").arg(bytes));
    b.CloseAfterBinary(bytes);
}

// Where the analysis puts its frequency, and what a shape without one is.
struct Analysis {
    double frequencyHz = 0.0;
    QString note; // why the shape has no frequency
};

QString Describe(long long type, double first) {
    switch (type) {
    case 1:
        return QStringLiteral("a static shape");
    case 4:
        return QStringLiteral("a transient shape (time %1 s)").arg(first);
    case 6:
        return QStringLiteral("a buckling shape (load factor %1)").arg(first);
    default:
        return QStringLiteral("analysis type %1").arg(type);
    }
}

// `reals`: the frequency (or time, or load factor) first; `eigenIm` the imaginary part of the
// complex eigenvalue, when the analysis gives one.
Analysis Frequency(long long type, const std::vector<double>& reals, double eigenIm,
                   bool haveEigen) {
    Analysis a;
    const double first = reals.empty() ? 0.0 : reals[0];
    const QString none = QStringLiteral(": imported with frequency 0");
    if (type == 2 || type == 5) {
        if (!reals.empty())
            a.frequencyHz = first;
        else
            a.note = QStringLiteral("no frequency given") + none;
    } else if (type == 3 || type == 7) {
        if (haveEigen)
            a.frequencyHz = std::fabs(eigenIm) / kTwoPi; // lambda = -sigma + i omega
        else
            a.note = QStringLiteral("no eigenvalue given") + none;
    } else {
        a.note = Describe(type, first) + QStringLiteral(", not a vibration") + none;
    }
    return a;
}

// Data at nodes shared by 55 and 2414 once their headers are read.
struct ShapeHeader {
    long long characteristic, specific, dataType, perNode;
};

// The node records: a label, then the values (real or complex), `perNode` of them.
void ReadValues(Body& b, const ShapeHeader& h, UffContent::Shape& shape, const char* labelWhat) {
    const bool complex = h.dataType == 5 || h.dataType == 6;
    const bool twice = h.dataType == 4 || h.dataType == 6; // double precision: D25.16, 3 a line
    const std::size_t count = static_cast<std::size_t>(h.perNode) * (complex ? 2 : 1);
    while (!b.AtEnd()) {
        const QByteArray r = b.Next();
        if (IsBlank(r))
            continue;
        const long long node = b.Label(r, labelWhat);
        const std::vector<double> v =
            b.RealsOver(count, twice ? 25 : 13, twice ? 3 : 6, "values of the node");
        UffContent::Vector c;
        for (int axis = 0; axis < 3; ++axis)
            c[axis] = complex ? std::complex<double>(v[2 * axis], v[2 * axis + 1])
                              : std::complex<double>(v[axis], 0.0);
        shape.values.push_back({node, c});
        shape.rotationalValues += h.perNode - 3;
    }
}

// A shape the scene can show: 3-D translations (and rotations, unused), real or complex.
QString Unusable(const ShapeHeader& h) {
    if (h.characteristic != 2 && h.characteristic != 3)
        return QStringLiteral("not a 3-D translation (data characteristic %1)")
            .arg(h.characteristic);
    if (h.dataType != 2 && h.dataType != 4 && h.dataType != 5 && h.dataType != 6)
        return QStringLiteral("data type %1 is neither real nor complex").arg(h.dataType);
    if (h.perNode < 3 || h.perNode > 6)
        return QStringLiteral("%1 values per node").arg(h.perNode);
    return QString();
}

void Finish(Body& b, UffContent& out, UffContent::Shape& shape, const ShapeHeader& h,
            const Analysis& a) {
    const QString where =
        QStringLiteral("dataset %1 \"%2\" (line %3)").arg(b.Name(), shape.name).arg(shape.line);
    const QString why = Unusable(h);
    if (!why.isEmpty()) {
        out.skipped.Add(b.Name() + why, QStringLiteral("%1: %2").arg(where, why));
        b.SkipRest();
        return;
    }
    shape.frequencyHz = a.frequencyHz;
    shape.quantity = UffUnits::QuantityOfCode(h.specific);
    if (!a.note.isEmpty())
        out.notes.Add(b.Name() + a.note.section(' ', 0, 2),
                      QStringLiteral("%1: %2").arg(where, a.note));
    ReadValues(b, h, shape, "node label");
    if (shape.values.empty()) {
        out.skipped.Add(b.Name() + QStringLiteral("empty"),
                        QStringLiteral("%1: no values").arg(where));
        return;
    }
    out.shapes.push_back(std::move(shape));
}

void ReadData55(Body& b, UffContent& out) {
    UffContent::Shape shape;
    shape.dataset = 55;
    shape.line = b.HeaderLine();
    shape.name = QString::fromLatin1(b.Next().trimmed());
    for (int i = 0; i < 4; ++i)
        b.Next();
    const auto r6 = b.Ints(b.Next(), 6, 6, "the model, analysis and data types");
    const auto r7 = b.Ints(b.Next(), 8, 2, "the parameter counts");
    const long long nInt = r7[0], nReal = r7[1];
    if (nInt < 0 || nInt > 100 || nReal < 0 || nReal > 100)
        b.Fail(QStringLiteral("parameter counts %1 and %2 are out of range").arg(nInt).arg(nReal));
    for (long long seen = 6; seen < nInt; seen += 8) // the integers go on, 8 to a line
        b.Next();
    const std::vector<double> reals =
        b.RealsOver(static_cast<std::size_t>(nReal), 13, 6, "real parameters");
    const long long analysis = r6[1];
    const Analysis a =
        Frequency(analysis, reals, reals.size() >= 2 ? reals[1] : 0.0, reals.size() >= 2);
    Finish(b, out, shape, {r6[2], r6[3], r6[4], r6[5]}, a);
}

// Analysis data (FE results): records 1-13 are the header, then node records as in 55.
void ReadData2414(Body& b, UffContent& out) {
    UffContent::Shape shape;
    shape.dataset = 2414;
    shape.line = b.HeaderLine();
    b.Next(); // label
    shape.name = QString::fromLatin1(b.Next().trimmed());
    const long long location = b.Ints(b.Next(), 1, 1, "the dataset location")[0];
    for (int i = 0; i < 5; ++i)
        b.Next();
    const auto r9 = b.Ints(b.Next(), 6, 6, "the model, analysis and data types");
    b.Next(); // record 10: design set, iteration, solution set, boundary, load, mode, step, freq
    b.Next(); // record 11
    const std::vector<double> r12 = b.RealsOver(6, 13, 6, "real parameters");
    const std::vector<double> r13 = b.RealsOver(6, 13, 6, "real parameters");
    if (location != 1) {
        const QString why = QStringLiteral("data on elements or points, not at nodes");
        out.skipped.Add(QStringLiteral("2414") + why,
                        QStringLiteral("dataset 2414 \"%1\" (line %2): %3")
                            .arg(shape.name)
                            .arg(shape.line)
                            .arg(why));
        b.SkipRest();
        return;
    }
    // Record 12: time, frequency, eigenvalue, ...; record 13: the complex eigenvalue, ...
    const long long analysis = r9[1];
    std::vector<double> first{analysis == 4 ? r12[0] : analysis == 6 ? r12[2] : r12[1]};
    const Analysis a = Frequency(analysis, first, r13[1], true);
    Finish(b, out, shape, {r9[2], r9[3], r9[4], r9[5]}, a);
}

} // namespace

void UffParser::Parse(QIODevice& in, UffContent& out) {
    UffLineReader reader(in);
    bool sawDataset = false;
    while (reader.Next()) {
        const QByteArray line = reader.Line();
        if (IsBlank(line))
            continue;
        if (!IsDelimiter(line)) {
            if (sawDataset)
                throw UffError(QStringLiteral("line %1: expected \"    -1\" before a dataset")
                                   .arg(reader.LineNumber()));
            out.skipped.Add(
                QStringLiteral("lead"),
                QStringLiteral("text before the first dataset (line %1)").arg(reader.LineNumber()));
            continue;
        }
        bool more = false;
        while ((more = reader.Next()) && IsBlank(reader.Line())) {
        }
        if (!more)
            break; // a trailing delimiter
        const QByteArray header = reader.Line();
        const qint64 headerLine = reader.LineNumber();
        bool ok = false;
        const int dataset = header.left(6).trimmed().toInt(&ok);
        if (!ok)
            throw UffError(QStringLiteral("line %1: \"%2\" is not a dataset number")
                               .arg(headerLine)
                               .arg(QString::fromLatin1(header.left(20))));
        sawDataset = true;
        const bool binary = header.size() > 6 && (header[6] == 'b' || header[6] == 'B');
        QByteArray name = QByteArray::number(dataset);
        if (binary)
            name += 'b';
        Body body(reader, name, headerLine);
        switch (dataset) {
        case 15:
            ReadNodes15(body, out);
            break;
        case 18:
            ReadSystems18(body, out);
            break;
        case 55:
            ReadData55(body, out);
            break;
        case 58:
            if (binary)
                SkipBinary58(body, header);
            out.skipped.Add(QString::fromLatin1(name),
                            QStringLiteral("dataset %1 (line %2): function data")
                                .arg(QString::fromLatin1(name))
                                .arg(headerLine));
            break;
        case 82:
            ReadTrace82(body, out);
            break;
        case 151:
            break; // the header: nothing the scene keeps
        case 164:
            ReadUnits164(body, out);
            break;
        case 2411:
            ReadNodes2411(body, out);
            break;
        case 2414:
            ReadData2414(body, out);
            break;
        case 2420:
            ReadSystems2420(body, out);
            break;
        default:
            out.skipped.Add(QString::fromLatin1(name),
                            QStringLiteral("dataset %1 (line %2)").arg(dataset).arg(headerLine));
        }
        body.SkipRest();
    }
    if (!sawDataset)
        throw UffError(QStringLiteral("no dataset found"));
}
