#pragma once

#include <functional>

class CornerPoint;
class CQuivraDoc;
class CViewState;

// Picking a corner point under the mouse and the click selection rules, without any window:
// the view calls these, the benchmark times them.
class CPointPicker {
public:
    // Farther than this many pixels (squared) from every point picks nothing.
    static constexpr double kMaxDist2 = 100.0;

    // The corner point whose projection lies nearest to the client position (mx, my) (y
    // downward, client height `clientHeight`), or null when none lies within 10 pixels. Object
    // points are met first (objects in order), then free points; a tie keeps the point met
    // first. Needs the view's context current with its projection and viewport; builds the
    // camera with the pan on a saved matrix and restores it. A point whose projection fails
    // is reported through `onFailure` (true for an object point) and cannot be picked.
    static CornerPoint* Pick(const CQuivraDoc& doc, const CViewState& state, int mx, int my,
                             int clientHeight,
                             const std::function<void(bool objectPoint)>& onFailure = {});

    // Left click: without Shift the picked point (and its owner object) becomes the whole
    // selection, or the selection empties; with Shift the picked point is added (with its owner)
    // or, when already selected, removed together with at most one object that no longer owns
    // a selected point. Shift with nothing picked changes nothing.
    static void ApplyLeftClick(CQuivraDoc& doc, CornerPoint* picked, bool shift);
    // Right click: the picked point (and its owner) replaces the selection.
    static void SelectOnly(CQuivraDoc& doc, CornerPoint* picked);
};
