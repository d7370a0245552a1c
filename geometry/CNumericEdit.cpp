#include "CNumericEdit.h"

#include <QAbstractButton>
#include <QMessageBox>

CNumericEdit::CNumericEdit(QAbstractButton* okButton, QWidget* parent)
    : QLineEdit(parent), m_pOkButton(okButton) {}

bool CNumericEdit::CheckValue() {
    if (IsValid())
        return true;
    if (m_pOkButton)
        m_pOkButton->setEnabled(false);
    return false;
}

void CNumericEdit::ApplyFieldRule(QAbstractButton* okButton,
                                  const std::vector<CNumericEdit*>& fields) {
    if (okButton)
        okButton->setEnabled(true);
    for (CNumericEdit* f : fields)
        f->CheckValue();
}

void CNumericEdit::ConnectFieldRule(QAbstractButton* okButton,
                                    const std::vector<CNumericEdit*>& fields) {
    for (CNumericEdit* f : fields)
        QObject::connect(f, &QLineEdit::textChanged, f,
                         [okButton, fields] { ApplyFieldRule(okButton, fields); });
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
