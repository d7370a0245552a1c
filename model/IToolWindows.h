#pragma once

class CQuivraDoc;
class IDocView;

// The document's ten modeless tool windows, implemented by the window layer. The document owns
// the set and destroys it (which destroys the windows) before its scene.
class IToolWindows {
public:
    virtual ~IToolWindows() = default;
    // Hand the document and the chosen view to the windows again and refresh their contents.
    virtual void Bind(CQuivraDoc* doc, IDocView* view) = 0;
    // Save the windows' placements to the settings store.
    virtual void SavePlacements() = 0;
    // Refresh the windows that show scene data after an undo or a structural change.
    virtual void RebuildPointTable() = 0;
    virtual void RefillMeasurements() = 0;
    virtual void RefillSeries() = 0;
    // Show the bound view's camera in the Camera Settings window (after the mouse moved it).
    virtual void ShowCameraValues() {}
};
