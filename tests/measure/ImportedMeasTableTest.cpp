#include "ImportedMeasTable.h"
#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "KtlReader.h"
#include "MeasDirection.h"
#include "Measurement.h"

#include "KtlBuilder.h"

#include <gtest/gtest.h>

namespace {

QStringList ChoiceTexts(const std::vector<float>& fileMultiples) {
    KtlBuilder b;
    std::uint16_t id = 1;
    for (float m : fileMultiples)
        b.Add({id++, 1.f, 0.f, 10.f, m});
    const KtlResult r = KtlReader::ReadBytes(b.Bytes());
    QStringList texts;
    for (const auto& c : ImportedMeasTable::MultipleChoices(r.m_multiples))
        texts << c.m_strText;
    return texts;
}

TEST(ImportedMeasTable, ChoicesFromImportedFiles) {
    EXPECT_EQ(ChoiceTexts({2, 2, 1}), (QStringList{"All", "1.000000", "2.000000"}));
    EXPECT_EQ(ChoiceTexts({1, 1, 1}), (QStringList{"All", "0.000000", "1.000000"}));
    EXPECT_EQ(ChoiceTexts({}), (QStringList{"All", "0.000000", "0.000000"}));
    EXPECT_EQ(ImportedMeasTable::MultipleChoices({0.5f})[1].m_fValue, 0.5f);
}

TEST(ImportedMeasTable, FilterIsExact) {
    std::vector<ImportedMeas> records(5);
    const float multiples[] = {1.f, 1.0000001f, 2.f, 1.f, 0.f};
    for (int i = 0; i < 5; ++i) {
        records[i].m_nId = i + 1;
        records[i].m_fMultiple = multiples[i];
    }
    std::vector<int> ids;
    for (const ImportedMeas* m : ImportedMeasTable::Rows(records, 1.f))
        ids.push_back(m->m_nId);
    EXPECT_EQ(ids, (std::vector<int>{1, 4}));
    EXPECT_EQ(ImportedMeasTable::Rows(records, 0.f).size(), 5u);
}

TEST(ImportedMeasTable, RowTexts) {
    EXPECT_EQ(
        ImportedMeasTable::RowTexts(ImportedMeas{12, 2, 1, 1.5f, -90.f, 1480.f, 2.f}),
        (QStringList{"12", "1.500000", "-90.000000", "mm/s", "1480.000000", "RPM", "2.000000"}));
    // Codes without a table entry from the file or the instrument are shown, never looked up.
    const QStringList odd = ImportedMeasTable::RowTexts(ImportedMeas{1, 12, -1, 0, 0, 0, 0});
    EXPECT_EQ(odd[3], "?");
    EXPECT_EQ(odd[5], "?");
}

class CopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_doc.AddSeries();
        m_doc.AddSeries();
        auto* p = new CornerPoint(0, 0, 0, &m_doc);
        m_doc.m_freePoints.push_back(p);
        for (std::uint16_t code : {DirPlusX, DirPlusY, DirPlusZ}) {
            auto* d = new MeasDirection(code, p); // numbers 1, 2, 3
            p->m_directions.push_back(d);
            m_dirs.push_back(d);
        }
    }
    const Measurement& Meas(int dir, int series) const {
        return *m_dirs[std::size_t(dir)]->m_measurements[std::size_t(series)];
    }
    CQuivraDoc m_doc;
    std::vector<MeasDirection*> m_dirs;
};

TEST_F(CopyTest, CopyAllLooksAtTheFirstMinRowsOnly) {
    // Three imported rows, two Measurements rows (directions 2 and 1, in that order).
    const std::vector<ImportedMeas> records = {{1, 2, 0, 1.5f, 10.f, 0, 1},  // -> direction 1
                                               {9, 2, 0, 2.5f, 20.f, 0, 1},  // no direction 9
                                               {2, 2, 0, 3.5f, 30.f, 0, 1}}; // beyond min(n, m)
    const auto rows = ImportedMeasTable::Rows(records, 0.f);
    ASSERT_TRUE(ImportedMeasTable::CopyAll(&m_doc, rows, {m_dirs[1], m_dirs[0]}, 1).bChanged);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_doc.m_bUndoAvailable, 1);
    EXPECT_EQ(Meas(0, 1).m_dAmplitude, 1.5);
    EXPECT_EQ(Meas(0, 1).m_dPhase, 10.0);
    EXPECT_EQ(Meas(1, 1).m_dAmplitude, 0.0); // row 3 was not looked at
    EXPECT_EQ(Meas(0, 0).m_dAmplitude, 0.0); // other series untouched

    // The snapshot holds the values from before the copy.
    m_doc.Undo();
    double amplitude = -1;
    m_doc.ForEachPoint(
        [&](CornerPoint* p) { amplitude = p->m_directions[0]->m_measurements[1]->m_dAmplitude; });
    EXPECT_EQ(amplitude, 0.0);
}

TEST_F(CopyTest, CopyAllAndCopyOneEdges) {
    // No rows: nothing at all, not even a snapshot.
    EXPECT_FALSE(ImportedMeasTable::CopyAll(&m_doc, {}, m_dirs, 0).bChanged);
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_doc.m_bUndoAvailable, 0);

    const ImportedMeas rec{3, 0, 0, 4.25f, -45.f, 0, 1};
    EXPECT_FALSE(ImportedMeasTable::CopyOne(&m_doc, &rec, nullptr, 0));
    EXPECT_FALSE(ImportedMeasTable::CopyOne(&m_doc, nullptr, m_dirs[0], 0));
    EXPECT_FALSE(m_doc.IsModified());

    // Copy > goes to the marked direction whatever its number.
    ASSERT_TRUE(ImportedMeasTable::CopyOne(&m_doc, &rec, m_dirs[0], 0));
    EXPECT_EQ(Meas(0, 0).m_dAmplitude, 4.25);
    EXPECT_EQ(Meas(0, 0).m_dPhase, -45.0);

    // A series index the document does not have changes nothing and does not crash.
    const std::vector<const ImportedMeas*> rows{&rec};
    EXPECT_TRUE(ImportedMeasTable::CopyAll(&m_doc, rows, m_dirs, 2).bChanged);
    EXPECT_TRUE(ImportedMeasTable::CopyAll(&m_doc, rows, m_dirs, -1).bChanged);
    EXPECT_EQ(Meas(2, 0).m_dAmplitude, 0.0);
    EXPECT_EQ(Meas(2, 1).m_dAmplitude, 0.0);
}

} // namespace
