#pragma once

#include <QMdiSubWindow>
#include <QPointer>

class CAppDocument;

// The document window: one view of one document inside the main window's MDI area.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    // Creates the view of `doc` inside the new frame.
    CChildFrame(CAppDocument* doc, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CAppDocument* GetDocument() const { return m_pDocument; }
    QWidget* View() const { return m_pView; }
    // The document is closing: destroy the view now (it points into the document) and close
    // without asking.
    void CloseForDocument();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void DestroyView();

    CAppDocument* m_pDocument; // not owned; null once detached
    QPointer<QWidget> m_pView; // owned (Qt child)
};
