#include "UseActions.h"

#include "CChildFrame.h"
#include "CImageOutput.h"
#include "CMainFrame.h"
#include "CQuivraView.h"
#include "CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QDir>
#include <QMdiArea>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
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

bool UseActions::ClickToolButton(int id) {
    QAction* action = m_pFrame->Action(id);
    m_pFrame->UpdateCmdUI();
    for (QToolBar* bar : {m_pFrame->StandardToolBar(), m_pFrame->GeometryToolBar()}) {
        QWidget* button = bar ? bar->widgetForAction(action) : nullptr;
        if (button && button->isEnabled()) {
            QTest::mouseClick(button, Qt::LeftButton);
            QApplication::processEvents();
            return true;
        }
    }
    return false;
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
    if (view && (view->m_bAnimating != 0) != on)
        ClickToolButton(ID_ANIMATION);
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

bool UseActions::NewWindow() {
    const int before = static_cast<int>(Frames().size());
    return Run(ID_WINDOW_NEW) && Frames().size() == before + 1;
}

QImage UseActions::Copy() {
    QGuiApplication::clipboard()->clear();
    if (!Run(ID_EDIT_COPY))
        return QImage();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime ? qvariant_cast<QImage>(mime->imageData()) : QImage();
}

bool UseActions::PrintToPdf(const QString& path) {
    QPrinter& printer = CImageOutput::SharedPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(path);
    QFile::remove(path);
    if (!Run(ID_FILE_PRINT))
        return false;
    QFile pdf(path);
    return pdf.open(QIODevice::ReadOnly) && pdf.read(4) == "%PDF";
}

int UseActions::AnimationSave(const QString& dir) {
    QDir folder(dir);
    for (const QString& f : folder.entryList({QStringLiteral("*.bmp")}, QDir::Files))
        folder.remove(f);
    if (!Run(ID_ANIMATION_SAVE))
        return 0;
    return static_cast<int>(folder.entryList({QStringLiteral("*.bmp")}, QDir::Files).size());
}
