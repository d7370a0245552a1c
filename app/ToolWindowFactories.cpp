#include "ToolWindowFactories.h"

#include "CCameraSettingsDlg.h"
#include "CCreateBoxDlg.h"
#include "CCreateCylinderDlg.h"
#include "CDocToolWindows.h"
#include "CDrawLinesHelpDlg.h"
#include "CEditCornerPointsDlg.h"
#include "CImportedMeasDlg.h"
#include "CMeasSeriesDlg.h"
#include "CMeasurementsDlg.h"
#include "CMoveDlg.h"
#include "CQuivraDoc.h"
#include "CTransferDlg.h"
#include "CommandIds.h"
#include "IDocView.h"
#include "ISeriesHost.h"
#include "SerialPort.h"

#include <QDialog>

namespace {

// The measurement windows follow the series of the view they are bound to.
ISeriesHost* SeriesHostOf(IDocView* view) {
    return dynamic_cast<ISeriesHost*>(view);
}

ToolWindowParts MakeEditPoints(QWidget* owner) {
    auto* dlg = new CEditCornerPointsDlg(owner);
    // Takes the document only.
    return ToolWindowParts{dlg, [dlg](CQuivraDoc* doc, IDocView*) { dlg->Bind(doc); },
                           [dlg] { dlg->RebuildTable(dlg->isVisible()); }};
}
ToolWindowParts MakeCreateCylinder(QWidget* owner) {
    auto* dlg = new CCreateCylinderDlg(owner);
    return ToolWindowParts{
        dlg, [dlg](CQuivraDoc* doc, IDocView* view) { dlg->Bind(doc, view); }, {}};
}
ToolWindowParts MakeCreateBox(QWidget* owner) {
    auto* dlg = new CCreateBoxDlg(owner);
    return ToolWindowParts{
        dlg, [dlg](CQuivraDoc* doc, IDocView* view) { dlg->Bind(doc, view); }, {}};
}
ToolWindowParts MakeMeasurements(QWidget* owner) {
    auto* dlg = new CMeasurementsDlg(owner);
    return ToolWindowParts{
        dlg, [dlg](CQuivraDoc* doc, IDocView* view) { dlg->Bind(doc, SeriesHostOf(view)); },
        [dlg] { dlg->Refill(dlg->isVisible()); }};
}
ToolWindowParts MakeMeasurementSeries(QWidget* owner) {
    auto* dlg = new CMeasSeriesDlg(owner);
    return ToolWindowParts{
        dlg, [dlg](CQuivraDoc* doc, IDocView* view) { dlg->Bind(doc, SeriesHostOf(view)); },
        [dlg] { dlg->Refill(); }};
}
ToolWindowParts MakeCameraSettings(QWidget* owner) {
    auto* dlg = new CCameraSettingsDlg(owner);
    return ToolWindowParts{dlg, [dlg](CQuivraDoc* doc, IDocView* view) { dlg->Bind(doc, view); },
                           [dlg] { dlg->ShowValues(); }};
}
ToolWindowParts MakeMoveLocalOrigin(QWidget* owner) {
    auto* dlg = new CMoveDlg(CMoveDlg::Layout::MoveOrigin, owner);
    return ToolWindowParts{
        dlg, [dlg](CQuivraDoc* doc, IDocView* view) { dlg->Bind(doc, view); }, {}};
}
ToolWindowParts MakeHelpLines(QWidget* owner) {
    // Takes neither document nor view.
    return ToolWindowParts{new CDrawLinesHelpDlg(owner), {}, {}};
}
ToolWindowParts MakeTransfer(QWidget* owner) {
    auto* dlg = new CTransferDlg(SerialPort::ComPortOpener(), owner);
    auto bind = [dlg](CQuivraDoc* doc, IDocView*) {
        dlg->Bind(doc);
        // Its results are listed by the document's imported-measurements window.
        auto* windows = doc ? dynamic_cast<CDocToolWindows*>(doc->m_pToolWindows.get()) : nullptr;
        if (!windows)
            return;
        dlg->SetImportedWindow(
            qobject_cast<CImportedMeasDlg*>(windows->Window(ToolWindow::ImportedMeasurements)),
            [windows] { windows->Show(ToolWindow::ImportedMeasurements); });
    };
    return ToolWindowParts{dlg, bind, [dlg] { dlg->OnRebind(); }};
}
ToolWindowParts MakeImportedMeasurements(QWidget* owner) {
    auto* dlg = new CImportedMeasDlg(owner);
    auto bind = [dlg](CQuivraDoc* doc, IDocView* view) {
        dlg->Bind(doc, dynamic_cast<ISeriesHost*>(view));
        // The copies write to the rows of the document's Measurements window.
        auto* windows = doc ? dynamic_cast<CDocToolWindows*>(doc->m_pToolWindows.get()) : nullptr;
        if (!windows)
            return;
        dlg->SetMeasurementsWindow(
            qobject_cast<CMeasurementsDlg*>(windows->Window(ToolWindow::Measurements)),
            [windows] { windows->Show(ToolWindow::Measurements); });
    };
    return ToolWindowParts{dlg, bind, [dlg] { dlg->Rebuild(); }};
}

const ToolWindowInfo kTable[kToolWindowCount] = {
    {ToolWindow::EditPoints, "Edit Corner Points", "dlgpoints", cmd::ID_EDIT_POINTS,
     MakeEditPoints},
    {ToolWindow::CreateCylinder, "Create Cylinder", "cylmake", cmd::ID_EDIT_CYLINDER,
     MakeCreateCylinder},
    {ToolWindow::CreateBox, "Create Box", "boxmake", cmd::ID_EDIT_BOX, MakeCreateBox},
    {ToolWindow::Measurements, "Measurements", "measuredlg", cmd::ID_EDIT_MEASUREMENTS,
     MakeMeasurements},
    {ToolWindow::MeasurementSeries, "Measurement Series", "measseriedlg", cmd::ID_EDIT_SERIES,
     MakeMeasurementSeries},
    {ToolWindow::CameraSettings, "Camera Settings", "dlgrotate", cmd::ID_EDIT_CAMERA,
     MakeCameraSettings},
    {ToolWindow::MoveLocalOrigin, "Move Local Origin", "dlgsetorigo", cmd::ID_EDIT_LOCAL_ORIGIN,
     MakeMoveLocalOrigin},
    {ToolWindow::HelpLines, "How to draw lines", "dlghelplines", cmd::ID_HELP_DRAW_LINES,
     MakeHelpLines},
    {ToolWindow::Transfer, "Transfer Measurements", "transfermeasurements", cmd::ID_FILE_TRANSFER,
     MakeTransfer},
    {ToolWindow::ImportedMeasurements, "Imported Instrument Measurements", "importmeasurements",
     cmd::ID_EDIT_IMPORT, MakeImportedMeasurements},
};

} // namespace

const ToolWindowInfo& ToolWindowInfoOf(ToolWindow window) {
    return kTable[static_cast<int>(window)];
}

void LinkToolWindows(const std::array<QWidget*, kToolWindowCount>& windows) {
    // The series window refills the measurements window when the current series changes.
    auto* series =
        qobject_cast<CMeasSeriesDlg*>(windows[static_cast<int>(ToolWindow::MeasurementSeries)]);
    auto* measurements =
        qobject_cast<CMeasurementsDlg*>(windows[static_cast<int>(ToolWindow::Measurements)]);
    if (series && measurements)
        series->SetMeasurementsDlg(measurements);
}
