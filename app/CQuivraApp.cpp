#include "CQuivraApp.h"

#include "CAboutDlg.h"
#include "CAppDocument.h"
#include "CCommandLinePrint.h"
#include "CCommandMap.h"
#include "CDocTemplate.h"
#include "CImageOutput.h"
#include "CMainFrame.h"
#include "CPrompts.h"
#include "CQuivraDoc.h"
#include "CRecentFileList.h"
#include "CSceneLoader.h"
#include "CommandIds.h"
#include "RecentFolders.h"
#include "StartupProbe.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPageSetupDialog>
#include <QPrinter>

#include <algorithm>
#include <clocale>

using namespace cmd;

const char* const CQuivraApp::kDocStrings =
    "\nQuivra\nQuivra\nQuivra Files (*.qvr)\n.qvr\nQuivra.Document\nQuivra Document";

CQuivraApp::CQuivraApp() = default;

CQuivraApp::~CQuivraApp() {
    // A load still running is cancelled (and waited for) before anything it reports to goes.
    m_loaders.clear();
    // Documents (with their views and tool windows) before the window that holds them.
    if (m_pDocTemplate)
        m_pDocTemplate->CloseAllDocuments();
    delete m_pMainFrame;
}

bool CQuivraApp::InitInstance(const QStringList& arguments) {
    // 1. Numbers are read and shown with the user's decimal separator.
    std::setlocale(LC_NUMERIC, "");
    QLocale::setDefault(QLocale::system());
    // 2. (The toolkit's controls need no enabling.)
    // 3./4. Settings live under "Stellmark"/"Quivra"; the recent files among them.
    m_pRecentFiles = std::make_unique<CRecentFileList>(kRecentFileCount);
    m_pRecentFiles->ReadList();
    // 5. The one document type.
    m_pDocTemplate = std::make_unique<CDocTemplate>(QString::fromLatin1(kDocStrings));
    m_pDocTemplate->SetRecentFileList(m_pRecentFiles.get());
    // 6. The main window, its placement restored.
    m_pMainFrame = new CMainFrame(this);
    startupprobe::WatchWindow(m_pMainFrame);
    const int show = m_pMainFrame->LoadFrame();
    if (show == -2) {
        delete m_pMainFrame;
        m_pMainFrame = nullptr;
        return false;
    }
    m_pDocTemplate->SetFrameHost(m_pMainFrame, m_pMainFrame->MdiArea());
    // 7. The command line: nothing means a new document, file names are opened.
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quivra"));
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Scenes to open."),
                                 QStringLiteral("[file.qvr...]"));
    const QCommandLineOption print(
        {QStringLiteral("p"), QStringLiteral("print")},
        QStringLiteral("Print the scenes on the default printer, without showing the program."));
    const QCommandLineOption printTo(
        QStringLiteral("print-to"),
        QStringLiteral("Print the scenes on PRINTER, without showing the program."),
        QStringLiteral("PRINTER"));
    parser.addOptions({print, printTo});
    if (!parser.parse(arguments)) {
        CPrompts::Message(nullptr, parser.errorText());
        return false;
    }
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(print) || parser.isSet(printTo)) {
        m_bFinished = CCommandLinePrint::PrintFiles(*m_pDocTemplate, files, parser.value(printTo));
        return m_bFinished;
    }
    if (files.isEmpty()) {
        QString error;
        if (!m_pDocTemplate->OpenDocumentFile(QString(), &error))
            return false;
    }
    for (const QString& file : files)
        if (!OpenDocumentFile(file))
            return false;
    // 8. Shown the way it was left.
    if (show == 3)
        m_pMainFrame->showMaximized();
    else if (show == 2)
        m_pMainFrame->showMinimized();
    else
        m_pMainFrame->show();
    m_pMainFrame->UpdateCmdUI();
    // 9./10. The file type is registered by the installation (.desktop entry and MIME type);
    // dropped files are accepted by the main window.
    return true;
}

void CQuivraApp::OnFileNew() {
    // An in-place edit in a tool window ends when it loses the focus.
    if (m_pMainFrame)
        m_pMainFrame->setFocus();
    QString error;
    if (!m_pDocTemplate->OpenDocumentFile(QString(), &error) && !error.isEmpty())
        CPrompts::Message(m_pMainFrame, error);
}

void CQuivraApp::OnFileOpen() {
    const QString path = CPrompts::OpenFileName(m_pMainFrame, m_pDocTemplate->FileDialogFilter(),
                                                RecentFolders::Folder(RecentFolders::Scenes));
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

bool CQuivraApp::OpenDocumentFile(const QString& path) {
    return OpenOrLoad(path, false);
}

bool CQuivraApp::OpenOrLoad(const QString& path, bool fromRecentList) {
    // Loads that have ended are collected here, never from within their own report.
    m_loaders.erase(std::remove_if(m_loaders.begin(), m_loaders.end(),
                                   [](const auto& loader) { return loader->Finished(); }),
                    m_loaders.end());
    const QFileInfo info(path);
    if (m_pMainFrame && info.isFile() && info.size() > CSceneLoader::LargeFileBytes() &&
        !m_pDocTemplate->FindDocument(path))
        return StartLoading(path, fromRecentList);
    QString error;
    if (m_pDocTemplate->OpenDocumentFile(path, &error))
        return true;
    CPrompts::Message(m_pMainFrame,
                      error.isEmpty() ? QStringLiteral("Failed to open document.") : error);
    return false;
}

bool CQuivraApp::StartLoading(const QString& path, bool fromRecentList) {
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    for (const auto& loader : m_loaders)
        if (loader->Path() == absolute)
            return true; // already on its way
    auto loader = std::make_unique<CSceneLoader>(
        absolute, m_pMainFrame,
        [this, absolute, fromRecentList](std::unique_ptr<CQuivraDoc> doc, const QString& error) {
            if (doc) {
                m_pDocTemplate->OpenLoadedDocument(absolute, std::move(doc));
            } else if (!error.isEmpty()) {
                CPrompts::Message(m_pMainFrame, error);
                // An entry that no longer opens leaves the list.
                if (fromRecentList)
                    m_pRecentFiles->Remove(m_pRecentFiles->Files().indexOf(absolute));
            }
            // A cancel leaves things as they were: no document, no message.
            if (m_pMainFrame)
                m_pMainFrame->UpdateCmdUI();
        });
    loader->Start();
    m_loaders.push_back(std::move(loader));
    return true;
}

void CQuivraApp::OnOpenRecentFile(int index) {
    if (index < 0 || index >= m_pRecentFiles->Files().size())
        return;
    const QString path = m_pRecentFiles->Files().at(index);
    // An entry that no longer opens leaves the list.
    if (!OpenOrLoad(path, true))
        m_pRecentFiles->Remove(m_pRecentFiles->Files().indexOf(path));
}

bool CQuivraApp::SaveAllModified() {
    // A copy: saving changes titles but never the set of documents.
    std::vector<CAppDocument*> docs;
    for (const auto& doc : m_pDocTemplate->Documents())
        docs.push_back(doc.get());
    for (CAppDocument* doc : docs)
        if (!doc->SaveModified())
            return false;
    return true;
}

bool CQuivraApp::OnCmdMsg(int id, CCmdUI* update) {
    static const CCommandMap<CQuivraApp> commands = [] {
        CCommandMap<CQuivraApp> map;
        map.On(ID_FILE_NEW, [](CQuivraApp& a) { a.OnFileNew(); });
        map.On(ID_FILE_OPEN, [](CQuivraApp& a) { a.OnFileOpen(); });
        map.On(ID_APP_ABOUT, [](CQuivraApp& a) {
            CAboutDlg dialog(a.m_pMainFrame);
            dialog.exec();
        });
        map.On(ID_FILE_PRINT_SETUP, [](CQuivraApp& a) {
            // The printer Print uses: settings made here reach the next printout.
            QPageSetupDialog dialog(&CImageOutput::SharedPrinter(), a.m_pMainFrame);
            dialog.exec();
        });
        for (int i = 0; i < kRecentFileCount; ++i)
            map.On(
                ID_FILE_MRU_FILE1 + i, [i](CQuivraApp& a) { a.OnOpenRecentFile(i); },
                [i](CQuivraApp& a, CCmdUI& ui) {
                    ui.Enable(i < a.m_pRecentFiles->Files().size());
                });
        return map;
    }();
    return commands.Dispatch(*this, id, update);
}
