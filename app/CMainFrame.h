#pragma once

#include "ICmdTarget.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>

class CAmplificationBox;
class CAppDocument;
class CChildFrame;
class CQuivraApp;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;

// The main window: menus, the two toolbars, the status bar and the MDI area with the document
// windows. Routes every command by id to the active view, the active document, itself and the
// application, in that order.
class CMainFrame : public QMainWindow, public ICmdTarget {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Norvek Quivra";

    explicit CMainFrame(CQuivraApp* app);
    ~CMainFrame() override;

    // Restores the placement and creates the bars. Returns the show state to use (a
    // CWindowPlacement show state), or -1 to show the window the default way.
    int LoadFrame();
    // Reads the "MainFrame" placement; returns the saved show state, or -1 (and changes
    // nothing) when a value is missing.
    int RestorePlacement();
    void SavePlacement();

    QAction* Action(int id) const { return m_actions.value(id); }
    QMdiArea* MdiArea() const { return m_pMdiArea; }
    QToolBar* StandardToolBar() const { return m_pStandardBar; }
    QToolBar* GeometryToolBar() const { return m_pGeometryBar; }
    QToolBar* NavigationToolBar() const { return m_pNavigationBar; }
    CAmplificationBox* AmplificationBox() const { return m_pAmplification; }
    QLabel* MessagePane() const { return m_pMessagePane; }
    bool HasDocumentMenus() const { return m_bDocumentMenus; }

    CChildFrame* ActiveFrame() const;
    CAppDocument* ActiveDocument() const;
    QWidget* ActiveView() const;

    // Offers command `id` to the targets in routing order; false when none handles it.
    bool RouteCommand(int id, CCmdUI* update);
    // Carries out `id` as a menu click would: only when it is enabled. Returns whether it ran.
    bool ExecuteCommand(int id);
    // Brings every action's enable/check state, the menu set and the titles up to date.
    void UpdateCmdUI();

    bool OnCmdMsg(int id, CCmdUI* update) override;

    // The Window menu's list of document windows ("&1 pump.qvr" ...).
    QList<QAction*> WindowListActions() const { return m_windowList; }

    void OnWindowNew();
    void OnWindowArrange();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    bool CreateToolBars();
    bool CreateStatusBar();
    QMenu* BuildMenu(const char* title, const QList<int>& items);
    void OnActionTriggered(int id);
    void UpdateRecentFiles();
    void UpdateWindowList();
    void UpdateTitles();
    void UseMenus(bool documentMenus);

    CQuivraApp* m_pApp;
    QMdiArea* m_pMdiArea;
    QHash<int, QAction*> m_actions;
    QList<QAction*> m_recentActions; // ids 57616 ...
    QList<QAction*> m_windowList;
    QMenu* m_pWindowMenu = nullptr;
    QList<QMenu*> m_noDocMenus;
    QList<QMenu*> m_docMenus;
    bool m_bDocumentMenus = false;
    bool m_bMenusSet = false;
    QToolBar* m_pStandardBar = nullptr;
    QToolBar* m_pGeometryBar = nullptr;
    QToolBar* m_pNavigationBar = nullptr;
    CAmplificationBox* m_pAmplification = nullptr;
    QLabel* m_pMessagePane = nullptr;
    QPointer<QMdiSubWindow> m_pLastActive; // the document window the message pane speaks of
    QTimer* m_pIdleTimer;
};
