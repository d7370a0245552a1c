#pragma once

#include "IToolWindows.h"
#include "ToolWindowFactories.h"

#include <QPointer>

#include <array>

// The ten tool windows of one document: created hidden (owned on screen by the main window),
// bound to the document and a view, shown by their commands, their placements kept in the
// settings under their keys. The document owns this set; destroying it destroys the windows.
class CDocToolWindows : public IToolWindows {
public:
    CDocToolWindows(QWidget* owner);
    ~CDocToolWindows() override;

    // The new-document step: hand every window the document and the chosen view.
    void BindAll(CQuivraDoc* doc, IDocView* view);
    // Re-binding when another view takes the focus.
    void Bind(CQuivraDoc* doc, IDocView* view) override;
    // Apply the saved placements, hidden. "dlghelplines" is saved but never read back.
    void RestorePlacements();
    void SavePlacements() override;
    void RebuildPointTable() override;
    void RefillMeasurements() override;
    void RefillSeries() override;
    void ShowCameraValues() override;

    // Shows the window in its normal state.
    void Show(ToolWindow window);
    QWidget* Window(ToolWindow window) const;
    static int CreatedCount() { return s_nCreated; }
    // How often another view was bound since creation.
    int RebindCount() const { return m_nRebinds; }

private:
    struct Slot {
        QPointer<QWidget> m_pWindow;
        std::function<void(CQuivraDoc*, IDocView*)> m_bind;
        std::function<void()> m_refresh;
        bool m_bPlaced = false; // has a real placement: restored or shown at least once
    };
    Slot& At(ToolWindow w) { return m_slots[static_cast<int>(w)]; }
    void BindOne(ToolWindow w, CQuivraDoc* doc, IDocView* view);
    void Refresh(ToolWindow w);

    std::array<Slot, kToolWindowCount> m_slots;
    int m_nRebinds = 0;
    static int s_nCreated; // windows created by this program so far (tests count them)
};
