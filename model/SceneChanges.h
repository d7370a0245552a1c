#pragma once

#include <QString>

// A tally of the edits that take no undo snapshot (directions, values, series, renumbering),
// kept by the document since its last snapshot, undo or redo. Restoring another state discards
// them, so the user is told before an undo or redo does that.
class SceneChanges {
public:
    enum Kind {
        DirectionAdded,
        DirectionRemoved,
        DirectionTurned, // replaced by its opposite
        ValueEdited,     // a measured value or a coordinate typed in
        SeriesAdded,
        SeriesSettingChanged,
        Renumbered,
        kKindCount
    };

    void Note(Kind kind) { ++m_nCount[kind]; }
    int Count(Kind kind) const { return m_nCount[kind]; }
    bool IsEmpty() const;
    // "4 measurement directions added, 12 values edited"; empty when nothing changed.
    QString Describe() const;

private:
    int m_nCount[kKindCount] = {};
};
