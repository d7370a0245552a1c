#include "CNumericEdit.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>

CNumericEdit::CNumericEdit(QAbstractButton* okButton, QWidget* parent)
    : QLineEdit(parent), m_pOkButton(okButton) {}

bool CNumericEdit::CheckValue() {
    const bool valid = IsValid();
    const QString problem = valid ? QString() : Problem();
    if (toolTip() != problem)
        setToolTip(problem);
    // A pale red ground marks the field; the inherited palette comes back once it is fixed.
    if (valid && testAttribute(Qt::WA_SetPalette)) {
        setPalette(QPalette());
    } else if (!valid && !testAttribute(Qt::WA_SetPalette)) {
        QPalette marked = palette();
        marked.setColor(QPalette::Base, QColor(255, 218, 218));
        setPalette(marked);
    }
    if (!valid && m_pOkButton)
        m_pOkButton->setEnabled(false);
    return valid;
}

void CNumericEdit::ApplyFieldRule(QAbstractButton* okButton,
                                  const std::vector<CNumericEdit*>& fields, QLabel* problemLine) {
    if (okButton)
        okButton->setEnabled(true);
    QString first;
    for (CNumericEdit* f : fields)
        if (!f->CheckValue() && first.isEmpty())
            first = f->toolTip();
    if (problemLine) {
        problemLine->setText(first);
        problemLine->setVisible(!first.isEmpty());
    }
}

void CNumericEdit::ConnectFieldRule(QAbstractButton* okButton,
                                    const std::vector<CNumericEdit*>& fields, QLabel* problemLine) {
    for (CNumericEdit* f : fields)
        QObject::connect(f, &QLineEdit::textChanged, f, [okButton, fields, problemLine] {
            ApplyFieldRule(okButton, fields, problemLine);
        });
}

QLabel* CNumericEdit::MakeProblemLine(QWidget* form) {
    auto* line = new QLabel(form);
    line->setObjectName(QStringLiteral("Problem"));
    line->setWordWrap(true);
    line->setTextFormat(Qt::PlainText);
    line->setStyleSheet(QStringLiteral("color: #b00000"));
    line->hide();
    return line;
}

void CNumericEdit::ReportOutOfRange(QWidget* form) {
    ReportRefusal(form, QStringLiteral("A coordinate would be out of range. Nothing was changed."));
}

void CNumericEdit::ReportRefusal(QWidget* form, const QString& text) {
    auto* box =
        new QMessageBox(QMessageBox::Warning, form->windowTitle(), text, QMessageBox::Ok, form);
    box->setObjectName(QStringLiteral("OutOfRange"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
