#pragma once

#include "Deflection.h"

class CQuivraDoc;
class CViewState;

// The view's camera as plain arithmetic (no GL): where a model point lands in the eye and in the
// window, and the navigation built on it. The transform is the frame's own: eye 5 units back,
// rotations about X, Y, Z, scale zoom / 1000, the pan; 30 degree perspective.
class CCameraMath {
public:
    CCameraMath(const CViewState& state, int width, int height);

    Vec3d ToEye(const Vec3d& model) const;
    Vec3d FromEye(const Vec3d& eye) const;
    // Window position (x right, y down from the top, in pixels) of a model point; false behind
    // the eye.
    bool ToWindow(const Vec3d& model, double* x, double* y) const;
    // The model point under window position (x, y) at the eye depth of `depthOf`.
    Vec3d Unproject(double x, double y, const Vec3d& depthOf) const;

    // The centre of the scene's bounding box (the origin for an empty scene); false when the
    // scene has no corner point.
    static bool SceneCentre(const CQuivraDoc& doc, Vec3d* centre);

    // Centres the scene's bounding box on the rotation centre and zooms so that every corner
    // point lies inside the window with a margin, at the current rotation. False (nothing
    // changed) for a scene without points or a window without area.
    static bool FitAll(CViewState& state, const CQuivraDoc& doc, int width, int height);
    // New angles; with a pivot, the pan follows so that the pivot stays where it is on screen.
    static void Turn(CViewState& state, double rotX, double rotY, double rotZ, const Vec3d* pivot);
    // Multiplies the zoom by `factor` keeping the model point `fixed` where it is on screen.
    static void ZoomAt(CViewState& state, double factor, const Vec3d& fixed);
    // Moves the model so that the point under window position `from` (at the eye depth of
    // `depthOf`) comes under `to`: the model follows the cursor exactly.
    static void PanBy(CViewState& state, int width, int height, double fromX, double fromY,
                      double toX, double toY, const Vec3d& depthOf);

private:
    double m_r[3][3];
    double m_scale;
    Vec3d m_pan;
    double m_f, m_aspect, m_w, m_h;
};
