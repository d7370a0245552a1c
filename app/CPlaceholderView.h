#pragma once

#include "IDocView.h"

#include <QWidget>

class CQuivraDoc;

// Stand-in for the 3-D view until it is available: registers with its document, marks itself
// focused and re-binds the tool windows on focus, like the real view.
class CPlaceholderView : public QWidget, public IDocView {
    Q_OBJECT
public:
    explicit CPlaceholderView(CQuivraDoc* doc, QWidget* parent = nullptr);
    ~CPlaceholderView() override;

    CQuivraDoc* GetDocument() const { return m_pDoc; }
    bool IsFocusedView() const override { return m_bHasFocus; }
    void OnDocumentChanged() override { update(); }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    CQuivraDoc* m_pDoc; // not owned
    bool m_bHasFocus = false;
};
