#include "ToolWindowFactories.h"

#include "CDocToolWindows.h"
#include "CDrawLinesHelpDlg.h"
#include "CImportedMeasDlg.h"
#include "CMeasurementsDlg.h"
#include "CQuivraDoc.h"
#include "CTransferDlg.h"
#include "CommandIds.h"
#include "IDocView.h"
#include "ISeriesHost.h"
#include "SerialPort.h"

#include <QDialog>

namespace {

// A titled, empty modeless window, standing in until the window's own form exists.
ToolWindowParts EmptyWindow(QWidget* owner, ToolWindow window) {
    auto* dialog = new QDialog(owner);
    dialog->setWindowTitle(QString::fromLatin1(ToolWindowInfoOf(window).m_title));
    dialog->resize(320, 200);
    return ToolWindowParts{dialog, {}, {}};
}

ToolWindowParts MakeEditPoints(QWidget* owner) {
    // Its form takes the document only: its m_bind should ignore the view.
    return EmptyWindow(owner, ToolWindow::EditPoints);
}
ToolWindowParts MakeCreateCylinder(QWidget* owner) {
    return EmptyWindow(owner, ToolWindow::CreateCylinder);
}
ToolWindowParts MakeCreateBox(QWidget* owner) {
    return EmptyWindow(owner, ToolWindow::CreateBox);
}
ToolWindowParts MakeMeasurements(QWidget* owner) {
    return EmptyWindow(owner, ToolWindow::Measurements);
}
ToolWindowParts MakeMeasurementSeries(QWidget* owner) {
    return EmptyWindow(owner, ToolWindow::MeasurementSeries);
}
ToolWindowParts MakeCameraSettings(QWidget* owner) {
    return EmptyWindow(owner, ToolWindow::CameraSettings);
}
ToolWindowParts MakeMoveLocalOrigin(QWidget* owner) {
    return EmptyWindow(owner, ToolWindow::MoveLocalOrigin);
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
