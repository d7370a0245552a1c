#pragma once

#include "COpenGLView.h"
#include "CSceneRenderer.h"
#include "CViewState.h"
#include "Deflection.h"
#include "IDocView.h"
#include "ISeriesHost.h"
#include "IViewSettingsTarget.h"

#include <QBasicTimer>
#include <QPoint>

#include <cstdint>
#include <vector>

class CMoveDlg;
class CornerPoint;
class CQuivraDoc;
class CViewSettingsDlg;
class QMenu;

// The 3-D view of one document: camera, display toggles and animation (CViewState), drawn
// through CSceneRenderer. Registers with its document on creation and unregisters when
// destroyed; owns nothing of the document.
class CQuivraView : public COpenGLView,
                    public IDocView,
                    public CViewState,
                    public IViewSettingsTarget,
                    public ISeriesHost {
    Q_OBJECT
public:
    // Animation timer interval: one frame per tick.
    static constexpr int kTimerInterval = 20;
    // A press and release closer than this (in pixels, either way) is a click; farther it is a
    // drag that turns or pans and leaves the selection alone.
    static constexpr int kDragThreshold = 4;
    // Speed steps of the animation: the timer interval is kTimerInterval * 2^-step.
    static constexpr int kSlowest = -3;
    static constexpr int kFastest = 1;
    // The picture counts as moving this long after the last drag step, wheel step or animation
    // tick (CSceneRenderer::m_bMoving); then a reduced frame is replaced by the full one.
    static constexpr int kSettleMs = 150;
    enum StandardView { ViewFront, ViewTop, ViewSide, ViewIsometric };

    // The commands of the view's context menus (and "Settings..." of the View menu).
    enum Command : int {
        ID_DRAW_LINE = 32779,
        ID_MOVE_POINTS = 32780,
        ID_COPY_POINTS = 32783,
        ID_ALIGN_POINTS = 32785,
        ID_MOVE_OBJECTS = 32787,
        ID_DELETE_POINTS = 32788,
        ID_DELETE_OBJECTS = 32789,
        ID_DELETE_LINES = 32790,
        ID_DIR_X = 32797,
        ID_DIR_Y = 32798,
        ID_DIR_Z = 32799,
        ID_DIR_MINUS_Z = 32800,
        ID_DIR_MINUS_Y = 32801,
        ID_DIR_MINUS_X = 32802,
        ID_DIR_R = 32803,
        ID_DIR_MINUS_R = 32804,
        ID_MAX_DEVIATION = 32824,
        ID_MAX_DEVIATION_NEG = 32825,
        ID_MEAS_DIR_MENU = 32835,
        ID_SHOW_VIEW_SETTINGS = 32836,
    };
    // Every id above, for the command routing.
    static const std::vector<int>& CommandIds();
    // The popups of the context-menu resource.
    enum Popup {
        PopupSinglePoint,
        PopupPoints,
        PopupAlign,
        PopupDirections,
        PopupHint,
        PopupDirectionMenu,
        PopupCount
    };

    explicit CQuivraView(CQuivraDoc* doc, QWidget* parent = nullptr);
    ~CQuivraView() override;

    CQuivraDoc* GetDocument() const { return m_pDoc; }
    CSceneRenderer& Renderer() { return m_renderer; }

    // First update after the document is loaded: the camera the scene was last seen with, or
    // the zoom fitted to the scene; then repaints.
    virtual void OnInitialUpdate();

    // Every live view, in creation order (settings that apply to all views reach them here).
    static const std::vector<CQuivraView*>& AllViews();
    // Whether the view keeps its scene's camera in the settings when it goes.
    bool m_bRememberCamera = false;

    // --- navigation ---
    // Centres the scene's bounding box and zooms so that all of it is in view.
    void OnFitAll();
    // Front, top, side (from +X) or isometric; the zoom stays.
    void OnStandardView(StandardView which);
    // The point the view turns about when turning about the model's centre, and the depth at
    // which wheel zoom and pan follow the cursor: the centre of the scene's bounding box.
    Vec3d NavigationCentre() const;

    // --- animation controls ---
    // Freezes the animation at its frame or lets it run on.
    void OnPause();
    // One frame forward or back, paused there (starts a paused animation when stopped).
    void OnStepFrame(int delta);
    // The speed step of every view's animation (kSlowest .. kFastest, 0 the normal speed).
    static int SpeedStep() { return s_nSpeedStep; }
    static void SetSpeedStep(int step);
    static int TimerInterval();

    // "&Animation": starts a free-running animation from frame 0, or stops it and repaints at
    // rest.
    void OnToggleAnimation();
    // "Max Deviation Anim" / "Max Deviation Anim Neg": run to the frame where the first
    // selected point is farthest from rest in the first (second) half period and freeze there.
    void OnMaxDeviationAnim();
    void OnMaxDeviationAnimNeg();
    // One tick of the animation timer: advances (and repaints) only while this view has the
    // focus and the frame is not frozen.
    void OnTimer();
    bool IsTimerRunning() const { return m_timer.isActive(); }

    // IDocView
    bool IsFocusedView() const override { return m_bHasFocus != 0; }
    void OnDocumentChanged() override;

    // IViewSettingsTarget and ISeriesHost
    double GetCameraValue(CameraValue which) const override;
    void SetCameraValue(CameraValue which, double value) override;
    std::int32_t GetLineWidth() const override { return m_nLineWidth; }
    void SetLineWidth(std::int32_t width) override { m_nLineWidth = width; }
    int CurrentSeries() const override { return m_nCurrentSeries; }
    void SetCurrentSeries(int k) override { m_nCurrentSeries = k; }
    // Invalidate, erase and paint before returning.
    void RepaintNow() override { COpenGLView::RepaintNow(); }

    // The view's own forms, created hidden with it.
    CMoveDlg* MovePointsDlg() const { return m_pMovePointsDlg; }
    CMoveDlg* CopyPointsDlg() const { return m_pCopyPointsDlg; }
    CMoveDlg* MoveObjectsDlg() const { return m_pMoveObjectsDlg; }
    CViewSettingsDlg* ViewSettingsDlg() const { return m_pViewSettingsDlg; }

    // The corner point under the client position, or null (see CPointPicker). `leftClick`
    // chooses the failure message.
    CornerPoint* PickPoint(const QPoint& mouse, bool leftClick);
    QPoint LastMouse() const { return m_ptLastMouse; }
    QPoint MenuMouse() const { return m_ptMenuMouse; }

    // Carries out one of the commands above; false for an id the view does not own.
    bool OnCommand(int id);
    // The context menu for the current selection: a Popup, or -1 for none.
    int ChooseContextMenu() const;
    // A new menu holding popup `popup` of the context-menu resource (entries carry their
    // command id as data; 0 for entries without one). The caller owns it.
    static QMenu* CreatePopup(int popup, QWidget* parent = nullptr);
    // The measurement-direction menu of the first selected point, or null without one.
    QMenu* CreateDirectionMenu(QWidget* parent = nullptr) const;

    // Command handlers.
    void OnDrawLines();
    void OnDeleteLines();
    void OnDeleteCornerPoints();
    void OnDeleteObjects();
    void OnAlignCornerPoints();
    void SetMeasDirection(std::uint16_t code);
    void OnMeasDirMenu();
    void OnShowViewSettings();
    void OnShowCopyPoints();
    void OnShowMovePoints();
    void OnShowMoveObjects();

protected:
    bool RenderFrame() override;
    bool PaintPreview(QPainter& painter) override;

    void timerEvent(QTimerEvent* event) override;
    // Only a frame painted on screen may be reduced; RenderOffscreen (copies, prints) is full.
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // Mouse and context menu: camera, picking and the view's menus attach here.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    virtual void OnLButtonDown(QMouseEvent* event);
    virtual void OnLButtonUp(QMouseEvent* event);
    virtual void OnRButtonDown(QMouseEvent* event);
    virtual void OnMouseMove(QMouseEvent* event);
    virtual void OnMouseWheel(QWheelEvent* event);
    virtual void OnContextMenu(QContextMenuEvent* event);

    // Shows a picking failure; a message box with the application's title by default.
    virtual void ReportPickFailure(const QString& text);
    // The first pane of the main window's status bar, repainted at once.
    virtual void SetStatusText(const QString& text);

private:
    void MaxDeviation(bool negative);
    void Pan(const QPoint& mouse);
    void Turn(const QPoint& mouse);
    // The click of a press and release that did not drag: picks and selects.
    void OnClick(const QPoint& at, Qt::KeyboardModifiers modifiers);
    void StartTimer();
    // The picture moves for the next `ms` (see kSettleMs).
    void MarkMoving(int ms = kSettleMs);
    // The picture stopped moving: the next frame is full.
    void StopMoving() { m_settleTimer.stop(); }
    void ShowCameraValues();
    void RefreshPointTable();
    void RefreshMeasurements();

    CQuivraDoc* m_pDoc; // not owned
    QPoint m_ptLastMouse;
    QPoint m_ptMenuMouse;
    // Owned; destroyed before the rest of the view.
    CMoveDlg* m_pMovePointsDlg = nullptr;
    CMoveDlg* m_pCopyPointsDlg = nullptr;
    CMoveDlg* m_pMoveObjectsDlg = nullptr;
    CViewSettingsDlg* m_pViewSettingsDlg = nullptr;
    CSceneRenderer m_renderer;
    QBasicTimer m_timer;
    QBasicTimer m_settleTimer;
    bool m_bPainting = false;
    bool m_bReportPending = false;
    // The left button's press: a click until the mouse moves beyond kDragThreshold.
    QPoint m_ptPress;
    bool m_bLeftDown = false;
    bool m_bDragging = false;
    // The scene had no corner point at the last update: its first geometry is fitted.
    bool m_bSceneWasEmpty = true;
    static int s_nSpeedStep;
};
