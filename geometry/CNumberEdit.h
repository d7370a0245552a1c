#pragma once

#include "CNumericEdit.h"

// A field for a floating-point number (strtod under the user's locale).
class CNumberEdit : public CNumericEdit {
    Q_OBJECT
public:
    explicit CNumberEdit(QAbstractButton* okButton = nullptr, QWidget* parent = nullptr);

    bool IsValid() const override;
    QString Problem() const override;
    // The number; an empty text reads 0, and so does an invalid one.
    double GetValue() const;
    // Shows the value with "%g".
    void SetValue(double value);
};
