#pragma once

#include "TestScenes.h"

#include <QPoint>

class COffscreenGL;
class CViewState;

// The shared scene builders (TestScenes.h) and where their points land in a frame.
namespace scene {

using namespace testscenes;

// Where a model point lands in the frame of `gl` (context current, client size w x h) under the
// camera of `st`: the pixel (column, row from the top) that holds the projected position.
// `withPan` false gives the rotation centre's transform. `inset` projects with the axes
// inset's transform and viewport.
QPoint PixelOf(COffscreenGL& gl, const CViewState& st, double x, double y, double z,
               bool withPan = true, bool inset = false);
// Window coordinates of the projection (x, y upward), same transform as PixelOf.
void Project(COffscreenGL& gl, const CViewState& st, double x, double y, double z, double* wx,
             double* wy, bool withPan = true, bool inset = false);

} // namespace scene
