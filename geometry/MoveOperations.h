#pragma once

#include "Point3.h"

#include <vector>

class CornerPoint;
class CQuivraDoc;

// The edits behind the move and copy forms, without windows so that scripts can use them too.
//
// The three selection edits take the undo snapshot and mark the document modified (even with
// nothing selected), then apply the displacement d as typed to the current selection
// (m_selPoints or m_selObjects). All four end by emptying m_selPoints and m_selObjects; the
// highlighted point stays. Refreshing the tool windows and the views is the caller's.
//
// The selection arrays are the view's and hold plain pointers: an entry that is not a live
// record of the document, or that repeats an earlier entry, is passed over, so a point is never
// moved twice or touched after it was destroyed.
//
// An edit whose result would leave a coordinate outside the finite doubles (a displacement near
// the largest double added twice, say) changes nothing at all, takes no snapshot, keeps the
// selection and returns false: such a coordinate would be written into the file as it is.

// Adds d to every selected point, free or object point alike.
bool MoveSelectedPoints(CQuivraDoc& doc, const Point3& d);

// Appends to m_freePoints, in selection order, one new free point per selected point at its
// position plus d, numbered from the document counter, without directions or lines. The new
// points are appended to `copies` when given.
bool CopySelectedPoints(CQuivraDoc& doc, const Point3& d,
                        std::vector<CornerPoint*>* copies = nullptr);

// Adds d to every point of every selected object and to a cylinder's centre position, so that
// radial directions made afterwards point away from the moved axis. Lines follow their points.
bool MoveSelectedObjects(CQuivraDoc& doc, const Point3& d);

// Adds d to the local origin: d is the new origin's position in the current local coordinates.
// The origin is not part of the file or the snapshot: no snapshot, the modified flag stays.
bool MoveLocalOrigin(CQuivraDoc& doc, const Point3& d);
