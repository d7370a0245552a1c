// The typical use of the program, as a user goes through it: a new document, a generated box,
// a direction picked in the view, a series, an instrument file copied in and the animation.
// (Whether what was built reads back as written, the soak checks after every step.)
#include "AppTestSupport.h"
#include "SceneBuilder.h"
#include "UseActions.h"

#include "BoxObject.h"
#include "CChildFrame.h"
#include "CInstrumentImport.h"
#include "CQuivraView.h"
#include "CommandIds.h"
#include "CornerPoint.h"
#include "MeasDirection.h"
#include "Measurement.h"
#include "MenuScript.h"

#include <QContextMenuEvent>
#include <QPushButton>
#include <QTest>

using namespace cmd;

namespace {

TEST_F(AppTest, TypicalUseFromStartToFinish) {
    // Start: a new, empty document.
    ASSERT_TRUE(Start());
    CAppDocument* appDoc = ActiveDoc();
    ASSERT_NE(appDoc, nullptr);
    CQuivraDoc* doc = appDoc->Doc();
    auto* view = qobject_cast<CQuivraView*>(appDoc->Frames().at(0)->View());
    ASSERT_NE(view, nullptr);

    // Edit → Create Box, "Generate Lines" as it starts: 8 corner points, 12 lines.
    ASSERT_TRUE(Run(ID_EDIT_BOX));
    QWidget* boxForm = Frame()->findChild<QWidget*>(QStringLiteral("boxmake"));
    ASSERT_TRUE(boxForm && boxForm->isVisible());
    QTest::mouseClick(boxForm->findChild<QPushButton*>("OK"), Qt::LeftButton);
    ASSERT_EQ(doc->m_objects.size(), 1u);
    EXPECT_EQ(doc->m_objects[0]->m_lines.size(), 12u);

    // Pick a corner point in the view and add +X from the context menu.
    view->setFocus();
    QApplication::processEvents();
    CornerPoint* target = doc->m_objects[0]->m_points[6];
    view->GL().MakeCurrent();
    const QPoint at = scene::PixelOf(view->GL(), *view, target->m_x, target->m_y, target->m_z);
    QTest::mouseClick(view, Qt::LeftButton, {}, at);
    ASSERT_EQ(doc->m_selPoints, std::vector<CornerPoint*>{target});
    {
        MenuScript answers({{"Meas. Dir.", {}}, {"X", {}}, {QString(), {}}});
        QContextMenuEvent e(QContextMenuEvent::Mouse, at, view->mapToGlobal(at));
        QApplication::sendEvent(view, &e);
        EXPECT_TRUE(answers.Done());
    }
    ASSERT_EQ(target->m_directions.size(), 1u);
    EXPECT_EQ(target->m_directions[0]->m_nCode, DirPlusX);

    // Measurement Series → "New" (24 frames per period).
    ASSERT_TRUE(Run(ID_EDIT_SERIES));
    QWidget* seriesForm = Frame()->findChild<QWidget*>(QStringLiteral("measseriedlg"));
    ASSERT_TRUE(seriesForm && seriesForm->isVisible());
    QTest::mouseClick(seriesForm->findChild<QPushButton*>("New"), Qt::LeftButton);
    ASSERT_EQ(doc->m_nSeries, 1);
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
    QTest::mouseClick(imported->findChild<QPushButton*>("CopyAll"), Qt::LeftButton);
    const Measurement* m = target->m_directions[0]->m_measurements[0];
    EXPECT_FLOAT_EQ(m->m_dAmplitude, 1.0); // record 1 of the example file
    EXPECT_EQ(m->m_dPhase, 0.0);
    EXPECT_TRUE(doc->IsModified());

    // Animation: the box swings, so frames differ. Only the focused view animates.
    UseActions use(Frame());
    ASSERT_TRUE(use.Activate(appDoc->Frames().at(0)));
    ASSERT_TRUE(use.Animate(true));
    const QImage first = view->Frame().copy();
    EXPECT_TRUE(UseActions::WaitFrames(view, 2));
    view->RepaintNow();
    EXPECT_NE(view->Frame(), first);
    ASSERT_TRUE(use.Animate(false));
}

} // namespace
