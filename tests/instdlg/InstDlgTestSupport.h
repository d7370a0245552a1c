#pragma once

// A small scene with one series and numbered directions, the Measurements window and the
// imported-measurements window bound to it.
#include "CImportedMeasDlg.h"
#include "CMeasListCtrl.h"
#include "CMeasurementsDlg.h"
#include "TablesTestSupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QTableWidget>

namespace instdlgtest {

using tablestest::FakeView;

// A mouse click on the button of `parent` called `name`.
inline void Click(QWidget* parent, const char* name) {
    auto* b = parent->findChild<QAbstractButton*>(QString::fromLatin1(name));
    ASSERT_TRUE(b) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

struct ImportedWindows : ::testing::Test {
    CQuivraDoc doc;
    FakeView view{&doc};
    CMeasurementsDlg meas;
    CImportedMeasDlg imported;
    std::vector<MeasDirection*> dirs; // dirs[i] has number i + 1

    // `directions` free points with one +X direction each, numbered 1..directions.
    void Build(int directions) {
        doc.AddSeries();
        for (int i = 0; i < directions; ++i)
            dirs.push_back(testscenes::AddDirection(testscenes::AddFree(doc, i, 0, 0), DirPlusX));
        meas.Bind(&doc, &view);
        imported.Bind(&doc, &view);
        imported.SetMeasurementsWindow(&meas);
    }
    static ImportedMeas Rec(int id, float amplitude, float phase, float multiple, int unit = 2,
                            int freqUnit = 0) {
        return ImportedMeas{id, unit, freqUnit, amplitude, phase, 50.f, multiple};
    }
    double Amplitude(int number) const {
        return dirs.at(number - 1)->m_measurements[0]->m_dAmplitude;
    }
    double Phase(int number) const { return dirs.at(number - 1)->m_measurements[0]->m_dPhase; }

    QStringList Row(int r) const {
        QStringList cells;
        for (int c = 0; c < imported.List()->columnCount(); ++c)
            cells << imported.List()->item(r, c)->text();
        return cells;
    }
    QStringList Ids() const {
        QStringList ids;
        for (int r = 0; r < imported.List()->rowCount(); ++r)
            ids << imported.List()->item(r, 0)->text();
        return ids;
    }
    QStringList Choices() const {
        QStringList texts;
        for (int i = 0; i < imported.Choice()->count(); ++i)
            texts << imported.Choice()->itemText(i);
        return texts;
    }
};

} // namespace instdlgtest
