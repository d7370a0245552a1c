#include "CNumericEdit.h"

#include <QAbstractButton>

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
