#include "ImportedMeasTable.h"
#include "InstDlgTestSupport.h"

#include <QLabel>
#include <QPushButton>

#include <limits>

using namespace instdlgtest;

namespace {

// Rows are there only while the window is shown; showing it brings the Measurements window,
// closing it leaves that one open.
TEST_F(ImportedWindows, RowTextsWhileShown) {
    Build(1);
    EXPECT_EQ(imported.List()->horizontalHeaderItem(5)->text(), "Rot. Unit");
    // A unit or speed code without a table entry shows "?" instead of reading past the tables.
    doc.m_importedMeas = {Rec(7, 1.5f, -90.f, 2.f, 3, 1), Rec(8, 0.25f, 10.f, 2.f, 42, 5)};
    doc.m_importedMultiples = {0.f, 2.f};
    imported.Rebuild();
    EXPECT_EQ(imported.List()->rowCount(), 0);
    imported.show();
    EXPECT_TRUE(meas.isVisible());
    EXPECT_EQ(meas.List()->GetItemCount(), 1);
    ASSERT_EQ(imported.List()->rowCount(), 2);
    EXPECT_EQ(Row(0),
              (QStringList{"7", "1.500000", "-90.000000", "m/s", "50.000000", "RPM", "2.000000"}));
    EXPECT_EQ(Row(1),
              (QStringList{"8", "0.250000", "10.000000", "?", "50.000000", "?", "2.000000"}));
    // No column cuts a number off.
    for (int c = 0; c < 7; ++c)
        EXPECT_GE(imported.List()->columnWidth(c),
                  static_cast<QAbstractItemView*>(imported.List())->sizeHintForColumn(c));
    Click(&imported, "Close");
    EXPECT_FALSE(imported.isVisible());
    EXPECT_EQ(imported.List()->rowCount(), 0);
    EXPECT_TRUE(meas.isVisible());
}

// The choice lists the rows of exactly one multiple; Copy All takes the listed rows only, each
// to the first listed direction of its number.
TEST_F(ImportedWindows, ChoicesExactFilterAndCopyAllOfTheListedRows) {
    Build(3);
    dirs[0]->m_nNumber = 3; // listed after dirs[2], collected later
    doc.m_importedMeas = {Rec(1, 1, 0, 2.f), Rec(2, 2, 0, 2.f), Rec(3, 3, 0, 1.f),
                          Rec(4, 4, 0, 1.0000001f)};
    doc.m_importedMultiples = {1.f, 2.f};
    imported.show();
    imported.Rebuild();
    EXPECT_EQ(Choices(), (QStringList{"All", "1.000000", "2.000000"}));
    EXPECT_EQ(imported.Choice()->currentIndex(), 0);
    EXPECT_EQ(Ids(), (QStringList{"1", "2", "3", "4"}));

    imported.OnChoiceChanged(1);
    EXPECT_EQ(imported.Filter(), 1.f);
    // Exactly 1: a multiple a hair above it is not listed.
    EXPECT_EQ(Ids(), (QStringList{"3"}));
    imported.OnCopyAll();
    ASSERT_EQ(meas.List()->DirectionAt(1), dirs[2]);
    EXPECT_DOUBLE_EQ(dirs[2]->m_measurements[0]->m_dAmplitude, 3.0);
    EXPECT_DOUBLE_EQ(dirs[0]->m_measurements[0]->m_dAmplitude, 0.0);
    EXPECT_DOUBLE_EQ(Amplitude(2), 0.0); // number 2 is not listed
    imported.OnChoiceChanged(2);
    EXPECT_EQ(Ids(), (QStringList{"1", "2"}));

    // Rebuilding (after an import, a transfer or a rebinding) goes back to "All".
    imported.Rebuild();
    EXPECT_EQ(imported.Filter(), 0.f);
    EXPECT_EQ(imported.Choice()->currentIndex(), 0);
    EXPECT_EQ(Ids().size(), 4);
}

// The Measurements window closed (its list emptied), a record with no number for amplitude,
// one without a direction, one beyond the first min(n, m): Copy All still copies, skips what is
// not a number, shows the values and says what it did.
TEST_F(ImportedWindows, CopyAllWithMeasurementsClosedSaysWhatItDid) {
    Build(3);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    doc.m_importedMeas = {Rec(2, 2.5f, 45.f, 1.f), Rec(9, 9.f, 9.f, 1.f), Rec(3, nan, 0.f, 1.f),
                          Rec(1, 1.f, 1.f, 1.f)};
    imported.show();
    meas.hide();
    EXPECT_EQ(Row(2)[1], QStringLiteral("nan"));
    Click(&imported, "CopyAll");
    EXPECT_DOUBLE_EQ(Amplitude(2), 2.5);
    EXPECT_DOUBLE_EQ(Amplitude(3), 0.0);
    EXPECT_DOUBLE_EQ(Amplitude(1), 0.0);
    EXPECT_TRUE(meas.isVisible());
    EXPECT_EQ(meas.List()->GetItemText(1, 3), QStringLiteral("2.5"));
    EXPECT_EQ(imported.StatusLine()->text(),
              QStringLiteral("Copy All: 1 direction received values; 1 matched no direction; 1 "
                             "skipped: amplitude or phase is not a number. 1 record was not "
                             "looked at: only as many records count as the Measurements list "
                             "has rows."));
    // "Copy >" refuses the record too.
    meas.List()->BeginCellEdit(2, 3);
    meas.List()->CloseCellEdit();
    imported.List()->setCurrentCell(2, 0);
    imported.OnCopy();
    EXPECT_DOUBLE_EQ(Amplitude(3), 0.0);
    EXPECT_TRUE(imported.StatusLine()->text().contains(QLatin1String("not copied")));
    // The copy is undone in one step (the records are new then: found through the document).
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_DOUBLE_EQ(doc.m_freePoints[1]->m_directions[0]->m_measurements[0]->m_dAmplitude, 0.0);
}

// After Copy All, a speed shared by every copied record is offered as the series' frequency,
// unless the series has it already or it is no speed (0). Number 7 matches no direction: its
// speed does not count.
TEST_F(ImportedWindows, CopyAllOffersTheSharedSpeed) {
    Build(3);
    imported.show();
    QPushButton* offer = imported.UseSpeedButton();
    const struct {
        int unit;
        float speed;
        double series;
        const char* text;
    } cases[] = {
        {0, 24.75f, 1000.0, "Set the series' frequency to 24.75 Hz"},
        {0, 24.75f, 24.75, ""},
        {0, 0.f, 1000.0, ""},
        {1, 24.75f, 1000.0, "Set the series' frequency to 24.75 RPM"},
    };
    for (const auto& [unit, speed, series, text] : cases) {
        SCOPED_TRACE(text);
        doc.m_seriesFrequency[0] = series;
        doc.m_importedMeas = {Rec(1, 1.f, 0.f, 1.f, 2, unit), Rec(2, 2.f, 0.f, 1.f, 2, unit),
                              Rec(7, 2.f, 0.f, 1.f)};
        doc.m_importedMeas[0].m_fSpeed = doc.m_importedMeas[1].m_fSpeed = speed;
        imported.Rebuild();
        Click(&imported, "CopyAll");
        // Every record was looked at: the summary says nothing about records left out.
        EXPECT_EQ(
            imported.StatusLine()->text(),
            QStringLiteral("Copy All: 2 directions received values; 1 matched no direction."));
        EXPECT_EQ(offer->isVisible() ? offer->text().toStdString() : "", text);
        if (!offer->isVisible())
            continue;
        doc.SetModifiedFlag(false);
        Click(&imported, "UseSpeed");
        EXPECT_EQ(doc.m_seriesFrequency[0], 24.75);
        EXPECT_EQ(doc.m_seriesFreqUnit[0], unit);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_FALSE(offer->isVisible());
    }
}

TEST_F(ImportedWindows, CopyNeedsBothMarks) {
    Build(2);
    doc.m_importedMeas = {Rec(5, 3.25f, 120.f, 1.f), Rec(6, 4.f, 30.f, 1.f)};
    doc.m_importedMultiples = {0.f, 1.f};
    imported.show();

    imported.List()->setCurrentCell(1, 0);
    imported.OnCopy(); // the Measurements list has no mark
    EXPECT_EQ(doc.m_bUndoAvailable, 0);

    // Clicking a Measurements row's amplitude opens its editor and marks the row.
    meas.List()->BeginCellEdit(1, 3);
    meas.List()->CloseCellEdit();
    ASSERT_EQ(meas.SelRow(), 1);

    imported.List()->setCurrentCell(1, 0);
    imported.OnCopy();
    // Number 6 goes to number 2: "Copy >" does not match numbers.
    EXPECT_DOUBLE_EQ(Amplitude(2), 4.0);
    EXPECT_DOUBLE_EQ(Phase(2), 30.0);
    EXPECT_DOUBLE_EQ(Amplitude(1), 0.0);
    EXPECT_EQ(doc.m_bUndoAvailable, 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(meas.List()->GetItemText(1, 4), QStringLiteral("30"));
}

TEST_F(ImportedWindows, RebuildDropsRowsOfReplacedRecords) {
    Build(2);
    doc.m_importedMeas = {Rec(1, 1.f, 1.f, 1.f), Rec(2, 2.f, 2.f, 1.f), Rec(1, 3.f, 3.f, 1.f)};
    doc.m_importedMultiples = {0.f, 1.f};
    imported.show();
    imported.OnChoiceChanged(1);
    ASSERT_EQ(imported.List()->rowCount(), 3);

    // An import that stops early replaces the records with fewer; the owner rebuilds the
    // window, and no row may outlive its record.
    doc.m_importedMeas = {Rec(2, 7.f, 70.f, 3.f)};
    doc.m_importedMultiples.clear();
    imported.Rebuild();
    EXPECT_EQ(Choices(), (QStringList{"All"}));
    ASSERT_EQ(imported.List()->rowCount(), 1);
    imported.List()->setCurrentCell(0, 0);
    meas.List()->BeginCellEdit(0, 3);
    meas.List()->CloseCellEdit();
    imported.OnCopy();
    EXPECT_DOUBLE_EQ(Amplitude(1), 7.0);

    imported.OnCopyAll();
    EXPECT_DOUBLE_EQ(Amplitude(2), 7.0);
    EXPECT_DOUBLE_EQ(Phase(2), 70.0);
}

TEST_F(ImportedWindows, StaleMeasurementsRowsAreNeverWrittenThrough) {
    Build(3);
    doc.m_importedMeas = {Rec(1, 1.f, 1.f, 1.f), Rec(3, 3.f, 3.f, 1.f), Rec(2, 2.f, 2.f, 1.f)};
    doc.m_importedMultiples = {0.f, 1.f};
    imported.show();
    ASSERT_EQ(meas.List()->GetItemCount(), 3);
    meas.List()->BeginCellEdit(0, 3);
    meas.List()->CloseCellEdit();

    // Point 1 (with direction 1) goes without the Measurements window being told.
    delete doc.m_freePoints[0];
    dirs[0] = nullptr;
    ASSERT_EQ(meas.List()->GetItemCount(), 3);
    imported.List()->setCurrentCell(0, 0);
    imported.OnCopy(); // the marked row's direction is gone: nothing happens
    EXPECT_EQ(doc.m_bUndoAvailable, 0);

    imported.OnCopyAll(); // the list is refilled first; rows 1 and 2 are then compared
    EXPECT_EQ(meas.List()->GetItemCount(), 2);
    EXPECT_DOUBLE_EQ(Amplitude(3), 3.0);
    EXPECT_DOUBLE_EQ(Amplitude(2), 0.0); // third imported row: beyond min(3, 2)

    // Without a series nothing matches, and nothing is read beyond the series.
    doc.RemoveSeries(0);
    imported.OnCopyAll();
    EXPECT_TRUE(dirs[1]->m_measurements.empty());
}

} // namespace
