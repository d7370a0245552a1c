#include "CChildFrame.h"

#include "CAppDocument.h"
#include "CDocTemplate.h"
#include "CQuivraDoc.h"
#include "ToolbarIcons.h"
#include "ViewFactory.h"

#include <QCloseEvent>
#include <QMdiArea>

CChildFrame::CChildFrame(CAppDocument* doc, QWidget* parent)
    : QMdiSubWindow(parent), m_pDocument(doc) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(toolbaricons::ProgramIcon());
    m_pView = viewfactory::CreateView(doc->Doc(), this);
    setWidget(m_pView);
    doc->AddFrame(this);
}

CChildFrame::~CChildFrame() {
    DestroyView();
    if (m_pDocument)
        m_pDocument->RemoveFrame(this);
}

void CChildFrame::DestroyView() {
    delete m_pView.data();
}

void CChildFrame::CloseForDocument() {
    DestroyView();
    CAppDocument* doc = m_pDocument;
    m_pDocument = nullptr;
    if (doc)
        doc->RemoveFrame(this);
    if (mdiArea())
        mdiArea()->removeSubWindow(this);
    close();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    CAppDocument* doc = m_pDocument;
    if (!doc) {
        QMdiSubWindow::closeEvent(event);
        return;
    }
    if (doc->Frames().size() > 1) {
        // Another window still shows the document: only this view goes.
        DestroyView();
        m_pDocument = nullptr;
        doc->RemoveFrame(this);
        // The tool windows may still point at the view just destroyed.
        doc->Doc()->BindToolWindows();
        QMdiSubWindow::closeEvent(event);
        return;
    }
    if (!doc->SaveModified()) {
        event->ignore();
        return;
    }
    doc->Template()->CloseDocument(doc);
    QMdiSubWindow::closeEvent(event);
}
