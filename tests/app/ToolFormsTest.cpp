// The tool windows are the real forms, bound to the document and the view that has the focus.
#include "AppTestSupport.h"

#include "CCameraSettingsDlg.h"
#include "CCreateBoxDlg.h"
#include "CCreateCylinderDlg.h"
#include "CDrawLinesHelpDlg.h"
#include "CEditCornerPointsDlg.h"
#include "CMeasSeriesDlg.h"
#include "CMeasurementsDlg.h"
#include "CMoveDlg.h"
#include "CPointListCtrl.h"
#include "CQuivraView.h"
#include "CommandIds.h"

#include <QLineEdit>

using namespace cmd;

namespace {

TEST_F(AppTest, ShowCommandsShowTheRealForms) {
    ASSERT_TRUE(Start({MakeScene()}));
    struct Case {
        int id;
        const char* key;
        const char* title;
        bool (*isReal)(QWidget*);
    };
    const Case cases[] = {
        {ID_EDIT_POINTS, "dlgpoints", "Edit Corner Points",
         [](QWidget* w) { return qobject_cast<CEditCornerPointsDlg*>(w) != nullptr; }},
        {ID_EDIT_CYLINDER, "cylmake", "Create Cylinder",
         [](QWidget* w) { return qobject_cast<CCreateCylinderDlg*>(w) != nullptr; }},
        {ID_EDIT_BOX, "boxmake", "Create Box",
         [](QWidget* w) { return qobject_cast<CCreateBoxDlg*>(w) != nullptr; }},
        {ID_EDIT_MEASUREMENTS, "measuredlg", nullptr,
         [](QWidget* w) { return qobject_cast<CMeasurementsDlg*>(w) != nullptr; }},
        {ID_EDIT_SERIES, "measseriedlg", "Measurement Series",
         [](QWidget* w) { return qobject_cast<CMeasSeriesDlg*>(w) != nullptr; }},
        {ID_EDIT_CAMERA, "dlgrotate", "Camera Settings",
         [](QWidget* w) { return qobject_cast<CCameraSettingsDlg*>(w) != nullptr; }},
        {ID_EDIT_LOCAL_ORIGIN, "dlgsetorigo", "Move Local Origin",
         [](QWidget* w) { return qobject_cast<CMoveDlg*>(w) != nullptr; }},
        {ID_HELP_DRAW_LINES, "dlghelplines", "How to draw lines",
         [](QWidget* w) { return qobject_cast<CDrawLinesHelpDlg*>(w) != nullptr; }},
        // Still empty, titled windows.
        {ID_FILE_TRANSFER, "transfermeasurements", "Transfer Measurements",
         [](QWidget* w) { return w != nullptr; }},
        {ID_EDIT_IMPORT, "importmeasurements", "Imported Instrument Measurements",
         [](QWidget* w) { return w != nullptr; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        QWidget* w = Frame()->findChild<QWidget*>(c.key);
        ASSERT_TRUE(c.isReal(w));
        EXPECT_FALSE(w->isVisible());
        ASSERT_TRUE(Run(c.id));
        EXPECT_TRUE(w->isVisible());
        if (c.title) {
            EXPECT_EQ(w->windowTitle(), c.title);
        }
    }
    // Bound to the document: the point table lists every corner point.
    auto* points = Frame()->findChild<CEditCornerPointsDlg*>("dlgpoints");
    EXPECT_EQ(points->List()->model()->rowCount(), int(ActiveDoc()->Doc()->PointCount()));
}

} // namespace
