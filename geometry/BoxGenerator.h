#pragma once

#include "Point3.h"

class BoxObject;
class CQuivraDoc;

// What the user gives for a box: both corners relative to the local origin, and a displacement
// added as typed.
struct BoxInput {
    Point3 m_p1{0.0, 0.0, 0.0};
    Point3 m_p2{100.0, 100.0, 100.0};
    Point3 m_displacement{0.0, 0.0, 0.0};
    bool m_bGenerateLines = true;
};

// Builds a box between two absolute corners: 8 points numbered from the document counter (the
// face at p1.z first, counter-clockwise from p1) and, when asked, 12 lines (the z1 face, the
// four uprights, the z2 face). Nothing orders the corners. The caller appends the object.
BoxObject* GenerateBox(CQuivraDoc* doc, const Point3& p1, const Point3& p2, bool generateLines);

// Adds a box from user input: takes the undo snapshot, marks the document modified, builds the
// box relative to the document's local origin and appends it. Views and tool windows are the
// caller's to refresh. When a corner would lie beyond the finite doubles nothing happens (no
// snapshot either) and the result is null: an infinite coordinate would stay in the file. The
// same when the point numbers are used up (CQuivraDoc::HasPointNumbers).
BoxObject* AddBox(CQuivraDoc& doc, const BoxInput& input);
