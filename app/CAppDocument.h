#pragma once

#include "ICmdTarget.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class CChildFrame;
class CDocTemplate;
class CDocToolWindows;
class CQuivraDoc;

// One open document as the shell sees it: the scene document, its title, its windows and its
// file operations. Owned by the template; the CQuivraDoc (with its tool windows) is owned here.
class CAppDocument : public ICmdTarget {
public:
    // `loaded`: a scene read elsewhere (a worker thread), taken over as it is; else an empty one.
    explicit CAppDocument(CDocTemplate* docTemplate, std::unique_ptr<CQuivraDoc> loaded = {});
    ~CAppDocument() override;

    CQuivraDoc* Doc() const { return m_pDoc.get(); }
    CDocToolWindows* ToolWindows() const;
    // The tool windows, made now if their creation was deferred and is still due.
    CDocToolWindows* EnsureToolWindows();
    CDocTemplate* Template() const { return m_pTemplate; }

    const QString& GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title);
    QString GetPathName() const;
    // Sets the path, the title from it and puts it at the top of the recent-file list.
    void SetPathName(const QString& path);

    // --- lifecycle hooks ---
    // Resets the counters, creates the tool windows hidden, binds them and restores their
    // placements.
    bool OnNewDocument();
    // OnNewDocument, then reads the file. On failure the document is left empty.
    bool OnOpenDocument(const QString& path, QString* error);
    // The scene given to the constructor was read from its file: its windows, as after
    // OnOpenDocument, keeping the counters the file gave it.
    void OnLoadedDocument();
    // Writes the file (the old one survives a failure) and clears the modified flag.
    bool OnSaveDocument(const QString& path, QString* error);
    // Saves the tool-window placements and closes every window of the document; the template
    // destroys the document afterwards (CDocTemplate::CloseDocument).
    void OnCloseDocument();

    // --- file commands with their dialogs and messages ---
    // Save As when `path` is empty. Returns false when cancelled or failed (failure reported).
    bool DoSave(const QString& path);
    bool DoFileSave();
    // Asks "Save changes to ...?" when modified; false means: do not close.
    bool SaveModified();

    // Edit > Undo / Redo: asks first when edits without a snapshot would be lost; false when
    // declined or nothing to restore.
    bool UndoOrRedo(bool redo);

    // --- windows ---
    const QList<CChildFrame*>& Frames() const { return m_frames; }
    void AddFrame(CChildFrame* frame);
    void RemoveFrame(CChildFrame* frame);
    // The frame titles: "name", or "name:1", "name:2" ... with several, plus the modified mark.
    void UpdateFrameTitles();
    QString FrameTitle(const CChildFrame* frame) const;

    bool OnCmdMsg(int id, CCmdUI* update) override;

    // At program start: the next new or opened document makes its (hidden) tool windows after
    // the first paint of one of its views, not before it. Until then ToolWindows() is null, as
    // every caller already allows; EnsureToolWindows makes them at once.
    static void DeferNextToolWindows() { s_bDeferToolWindows = true; }

private:
    void CreateToolWindows();

    CDocTemplate* m_pTemplate;
    std::unique_ptr<CQuivraDoc> m_pDoc;
    CDocToolWindows* m_pToolWindows = nullptr; // owned by m_pDoc
    QString m_strTitle;
    QList<CChildFrame*> m_frames; // not owned
    // Context of the deferred creation: gone with the document, so a late call never runs.
    std::unique_ptr<QObject> m_pDeferral;
    bool m_bToolWindowsDue = false;
    static bool s_bDeferToolWindows;
};
