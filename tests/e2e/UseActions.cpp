#include "UseActions.h"

#include "CChildFrame.h"
#include "CMainFrame.h"
#include "CQuivraView.h"
#include "CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMdiArea>
#include <QMessageBox>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QTest>
#include <QToolBar>

using namespace cmd;

UseActions::UseActions(CMainFrame* frame) : m_pFrame(frame) {
    m_modalWatch.setInterval(20);
    connect(&m_modalWatch, &QTimer::timeout, this, [this] { CloseModals(); });
    m_modalWatch.start();
}

void UseActions::CloseModals() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || qobject_cast<QProgressDialog*>(modal))
        return; // Animation Save's progress goes on by itself
    if (auto* print = qobject_cast<QPrintDialog*>(modal)) {
        print->accept();
        return;
    }
    QString text = modal->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        text += QStringLiteral(": ") + box->text();
    m_modals << text;
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

CChildFrame* UseActions::ActiveFrame() const {
    return m_pFrame->ActiveFrame();
}

CQuivraView* UseActions::ActiveView() const {
    return qobject_cast<CQuivraView*>(m_pFrame->ActiveView());
}

QList<CChildFrame*> UseActions::Frames() const {
    QList<CChildFrame*> frames;
    for (QMdiSubWindow* w : m_pFrame->MdiArea()->subWindowList())
        if (auto* f = qobject_cast<CChildFrame*>(w))
            frames << f;
    return frames;
}

bool UseActions::Run(int id) {
    const bool ran = m_pFrame->ExecuteCommand(id);
    QApplication::processEvents();
    return ran;
}

bool UseActions::Activate(CChildFrame* frame) {
    if (!frame)
        return false;
    m_pFrame->activateWindow();
    m_pFrame->MdiArea()->setActiveSubWindow(frame);
    auto* view = qobject_cast<CQuivraView*>(frame->View());
    if (!view)
        return false;
    view->setFocus();
    QApplication::processEvents();
    return view->IsFocusedView();
}

bool UseActions::Animate(bool on) {
    CQuivraView* view = ActiveView();
    m_pFrame->UpdateCmdUI();
    QWidget* button = m_pFrame->GeometryToolBar()->widgetForAction(m_pFrame->Action(ID_ANIMATION));
    if (view && (view->m_bAnimating != 0) != on && button && button->isEnabled()) {
        QTest::mouseClick(button, Qt::LeftButton);
        QApplication::processEvents();
    }
    return view && (view->m_bAnimating != 0) == on;
}

bool UseActions::WaitFrames(CQuivraView* view, int frames, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    for (int i = 0; i < frames; ++i) {
        const int frame = view->m_nFrame;
        while (view->m_nFrame == frame) {
            if (deadline.hasExpired())
                return false;
            QTest::qWait(5);
        }
    }
    return true;
}

void UseActions::ResizeDocument(const QSize& size, bool viewOnly) {
    CChildFrame* f = ActiveFrame();
    if (f && size.isEmpty())
        f->showMaximized();
    else if (viewOnly && f && f->View())
        f->View()->resize(size);
    else if (f) {
        if (f->isMaximized())
            f->showNormal();
        f->resize(size);
    }
    QApplication::processEvents();
}
