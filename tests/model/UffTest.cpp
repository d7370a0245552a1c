// Universal File exchange: round trips through our own writer and reader, and small files in the
// dialects other tools write (tests/data/uff; each test names the dialect its file reproduces).
#include "CommaLocale.h"
#include "FileSizeLimit.h"
#include "SceneFile.h"
#include "TestScenes.h"
#include "UffReader.h"
#include "UffWriter.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <complex>
#include <fcntl.h>
#include <map>
#include <set>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

using namespace testscenes;

namespace {

using Vec = std::array<std::complex<double>, 3>;

// Per point number and series: the complex motion along X, Y, Z.
std::map<std::pair<int, int>, Vec> Motion(const CQuivraDoc& doc) {
    std::map<std::pair<int, int>, Vec> out;
    doc.ForEachPoint([&](CornerPoint* p) {
        for (int k = 0; k < doc.m_nSeries; ++k) {
            Vec v{};
            for (const MeasDirection* d : p->m_directions) {
                const auto z = std::polar(d->m_measurements[k]->m_dAmplitude,
                                          d->m_measurements[k]->m_dPhase * M_PI / 180.0);
                v[0] += z * d->m_dx;
                v[1] += z * d->m_dy;
                v[2] += z * d->m_dz;
            }
            out[{p->m_nNumber, k}] = v;
        }
    });
    return out;
}

std::set<std::pair<int, int>> LinePairs(const CQuivraDoc& doc) {
    std::set<std::pair<int, int>> out;
    auto add = [&out](const Line* l) {
        const int a = l->m_pPointA->m_nNumber, b = l->m_pPointB->m_nNumber;
        out.insert({std::min(a, b), std::max(a, b)});
    };
    for (const Line* l : doc.m_freeLines)
        add(l);
    for (const SceneObject* o : doc.m_objects) {
        for (const Line* l : o->m_lines)
            add(l);
        if (o->m_pCentreLine)
            add(o->m_pCentreLine);
    }
    return out;
}

QByteArray Data(const char* name) {
    QFile f(QStringLiteral(QUIVRA_TEST_DATA "/uff/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

QByteArray Exported(const CQuivraDoc& doc, const UffWriter::Options& o = {}) {
    QByteArray out;
    QString error;
    EXPECT_TRUE(UffWriter::Export(doc, QStringLiteral("sample"), o, &out, nullptr, &error))
        << error.toStdString();
    return out;
}

struct Result {
    bool ok = false;
    QString error;
    UffReader::Summary s;
    QString all() const { return (s.skipped + s.warnings + s.notes).join(QLatin1Char('|')); }
};

Result Import(const QByteArray& text, CQuivraDoc& doc, const UffReader::Options& o = {}) {
    Result r;
    QByteArray bytes = text;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    UffReader reader;
    r.ok = reader.Read(buffer, &r.error) && reader.AddTo(doc, o, &r.s, &r.error);
    return r;
}

const CornerPoint* Point(const CQuivraDoc& doc, int number) {
    const auto all = doc.AllPoints();
    return *std::find_if(all.begin(), all.end(), [&](auto* p) { return p->m_nNumber == number; });
}

// Point `number`'s motion in series k along X, Y, Z.
Vec At(const CQuivraDoc& doc, int number, int k) {
    Vec v = Motion(doc).at({number, k});
    for (auto& c : v)
        c = {std::round(c.real() * 1e12) / 1e12, std::round(c.imag() * 1e12) / 1e12};
    return v;
}

TEST(Uff, RoundTripKeepsPointsLinesAndShapes) {
    CQuivraDoc doc;
    BuildSample(doc);
    QStringList notes;
    QByteArray file;
    {
        // The program runs under the user's locale; the file's numbers keep their point.
        CommaLocale locale;
        ASSERT_TRUE(locale.IsActive()) << locale.Why().toStdString();
        ASSERT_TRUE(UffWriter::Export(doc, QStringLiteral("s"), {}, &file, &notes, nullptr));
    }
    EXPECT_TRUE(notes.isEmpty());
    // Each object's lines are a trace of their own, named after it.
    EXPECT_TRUE(file.contains("\nBox 1\n") && file.contains("\nCylinder 2\n"));

    CQuivraDoc back;
    const Result r = Import(file, back);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.all(), QString()); // nothing skipped, converted or doubtful
    EXPECT_EQ(r.s.lengthUnit, QStringLiteral("mm"));
    ASSERT_EQ(back.m_freePoints.size(), doc.PointCount());
    const auto original = doc.AllPoints();
    for (std::size_t i = 0; i < original.size(); ++i) { // exact: 17 digits
        const CornerPoint *p = back.m_freePoints[i], *q = original[i];
        EXPECT_EQ(std::make_tuple(p->m_nNumber, p->m_x, p->m_y, p->m_z),
                  std::make_tuple(q->m_nNumber, q->m_x, q->m_y, q->m_z));
    }
    EXPECT_EQ(LinePairs(back), LinePairs(doc));
    ASSERT_EQ(back.m_nSeries, 2);
    EXPECT_EQ(back.m_seriesNames[1], doc.m_seriesNames[1]);
    EXPECT_NEAR(back.m_seriesFrequency[1], 1487.25 / 60.0, 1e-4); // RPM written as Hz
    const auto want = Motion(doc), got = Motion(back);
    ASSERT_EQ(want.size(), got.size());
    for (const auto& [key, v] : want)
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(std::abs(got.at(key)[axis] - v[axis]), 0.0, 1e-5 * (1 + std::abs(v[axis])))
                << "point " << key.first << " series " << key.second << " axis " << axis;
    EXPECT_GT(back.m_nNextPointNumber, 21);
}

TEST(Uff, RepeatedPointNumbersGetUniqueLabels) {
    CQuivraDoc doc;
    AddFree(doc, 0, 0, 0)->m_nNumber = 5;
    AddFree(doc, 1, 0, 0)->m_nNumber = 5;
    AddFree(doc, 2, 0, 0)->m_nNumber = 0;
    QStringList notes;
    QByteArray file;
    ASSERT_TRUE(UffWriter::Export(doc, QString(), {}, &file, &notes, nullptr));
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].contains(QLatin1String("2 corner points")));
    CQuivraDoc back;
    ASSERT_TRUE(Import(file, back).ok);
    std::set<int> labels;
    for (const CornerPoint* p : back.m_freePoints)
        labels.insert(p->m_nNumber);
    EXPECT_EQ(labels, (std::set<int>{5, 6, 7}));
}

// Touching fields (15), D exponents, CRLF ends and loose blank-separated fields.
const char* const kLooseWriters =
    "    -1\r\n    15\r\n"
    "         1         0         0         0-1.000000E+00-2.000000E+00-3.000000E+00\r\n"
    "    -1\r\n    -1\r\n  2411\r\n"
    "        10         1         1        11\r\n"
    "   1.5000000000000000D+00  -2.0000000000000000d-01   3.0000000000000000D+02\r\n"
    "20 1 1 11\r\n0 0.5 0\r\n    -1\r\n"
    "    -1\r\n    82\r\n         1         5         0\r\ntrace\r\n"
    "        10        20         0        20        10\r\n    -1\r\n"
    "    -1\r\n   164\r\n         5MM (milli-newton)            2\r\n"
    "1.0000000000000000000D+031.0000000000000000000D+002.7315000000000000000D+02\r\n"
    "0.0000000000000000000D+00\r\n    -1\r\n" // touching factors, then binary data and blanks
    "    -1\r\n    58b     1     2           0           4\r\nabcd\r\n\r\n    -1\r\n";

TEST(Uff, DialectsOfLooseWriters) {
    CQuivraDoc doc;
    const Result r = Import(kLooseWriters, doc);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    ASSERT_EQ(doc.m_freePoints.size(), 3u);
    EXPECT_EQ(doc.m_freePoints[0]->m_z, -3.0);
    EXPECT_EQ(doc.m_freePoints[1]->m_y, -0.2);
    EXPECT_EQ(doc.m_freePoints[1]->m_z, 300.0);
    EXPECT_EQ(doc.m_freePoints[2]->m_y, 0.5);
    EXPECT_EQ(doc.m_nNextPointNumber, 21);
    EXPECT_EQ(doc.m_freeLines.size(), 2u); // 10-20, pen up, 20-10
    EXPECT_EQ(r.s.lengthUnit, QStringLiteral("mm"));
}

TEST(Uff, BrokenFilesAreRejectedWholeWithDatasetAndLine) {
    const QByteArray node = "    -1\n  2411\n         1         1         1        11\n";
    struct Case {
        const char* label;
        QByteArray text;
        const char* mention;
    } cases[] = {
        {"node without coordinates", node + "    -1\n",
         "dataset 2411 (line 2) breaks off at line 4"},
        {"no closing delimiter", node + "   1.0D+00   2.0D+00   3.0D+00\n",
         "dataset 2411 (line 2) breaks off after line 4"},
        {"a coordinate missing", node + "   1.0D+00   2.0D+00\n    -1\n", "line 4: cannot read"},
        {"letters in a coordinate", node + "   1.0D+00   x.yD+00   3.0\n    -1\n",
         "dataset 2411, line 4"},
        {"text between datasets", node + "   1 2 3\n    -1\nhello\n", "line 6: expected"},
        {"nothing but text", "hello\n", "no dataset"},
        {"empty file", "", "no dataset"},
        {"absurd trace length", "    -1\n    82\n         1 999999999         0\n    -1\n",
         "out of range"},
        {"two length units", Data("metres-velocity.uff") + Data("fe-modes.uff"), "164"},
        {"one parameter count",
         "    -1\n    55\nx\nx\nx\nx\nx\n         1         5         2         8         5        "
         " 3\n"
         "         2\n    -1\n",
         "the parameter counts"},
        {"binary data cut short", "    -1\n    58b     1     2           0         100\nabcd",
         "the file ends inside the 100 bytes"},
        {"a record too long", node + QByteArray(4097, '1') + "\n    -1\n", "longer than 4096"},
    };
    for (const Case& c : cases) {
        CQuivraDoc doc;
        AddFree(doc, 9, 9, 9);
        const Result r = Import(c.text, doc);
        EXPECT_FALSE(r.ok) << c.label;
        EXPECT_TRUE(r.error.contains(QLatin1String(c.mention)))
            << c.label << ": " << r.error.toStdString();
        EXPECT_EQ(doc.m_freePoints.size(), 1u) << c.label; // nothing half-imported
        EXPECT_EQ(doc.m_nSeries, 0) << c.label;
    }
    // A byte-order mark, a record of just the longest length, binary data longer than one read.
    const QByteArray binary = "    -1\n    58b     1     2           0        4097\n";
    CQuivraDoc doc;
    EXPECT_TRUE(Import("\xEF\xBB\xBF" + node + QByteArray("   1 2 3").leftJustified(4096) +
                           "\n    -1\n" + binary + QByteArray(4097, 'x') + "\n    -1\n",
                       doc)
                    .ok);
    EXPECT_EQ(doc.m_freePoints.size(), 1u);
}

// A file cut anywhere before the final "    -1" is complete (a transfer that broke off) must
// not import: a cut coordinate would come in as another number (123.456789 as 1.23456789).
TEST(Uff, AFileCutAnywhereInItsLastDatasetIsRefused) {
    CQuivraDoc doc;
    AddDirection(AddFree(doc, 1, 2, 123.456789), DirPlusZ);
    for (const char* last : {"  2411\n", "    55\n"}) {
        const QByteArray file = Exported(doc);
        for (qsizetype cut = file.lastIndexOf(last) + 5; cut < file.size() - 1; ++cut) {
            CQuivraDoc back;
            ASSERT_FALSE(Import(file.left(cut), back).ok) << last << " cut at " << cut;
        }
        CQuivraDoc back;
        EXPECT_TRUE(Import(file.left(file.size() - 1), back).ok); // the last line end is optional
        doc.AddSeries();
    }
}

// Peers' dialects, each reproduced by its file:
//  label-eleven-columns: an OMA tool writes node 60101 of dataset 55 in 11 columns;
//  eigen-static-transient: complex modes of 1st and 2nd order, static and transient shapes;
//  large-labels: a node label beyond 32 bits next to node 1;
//  rotations: 6 values per node (translations and rotations);
//  binary-58b: binary function data, its "-1" right after the bytes, amid nodes and shapes;
//  bom-and-preface: a byte-order mark and a line of text before the first dataset;
//  fe-modes: an FE program's 2414 results: a mode, a double precision frequency response, a
//  complex mode and stresses on elements.
TEST(Uff, DialectFilesImportWithTheirValues) {
    using C = std::complex<double>;
    struct Case {
        const char* file;
        std::function<void(const CQuivraDoc&, const Result&)> check;
    } cases[] = {
        {"label-eleven-columns.uff",
         [](const CQuivraDoc& d, const Result&) {
             EXPECT_EQ(At(d, 6010, 0)[0], C(1.0));
             EXPECT_EQ(At(d, 6010, 0)[1], C(0.0));
             EXPECT_EQ(At(d, 60101, 0)[1], C(2.0));
         }},
        {"eigen-static-transient.uff",
         [](const CQuivraDoc& d, const Result& r) {
             ASSERT_EQ(d.m_nSeries, 4);
             EXPECT_NEAR(d.m_seriesFrequency[0], 40.0, 1e-4); // |Im lambda| / 2 pi
             EXPECT_NEAR(d.m_seriesFrequency[1], 40.0, 1e-4);
             EXPECT_EQ(d.m_seriesFrequency[2], 0.0);
             EXPECT_EQ(d.m_seriesFrequency[3], 0.0);
             EXPECT_TRUE(r.all().contains(QLatin1String("a static shape, not a vibration")));
             EXPECT_TRUE(r.all().contains(QLatin1String("a transient shape (time 0.25 s)")));
         }},
        {"large-labels.uff",
         [](const CQuivraDoc& d, const Result& r) {
             EXPECT_EQ(At(d, 1, 0), Vec{}); // not the value of node 4294967297
             EXPECT_EQ(At(d, 2, 0)[2], C(7.0));
             EXPECT_EQ(Point(d, 2)->m_x, 5.0);
             EXPECT_EQ(d.m_freeLines.size(), 1u);
             EXPECT_TRUE(r.all().contains(QLatin1String("node 4294967297 has a label outside")));
         }},
        {"rotations.uff",
         [](const CQuivraDoc& d, const Result& r) {
             EXPECT_EQ(At(d, 2, 0)[1], C(2.0));
             EXPECT_EQ(r.s.rotationalValues, 6);
             EXPECT_TRUE(r.all().contains(QLatin1String("6 rotational values were not used")));
         }},
        {"binary-58b.uff",
         [](const CQuivraDoc& d, const Result& r) {
             EXPECT_EQ(d.m_freePoints.size(), 2u);
             ASSERT_EQ(d.m_nSeries, 1);
             EXPECT_EQ(At(d, 2, 0), (Vec{0.0, 1.0, 0.0}));
             EXPECT_TRUE(r.all().contains(QLatin1String("dataset 58b (line 9): function data")));
             EXPECT_TRUE(r.all().contains(QLatin1String("dataset 58 (line 28)")));
         }},
        {"bom-and-preface.uff",
         [](const CQuivraDoc& d, const Result& r) {
             EXPECT_EQ(d.m_freePoints.size(), 2u);
             EXPECT_EQ(d.m_freeLines.size(), 1u);
             EXPECT_TRUE(r.all().contains(QLatin1String("text before the first dataset")));
         }},
        {"fe-modes.uff",
         [](const CQuivraDoc& d, const Result& r) {
             ASSERT_EQ(d.m_nSeries, 3);
             EXPECT_EQ(d.m_seriesNames[0], "Mode 1");
             EXPECT_EQ(d.m_seriesFrequency[0], 233.5);
             EXPECT_EQ(At(d, 9581, 0)[0], C(-1.5));
             EXPECT_EQ(d.m_seriesFrequency[1], 80.0);
             EXPECT_EQ(At(d, 3992, 1)[1], C(0.125));
             EXPECT_EQ(At(d, 9581, 1)[2], C(0.25));
             EXPECT_NEAR(d.m_seriesFrequency[2], 100.0, 1e-4);
             EXPECT_EQ(At(d, 9581, 2)[1], C(1.0, 1.0));
             EXPECT_TRUE(r.all().contains(QLatin1String("\"Stress\" (line 73): data on elements")));
             EXPECT_EQ(r.s.lengthUnit, QStringLiteral("mm"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        CQuivraDoc doc;
        const Result r = Import(Data(c.file), doc);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        c.check(doc, r);
    }
}

// Double precision complex values (data type 6: three D25.16 a line) after a parameter record
// with more integers than its first line holds.
TEST(Uff, DoubleComplexShapeAfterLongParameterRecords) {
    const char* const file =
        "    -1\n  2411\n         1         1         1        11\n"
        "   0.0000000000000000D+00   0.0000000000000000D+00   0.0000000000000000D+00\n    -1\n"
        "    -1\n    55\ndouble complex\nNONE\nNONE\nNONE\nNONE\n"
        "         1         1         2         8         6         3\n"
        "        10         1         1         1         0         0         0         0\n"
        "         0         0         0         0\n  0.00000E+00\n         1\n"
        "   1.0000000000000000D+00   2.0000000000000000D+00   3.0000000000000000D+00\n"
        "   4.0000000000000000D+00   5.0000000000000000D+00   6.0000000000000000D+00\n    -1\n";
    CQuivraDoc doc;
    const Result r = Import(file, doc);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    ASSERT_EQ(doc.m_nSeries, 1);
    using C = std::complex<double>;
    EXPECT_EQ(At(doc, 1, 0), (Vec{C(1, 2), C(3, 4), C(5, 6)}));
}

// shapes-only: a test system's shapes file, its geometry sent before in a file of its own.
TEST(Uff, ShapesLandOnTheScenePointsOfTheirNumbers) {
    CQuivraDoc doc;
    AddFree(doc, 0, 0, 0);
    AddDirection(AddFree(doc, 1, 0, 0), DirMinusY); // takes Y values, sign turned
    doc.AddSeries();
    const Result r = Import(Data("shapes-only.uff"), doc);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    ASSERT_EQ(doc.m_nSeries, 2); // "ODS 2" has no point: not added empty
    EXPECT_EQ(doc.m_seriesNames[1], "ODS 1");
    EXPECT_EQ(r.s.directions, 1);
    EXPECT_EQ(At(doc, 1, 1)[0], std::complex<double>(1.0));
    EXPECT_EQ(At(doc, 2, 1)[1], std::complex<double>(3.0));
    ASSERT_EQ(doc.m_freePoints[1]->m_directions.size(), 1u);
    EXPECT_EQ(std::fabs(doc.m_freePoints[1]->m_directions[0]->m_measurements[1]->m_dPhase), 180.0);
    EXPECT_TRUE(r.all().contains(QLatin1String(
        "dataset 55 \"ODS 1\" (line 12): 1 of 3 nodes have no corner point; their values were "
        "not imported")));
    EXPECT_TRUE(r.all().contains(QLatin1String("\"ODS 2\" (line 29): no value for any corner")));
}

// local-systems: a test system's displacement systems (18, on a reference system, with 15) and
// an FE program's 2420 with 2411; cylindrical-system: a node in a cylindrical system.
TEST(Uff, LocalCoordinateSystemsTurnPositionsAndValues) {
    CQuivraDoc doc;
    const Result r = Import(Data("local-systems.uff"), doc);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    const CornerPoint* p2 = Point(doc, 2);
    const CornerPoint* p3 = Point(doc, 3);
    EXPECT_EQ(std::make_tuple(p2->m_x, p2->m_y, p2->m_z), std::make_tuple(10.0, 1.0, 1.0));
    EXPECT_EQ(std::make_tuple(p3->m_x, p3->m_y, p3->m_z), std::make_tuple(1.0, -2.0, -3.0));
    EXPECT_EQ(At(doc, 1, 0), (Vec{0.0, 1.0, 0.0}));  // local X of system 5 is global Y
    EXPECT_EQ(At(doc, 3, 0), (Vec{0.0, -2.0, 0.0})); // system 7 turns Y over

    // A tilted system (X along global Z, Z along global X): its Y axis is Z cross X. A system
    // with a bad reference or a matrix that is no rotation is named.
    const QByteArray node = "    -1\n    15\n         1         9         0         8"
                            "  0.00000E+00  1.00000E+00  0.00000E+00\n    -1\n";
    const QByteArray tilted = "    -1\n    18\n         9         0         0\nS9\n"
                              "1 1 1 1 1 2\n2 1 1\n    -1\n";
    CQuivraDoc t;
    ASSERT_TRUE(Import(tilted + node, t).ok);
    EXPECT_EQ(std::make_tuple(Point(t, 1)->m_x, Point(t, 1)->m_y, Point(t, 1)->m_z),
              std::make_tuple(1.0, 0.0, 1.0));
    const std::pair<QByteArray, const char*> faulty[] = {
        {QByteArray(tilted).replace("9         0         0", "9         0         4"),
         "whose reference is coordinate system 4, which the file does not define"},
        {"    -1\n  2420\n         1\npart\n         9         0\nS9\n1 0 0\n0 1 0\n0 0 2\n0 0 0\n"
         "    -1\n",
         "whose matrix is not a rotation"}};
    for (const auto& [text, mention] : faulty) {
        CQuivraDoc d;
        const Result r = Import(text + node, d);
        EXPECT_TRUE(!r.ok && r.error.contains(QLatin1String(mention))) << r.error.toStdString();
    }

    CQuivraDoc other;
    const Result cyl = Import(Data("cylindrical-system.uff"), other);
    EXPECT_FALSE(cyl.ok);
    EXPECT_TRUE(cyl.error.startsWith(QLatin1String("node 1 uses coordinate system 4 (dataset "
                                                   "2420, line 5), which is cylindrical")))
        << cyl.error.toStdString();
}

// A small file once made a scene of directions x shapes measurements: thousands of shapes over
// thousands of nodes. Empty shapes are skipped; sparse ones that would grow the scene far
// beyond the file's values are refused before anything is allocated.
TEST(Uff, ShapesCannotGrowTheSceneBeyondTheFile) {
    auto shape = [](int node) {
        return QByteArray(
                   "    -1\n    55\ns\nNONE\nNONE\nNONE\nNONE\n1 5 2 8 5 3\n2 1 1 1\n1.0\n") +
               (node ? QByteArray::number(node) + "\n1 0 0 0 0 0\n" : QByteArray()) + "    -1\n";
    };
    QByteArray dense = "    -1\n  2411\n", sparse;
    for (int n = 1; n <= 3000; ++n)
        dense += QByteArray::number(n) + " 0 0 11\n0 0 " + QByteArray::number(n) + "\n";
    dense += "    -1\n    -1\n    55\nall\nNONE\nNONE\nNONE\nNONE\n1 5 2 8 5 3\n2 1 1 1\n1.0\n";
    for (int n = 1; n <= 3000; ++n)
        dense += QByteArray::number(n) + "\n1 0 1 0 1 0\n";
    dense += "    -1\n";
    for (int k = 0; k < 1000; ++k)
        sparse += shape(k + 1);
    CQuivraDoc doc;
    const Result empty = Import(dense + shape(0).repeated(2000), doc);
    ASSERT_TRUE(empty.ok) << empty.error.toStdString();
    EXPECT_EQ(doc.m_nSeries, 1);
    EXPECT_TRUE(empty.all().contains(QLatin1String("no values (and 1999 more like it)")));

    CQuivraDoc big;
    const Result r = Import(dense + sparse, big);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QLatin1String("9009000 measurements"))) << r.error.toStdString();
    EXPECT_EQ(big.PointCount(), 0u);
}

// metres-velocity: a file in metres with velocities and a shape of unknown quantity.
TEST(Uff, UnitsAreStatedOnExportAndConvertedOnImport) {
    CQuivraDoc doc;
    BuildSample(doc);
    const QByteArray file = Exported(doc, {UffUnits::Inch, UffUnits::Velocity});
    EXPECT_TRUE(file.contains("         7IN (pound f)                 2\n"
                              "   3.9370078740157481D+01"));
    EXPECT_TRUE(file.contains("         1         5         2        11         5         3\n"));
    // A node's colour record; the second shape's load case.
    EXPECT_TRUE(file.contains("\n         1         1         1        11\n"));
    EXPECT_TRUE(file.contains("\n         2         1         1         2\n"));

    CQuivraDoc mm;
    const Result r = Import(Data("metres-velocity.uff"), mm, {true, UffUnits::Millimetre});
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.s.lengthUnit, QStringLiteral("m"));
    EXPECT_DOUBLE_EQ(mm.m_freePoints[0]->m_z, 300.0);
    EXPECT_NEAR(At(mm, 1, 0)[0].real(), 1.0, 1e-12); // 0.001 m/s = 1 mm/s
    EXPECT_NEAR(At(mm, 1, 1)[0].real(), 0.001, 1e-15);
    EXPECT_TRUE(r.all().contains(QLatin1String("lengths converted from m to mm (x 1000)")));
    EXPECT_TRUE(r.all().contains(QLatin1String("1 shapes of unknown quantity were kept")));
    CQuivraDoc t; // a unit of a third of a metre
    const Result third = Import("    -1\n   164\n         1X\n3 1 1\n0\n    -1\n", t, {true, {}});
    EXPECT_TRUE(third.all().contains(QLatin1String("from 1/3 m to mm (x 333.3333333)")))
        << third.all().toStdString();

    // The format's codes and the names the command line takes, both ways.
    for (const auto& [q, code] : {std::pair{UffUnits::Displacement, 8},
                                  {UffUnits::Velocity, 11},
                                  {UffUnits::Acceleration, 12}}) {
        UffUnits::Quantity parsed = UffUnits::Unknown;
        EXPECT_EQ(UffUnits::QuantityOfCode(code), q);
        EXPECT_TRUE(UffUnits::ParseQuantity(UffUnits::QuantityName(q), &parsed) && parsed == q);
    }
    UffUnits::Length length = UffUnits::Millimetre;
    EXPECT_TRUE(UffUnits::ParseLength(QStringLiteral("in"), &length) && length == UffUnits::Inch);
    EXPECT_EQ(UffUnits::UnitsCode(UffUnits::Millimetre), 5);
    EXPECT_EQ(UffUnits::DescribeFactor(1.0 / 3), QStringLiteral("1/0.3333333333 m"));
    EXPECT_EQ(UffUnits::DescribeFactor(3.93701E+01), QStringLiteral("in")); // six digits suffice

    // Impossible numbers are named instead of being written as 0 or clamped.
    const double bad[] = {std::nan(""), HUGE_VAL, 1e101};
    for (double v : bad) {
        CQuivraDoc d;
        BuildSample(d);
        QByteArray out;
        QString error;
        d.m_freePoints[2]->m_directions[0]->m_measurements[1]->m_dAmplitude = v;
        EXPECT_FALSE(UffWriter::Export(d, {}, {}, &out, nullptr, &error));
        EXPECT_EQ(error, QStringLiteral("the value of series \"Motor side \xE4 1x\" at corner "
                                        "point 3 is not a finite number below 1e100; correct it "
                                        "before exporting"));
        d.m_freePoints[1]->m_y = v;
        EXPECT_FALSE(UffWriter::Export(d, {}, {}, &out, nullptr, &error));
        EXPECT_TRUE(error.startsWith(QLatin1String("a coordinate of corner point 2 is not")));
    }
}

TEST(Uff, SpecialFilesAndFullDisksAreReportedNotHungOn) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.uff");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    auto lowestFreeDescriptor = [] {
        const int fd = ::open("/dev/null", O_RDONLY);
        ::close(fd);
        return fd;
    };
    const int freeBefore = lowestFreeDescriptor();
    for (const QString& path : {fifo, QStringLiteral("/dev/zero"), QString()}) {
        UffReader reader;
        QString error;
        EXPECT_FALSE(reader.ReadFile(path, &error));
        EXPECT_TRUE(error.endsWith(
            QLatin1String(path.isEmpty() ? "no file name" : "it is not a regular file.")))
            << path.toStdString();
    }
    EXPECT_EQ(lowestFreeDescriptor(), freeBefore); // nothing left open

    CQuivraDoc doc;
    BuildSample(doc);
    const QString target = dir.filePath("out.uff");
    QString error;
    EXPECT_FALSE(
        WithFileSizeLimit(1000, [&] { return UffWriter::Save(doc, target, {}, nullptr, &error); }));
    EXPECT_TRUE(error.endsWith(QLatin1String("the disk is full or the file is too large")))
        << error.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList()); // no part, no leftover
}

TEST(Uff, ImportAddsToAnExistingSceneAsOneUndoableStep) {
    CQuivraDoc doc;
    BuildSample(doc);
    const std::size_t before = doc.PointCount();
    const QByteArray scene = SceneFile::ToBytes(doc);
    int snapshots = 0;
    ASSERT_TRUE(UffReader::Import(Data("rotations.uff"), doc, nullptr, nullptr,
                                  [&] { snapshots += doc.SaveUndoState(); }));
    EXPECT_EQ(snapshots, 1);
    EXPECT_EQ(doc.PointCount(), before + 2);
    EXPECT_EQ(doc.m_nSeries, 3);
    EXPECT_EQ(doc.m_seriesFreqUnit.back(), 0); // the file's frequencies are in Hz
    delete doc.m_freePoints.back();            // an imported point knows its document
    EXPECT_EQ(doc.PointCount(), before + 1);
    EXPECT_FALSE(UffReader::Import("hello\n", doc, nullptr, nullptr));
    doc.Undo();
    EXPECT_EQ(SceneFile::ToBytes(doc), scene);
}

} // namespace
