#include "CDocToolWindows.h"

#include "CCameraSettingsDlg.h"
#include "CWindowPlacement.h"

#include <QSettings>
#include <QWidget>

int CDocToolWindows::s_nCreated = 0;

namespace {

// Creation order of the windows.
const ToolWindow kCreateOrder[] = {
    ToolWindow::MoveLocalOrigin, ToolWindow::EditPoints,
    ToolWindow::CreateCylinder,  ToolWindow::CreateBox,
    ToolWindow::Measurements,    ToolWindow::MeasurementSeries,
    ToolWindow::CameraSettings,  ToolWindow::HelpLines,
    ToolWindow::Transfer,        ToolWindow::ImportedMeasurements,
};

// Placement order; the help window comes last-but-two and is only ever saved.
const ToolWindow kPlacementOrder[] = {
    ToolWindow::CreateBox,         ToolWindow::CreateCylinder,
    ToolWindow::EditPoints,        ToolWindow::CameraSettings,
    ToolWindow::MeasurementSeries, ToolWindow::Measurements,
    ToolWindow::MoveLocalOrigin,   ToolWindow::HelpLines,
    ToolWindow::Transfer,          ToolWindow::ImportedMeasurements,
};

// Destruction order.
const ToolWindow kDestroyOrder[] = {
    ToolWindow::CameraSettings,  ToolWindow::EditPoints,
    ToolWindow::CreateCylinder,  ToolWindow::CreateBox,
    ToolWindow::Measurements,    ToolWindow::MeasurementSeries,
    ToolWindow::MoveLocalOrigin, ToolWindow::HelpLines,
    ToolWindow::Transfer,        ToolWindow::ImportedMeasurements,
};

QSettings Settings() {
    return QSettings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"));
}

} // namespace

CDocToolWindows::CDocToolWindows(QWidget* owner) {
    for (ToolWindow w : kCreateOrder) {
        const ToolWindowInfo& info = ToolWindowInfoOf(w);
        ToolWindowParts parts = info.m_factory(owner);
        Slot& slot = At(w);
        slot.m_pWindow = parts.m_pWindow;
        slot.m_bind = std::move(parts.m_bind);
        slot.m_refresh = std::move(parts.m_refresh);
        if (slot.m_pWindow) {
            slot.m_pWindow->setObjectName(QString::fromLatin1(info.m_key));
            slot.m_pWindow->hide();
            ++s_nCreated;
        }
    }
    std::array<QWidget*, kToolWindowCount> windows{};
    for (int i = 0; i < kToolWindowCount; ++i)
        windows[i] = m_slots[i].m_pWindow;
    LinkToolWindows(windows);
}

CDocToolWindows::~CDocToolWindows() {
    for (ToolWindow w : kDestroyOrder)
        delete At(w).m_pWindow.data();
}

void CDocToolWindows::BindOne(ToolWindow w, CQuivraDoc* doc, IDocView* view) {
    if (At(w).m_bind && At(w).m_pWindow)
        At(w).m_bind(doc, view);
}

void CDocToolWindows::Refresh(ToolWindow w) {
    if (At(w).m_refresh && At(w).m_pWindow)
        At(w).m_refresh();
}

void CDocToolWindows::BindAll(CQuivraDoc* doc, IDocView* view) {
    for (ToolWindow w : kCreateOrder)
        BindOne(w, doc, view);
}

void CDocToolWindows::Bind(CQuivraDoc* doc, IDocView* view) {
    ++m_nRebinds;
    for (ToolWindow w :
         {ToolWindow::MeasurementSeries, ToolWindow::CameraSettings, ToolWindow::Measurements,
          ToolWindow::CreateCylinder, ToolWindow::CreateBox, ToolWindow::Transfer,
          ToolWindow::ImportedMeasurements, ToolWindow::EditPoints,
          // Also re-bound so that it never keeps a view that has been closed.
          ToolWindow::MoveLocalOrigin})
        BindOne(w, doc, view);
    for (ToolWindow w :
         {ToolWindow::CameraSettings, ToolWindow::Measurements, ToolWindow::MeasurementSeries,
          ToolWindow::EditPoints, ToolWindow::Transfer, ToolWindow::ImportedMeasurements})
        Refresh(w);
}

void CDocToolWindows::RestorePlacements() {
    QSettings settings = Settings();
    for (ToolWindow w : kPlacementOrder) {
        if (w == ToolWindow::HelpLines)
            continue;
        Slot& slot = At(w);
        const QVariant value =
            settings.value(QString::fromLatin1(ToolWindowInfoOf(w).m_key) + QStringLiteral("/wp"));
        CWindowPlacement wp;
        if (!slot.m_pWindow || !value.isValid() || !wp.FromBytes(value.toByteArray()))
            continue;
        wp.ApplyHidden(slot.m_pWindow);
        slot.m_bPlaced = true;
    }
}

void CDocToolWindows::SavePlacements() {
    QSettings settings = Settings();
    for (ToolWindow w : kPlacementOrder) {
        Slot& slot = At(w);
        // A window never shown nor restored has no placement of its own yet; writing its
        // unlaid-out default would later pin it to the screen's corner.
        if (!slot.m_pWindow || !slot.m_bPlaced)
            continue;
        settings.setValue(QString::fromLatin1(ToolWindowInfoOf(w).m_key) + QStringLiteral("/wp"),
                          CWindowPlacement::Of(slot.m_pWindow).ToBytes());
    }
}

void CDocToolWindows::RebuildPointTable() {
    Refresh(ToolWindow::EditPoints);
}

void CDocToolWindows::RefillMeasurements() {
    Refresh(ToolWindow::Measurements);
}

void CDocToolWindows::RefillSeries() {
    Refresh(ToolWindow::MeasurementSeries);
}

void CDocToolWindows::ShowCameraValues() {
    // A stand-in window (before the form is wired in) has nothing to show.
    if (auto* dlg = qobject_cast<CCameraSettingsDlg*>(Window(ToolWindow::CameraSettings)))
        dlg->ShowValues();
}

void CDocToolWindows::Show(ToolWindow window) {
    Slot& slot = At(window);
    if (!slot.m_pWindow)
        return;
    slot.m_pWindow->showNormal();
    slot.m_pWindow->raise();
    slot.m_pWindow->activateWindow();
    slot.m_bPlaced = true;
}

QWidget* CDocToolWindows::Window(ToolWindow window) const {
    return m_slots[static_cast<int>(window)].m_pWindow;
}
