// Universal File exchange: round trips through our own writer and reader, and hand-made files
// in the dialects other tools write.
#include "CommaLocale.h"
#include "TestScenes.h"
#include "UffReader.h"
#include "UffWriter.h"

#include <gtest/gtest.h>

#include <complex>
#include <map>
#include <set>

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

bool Import(const QByteArray& text, CQuivraDoc& doc, UffReader::Summary* s, QString* error) {
    return UffReader::Import(text, doc, s, error);
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
        file = UffWriter::Export(doc, QStringLiteral("sample"), &notes);
    }
    EXPECT_TRUE(notes.isEmpty());

    CQuivraDoc back;
    UffReader::Summary s;
    QString error;
    ASSERT_TRUE(Import(file, back, &s, &error)) << error.toStdString();
    EXPECT_TRUE(s.skipped.isEmpty()) << s.skipped.join(QLatin1Char(';')).toStdString();
    ASSERT_EQ(back.m_freePoints.size(), doc.PointCount());
    const auto original = doc.AllPoints();
    for (std::size_t i = 0; i < original.size(); ++i) {
        EXPECT_EQ(back.m_freePoints[i]->m_nNumber, original[i]->m_nNumber);
        EXPECT_EQ(back.m_freePoints[i]->m_x, original[i]->m_x); // exact: 17 digits
        EXPECT_EQ(back.m_freePoints[i]->m_y, original[i]->m_y);
        EXPECT_EQ(back.m_freePoints[i]->m_z, original[i]->m_z);
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
    const QByteArray file = UffWriter::Export(doc, QString(), &notes);
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].contains(QLatin1String("2 corner points")));
    CQuivraDoc back;
    ASSERT_TRUE(Import(file, back, nullptr, nullptr));
    std::set<int> labels;
    for (const CornerPoint* p : back.m_freePoints)
        labels.insert(p->m_nNumber);
    EXPECT_EQ(labels, (std::set<int>{5, 6, 7}));
}

// Hand-made files in other writers' habits.
const char* const kTouching =
    "    -1\n"
    "    15\n"
    "         1         0         0         0-1.000000E+00-2.000000E+00-3.000000E+00\n"
    "         2         0         0         0  4.00000E+00  5.00000E+00  6.00000E+00\n"
    "    -1\n";

const char* const kDExponentCrlfNoTrailer =
    "    -1\r\n"
    "  2411\r\n"
    "        10         1         1        11\r\n"
    "   1.5000000000000000D+00  -2.0000000000000000d-01   3.0000000000000000D+02\r\n"
    "        20         1         1        11\r\n"
    "   0.0000000000000000D+00\r\n" // short line: y and z read as 0
    "    -1\r\n"
    "    -1\r\n"
    "    82\r\n"
    "         1         5         0\r\n"
    "trace\r\n"
    "        10        20         0        20        10\r\n"
    "    -1\r\n"
    "    -1\r\n"
    "    55\r\n"
    "shape A\r\nNONE\r\nNONE\r\nNONE\r\nNONE\r\n"
    "         1         5         2         8         5         3\r\n"
    "         2         1         1         1\r\n"
    "  2.50000E+01\r\n"
    "        10\r\n"
    "  0.00000E+00  2.00000E+00  1.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00\r\n"
    "        20\r\n"
    "  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00 -3.00000E+00  0.00000E+00\r\n";

TEST(Uff, DialectsOfOtherWriters) {
    {
        CQuivraDoc doc;
        QString error;
        ASSERT_TRUE(Import(kTouching, doc, nullptr, &error)) << error.toStdString();
        ASSERT_EQ(doc.m_freePoints.size(), 2u);
        EXPECT_EQ(doc.m_freePoints[0]->m_x, -1.0);
        EXPECT_EQ(doc.m_freePoints[0]->m_y, -2.0);
        EXPECT_EQ(doc.m_freePoints[0]->m_z, -3.0);
        EXPECT_EQ(doc.m_freePoints[1]->m_z, 6.0);
    }
    CQuivraDoc doc;
    UffReader::Summary s;
    QString error;
    ASSERT_TRUE(Import(kDExponentCrlfNoTrailer, doc, &s, &error)) << error.toStdString();
    ASSERT_EQ(doc.m_freePoints.size(), 2u);
    EXPECT_EQ(doc.m_freePoints[0]->m_nNumber, 10);
    EXPECT_EQ(doc.m_freePoints[0]->m_y, -0.2);
    EXPECT_EQ(doc.m_freePoints[0]->m_z, 300.0);
    EXPECT_EQ(doc.m_freePoints[1]->m_y, 0.0);
    EXPECT_EQ(doc.m_nNextPointNumber, 21);
    EXPECT_EQ(doc.m_freeLines.size(), 2u); // 10-20, pen up, 20-10
    ASSERT_EQ(doc.m_nSeries, 1);
    EXPECT_EQ(doc.m_seriesNames[0], "shape A");
    EXPECT_EQ(doc.m_seriesFrequency[0], 25.0);
    // Node 10 moves along X with phase 90; node 20 along Z with phase 180.
    const MeasDirection* x = doc.m_freePoints[0]->m_directions.at(0);
    EXPECT_EQ(x->m_nCode, DirPlusX);
    EXPECT_DOUBLE_EQ(x->m_measurements[0]->m_dAmplitude, 2.0);
    EXPECT_DOUBLE_EQ(x->m_measurements[0]->m_dPhase, 90.0);
    const MeasDirection* y = doc.m_freePoints[0]->m_directions.at(1);
    EXPECT_EQ(y->m_nCode, DirPlusY);
    EXPECT_DOUBLE_EQ(y->m_measurements[0]->m_dPhase, 0.0);
    const MeasDirection* z = doc.m_freePoints[1]->m_directions.at(0);
    EXPECT_EQ(z->m_nCode, DirPlusZ);
    EXPECT_DOUBLE_EQ(z->m_measurements[0]->m_dAmplitude, 3.0);
    EXPECT_DOUBLE_EQ(std::fabs(z->m_measurements[0]->m_dPhase), 180.0);
}

TEST(Uff, RealShapesAndUnknownDatasets) {
    const QByteArray file = "    -1\n  2411\n         1         1         1        11\n"
                            "   1.0D+00   2.0D+00   3.0D+00\n    -1\n"
                            "    -1\n    58\nsome function data\n1 2 3\n    -1\n"
                            "    -1\n    55\nmode 1\nNONE\nNONE\nNONE\nNONE\n"
                            "         1         2         2         8         2         3\n"
                            "         2         4         1         1\n"
                            "  1.20000E+02  1.00000E+00  0.00000E+00  0.00000E+00\n"
                            "         1\n"
                            " -5.00000E-01  0.00000E+00  0.00000E+00\n"
                            "    -1\n";
    CQuivraDoc doc;
    UffReader::Summary s;
    QString error;
    ASSERT_TRUE(Import(file, doc, &s, &error)) << error.toStdString();
    ASSERT_EQ(s.skipped.size(), 1);
    EXPECT_TRUE(s.skipped[0].startsWith(QLatin1String("dataset 58 (line 7)")));
    ASSERT_EQ(doc.m_nSeries, 1);
    EXPECT_EQ(doc.m_seriesFrequency[0], 120.0);
    const MeasDirection* x = doc.m_freePoints[0]->m_directions.at(0);
    EXPECT_DOUBLE_EQ(x->m_measurements[0]->m_dAmplitude, 0.5);
    EXPECT_DOUBLE_EQ(x->m_measurements[0]->m_dPhase, 180.0);
}

TEST(Uff, BrokenFilesAreRejectedWholeWithDatasetAndLine) {
    struct Case {
        const char* label;
        QByteArray text;
        const char* mention;
    } cases[] = {
        {"node without coordinates", "    -1\n  2411\n         1         1         1        11\n",
         "dataset 2411 breaks off at line 4"},
        {"shape cut in its values",
         "    -1\n    15\n         1         0         0         0 1.0 2.0 3.0\n    -1\n"
         "    -1\n    55\nA\nB\nC\nD\nE\n         1         5         2         8         5        "
         " 3\n"
         "         2         1         1         1\n  1.00000E+01\n         1\n",
         "dataset 55 breaks off"},
        {"letters in a coordinate",
         "    -1\n  2411\n         1         1         1        11\n   1.0D+00   x.yD+00   3.0\n",
         "dataset 2411, line 4"},
        {"text before any dataset", "hello\n", "line 1"},
        {"empty file", "", "no dataset"},
        {"absurd trace length", "    -1\n    82\n         1 999999999         0\n", "out of range"},
    };
    for (const Case& c : cases) {
        CQuivraDoc doc;
        AddFree(doc, 9, 9, 9);
        QString error;
        EXPECT_FALSE(Import(c.text, doc, nullptr, &error)) << c.label;
        EXPECT_TRUE(error.contains(QLatin1String(c.mention)))
            << c.label << ": " << error.toStdString();
        EXPECT_EQ(doc.m_freePoints.size(), 1u) << c.label; // nothing half-imported
        EXPECT_EQ(doc.m_nSeries, 0) << c.label;
    }
}

TEST(Uff, ImportAddsToAnExistingSceneAsOneUndoableStep) {
    CQuivraDoc doc;
    BuildSample(doc);
    const std::size_t before = doc.PointCount();
    doc.SaveUndoState();
    ASSERT_TRUE(Import(kTouching, doc, nullptr, nullptr));
    EXPECT_EQ(doc.PointCount(), before + 2);
    // Existing directions got a (zero) measurement for no new series: the file has no shape.
    EXPECT_EQ(doc.m_nSeries, 2);
    doc.Undo();
    EXPECT_EQ(doc.PointCount(), before);
}

} // namespace
