#include "CDocTemplate.h"

#include "CAppDocument.h"
#include "CChildFrame.h"
#include "COpenGLView.h"
#include "CQuivraDoc.h"
#include "CRecentFileList.h"
#include "ViewFactory.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>

#include <algorithm>

CDocTemplate::CDocTemplate(const QString& strings) : m_strings(strings.split(QLatin1Char('\n'))) {}

CDocTemplate::~CDocTemplate() {
    CloseAllDocuments();
}

QString CDocTemplate::GetDocString(DocStringIndex index) const {
    return m_strings.value(index);
}

QString CDocTemplate::FileDialogFilter() const {
    return GetDocString(filterName) + QStringLiteral(";;All Files (*)");
}

CAppDocument* CDocTemplate::FindDocument(const QString& path) const {
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    // Links and bind mounts give one file several names; the canonical path is its one name
    // (empty while the file does not exist).
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (const auto& doc : m_documents) {
        const QString own = doc->GetPathName();
        if (own.isEmpty())
            continue;
        if (own == absolute ||
            (!canonical.isEmpty() && QFileInfo(own).canonicalFilePath() == canonical))
            return doc.get();
    }
    return nullptr;
}

bool CDocTemplate::ActivateOpen(const QString& path) {
    CAppDocument* open = path.isEmpty() ? nullptr : FindDocument(path);
    if (open && !open->Frames().isEmpty() && m_pMdiArea)
        m_pMdiArea->setActiveSubWindow(open->Frames().first());
    return open != nullptr;
}

CAppDocument* CDocTemplate::OpenDocumentFile(const QString& path, QString* error) {
    if (ActivateOpen(path))
        return FindDocument(path);
    m_documents.push_back(std::make_unique<CAppDocument>(this));
    CAppDocument* doc = m_documents.back().get();
    // The window comes first, so that the new-document step finds the view to bind.
    CChildFrame* frame = CreateNewFrame(doc, false);
    bool ok;
    if (path.isEmpty()) {
        ok = doc->OnNewDocument();
        if (ok)
            doc->SetTitle(GetDocString(docName) + QString::number(++m_nUntitledCount));
    } else {
        ok = doc->OnOpenDocument(path, error);
        if (ok)
            doc->SetPathName(path);
    }
    if (!ok) {
        // Discard the document with its windows; nothing of it was shown.
        CloseDocument(doc);
        return nullptr;
    }
    ShowNewFrame(frame);
    return doc;
}

CAppDocument* CDocTemplate::OpenLoadedDocument(const QString& path,
                                               std::unique_ptr<CQuivraDoc> loaded) {
    if (ActivateOpen(path))
        return FindDocument(path);
    m_documents.push_back(std::make_unique<CAppDocument>(this, std::move(loaded)));
    CAppDocument* doc = m_documents.back().get();
    CChildFrame* frame = CreateNewFrame(doc, false);
    doc->OnLoadedDocument();
    doc->SetPathName(path);
    ShowNewFrame(frame);
    return doc;
}

void CDocTemplate::ShowNewFrame(CChildFrame* frame) {
    ShowFrame(frame);
    viewfactory::InitialUpdate(frame->View());
}

CChildFrame* CDocTemplate::CreateNewFrame(CAppDocument* doc, bool show) {
    auto* frame = new CChildFrame(doc);
    // Before the main window first shows, its first paint must not wait for the model.
    if (m_pOwner && !m_pOwner->isVisible())
        if (auto* view = qobject_cast<COpenGLView*>(frame->View()))
            view->DeferFirstFrame();
    if (m_pMdiArea) {
        m_pMdiArea->addSubWindow(frame);
        // The area is not laid out before the main window first shows: size from the window.
        QSize size = m_pMdiArea->viewport()->size();
        if (!m_pMdiArea->isVisible() && m_pOwner)
            size = m_pOwner->size() - QSize(0, 100);
        frame->resize((size * 2 / 3).expandedTo(QSize(320, 240)));
    }
    if (show)
        ShowFrame(frame);
    return frame;
}

void CDocTemplate::ShowFrame(CChildFrame* frame) {
    frame->show();
    // The area places a new window where it overlaps the others least, even half outside the
    // workspace (which then scrolls): keep it inside.
    if (m_pMdiArea && m_pMdiArea->isVisible()) {
        const QRect area = m_pMdiArea->viewport()->rect();
        QRect r(frame->pos(), frame->size().boundedTo(area.size()));
        r.moveRight(std::min(r.right(), area.right()));
        r.moveBottom(std::min(r.bottom(), area.bottom()));
        r.moveTopLeft(QPoint(std::max(r.left(), 0), std::max(r.top(), 0)));
        if (r != frame->geometry())
            frame->setGeometry(r);
    }
    if (m_pMdiArea)
        m_pMdiArea->setActiveSubWindow(frame);
    if (frame->View())
        frame->View()->setFocus();
}

void CDocTemplate::CloseDocument(CAppDocument* doc) {
    for (auto it = m_documents.begin(); it != m_documents.end(); ++it) {
        if (it->get() != doc)
            continue;
        doc->OnCloseDocument();
        // Destroyed after leaving the list, so that the list never holds a dying document.
        std::unique_ptr<CAppDocument> dying = std::move(*it);
        m_documents.erase(it);
        return;
    }
}

void CDocTemplate::CloseAllDocuments() {
    while (!m_documents.empty())
        CloseDocument(m_documents.back().get());
}
