#include "CMainFrame.h"

#include "CAmplificationBox.h"
#include "CAppDocument.h"
#include "CChildFrame.h"
#include "CCommandMap.h"
#include "CDocTemplate.h"
#include "CHelpWindow.h"
#include "CInstrumentImport.h"
#include "CPrompts.h"
#include "CQuivraApp.h"
#include "CQuivraView.h"
#include "CRecentFileList.h"
#include "CToolWindowKeys.h"
#include "CToolWindowPlacer.h"
#include "CUffExchange.h"
#include "CWindowPlacement.h"
#include "CommandIds.h"
#include "CommandTable.h"
#include "ToolbarIcons.h"
#include "ViewFactory.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace cmd;

namespace {

const QString kPlacementSection = QStringLiteral("MainFrame");
const char* const kPlacementKeys[] = {"Status", "Top", "Left", "Bottom", "Right"};

QSettings Settings() {
    return QSettings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"));
}

// Keeps tooltips and status prompts away from a toolbar that should show neither.
class CNoTipsFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::ToolTip || event->type() == QEvent::StatusTip;
    }
};

} // namespace

CMainFrame::CMainFrame(CQuivraApp* app)
    : m_pApp(app), m_pMdiArea(new QMdiArea(this)), m_pIdleTimer(new QTimer(this)) {
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(toolbaricons::ProgramIcon());
    setAcceptDrops(true);
    m_pMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_pMdiArea);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        // The message pane may hold a picked point of the window left behind.
        if (sub && sub != m_pLastActive && m_pMessagePane)
            m_pMessagePane->setText(QStringLiteral("For Help, press F1"));
        if (sub)
            m_pLastActive = sub;
        UpdateCmdUI();
    });
    // Enable and check states follow the program's state between commands, as the menus and
    // toolbar buttons are seen.
    connect(m_pIdleTimer, &QTimer::timeout, this, [this] { UpdateCmdUI(); });
    m_pIdleTimer->start(250);
}

CMainFrame::~CMainFrame() = default;

int CMainFrame::LoadFrame() {
    const int show = RestorePlacement();
    CreateActions();
    CreateMenus();
    new CToolWindowKeys(this);
    new CToolWindowPlacer(this);
    if (!CreateToolBars() || !CreateStatusBar())
        return -2;
    UpdateCmdUI();
    return show;
}

int CMainFrame::RestorePlacement() {
    QSettings settings = Settings();
    int values[5];
    for (int i = 0; i < 5; ++i) {
        values[i] = settings
                        .value(kPlacementSection + QLatin1Char('/') +
                                   QString::fromLatin1(kPlacementKeys[i]),
                               -1)
                        .toInt();
        if (values[i] == -1) {
            // First run or incomplete values: a default size, centred on the work area.
            const QRect work = CWindowPlacement::WorkArea(this);
            const QSize size(qMin(1000, work.width() * 9 / 10), qMin(720, work.height() * 9 / 10));
            setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, work));
            return -1;
        }
    }
    const int status = values[0], top = values[1], left = values[2], bottom = values[3],
              right = values[4];
    const int width = right - left, height = bottom - top;
    if (width <= 0 || height <= 0)
        return -1;
    const QRect work = CWindowPlacement::WorkArea(this);
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect whole = screen ? screen->geometry() : work;
    const int icon = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
    // At least an icon's size of the window stays on the screen.
    int x = qMin(left + work.left(), whole.width() - icon);
    int y = qMin(top + work.top(), whole.height() - icon);
    x = qMax(x, whole.left() + icon - width);
    y = qMax(y, whole.top());
    setGeometry(x, y, width, height);
    return status;
}

void CMainFrame::SavePlacement() {
    const CWindowPlacement wp = CWindowPlacement::Of(this);
    QSettings settings = Settings();
    const int values[5] = {wp.m_nShowCmd == CWindowPlacement::Hide ? CWindowPlacement::ShowNormal
                                                                   : wp.m_nShowCmd,
                           wp.m_nTop, wp.m_nLeft, wp.m_nBottom, wp.m_nRight};
    for (int i = 0; i < 5; ++i)
        settings.setValue(kPlacementSection + QLatin1Char('/') +
                              QString::fromLatin1(kPlacementKeys[i]),
                          values[i]);
}

void CMainFrame::CreateActions() {
    for (const commandtable::CommandText& c : commandtable::Commands()) {
        auto* action = new QAction(QString::fromLatin1(c.m_text), this);
        action->setData(c.m_nId);
        if (c.m_prompt) {
            const QStringList parts = QString::fromLatin1(c.m_prompt).split(QLatin1Char('\n'));
            action->setStatusTip(parts.value(0));
            if (parts.size() > 1)
                action->setToolTip(parts.value(1));
        }
        const QList<QKeySequence> keys = commandtable::Accelerators(c.m_nId);
        if (!keys.isEmpty()) {
            action->setShortcuts(keys);
            // Accelerators work whether or not a menu shows the command, while the main window
            // or one of its tool windows is active (CToolWindowKeys).
            addAction(action);
        }
        const QIcon icon = toolbaricons::ForCommand(c.m_nId);
        if (!icon.isNull())
            action->setIcon(icon);
        const int id = c.m_nId;
        connect(action, &QAction::triggered, this, [this, id] { OnActionTriggered(id); });
        m_actions.insert(id, action);
    }
    m_recentActions.append(m_actions.value(ID_FILE_MRU_FILE1));
    for (int i = 1; i < kRecentFiles; ++i) {
        auto* action = new QAction(this);
        const int id = ID_FILE_MRU_FILE1 + i;
        action->setData(id);
        action->setStatusTip(QStringLiteral("Open this document"));
        action->setVisible(false);
        connect(action, &QAction::triggered, this, [this, id] { OnActionTriggered(id); });
        m_actions.insert(id, action);
        m_recentActions.append(action);
    }
}

QMenu* CMainFrame::BuildMenu(const char* title, const QList<int>& items) {
    auto* menu = new QMenu(QString::fromLatin1(title), this);
    for (int id : items) {
        if (id == commandtable::kSeparator)
            menu->addSeparator();
        else if (id == commandtable::kRecentFiles)
            menu->addActions(m_recentActions);
        else
            menu->addAction(m_actions.value(id));
    }
    connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCmdUI(); });
    return menu;
}

void CMainFrame::CreateMenus() {
    for (const commandtable::MenuLayout& m : commandtable::NoDocumentMenus())
        m_noDocMenus.append(BuildMenu(m.m_title, m.m_items));
    for (const commandtable::MenuLayout& m : commandtable::DocumentMenus()) {
        QMenu* menu = BuildMenu(m.m_title, m.m_items);
        if (QString::fromLatin1(m.m_title) == QStringLiteral("&Window"))
            m_pWindowMenu = menu;
        m_docMenus.append(menu);
    }
    UseMenus(false);
}

void CMainFrame::UseMenus(bool documentMenus) {
    if (m_bMenusSet && documentMenus == m_bDocumentMenus)
        return;
    m_bMenusSet = true;
    m_bDocumentMenus = documentMenus;
    menuBar()->clear();
    for (QMenu* menu : documentMenus ? m_docMenus : m_noDocMenus)
        menuBar()->addMenu(menu);
}

bool CMainFrame::CreateToolBars() {
    m_pStandardBar = new QToolBar(QStringLiteral("Standard"), this);
    m_pGeometryBar = new QToolBar(QStringLiteral("Geometry"), this);
    for (auto [bar, buttons] : {std::pair{m_pStandardBar, &commandtable::StandardToolBar()},
                                std::pair{m_pGeometryBar, &commandtable::GeometryToolBar()}}) {
        bar->setIconSize(QSize(16, 15));
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        for (int id : *buttons) {
            if (id == commandtable::kSeparator)
                bar->addSeparator();
            else
                bar->addAction(m_actions.value(id));
        }
    }
    m_pStandardBar->setObjectName(QStringLiteral("standard"));
    m_pGeometryBar->setObjectName(QStringLiteral("geometry"));
    // The geometry bar shows neither tooltips nor status prompts.
    auto* noTips = new CNoTipsFilter(m_pGeometryBar);
    for (QToolButton* button : m_pGeometryBar->findChildren<QToolButton*>())
        button->installEventFilter(noTips);
    m_pGeometryBar->installEventFilter(noTips);
    // Geometry band first, then the standard band.
    addToolBar(Qt::TopToolBarArea, m_pGeometryBar);
    addToolBar(Qt::TopToolBarArea, m_pStandardBar);

    // Looking at the model, after the two original bands: short texts where there is no icon.
    m_pNavigationBar = new QToolBar(QStringLiteral("Navigation"), this);
    m_pNavigationBar->setObjectName(QStringLiteral("navigation"));
    m_pNavigationBar->setIconSize(QSize(16, 15));
    m_pNavigationBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const QHash<int, QString> shortTexts = {
        {ID_VIEW_FRONT, QStringLiteral("Front")},
        {ID_VIEW_TOP, QStringLiteral("Top")},
        {ID_VIEW_SIDE, QStringLiteral("Side")},
        {ID_VIEW_ISOMETRIC, QStringLiteral("Iso")},
        {ID_ANIMATION_PAUSE, QStringLiteral("Pause")},
        {ID_ANIMATION_PREV_FRAME, QStringLiteral("\u25c0")},
        {ID_ANIMATION_NEXT_FRAME, QStringLiteral("\u25b6")},
        {ID_ANIMATION_SLOWER, QStringLiteral("Slower")},
        {ID_ANIMATION_FASTER, QStringLiteral("Faster")},
    };
    for (int id : commandtable::NavigationToolBar()) {
        if (id == commandtable::kSeparator) {
            m_pNavigationBar->addSeparator();
            continue;
        }
        QAction* action = m_actions.value(id);
        if (shortTexts.contains(id))
            action->setIconText(shortTexts.value(id));
        m_pNavigationBar->addAction(action);
    }
    m_pNavigationBar->addSeparator();
    m_pAmplification = new CAmplificationBox(m_pNavigationBar);
    m_pNavigationBar->addWidget(m_pAmplification);
    addToolBar(Qt::TopToolBarArea, m_pNavigationBar);
    return true;
}

bool CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    m_pMessagePane = new QLabel(QStringLiteral("For Help, press F1"), bar);
    m_pMessagePane->setObjectName(QStringLiteral("message"));
    bar->addWidget(m_pMessagePane, 1);
    // No lock-key panes: Qt does not tell the state of Caps, Num or Scroll Lock, and panes that
    // are always grey say nothing.
    return true;
}

CChildFrame* CMainFrame::ActiveFrame() const {
    // The current window stays current while a tool window has the focus.
    QMdiSubWindow* sub = m_pMdiArea->currentSubWindow();
    if (!sub) {
        // Without a window manager no window may ever have been activated: the most recently
        // shown document window counts.
        const QList<QMdiSubWindow*> list =
            m_pMdiArea->subWindowList(QMdiArea::ActivationHistoryOrder);
        for (int i = list.size() - 1; i >= 0 && !sub; --i)
            if (list[i]->isVisible())
                sub = list[i];
    }
    auto* frame = qobject_cast<CChildFrame*>(sub);
    return frame && frame->GetDocument() ? frame : nullptr;
}

CAppDocument* CMainFrame::ActiveDocument() const {
    CChildFrame* frame = ActiveFrame();
    return frame ? frame->GetDocument() : nullptr;
}

QWidget* CMainFrame::ActiveView() const {
    CChildFrame* frame = ActiveFrame();
    return frame ? frame->View() : nullptr;
}

bool CMainFrame::RouteCommand(int id, CCmdUI* update) {
    if (QWidget* view = ActiveView())
        if (viewfactory::OnCmdMsg(view, id, update))
            return true;
    if (CAppDocument* doc = ActiveDocument())
        if (doc->OnCmdMsg(id, update))
            return true;
    if (OnCmdMsg(id, update))
        return true;
    return m_pApp && m_pApp->OnCmdMsg(id, update);
}

bool CMainFrame::ExecuteCommand(int id) {
    CCmdUI ui;
    if (!RouteCommand(id, &ui) || !ui.m_bEnabled)
        return false;
    OnActionTriggered(id);
    return true;
}

void CMainFrame::OnActionTriggered(int id) {
    RouteCommand(id, nullptr);
    UpdateCmdUI();
}

void CMainFrame::UpdateCmdUI() {
    UseMenus(ActiveDocument() != nullptr);
    UpdateRecentFiles();
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        CCmdUI ui;
        // Commands that nothing handles are shown disabled.
        if (!RouteCommand(it.key(), &ui))
            ui.Enable(false);
        QAction* action = it.value();
        if (action->isEnabled() != ui.m_bEnabled)
            action->setEnabled(ui.m_bEnabled);
        if (action->isCheckable() != ui.m_bCheckable)
            action->setCheckable(ui.m_bCheckable);
        if (ui.m_bCheckable && action->isChecked() != ui.m_bChecked)
            action->setChecked(ui.m_bChecked);
    }
    UpdateWindowList();
    UpdateTitles();
    if (m_pAmplification)
        m_pAmplification->ShowFor(qobject_cast<CQuivraView*>(ActiveView()));
}

void CMainFrame::UpdateRecentFiles() {
    CRecentFileList* list = m_pApp ? m_pApp->RecentFiles() : nullptr;
    const int count = list ? static_cast<int>(list->Files().size()) : 0;
    for (int i = 0; i < m_recentActions.size(); ++i) {
        QAction* action = m_recentActions[i];
        QString text;
        if (i < count)
            text = list->MenuText(i);
        else if (i == 0)
            text = QStringLiteral("Recent File"); // the empty list's one, disabled entry
        if (action->text() != text)
            action->setText(text);
        const bool visible = i < count || i == 0;
        if (action->isVisible() != visible)
            action->setVisible(visible);
    }
}

void CMainFrame::UpdateWindowList() {
    if (!m_pWindowMenu)
        return;
    const QList<QMdiSubWindow*> subs = m_pMdiArea->subWindowList();
    QStringList titles;
    for (QMdiSubWindow* sub : subs)
        titles.append(sub->windowTitle());
    bool same = titles.size() == m_windowList.size();
    for (int i = 0; same && i < titles.size(); ++i)
        same = m_windowList[i]->text().endsWith(titles[i]);
    if (!same) {
        for (QAction* a : m_windowList)
            delete a;
        m_windowList.clear();
        if (!subs.isEmpty())
            m_windowList.append(m_pWindowMenu->addSeparator());
        for (int i = 0; i < subs.size(); ++i) {
            QMdiSubWindow* sub = subs[i];
            auto* action = m_pWindowMenu->addAction(
                QStringLiteral("&%1 %2").arg(i + 1).arg(sub->windowTitle()));
            action->setData(ID_WINDOW_CHILD_FIRST + i);
            action->setCheckable(true);
            connect(action, &QAction::triggered, this,
                    [this, sub] { m_pMdiArea->setActiveSubWindow(sub); });
            m_windowList.append(action);
        }
    }
    QMdiSubWindow* active = ActiveFrame();
    for (int i = 0, k = 0; i < m_windowList.size(); ++i) {
        if (m_windowList[i]->isSeparator())
            continue;
        m_windowList[i]->setChecked(subs.value(k++) == active);
    }
}

void CMainFrame::UpdateTitles() {
    for (const auto& doc : m_pApp->DocTemplate()->Documents())
        doc->UpdateFrameTitles();
    QString title = QString::fromLatin1(kTitle);
    if (CChildFrame* frame = ActiveFrame())
        title += QStringLiteral(" - ") + frame->windowTitle();
    if (windowTitle() != title)
        setWindowTitle(title);
}

void CMainFrame::OnWindowNew() {
    CAppDocument* doc = ActiveDocument();
    if (!doc)
        return;
    CChildFrame* frame = m_pApp->DocTemplate()->CreateNewFrame(doc);
    viewfactory::InitialUpdate(frame->View());
}

void CMainFrame::OnWindowArrange() {
    // Minimised document windows line up along the bottom edge, left to right.
    const QRect area = m_pMdiArea->viewport()->rect();
    int x = 0;
    for (QMdiSubWindow* sub : m_pMdiArea->subWindowList()) {
        if (!sub->isMinimized())
            continue;
        const QSize size = sub->size();
        sub->move(x, area.bottom() - size.height() + 1);
        x += size.width();
    }
}

bool CMainFrame::OnCmdMsg(int id, CCmdUI* update) {
    static const CCommandMap<CMainFrame> commands = [] {
        CCommandMap<CMainFrame> map;
        auto hasChild = [](CMainFrame& f, CCmdUI& ui) { ui.Enable(f.ActiveFrame() != nullptr); };
        map.On(
            ID_VIEW_TOOLBAR,
            [](CMainFrame& f) { f.m_pStandardBar->setVisible(!f.m_pStandardBar->isVisible()); },
            [](CMainFrame& f, CCmdUI& ui) { ui.SetCheck(f.m_pStandardBar->isVisible()); });
        map.On(
            ID_VIEW_STATUS_BAR,
            [](CMainFrame& f) { f.statusBar()->setVisible(!f.statusBar()->isVisible()); },
            [](CMainFrame& f, CCmdUI& ui) { ui.SetCheck(f.statusBar()->isVisible()); });
        map.On(
            ID_WINDOW_NEW, [](CMainFrame& f) { f.OnWindowNew(); }, hasChild);
        map.On(
            ID_WINDOW_CASCADE, [](CMainFrame& f) { f.m_pMdiArea->cascadeSubWindows(); }, hasChild);
        map.On(
            ID_WINDOW_TILE_HORZ, [](CMainFrame& f) { f.m_pMdiArea->tileSubWindows(); }, hasChild);
        map.On(
            ID_WINDOW_ARRANGE, [](CMainFrame& f) { f.OnWindowArrange(); }, hasChild);
        map.On(ID_APP_EXIT, [](CMainFrame& f) { f.close(); });
        map.On(ID_HELP, [](CMainFrame& f) { CHelpWindow::ShowFor(&f); });
        return map;
    }();
    return commands.Dispatch(*this, id, update);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Written even when the user then cancels the close.
    SavePlacement();
    if (!m_pApp->SaveAllModified()) {
        event->ignore();
        return;
    }
    m_pApp->DocTemplate()->CloseAllDocuments();
    m_pIdleTimer->stop();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    activateWindow();
    // Scenes open as documents; instrument and Universal Files are read into the active scene
    // (the one opened by the same drop, if any), as their File commands would.
    for (const QString& path : paths) {
        const QString suffix = QFileInfo(path).suffix().toLower();
        const bool instrument = suffix == QLatin1String("ktl");
        const bool universal = suffix == QLatin1String("uff") || suffix == QLatin1String("unv");
        CAppDocument* doc = ActiveDocument();
        if (doc && instrument)
            CInstrumentImport::ImportInstrumentFile(*doc, path);
        else if (doc && universal)
            CUffExchange::Import(*doc, path);
        else
            m_pApp->OpenDocumentFile(path);
    }
    UpdateCmdUI();
}
