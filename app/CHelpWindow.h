#pragma once

#include <QDialog>

class QTextBrowser;

// The help window F1 opens: the user's guide, with its pictures, from the copy built into the
// program. One per main window, modeless; closing hides it.
class CHelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent = nullptr);

    // Shows (and raises) the help window of `owner`, creating it on first use.
    static CHelpWindow* ShowFor(QWidget* owner);
    // The guide's part of the README (from its "User's guide" heading to the next heading of
    // the same level), or a short text when the copy is missing.
    static QString GuideMarkdown();

    QTextBrowser* Browser() const { return m_pBrowser; }

private:
    QTextBrowser* m_pBrowser;
};
