#pragma once

#include "COpenGLView.h"
#include "CSceneRenderer.h"
#include "CViewState.h"
#include "IDocView.h"

#include <QBasicTimer>

class CQuivraDoc;

// The 3-D view of one document: camera, display toggles and animation (CViewState), drawn
// through CSceneRenderer. Registers with its document on creation and unregisters when
// destroyed; owns nothing of the document.
class CQuivraView : public COpenGLView, public IDocView, public CViewState {
    Q_OBJECT
public:
    // Animation timer interval: one frame per tick.
    static constexpr int kTimerInterval = 20;

    explicit CQuivraView(CQuivraDoc* doc, QWidget* parent = nullptr);
    ~CQuivraView() override;

    CQuivraDoc* GetDocument() const { return m_pDoc; }
    CSceneRenderer& Renderer() { return m_renderer; }

    // First update after the document is loaded: fits the zoom to the scene and repaints.
    virtual void OnInitialUpdate();

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
    void OnDocumentChanged() override { update(); }

protected:
    bool RenderFrame() override;

    void timerEvent(QTimerEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // Mouse and context menu: camera, picking and the view's menus attach here.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    virtual void OnLButtonDown(QMouseEvent*) {}
    virtual void OnLButtonUp(QMouseEvent*) {}
    virtual void OnRButtonDown(QMouseEvent*) {}
    virtual void OnMouseMove(QMouseEvent*) {}
    virtual void OnMouseWheel(QWheelEvent*) {}
    virtual void OnContextMenu(QContextMenuEvent*) {}

private:
    void MaxDeviation(bool negative);

    CQuivraDoc* m_pDoc; // not owned
    CSceneRenderer m_renderer;
    QBasicTimer m_timer;
};
