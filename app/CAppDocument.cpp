#include "CAppDocument.h"

#include "CChildFrame.h"
#include "CCommandMap.h"
#include "CDocTemplate.h"
#include "CDocToolWindows.h"
#include "CInstrumentImport.h"
#include "COpenGLView.h"
#include "CPrompts.h"
#include "CQuivraDoc.h"
#include "CRecentFileList.h"
#include "CUffExchange.h"
#include "CommandIds.h"
#include "RecentFolders.h"
#include "SceneFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

CAppDocument::CAppDocument(CDocTemplate* docTemplate, std::unique_ptr<CQuivraDoc> loaded)
    : m_pTemplate(docTemplate),
      m_pDoc(loaded ? std::move(loaded) : std::make_unique<CQuivraDoc>()) {}

CAppDocument::~CAppDocument() = default;

bool CAppDocument::s_bDeferToolWindows = false;

CDocToolWindows* CAppDocument::ToolWindows() const {
    return m_pDoc->m_pToolWindows ? m_pToolWindows : nullptr;
}

CDocToolWindows* CAppDocument::EnsureToolWindows() {
    if (m_bToolWindowsDue) {
        m_bToolWindowsDue = false;
        if (!m_pDoc->m_pToolWindows)
            CreateToolWindows();
    }
    return ToolWindows();
}

void CAppDocument::SetTitle(const QString& title) {
    m_strTitle = title;
    UpdateFrameTitles();
}

QString CAppDocument::GetPathName() const {
    return m_pDoc->GetPathName();
}

void CAppDocument::SetPathName(const QString& path) {
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    m_pDoc->SetPathName(absolute);
    SetTitle(QFileInfo(absolute).fileName());
    RecentFolders::Remember(RecentFolders::Scenes, absolute);
    if (m_pTemplate->RecentFileList())
        m_pTemplate->RecentFileList()->Add(absolute);
}

bool CAppDocument::OnNewDocument() {
    CQuivraDoc& doc = *m_pDoc;
    doc.m_pHighlightPoint = nullptr;
    doc.m_nNextPointNumber = 1;
    doc.m_nNextDirectionNumber = 1;
    doc.m_bUndoAvailable = 0;
    doc.m_bRedoAvailable = 0;
    doc.m_nSeries = 0;
    doc.m_bMeasEdited = 0;
    if (s_bDeferToolWindows) {
        s_bDeferToolWindows = false;
        // Made after the first paint of one of the document's views (AddFrame), or after a
        // second if nothing paints (a program started minimised).
        m_pDeferral = std::make_unique<QObject>();
        m_bToolWindowsDue = true;
        QTimer::singleShot(1000, m_pDeferral.get(), [this] { EnsureToolWindows(); });
        return true;
    }
    CreateToolWindows();
    return true;
}

void CAppDocument::OnLoadedDocument() {
    CreateToolWindows();
    m_pDoc->SetModifiedFlag(false);
}

void CAppDocument::CreateToolWindows() {
    CQuivraDoc& doc = *m_pDoc;
    auto windows = std::make_unique<CDocToolWindows>(m_pTemplate->Owner());
    m_pToolWindows = windows.get();
    doc.m_pToolWindows = std::move(windows);

    doc.m_pView = doc.ChooseView();
    m_pToolWindows->BindAll(&doc, doc.m_pView);
    m_pToolWindows->RestorePlacements();
}

bool CAppDocument::OnOpenDocument(const QString& path, QString* error) {
    OnNewDocument();
    if (!SceneFile::Load(path, *m_pDoc, error))
        return false;
    m_pDoc->SetModifiedFlag(false);
    return true;
}

bool CAppDocument::OnSaveDocument(const QString& path, QString* error) {
    if (!SceneFile::Save(*m_pDoc, path, error))
        return false;
    m_pDoc->MarkSaved();
    return true;
}

void CAppDocument::OnCloseDocument() {
    if (m_pDoc->m_pToolWindows)
        m_pDoc->m_pToolWindows->SavePlacements();
    // Views go before the document they point to.
    const QList<CChildFrame*> frames = m_frames;
    for (CChildFrame* frame : frames)
        frame->CloseForDocument();
    m_frames.clear();
}

bool CAppDocument::DoSave(const QString& path) {
    QString target = path;
    if (target.isEmpty()) {
        QString suggested = GetPathName();
        if (suggested.isEmpty())
            suggested = QDir(RecentFolders::Folder(RecentFolders::Scenes))
                            .filePath(m_strTitle + QStringLiteral(".qvr"));
        target = CPrompts::SaveFileName(m_pTemplate->Owner(), suggested,
                                        m_pTemplate->FileDialogFilter());
        if (target.isEmpty())
            return false;
        // A name typed without an extension gets the document type's.
        if (QFileInfo(target).suffix().isEmpty())
            target += m_pTemplate->GetDocString(CDocTemplate::filterExt);
    }
    // Two documents on one file would overwrite each other's saves without a word.
    if (const CAppDocument* other = m_pTemplate->FindDocument(target); other && other != this) {
        CPrompts::Message(m_pTemplate->Owner(),
                          QStringLiteral("Cannot save \"%1\": that file is open as \"%2\". Close "
                                         "it there first, or choose another name.")
                              .arg(target, other->GetTitle()));
        return false;
    }
    QString error;
    if (!OnSaveDocument(target, &error)) {
        CPrompts::Message(m_pTemplate->Owner(), error);
        return false;
    }
    SetPathName(target);
    return true;
}

bool CAppDocument::DoFileSave() {
    const QString path = GetPathName();
    const QFileInfo info(path);
    // A file that exists but may not be written is saved under another name instead.
    if (path.isEmpty() || (info.exists() && !info.isWritable()))
        return DoSave(QString());
    return DoSave(path);
}

bool CAppDocument::SaveModified() {
    if (!m_pDoc->IsModified())
        return true;
    const QString name = GetPathName().isEmpty() ? m_strTitle : GetPathName();
    switch (CPrompts::AskYesNoCancel(m_pTemplate->Owner(),
                                     QStringLiteral("Save changes to %1?").arg(name))) {
    case CPrompts::Yes:
        return DoFileSave();
    case CPrompts::No:
        return true;
    case CPrompts::Cancel:
        break;
    }
    return false;
}

void CAppDocument::AddFrame(CChildFrame* frame) {
    if (!m_frames.contains(frame))
        m_frames.append(frame);
    if (auto* view = qobject_cast<COpenGLView*>(frame->View()); view && m_bToolWindowsDue) {
        // Once the paint is over, not inside it.
        auto soon = [this] {
            QTimer::singleShot(0, m_pDeferral.get(), [this] { EnsureToolWindows(); });
        };
        QObject::connect(view, &COpenGLView::PreviewPainted, m_pDeferral.get(), soon);
        QObject::connect(view, &COpenGLView::FramePainted, m_pDeferral.get(), soon);
    }
    UpdateFrameTitles();
}

void CAppDocument::RemoveFrame(CChildFrame* frame) {
    m_frames.removeAll(frame);
    UpdateFrameTitles();
}

QString CAppDocument::FrameTitle(const CChildFrame* frame) const {
    QString title = m_strTitle;
    if (m_frames.size() > 1)
        title += QStringLiteral(":%1").arg(m_frames.indexOf(const_cast<CChildFrame*>(frame)) + 1);
    if (m_pDoc->IsModified())
        title += QLatin1Char('*');
    return title;
}

void CAppDocument::UpdateFrameTitles() {
    for (CChildFrame* frame : m_frames) {
        const QString title = FrameTitle(frame);
        if (frame->windowTitle() != title)
            frame->setWindowTitle(title);
    }
}

bool CAppDocument::UndoOrRedo(bool redo) {
    CQuivraDoc& doc = *m_pDoc;
    // Edits that take no snapshot go with the restored state: name them before they are lost.
    const QString lost = (redo ? doc.ChangesLostByRedo() : doc.ChangesLostByUndo()).Describe();
    const QString verb = redo ? QStringLiteral("Redo") : QStringLiteral("Undo");
    if (!lost.isEmpty() &&
        !CPrompts::AskYesNo(m_frames.isEmpty() ? nullptr : m_frames.first(),
                            QStringLiteral("%1 will also discard: %2. %1 anyway?").arg(verb, lost)))
        return false;
    if (!(redo ? doc.Redo() : doc.Undo()))
        return false;
    if (IToolWindows* windows = doc.m_pToolWindows.get()) {
        windows->RebuildPointTable();
        windows->RefillMeasurements();
        windows->RefillSeries();
    }
    return true;
}

namespace {

void ShowWindowCommand(CCommandMap<CAppDocument>& map, int id, ToolWindow window) {
    map.On(id, [window](CAppDocument& d) {
        if (CDocToolWindows* windows = d.EnsureToolWindows())
            windows->Show(window);
    });
}

CCommandMap<CAppDocument> MakeDocCommands() {
    CCommandMap<CAppDocument> map;
    map.On(cmd::ID_FILE_SAVE, [](CAppDocument& d) { d.DoFileSave(); });
    map.On(cmd::ID_FILE_SAVE_AS, [](CAppDocument& d) { d.DoSave(QString()); });
    map.On(cmd::ID_FILE_CLOSE, [](CAppDocument& d) {
        if (d.SaveModified())
            d.Template()->CloseDocument(&d); // destroys d: nothing may follow
    });
    map.On(
        cmd::ID_EDIT_UNDO, [](CAppDocument& d) { d.UndoOrRedo(false); },
        [](CAppDocument& d, CCmdUI& ui) { ui.Enable(d.Doc()->m_bUndoAvailable != 0); });
    map.On(
        cmd::ID_EDIT_REDO, [](CAppDocument& d) { d.UndoOrRedo(true); },
        [](CAppDocument& d, CCmdUI& ui) { ui.Enable(d.Doc()->m_bRedoAvailable != 0); });
    map.On(cmd::ID_FILE_R4_IMPORT,
           [](CAppDocument& d) { CInstrumentImport::ImportInstrumentFile(d); });
    map.On(cmd::ID_FILE_EXPORT_UFF, [](CAppDocument& d) { CUffExchange::Export(d); });
    map.On(cmd::ID_FILE_IMPORT_UFF, [](CAppDocument& d) { CUffExchange::Import(d); });
    for (int i = 0; i < kToolWindowCount; ++i) {
        const ToolWindowInfo& info = ToolWindowInfoOf(static_cast<ToolWindow>(i));
        ShowWindowCommand(map, info.m_nCommand, info.m_window);
    }
    return map;
}

} // namespace

bool CAppDocument::OnCmdMsg(int id, CCmdUI* update) {
    static const CCommandMap<CAppDocument> commands = MakeDocCommands();
    return commands.Dispatch(*this, id, update);
}
