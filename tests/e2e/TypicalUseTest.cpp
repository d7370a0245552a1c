// The typical use of the program, as a user goes through it: a new document, a generated box,
// a direction picked in the view, a series, an instrument file copied in, the animation, the
// scene saved and one period written as pictures.
#include "AppTestSupport.h"
#include "SceneBuilder.h"
#include "SimulatorProcess.h"

#include "BoxObject.h"
#include "CChildFrame.h"
#include "CInstrumentImport.h"
#include "CQuivraView.h"
#include "CommandIds.h"
#include "CornerPoint.h"
#include "MeasDirection.h"
#include "Measurement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <deque>

using namespace cmd;

namespace {

// Answers the popup menus as they open: each step names the entry to choose (empty: close).
class MenuAnswers {
public:
    explicit MenuAnswers(std::deque<QString> steps) : m_steps(std::move(steps)) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start();
    }
    bool Done() const { return m_steps.empty(); }
    QStringList m_seen; // the entries of every menu answered

private:
    void Poll() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || menu->property("answered").toBool() || m_steps.empty())
            return;
        menu->setProperty("answered", true);
        const QString choose = m_steps.front();
        m_steps.pop_front();
        QAction* chosen = nullptr;
        QStringList texts;
        for (QAction* a : menu->actions()) {
            texts << a->text();
            if (!choose.isEmpty() && a->text() == choose)
                chosen = a;
        }
        m_seen << texts.join(QLatin1Char('|'));
        if (chosen) {
            menu->setActiveAction(chosen);
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            QTest::keyClick(menu, Qt::Key_Escape);
        }
    }
    std::deque<QString> m_steps;
    QTimer m_timer;
};

template <class T> T* Child(QWidget* parent, const char* name) {
    return parent ? parent->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

TEST_F(AppTest, TypicalUseFromStartToFinish) {
    // Start: a new, empty document.
    ASSERT_TRUE(Start());
    CAppDocument* appDoc = ActiveDoc();
    ASSERT_NE(appDoc, nullptr);
    CQuivraDoc* doc = appDoc->Doc();
    auto* view = qobject_cast<CQuivraView*>(appDoc->Frames().at(0)->View());
    ASSERT_NE(view, nullptr);

    // Edit → Create Box with "Generate Lines": 8 corner points, 12 lines.
    ASSERT_TRUE(Run(ID_EDIT_BOX));
    QWidget* boxForm = Frame()->findChild<QWidget*>(QStringLiteral("boxmake"));
    ASSERT_TRUE(boxForm && boxForm->isVisible());
    auto* lines = Child<QCheckBox>(boxForm, "GenerateLines");
    ASSERT_NE(lines, nullptr);
    lines->setChecked(true);
    QTest::mouseClick(Child<QPushButton>(boxForm, "OK"), Qt::LeftButton);
    ASSERT_EQ(doc->m_objects.size(), 1u);
    ASSERT_EQ(doc->m_objects[0]->m_points.size(), 8u);
    EXPECT_EQ(doc->m_objects[0]->m_lines.size(), 12u);
    EXPECT_FALSE(boxForm->isVisible());

    // Pick a corner point in the view and add +X from the context menu.
    view->setFocus();
    QApplication::processEvents();
    CornerPoint* target = doc->m_objects[0]->m_points[6];
    view->GL().MakeCurrent();
    const QPoint at = scene::PixelOf(view->GL(), *view, target->m_x, target->m_y, target->m_z);
    QTest::mouseClick(view, Qt::LeftButton, {}, at);
    ASSERT_EQ(doc->m_selPoints.size(), 1u);
    ASSERT_EQ(doc->m_selPoints[0], target);
    {
        MenuAnswers answers({QStringLiteral("Meas. Dir."), QStringLiteral("X"), QString()});
        QContextMenuEvent e(QContextMenuEvent::Mouse, at, view->mapToGlobal(at));
        QApplication::sendEvent(view, &e);
        EXPECT_TRUE(answers.Done());
    }
    ASSERT_EQ(target->m_directions.size(), 1u);
    EXPECT_EQ(target->m_directions[0]->m_nCode, DirPlusX);
    EXPECT_EQ(target->m_directions[0]->m_nNumber, 1);

    // Measurement Series → "New": 1000 Hz, 24 frames per period.
    ASSERT_TRUE(Run(ID_EDIT_SERIES));
    QWidget* seriesForm = Frame()->findChild<QWidget*>(QStringLiteral("measseriedlg"));
    ASSERT_TRUE(seriesForm && seriesForm->isVisible());
    QTest::mouseClick(Child<QPushButton>(seriesForm, "New"), Qt::LeftButton);
    ASSERT_EQ(doc->m_nSeries, 1);
    EXPECT_EQ(doc->m_seriesFrequency[0], 1000.0);
    EXPECT_EQ(doc->m_seriesFramesPerPeriod[0], 24);
    ASSERT_EQ(target->m_directions[0]->m_measurements.size(), 1u);

    // File → "R4 import" of the example instrument file, then "Copy All >>".
    CInstrumentImport::AskFileName = [](QWidget*, const QString&) {
        return QStringLiteral(QUIVRA_EXAMPLES "/box_measurements.KTL");
    };
    ASSERT_TRUE(Run(ID_FILE_R4_IMPORT));
    CInstrumentImport::Reset();
    EXPECT_EQ(doc->m_importedMeas.size(), 16u);
    QWidget* imported = Frame()->findChild<QWidget*>(QStringLiteral("importmeasurements"));
    ASSERT_TRUE(imported && imported->isVisible());
    QTest::mouseClick(Child<QPushButton>(imported, "CopyAll"), Qt::LeftButton);
    const Measurement* m = target->m_directions[0]->m_measurements[0];
    EXPECT_FLOAT_EQ(m->m_dAmplitude, 1.0); // record 1 of the example file
    EXPECT_EQ(m->m_dPhase, 0.0);
    EXPECT_TRUE(doc->IsModified());

    // Animation: the box swings, so frames differ. Only the focused view animates.
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    view->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(view->m_bHasFocus);
    ASSERT_TRUE(Run(ID_ANIMATION));
    ASSERT_TRUE(view->m_bAnimating);
    QTest::qWait(60);
    const QImage first = view->Frame().copy();
    const int frame = view->m_nFrame;
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->m_nFrame != frame; }, 2000));
    view->RepaintNow();
    EXPECT_NE(view->Frame(), first);
    ASSERT_TRUE(Run(ID_ANIMATION));
    EXPECT_FALSE(view->m_bAnimating);

    // File → Save: the file loads back to the same scene.
    m_savePath = m_tmp.filePath(QStringLiteral("box.qvr"));
    ASSERT_TRUE(Run(ID_FILE_SAVE));
    EXPECT_FALSE(doc->IsModified());
    CQuivraDoc reloaded;
    ASSERT_TRUE(SceneFile::Load(m_savePath, reloaded, nullptr));
    EXPECT_EQ(SceneFile::ToBytes(reloaded), SceneFile::ToBytes(*doc));

    // Animation → Save: one period as 24 numbered pictures next to the scene.
    ASSERT_TRUE(Run(ID_ANIMATION_SAVE));
    const QStringList pictures =
        QDir(m_tmp.path()).entryList({QStringLiteral("box.qvr - New Measurement_*.bmp")});
    EXPECT_EQ(pictures.size(), 24);
    EXPECT_TRUE(pictures.contains(QStringLiteral("box.qvr - New Measurement_001.bmp")));
    EXPECT_TRUE(pictures.contains(QStringLiteral("box.qvr - New Measurement_024.bmp")));
}

} // namespace

namespace {

TEST_F(AppTest, MeasurementsTransferredFromTheInstrument) {
    SimulatorProcess instrument(QStringLiteral(QUIVRA_EXAMPLES));
    ASSERT_FALSE(instrument.m_strDevice.isEmpty());
    {
        QSettings settings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"));
        settings.setValue(QStringLiteral("serial/COM1"), instrument.m_strDevice);
    }
    // A box with a Z direction on each corner (directions 1..8) and one series.
    const QString scene = m_tmp.filePath(QStringLiteral("box.qvr"));
    {
        CQuivraDoc doc;
        BoxObject* box = testscenes::AddBox(doc, 0, 0, 0);
        for (CornerPoint* p : box->m_points)
            testscenes::AddDirection(p, DirPlusZ);
        doc.AddSeries();
        ASSERT_TRUE(SceneFile::Save(doc, scene, nullptr));
    }
    ASSERT_TRUE(Start({scene}));
    CQuivraDoc* doc = ActiveDoc()->Doc();

    // File → "&Transfer Quivra": the window lists the instrument's sets as it opens.
    ASSERT_TRUE(Run(ID_FILE_TRANSFER));
    QWidget* transfer = Frame()->findChild<QWidget*>(QStringLiteral("transfermeasurements"));
    ASSERT_TRUE(transfer && transfer->isVisible());
    auto* sets = Child<QListWidget>(transfer, "List");
    ASSERT_NE(sets, nullptr);
    // The exchange runs beside the event loop; OK is greyed until it has ended.
    auto* ok = Child<QPushButton>(transfer, "OK");
    ASSERT_TRUE(QTest::qWaitFor([ok] { return ok->isEnabled(); }, 15000));
    const QList<QListWidgetItem*> found =
        sets->findItems(QStringLiteral("box_measurements"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    found[0]->setSelected(true);
    QTest::mouseClick(ok, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([ok] { return ok->isEnabled(); }, 15000));
    ASSERT_EQ(doc->m_importedMeas.size(), 16u); // a value A and B for each of the 8 numbers
    EXPECT_FALSE(transfer->isVisible());

    // The imported list filtered on its first multiple, then "Copy All >>".
    QWidget* imported = Frame()->findChild<QWidget*>(QStringLiteral("importmeasurements"));
    ASSERT_TRUE(imported && imported->isVisible());
    auto* multiple = Child<QComboBox>(imported, "Multiple");
    ASSERT_NE(multiple, nullptr);
    ASSERT_EQ(multiple->count(), 3); // "All" and the two multiples
    multiple->setCurrentIndex(1);
    emit multiple->activated(1); // as the user's choice in the list does
    QTest::mouseClick(Child<QPushButton>(imported, "CopyAll"), Qt::LeftButton);
    // Each direction holds the transferred record of its number under that multiple.
    const float chosen = doc->m_importedMultiples.at(0);
    for (const CornerPoint* p : doc->m_objects[0]->m_points) {
        const MeasDirection* d = p->m_directions.at(0);
        const ImportedMeas* record = nullptr;
        for (const ImportedMeas& r : doc->m_importedMeas)
            if (!record && r.m_nId == d->m_nNumber && r.m_fMultiple == chosen)
                record = &r;
        ASSERT_NE(record, nullptr) << d->m_nNumber;
        EXPECT_EQ(d->m_measurements[0]->m_dAmplitude, record->m_fAmplitude) << d->m_nNumber;
        EXPECT_EQ(d->m_measurements[0]->m_dPhase, record->m_fPhase) << d->m_nNumber;
        EXPECT_NE(d->m_measurements[0]->m_dAmplitude, 0.0);
    }
    EXPECT_TRUE(doc->IsModified());
}

} // namespace
