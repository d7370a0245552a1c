#include "CCellEdit.h"
#include "CMeasListCtrl.h"
#include "CMeasSeriesDlg.h"
#include "CMeasurementsDlg.h"
#include "CSeriesEditDlg.h"
#include "CellNumber.h"
#include "CommaLocale.h"
#include "TablesTestSupport.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>

using namespace testscenes;
using tablestest::FakeView;

namespace {

// Answers the next message box with `button` and records its text.
void AnswerNextMessageBox(QMessageBox::StandardButton button, QString* text) {
    QTimer::singleShot(0, [button, text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        *text = box->text();
        box->button(button)->click();
    });
}

const char* const kDeleteQuestion = "Are you sure you want to delete the entire measurement "
                                    "serie?\n All measurement data in the serie will be deleted!";

// A document with both series windows bound to it.
struct WindowSet {
    CQuivraDoc doc;
    FakeView view{&doc};
    CMeasurementsDlg meas;
    CMeasSeriesDlg series;

    WindowSet() {
        series.Bind(&doc, &view);
        series.SetMeasurementsDlg(&meas);
        meas.Bind(&doc, &view);
    }
};

struct Windows : ::testing::Test, WindowSet {
    // One series and `n` +X directions on free points, their phases 0, 10, ...; shown.
    void Build(int n) {
        doc.AddSeries();
        for (int i = 0; i < n; ++i)
            AddDirection(AddFree(doc, i, 0, 0), DirPlusX)->m_measurements[0]->m_dPhase = 10 * i;
        ASSERT_TRUE(tablestest::ShowActive(&meas));
        ASSERT_EQ(List()->GetItemCount(), n);
    }
    MeasDirection* Dir(int i) const { return doc.m_freePoints[i]->m_directions[0]; }
    std::pair<int, int> EditorCell() const {
        CCellEdit* e = List()->CurrentEditor();
        return e ? std::make_pair(e->Row(), e->Column()) : std::make_pair(-1, -1);
    }
    CMeasListCtrl* List() const { return meas.List(); }
    QStringList Row(int r) const {
        QStringList cells;
        for (int c = 0; c < 5; ++c)
            cells << List()->GetItemText(r, c);
        return cells;
    }
    std::vector<int> Ids() const {
        std::vector<int> ids;
        for (int r = 0; r < List()->GetItemCount(); ++r)
            ids.push_back(List()->GetItemText(r, 0).toInt());
        return ids;
    }
};

} // namespace

TEST_F(Windows, TitleAndRowsFollowTheCurrentSeries) {
    doc.AddSeries();
    doc.AddSeries();
    CornerPoint* p = AddFree(doc, 0, 0, 0);
    BoxObject* box = AddBox(doc, 0, 0, 0);
    MeasDirection* r = AddDirection(p, DirRadialIn);
    MeasDirection* x = AddDirection(box->m_points[2], DirMinusX);
    MeasDirection* odd = AddDirection(box->m_points[3], DirPlusZ);
    odd->m_nCode = 3; // not a single direction: no code name
    x->m_measurements[1]->m_dAmplitude = 0.123456;
    x->m_measurements[1]->m_dPhase = -45;
    doc.m_seriesNames[1] = "Run-up";
    doc.m_seriesFrequency[1] = 1500;
    doc.m_seriesFreqUnit[1] = 1;
    view.m_nCurrentSeries = 1;
    meas.Refill(true);
    EXPECT_EQ(meas.windowTitle(), "Run-up : 1500 RPM.");
    ASSERT_EQ(List()->GetItemCount(), 3);
    EXPECT_EQ(List()->DirectionAt(0), r);
    EXPECT_EQ(Row(0), (QStringList{"1", "1", "-R", "0", "0"}));
    EXPECT_EQ(Row(1), (QStringList{"2", "4", "-X", "0.1235", "-45"}));
    EXPECT_EQ(Row(2), (QStringList{"3", "5", "", "0", "0"}));
    view.m_nCurrentSeries = 0;
    meas.Refill(true);
    EXPECT_EQ(meas.windowTitle(), "New Measurement : 1000 Hz.");
    EXPECT_EQ(Row(1)[3], "0");
    meas.Refill(false);
    EXPECT_EQ(List()->GetItemCount(), 0);
    EXPECT_EQ(meas.windowTitle(), "New Measurement : 1000 Hz.");
}

// The row buttons: Invert Phase adds half a turn and wraps once; the spin swaps numbers with the
// neighbour and the entry follows.
TEST_F(Windows, InvertPhaseAndSpinActOnTheMarkedRow) {
    Build(3);
    const std::vector<MeasDirection*> d = {Dir(0), Dir(1), Dir(2)};
    meas.OnInvertPhase(); // no row selected yet
    EXPECT_EQ(d[0]->m_measurements[0]->m_dPhase, 0.0);
    const std::pair<double, double> cases[] = {{270, 90}, {-90, 90}, {600, 420}, {0, 180}};
    for (const auto& [before, after] : cases) {
        d[0]->m_measurements[0]->m_dPhase = before;
        List()->BeginCellEdit(0, 3);
        meas.OnInvertPhase();
        EXPECT_DOUBLE_EQ(d[0]->m_measurements[0]->m_dPhase, after) << before;
        EXPECT_EQ(List()->GetItemText(0, 4), Format4G(after));
    }
    doc.SetModifiedFlag(false);

    // Ends: nothing.
    List()->BeginCellEdit(0, 3);
    meas.OnSpin(-1);
    EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(List()->DirectionAt(0), d[0]);
    List()->BeginCellEdit(2, 3);
    meas.OnSpin(1);
    EXPECT_EQ(List()->DirectionAt(2), d[2]);
    EXPECT_FALSE(doc.IsModified());

    // Middle: the typed value is committed, then the entry moves down.
    List()->BeginCellEdit(1, 3);
    QTest::keyClicks(List()->CurrentEditor(), "2.5");
    meas.OnSpin(1);
    EXPECT_DOUBLE_EQ(d[1]->m_measurements[0]->m_dAmplitude, 2.5);
    EXPECT_EQ(d[1]->m_nNumber, 3);
    EXPECT_EQ(d[2]->m_nNumber, 2);
    EXPECT_EQ(List()->DirectionAt(2), d[1]);
    ASSERT_TRUE(List()->CurrentEditor());
    EXPECT_EQ(List()->CurrentEditor()->Row(), 2);
    EXPECT_TRUE(doc.IsModified());
    meas.OnSpin(-1);
    EXPECT_EQ(d[1]->m_nNumber, 2);
    EXPECT_EQ(List()->DirectionAt(1), d[1]);
}

TEST_F(Windows, CompactNumbersEqualIdsInListedOrder) {
    Build(3);
    MeasDirection *a = Dir(0), *b = Dir(1), *c = Dir(2);
    a->m_nNumber = 7;
    b->m_nNumber = 7;
    c->m_nNumber = 9;
    meas.Refill(true);
    meas.OnCompact();
    EXPECT_EQ(b->m_nNumber, 1); // collected later, listed first
    EXPECT_EQ(a->m_nNumber, 2);
    EXPECT_EQ(c->m_nNumber, 3);
    EXPECT_EQ(doc.m_nNextDirectionNumber, 4);
    EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 3}));
}

// Deleting any series (after the question; No keeps everything), whichever is current in the
// view, while the animation keeps stepping: the current index always names an existing series
// afterwards, and the same series as before unless that one was deleted.
TEST_F(Windows, DeletingInEveryPositionKeepsTheCurrentIndexValid) {
    for (int n = 1; n <= 4; ++n) {
        for (int sel = 0; sel < n; ++sel) {
            for (int current = 0; current < n; ++current) {
                SCOPED_TRACE(testing::Message()
                             << n << " series, delete " << sel << ", current " << current);
                WindowSet w;
                CQuivraDoc& d = w.doc;
                MeasDirection* dir = AddDirection(AddFree(d, 0, 0, 0), DirPlusX);
                for (int k = 0; k < n; ++k) {
                    d.AddSeries();
                    d.m_seriesNames.back() = "S" + std::to_string(k);
                    d.m_seriesFramesPerPeriod.back() = k + 2;
                }
                w.series.show();
                w.meas.show();
                w.series.List()->setCurrentItem(w.series.List()->topLevelItem(sel));
                w.series.OnEdit();
                ASSERT_TRUE(w.series.EditDlg()->isVisible());
                w.view.Tick();
                // The view's own series may differ from the selected row.
                w.view.m_nCurrentSeries = current;
                w.view.Tick();
                const std::string before = d.m_seriesNames[static_cast<std::size_t>(current)];
                QString text;
                AnswerNextMessageBox(QMessageBox::No, &text);
                w.series.OnDelete();
                EXPECT_EQ(text, kDeleteQuestion);
                ASSERT_EQ(d.m_nSeries, n);
                EXPECT_FALSE(d.m_bUndoAvailable);
                AnswerNextMessageBox(QMessageBox::Yes, &text);
                w.series.OnDelete();
                w.view.Tick();
                ASSERT_EQ(d.m_nSeries, n - 1);
                ASSERT_EQ(dir->m_measurements.size(), static_cast<std::size_t>(n - 1));
                if (n == 1) {
                    EXPECT_EQ(w.meas.List()->GetItemCount(), 0);
                    EXPECT_EQ(w.series.SelSeries(), -1);
                    EXPECT_FALSE(w.series.EditDlg()->isVisible());
                    w.series.OnDelete(); // nothing selected: no question, nothing happens
                    d.Undo();
                    EXPECT_EQ(d.m_nSeries, 1);
                    continue;
                }
                ASSERT_GE(w.view.m_nCurrentSeries, 0);
                ASSERT_LT(w.view.m_nCurrentSeries, d.m_nSeries);
                if (current != sel)
                    EXPECT_EQ(d.m_seriesNames[static_cast<std::size_t>(w.view.m_nCurrentSeries)],
                              before);
                else
                    EXPECT_EQ(w.view.m_nCurrentSeries, 0);
                EXPECT_EQ(w.meas.List()->GetItemCount(), 1);
                EXPECT_EQ(w.series.SelSeries(), w.view.m_nCurrentSeries);
            }
        }
    }
}

TEST_F(Windows, NoSeriesOrAnIndexBeyondTheLastMeansAnEmptyListAndIdleButtons) {
    CornerPoint* p = AddFree(doc, 0, 0, 0);
    AddDirection(p, DirPlusX);
    AddDirection(p, DirPlusY);
    meas.Refill(true);
    EXPECT_EQ(List()->GetItemCount(), 0);
    meas.OnInvertPhase();
    meas.OnSpin(1);
    meas.OnSpin(-1);
    EXPECT_EQ(p->m_directions[1]->m_nNumber, 2);
    EXPECT_FALSE(doc.IsModified());
    meas.OnCompact();
    EXPECT_EQ(doc.m_nNextDirectionNumber, 1);

    doc.AddSeries();
    doc.AddSeries();
    view.m_nCurrentSeries = 5; // the document lost series under the view
    meas.Refill(true);
    EXPECT_EQ(List()->GetItemCount(), 0);
    List()->BeginCellEdit(0, 3);
    meas.OnInvertPhase();
    series.Refill();
    EXPECT_EQ(view.m_nCurrentSeries, 1);
    EXPECT_EQ(series.SelSeries(), 1);
    EXPECT_EQ(List()->GetItemCount(), 2);
}

TEST_F(Windows, NewTwiceMakesTheSecondCurrentAndRenameAppliesOnEnterNotOnEscape) {
    MeasDirection* d = AddDirection(AddFree(doc, 0, 0, 0), DirPlusX);
    series.show();
    series.OnNew();
    series.OnNew();
    EXPECT_EQ(view.m_nCurrentSeries, 1);
    EXPECT_EQ(series.SelSeries(), 1);
    EXPECT_EQ(d->m_measurements.size(), 2u);
    ASSERT_TRUE(series.EditDlg() && series.EditDlg()->isVisible());
    EXPECT_EQ(List()->GetItemCount(), 1); // Measurements refilled on selection
    doc.SetModifiedFlag(false);
    ASSERT_TRUE(tablestest::ShowActive(&series));
    QTreeWidget* list = series.List();
    auto rename = [&](int row, const QString& text, Qt::Key key) {
        list->setCurrentItem(list->topLevelItem(row));
        list->editItem(list->topLevelItem(row));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_TRUE(editor);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, key);
        QApplication::processEvents();
    };
    rename(1, "Coast-down", Qt::Key_Escape);
    EXPECT_EQ(doc.m_seriesNames[1], "New Measurement");
    EXPECT_FALSE(doc.IsModified());
    rename(1, "Coast-down", Qt::Key_Return);
    EXPECT_EQ(doc.m_seriesNames[1], "Coast-down");
    EXPECT_EQ(doc.m_seriesNames[0], "New Measurement");
    EXPECT_TRUE(doc.IsModified());
}

namespace {

struct EditSeries : Windows {
    CSeriesEditDlg* edit = nullptr;
    void SetUp() override {
        Windows::SetUp();
        doc.AddSeries();
        series.show();
        series.OnEdit();
        edit = series.EditDlg();
        ASSERT_TRUE(edit);
        ASSERT_TRUE(tablestest::ShowActive(edit));
    }
    // Types into a field and moves the focus on, as the user leaves it. One key event per
    // character (QTest's key clicks know only ASCII).
    void Enter(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
        }
        (field == edit->NameField() ? edit->FrequencyField() : edit->NameField())->setFocus();
    }
};

} // namespace

TEST_F(EditSeries, FramesAndCalculatedAmplification) {
    const std::pair<const char*, int> cases[] = {{"-12.7", 12}, {"36", 36},    {"", 36},
                                                 {"0", 36},     {"0.9", 36},   {"abc", 36},
                                                 {"1e30", 36},  {"10001", 36}, {"10000", 10000}};
    for (const auto& [text, frames] : cases) {
        Enter(edit->FramesField(), QString::fromLatin1(text));
        EXPECT_EQ(doc.m_seriesFramesPerPeriod[0], frames) << text;
        EXPECT_EQ(edit->FramesField()->text(), FormatInt(frames)) << text;
    }
    // Calculate keeps the motion within a fraction of the nearest neighbour.
    BoxObject* box = AddBox(doc, 0, 0, 0);
    for (CornerPoint* p : box->m_points) {
        p->m_x *= 2;
        p->m_y *= 2;
        p->m_z *= 2;
    }
    AddDirection(box->m_points[0], DirPlusX)->m_measurements[0]->m_dAmplitude = 0.25;
    AddDirection(box->m_points[0], DirPlusY)->m_measurements[0]->m_dAmplitude = -3; // ignored
    AddDirection(box->m_points[5], DirPlusZ)->m_measurements[0]->m_dAmplitude = 0.5;
    AddDirection(box->m_points[6], DirPlusZ); // amplitude 0 never limits
    // Directions on free points never limit, nor does a series that is not there.
    AddDirection(AddFree(doc, 1e4, 0, 0), DirPlusX)->m_measurements[0]->m_dAmplitude = 1e6;
    EXPECT_EQ(ProposeAmplification(doc, -1), 1e100);
    const int repaints = view.m_nRepaintsNow;
    edit->OnCalculate();
    EXPECT_DOUBLE_EQ(doc.m_seriesAmplification[0], 1.2);
    EXPECT_EQ(view.m_nRepaintsNow, repaints + 1);
}

// Fields apply when the focus leaves them, refusing what they cannot take with the reason;
// buttons apply at once.
TEST_F(EditSeries, FieldsApplyOnFocusLossButtonsAtOnce) {
    meas.show();
    Enter(edit->FrequencyField(), "1.5e3abc");
    EXPECT_DOUBLE_EQ(doc.m_seriesFrequency[0], 1500.0);
    EXPECT_EQ(meas.windowTitle(), "New Measurement : 1500 Hz.");
    Enter(edit->NameField(), "Idle");
    EXPECT_EQ(series.List()->topLevelItem(0)->text(0), "Idle");
    Enter(edit->AmplificationField(), "2.5x");
    EXPECT_EQ(doc.m_seriesAmplification[0], 2.5);
    EXPECT_TRUE(doc.IsModified());
    // The unit buttons change the unit, not the value.
    edit->RpmButton()->click();
    EXPECT_EQ(doc.m_seriesFreqUnit[0], 1);
    EXPECT_EQ(meas.windowTitle(), "Idle : 1500 RPM.");
    edit->HzButton()->click();
    EXPECT_EQ(doc.m_seriesFreqFlag[0], 1);
    Enter(edit->AmplificationField(), "x");
    EXPECT_EQ(doc.m_seriesAmplification[0], 2.5);
    EXPECT_EQ(edit->AmplificationField()->text(), "2.5");
    EXPECT_TRUE(edit->StatusLine()->text().contains("not a number"));
    // Characters the file cannot hold are refused as they are typed, never stored as '?'.
    Enter(edit->NameField(),
          QString::fromUtf8("Pumpe \u041b\u043e\u043f\u0430\u0441\u0442\u044c \u20ac"));
    EXPECT_EQ(doc.m_seriesNames[0], "Pumpe  ");
    EXPECT_TRUE(edit->StatusLine()->text().contains(QChar(0x20ac)));
}

// Tabbing through stores nothing: not the "%g" text, not a name the field cut, not a number
// read under the other decimal separator.
TEST_F(EditSeries, VisitingTheFieldsChangesNothing) {
    CommaLocale locale;
    ASSERT_TRUE(locale.IsActive()) << locale.Why().toStdString();
    meas.show();
    const std::string name(40000, 'n');
    doc.m_seriesNames[0] = name;
    doc.m_seriesFrequency[0] = 1234.5678;
    doc.m_seriesAmplification[0] = 2.5;
    edit->LoadFields();
    doc.SetModifiedFlag(false);
    for (QLineEdit* f : {edit->FrequencyField(), edit->FramesField(), edit->AmplificationField(),
                         edit->NameField(), edit->FrequencyField()})
        f->setFocus();
    EXPECT_TRUE(doc.m_seriesNames[0] == name) << "name of " << doc.m_seriesNames[0].size();
    EXPECT_EQ(doc.m_seriesFrequency[0], 1234.5678);
    EXPECT_EQ(doc.m_seriesAmplification[0], 2.5);
    EXPECT_FALSE(doc.IsModified());
    // Typed numbers are read, and the title shows them, with the user's separator.
    Enter(edit->FrequencyField(), "12,5");
    EXPECT_EQ(doc.m_seriesFrequency[0], 12.5);
    EXPECT_EQ(meas.windowTitle(), QString::fromStdString(name) + " : 12,5 Hz.");
}

// Rows whose direction was destroyed elsewhere (the window was not refilled yet) are neither
// read nor written.
TEST_F(Windows, StaleRowsAreLeftAlone) {
    Build(2);
    CornerPoint* p = doc.m_freePoints[0];
    MeasDirection* kept = Dir(1);
    List()->BeginCellEdit(0, 3);
    QTest::keyClicks(List()->CurrentEditor(), "4");
    delete p; // takes its direction along
    doc.m_pHighlightPoint = nullptr;
    QTest::keyClick(List()->CurrentEditor(), Qt::Key_Tab); // commits row 0: refused
    EXPECT_EQ(List()->GetItemText(0, 3), "0");
    meas.OnSpin(-1);
    EXPECT_EQ(kept->m_nNumber, 2);
    List()->BeginCellEdit(0, 4);
    EXPECT_EQ(doc.m_pHighlightPoint, nullptr);
    meas.OnInvertPhase();
    meas.Refill(true);
    ASSERT_EQ(List()->GetItemCount(), 1);
    EXPECT_EQ(List()->DirectionAt(0), kept);
}

// The leading number is read (NumberTextTest has its rules), in the user's locale.
TEST_F(Windows, CommaLocaleCellsReadAndShowCommas) {
    CommaLocale locale;
    ASSERT_TRUE(locale.IsActive()) << locale.Why().toStdString();
    Build(1);
    const std::pair<const char*, double> cases[] = {{"0,9Hz", 0.9}, {"2.5", 0.9}};
    for (const auto& [text, amplitude] : cases) {
        List()->BeginCellEdit(0, 3);
        QTest::keyClicks(List()->CurrentEditor(), QString::fromLatin1(text));
        QTest::keyClick(List()->CurrentEditor(), Qt::Key_Return);
        EXPECT_DOUBLE_EQ(Dir(0)->m_measurements[0]->m_dAmplitude, amplitude) << text;
        EXPECT_EQ(List()->GetItemText(0, 3), "0,9") << text;
        EXPECT_TRUE(doc.IsModified());
    }
    // "2.5" is the other convention's number: refused rather than read as 2.
    EXPECT_TRUE(meas.StatusLine()->text().contains(QLatin1String("\",\"")))
        << meas.StatusLine()->text().toStdString();
}

TEST_F(Windows, ClicksTabAndEnterOpenTheValueCells) {
    Build(3);
    EXPECT_EQ(doc.m_bMeasEdited, 0);
    const QRect id = List()->visualRect(List()->model()->index(2, 0));
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, id.center());
    EXPECT_EQ(EditorCell(), std::make_pair(2, 3));
    EXPECT_EQ(meas.SelRow(), 2);
    EXPECT_EQ(doc.m_bMeasEdited, 1);
    EXPECT_EQ(doc.m_pHighlightPoint, doc.m_freePoints[2]);
    const QRect angle = List()->visualRect(List()->model()->index(0, 4));
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, angle.center());
    EXPECT_EQ(EditorCell(), std::make_pair(0, 4));
    EXPECT_EQ(List()->CurrentEditor()->text(), "0");
    // Tab goes from amplitude to angle and on down, staying on the last row; Enter commits and
    // moves down.
    List()->BeginCellEdit(1, 3);
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int row, column;
    } steps[] = {
        {Qt::Key_Tab, {}, 1, 4},
        {Qt::Key_Tab, {}, 2, 3},
        {Qt::Key_Tab, {}, 2, 4},
        {Qt::Key_Tab, {}, 2, 3},
        {Qt::Key_Backtab, Qt::ShiftModifier, 1, 4},
    };
    for (const auto& s : steps) {
        QTest::keyClick(List()->CurrentEditor(), s.key, s.mods);
        EXPECT_EQ(EditorCell(), std::make_pair(s.row, s.column)) << s.key;
    }
    List()->BeginCellEdit(0, 4);
    QTest::keyClicks(List()->CurrentEditor(), "45");
    QTest::keyClick(List()->CurrentEditor(), Qt::Key_Enter);
    EXPECT_DOUBLE_EQ(Dir(0)->m_measurements[0]->m_dPhase, 45.0);
    EXPECT_EQ(EditorCell(), std::make_pair(1, 4));
    EXPECT_EQ(List()->CurrentEditor()->text(), "10");
}
