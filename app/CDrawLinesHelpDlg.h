#pragma once

#include <QDialog>

// "How to draw lines": a modeless help text, one per document; OK hides it.
class CDrawLinesHelpDlg : public QDialog {
    Q_OBJECT
public:
    explicit CDrawLinesHelpDlg(QWidget* parent = nullptr);
    static const char* const kText;
};
