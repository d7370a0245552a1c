#pragma once

#include <cstdint>

class CornerPoint;
class CQuivraDoc;

// The editing commands that work on the document's selection, without any window: the view's
// menu handlers call these and then refresh their windows; qvrtool calls them too.
// Each takes the undo snapshot and marks the document modified where the command does.
class SceneCommands {
public:
    // Joins the selected points in selection order (a chain). A line whose ends share an owner
    // object goes into that object, any other into the free lines. Returns the lines made.
    static int DrawLines(CQuivraDoc& doc);
    // Removes, per consecutive selected pair, the first line joining them (either direction):
    // from their common object, else from the free lines. Returns the lines removed.
    static int DeleteLines(CQuivraDoc& doc);
    // Destroys the selected points (with their lines); empties selection and highlight.
    static void DeleteCornerPoints(CQuivraDoc& doc);
    // Destroys the selected objects; empties selection and highlight.
    static void DeleteObjects(CQuivraDoc& doc);
    // Moves the first selected object by (second selected point - first selected point).
    // Needs two selected points and one selected object; returns false otherwise.
    static bool AlignCornerPoints(CQuivraDoc& doc);

    enum class DirectionChange { Replaced, Removed, Added, Refused };
    // Toggles direction `code` on `point`: an opposite direction is replaced in place (keeping
    // its number, measurements reset), the same code is removed (closing the number gap while
    // the measurements were never edited), otherwise a new direction is appended unless the
    // direction numbers are used up (Refused: nothing changes).
    static DirectionChange SetMeasDirection(CQuivraDoc& doc, CornerPoint* point,
                                            std::uint16_t code);
};
