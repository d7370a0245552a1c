#include "CNumberEdit.h"

#include "NumberText.h"

CNumberEdit::CNumberEdit(QAbstractButton* okButton, QWidget* parent)
    : CNumericEdit(okButton, parent) {}

bool CNumberEdit::IsValid() const {
    return numtext::ParseWholeDouble(text(), nullptr);
}

double CNumberEdit::GetValue() const {
    double v = 0.0;
    numtext::ParseWholeDouble(text(), &v);
    return v;
}

void CNumberEdit::SetValue(double value) {
    setText(numtext::FormatG(value));
}

QString CNumberEdit::Problem() const {
    return IsValid() ? QString() : numtext::WholeDoubleProblem(text());
}
