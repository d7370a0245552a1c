#pragma once

#include "ICmdTarget.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CDocTemplate;
class CMainFrame;
class CRecentFileList;
class CSceneLoader;

// The application object: start-up, the document template, the recent files and the
// application-wide commands (New, Open, recent files, Print Setup, About).
class CQuivraApp : public ICmdTarget {
public:
    static constexpr int kRecentFileCount = 4;
    // The template's strings: window title, document name, File New name, filter, extension,
    // file type id, file type description.
    static const char* const kDocStrings;

    CQuivraApp();
    ~CQuivraApp() override;

    // Start-up; false ends the program (a message has been shown where there is a reason).
    // `arguments` is the command line including the program name.
    bool InitInstance(const QStringList& arguments);
    // The command line asked for printing only, and it is done: end without showing anything.
    bool Finished() const { return m_bFinished; }

    CMainFrame* MainFrame() const { return m_pMainFrame; }
    CDocTemplate* DocTemplate() const { return m_pDocTemplate.get(); }
    CRecentFileList* RecentFiles() const { return m_pRecentFiles.get(); }

    void OnFileNew();
    void OnFileOpen();
    // Opens `path` (or activates it when already open); a failure is reported in a message.
    // A large file is read on a worker thread (see CSceneLoader): then true means the load
    // has started, and its failure is reported when it ends.
    bool OpenDocumentFile(const QString& path);
    // The loads still running or not yet collected.
    const std::vector<std::unique_ptr<CSceneLoader>>& Loaders() const { return m_loaders; }
    void OnOpenRecentFile(int index);
    // Asks about every modified document; false when the user cancelled.
    bool SaveAllModified();

    bool OnCmdMsg(int id, CCmdUI* update) override;

private:
    bool StartLoading(const QString& path, bool fromRecentList);
    bool OpenOrLoad(const QString& path, bool fromRecentList);

    std::unique_ptr<CRecentFileList> m_pRecentFiles;
    std::unique_ptr<CDocTemplate> m_pDocTemplate;
    std::vector<std::unique_ptr<CSceneLoader>> m_loaders; // ended before the documents close
    CMainFrame* m_pMainFrame = nullptr;                   // owned; deleted last
    bool m_bFinished = false;
};
