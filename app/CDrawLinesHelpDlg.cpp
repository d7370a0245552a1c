#include "CDrawLinesHelpDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

const char* const CDrawLinesHelpDlg::kText =
    " 1.\n Press Shift button and keep it pressed.\n\n 2.\n Click the left mouse button on the "
    "corner points between which you want the line to go.\n\n 3.\n Click the right mouse "
    "button to bring up the context menu. Choose \"Draw Lines\". \n\n 4.\n Release Shift "
    "button.";

CDrawLinesHelpDlg::CDrawLinesHelpDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("How to draw lines"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QString::fromLatin1(kText), this);
    text->setObjectName(QStringLiteral("helptext"));
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    // Hiding keeps the window (and its position) for the next showing.
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::hide);
    layout->addWidget(buttons);
}
