#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CAppDocument;
class CChildFrame;
class CQuivraDoc;
class CRecentFileList;
class QMdiArea;
class QWidget;

// The program's one document type: its strings, its documents and how a document gets its
// windows. Stands in for the framework's multi-document template and document manager.
class CDocTemplate {
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };
    // `strings`: seven '\n'-separated fields, in the order of DocStringIndex.
    explicit CDocTemplate(const QString& strings);
    ~CDocTemplate();

    QString GetDocString(DocStringIndex index) const;
    // "Quivra Files (*.qvr)" and the catch-all, for the file dialogs.
    QString FileDialogFilter() const;

    // Where documents put their windows; set once the main window exists.
    void SetFrameHost(QWidget* owner, QMdiArea* mdiArea) {
        m_pOwner = owner;
        m_pMdiArea = mdiArea;
    }
    QWidget* Owner() const { return m_pOwner; }
    void SetRecentFileList(CRecentFileList* list) { m_pRecent = list; }
    CRecentFileList* RecentFileList() const { return m_pRecent; }

    // A new document (empty `path`) or the document of `path`: an already open one is
    // activated, otherwise it is read. Null on failure, with the reason in `error`; a failed
    // document is discarded with its windows.
    CAppDocument* OpenDocumentFile(const QString& path, QString* error);
    // The document of `path`, whose scene `loaded` was read elsewhere: shown as OpenDocumentFile
    // shows a file it read (an already open document of `path` is activated instead).
    CAppDocument* OpenLoadedDocument(const QString& path, std::unique_ptr<CQuivraDoc> loaded);
    // Another window (frame + view) on `doc`, shown and activated if `show`.
    CChildFrame* CreateNewFrame(CAppDocument* doc, bool show = true);
    void ShowFrame(CChildFrame* frame);
    // OnCloseDocument, then the document is destroyed.
    void CloseDocument(CAppDocument* doc);
    // Closes every document without asking.
    void CloseAllDocuments();

    const std::vector<std::unique_ptr<CAppDocument>>& Documents() const { return m_documents; }
    // The open document of `path`, under this or any other name of the same file.
    CAppDocument* FindDocument(const QString& path) const;

private:
    // Shows the first window of a document that has its scene, and fits its view.
    void ShowNewFrame(CChildFrame* frame);
    bool ActivateOpen(const QString& path);

    QStringList m_strings;
    QWidget* m_pOwner = nullptr;
    QMdiArea* m_pMdiArea = nullptr;
    CRecentFileList* m_pRecent = nullptr;
    std::vector<std::unique_ptr<CAppDocument>> m_documents;
    int m_nUntitledCount = 0;
};
