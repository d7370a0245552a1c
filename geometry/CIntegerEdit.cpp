#include "CIntegerEdit.h"

#include "NumberText.h"

CIntegerEdit::CIntegerEdit(QAbstractButton* okButton, QWidget* parent)
    : CNumericEdit(okButton, parent) {}

bool CIntegerEdit::IsValid() const {
    std::int32_t v = 0;
    return numtext::ParseWholeInt(text(), &v) && v <= m_nMaximum;
}

std::int32_t CIntegerEdit::GetValue() const {
    std::int32_t v = 0;
    if (!numtext::ParseWholeInt(text(), &v))
        return 0;
    return v;
}

void CIntegerEdit::SetValue(std::int32_t value) {
    setText(QString::number(value));
}

QString CIntegerEdit::Problem() const {
    return IsValid() ? QString() : numtext::WholeIntProblem(text(), m_nMaximum);
}
