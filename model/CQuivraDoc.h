#pragma once

#include "ImportedMeas.h"
#include "SceneChanges.h"
#include "SceneObject.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CArchive;
class CornerPoint;
class IDocView;
class IToolWindows;
class Line;

// The measurement series columns: entry k of every array belongs to series k.
struct SeriesColumns {
    std::vector<std::string> m_seriesNames; // bytes as stored (Latin-1)
    std::vector<std::int32_t> m_seriesFreqUnit;
    std::vector<std::int32_t> m_seriesFreqFlag;
    std::vector<double> m_seriesFrequency;
    std::vector<double> m_seriesAmplification;
    std::vector<std::int32_t> m_seriesFramesPerPeriod;

    void Append(const std::string& name, std::int32_t freqUnit, std::int32_t freqFlag,
                double frequency, std::int32_t framesPerPeriod, double amplification);
    void Remove(int k);
    void Clear();
    bool operator==(const SeriesColumns& o) const;
};

// One document: the scene, its measurement series, the one-level undo snapshot, the imported
// instrument records and the bookkeeping of its views and tool windows.
//
// Ownership: the document owns m_objects, m_freeLines, m_freePoints, m_pOrigin, the snapshot
// and redo arrays and the tool-window set. Records unregister themselves from the live or
// snapshot array that holds them when destroyed; the redo arrays are only ever emptied whole.
// Selection arrays, the highlight and the views own nothing.
class CQuivraDoc : public SeriesColumns {
public:
    CQuivraDoc();
    virtual ~CQuivraDoc();
    CQuivraDoc(const CQuivraDoc&) = delete;
    CQuivraDoc& operator=(const CQuivraDoc&) = delete;

    // --- scene (see the record classes for the cascades) ---
    CornerPoint* m_pOrigin = nullptr; // owned; local origin, not stored, not in the snapshot
    IDocView* m_pView = nullptr;      // the view the tool windows work with; not owned
    std::vector<ImportedMeas> m_importedMeas;
    std::vector<float> m_importedMultiples;
    std::int32_t m_nNextPointNumber = 1;
    std::vector<SceneObject*> m_objects;    // owned
    std::vector<Line*> m_freeLines;         // owned
    std::vector<CornerPoint*> m_freePoints; // owned
    std::int32_t m_bUndoAvailable = 0;
    std::int32_t m_nSeries = 0;
    std::int32_t m_nNextDirectionNumber = 1;
    std::int32_t m_bMeasEdited = 0;
    std::vector<CornerPoint*> m_selPoints;    // not owned
    std::vector<SceneObject*> m_selObjects;   // not owned
    CornerPoint* m_pHighlightPoint = nullptr; // not owned

    // --- undo snapshot: complete, independent copies ---
    std::int32_t m_undoNextPointNumber = 1;
    std::vector<SceneObject*> m_undoObjects;    // owned
    std::vector<Line*> m_undoFreeLines;         // owned
    std::vector<CornerPoint*> m_undoFreePoints; // owned
    std::int32_t m_undoSeries = 0;
    SeriesColumns m_undoColumns;
    std::int32_t m_undoNextDirectionNumber = 1;
    // Whether the snapshot equals the file: it was taken while the document was unmodified,
    // and no save has happened since (the save counter still matches).
    bool m_bUndoClean = false;
    std::uint32_t m_nUndoSaveCount = 0;

    // --- numbering ---
    // Whether `count` more points (directions) can be numbered without the counter passing the
    // largest 32-bit number (a file may hold any counter). Every command that numbers new
    // records asks first and refuses with the matching text below.
    bool HasPointNumbers(std::int64_t count) const;
    bool HasDirectionNumbers(std::int64_t count) const;
    static QString PointNumbersUsedUp();
    static QString DirectionNumbersUsedUp();

    // --- redo: the live scene as it was just before the last undo, same ownership ---
    std::int32_t m_bRedoAvailable = 0;
    std::vector<SceneObject*> m_redoObjects;    // owned
    std::vector<Line*> m_redoFreeLines;         // owned
    std::vector<CornerPoint*> m_redoFreePoints; // owned
    std::int32_t m_redoNextPointNumber = 1;
    std::int32_t m_redoNextDirectionNumber = 1;
    std::int32_t m_redoSeries = 0;
    SeriesColumns m_redoColumns;
    bool m_bRedoClean = false; // unmodified before the undo
    std::uint32_t m_nRedoSaveCount = 0;

    // --- series ---
    // The most frames per period that are played or saved: a file or a script may hold up to
    // 2^31 - 1, and saving that many images would fill any disk.
    static constexpr std::int32_t kMaxFramesPerPeriod = 10000;
    void AddSeries();
    void RemoveSeries(int k);

    // --- enumeration: free points first, then each object's points ---
    std::vector<CornerPoint*> AllPoints() const;
    template <class F> void ForEachPoint(F f) const;
    std::size_t PointCount() const;

    void ClearSelection();

    // --- file ---
    // Reads (into this document, which must be empty) or writes the scene layout.
    // Reading throws ArchiveError on a short or inconsistent file; the caller discards the
    // document then.
    void Serialize(CArchive& ar);
    // The number of bytes Serialize stores, so that a file's buffer is sized once.
    std::size_t SceneFileSize() const;

    // --- undo ---
    int SaveUndoState();
    // Restores the snapshot. The document is modified afterwards unless the snapshot equals the
    // saved file (see m_bUndoClean): an undo after a save leaves the file different.
    // The live scene is kept for Redo, which a later SaveUndoState drops.
    int Undo();
    // Puts back the scene from just before the undo; the snapshot stays, so Undo works again.
    int Redo();
    // The edits without a snapshot that Undo (Redo) would discard; none when it is unavailable.
    SceneChanges ChangesLostByUndo() const;
    SceneChanges ChangesLostByRedo() const;
    // Every editing command without a snapshot notes its edit here; emptied by SaveUndoState,
    // Undo and Redo.
    SceneChanges m_laterEdits;

    // --- framework-like document state ---
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
    // The document was written to its file: unmodified, and earlier snapshots no longer match
    // the file.
    void MarkSaved() {
        m_bModified = false;
        ++m_nSaveCount;
    }
    bool IsModified() const { return m_bModified; }
    const QString& GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path) { m_strPathName = path; }

    std::vector<IDocView*> m_views; // not owned; views add and remove themselves
    void AddView(IDocView* view);
    void RemoveView(IDocView* view);
    // Repaint every view of the document.
    void UpdateAllViews();
    // The focused view, else the last one; null without views.
    IDocView* ChooseView() const;

    // The tool-window set; created by the window layer, owned here.
    std::unique_ptr<IToolWindows> m_pToolWindows;
    // Bind the tool windows to the chosen view unless it is the program-wide last bound view.
    void BindToolWindows();
    static IDocView* s_pLastBoundView;

    // Destroys the live scene (free points, objects, free lines) and empties selection/highlight.
    void DestroyScene();

private:
    void DestroyRecords(std::vector<CornerPoint*>& points, std::vector<SceneObject*>& objects,
                        std::vector<Line*>& lines);
    // Copies points/objects/lines into the destination arrays, free lines mapped by position.
    void CopyScene(const std::vector<CornerPoint*>& srcPoints,
                   const std::vector<SceneObject*>& srcObjects, const std::vector<Line*>& srcLines,
                   std::vector<CornerPoint*>& dstPoints, std::vector<SceneObject*>& dstObjects,
                   std::vector<Line*>& dstLines);
    void ReadScene(CArchive& ar);
    void WriteScene(CArchive& ar);

    bool m_bModified = false;
    std::uint32_t m_nSaveCount = 0; // saves so far
    QString m_strPathName;
};

template <class F> void CQuivraDoc::ForEachPoint(F f) const {
    for (CornerPoint* p : m_freePoints)
        f(p);
    for (SceneObject* o : m_objects)
        for (CornerPoint* p : o->m_points)
            f(p);
}
