#pragma once

#include "CNumericEdit.h"

#include <cstdint>
#include <limits>

// A field for a whole number (base-10 strtol under the user's locale). Numbers beyond 32 bits,
// and beyond an optional maximum, are not valid: they could not be stored or used.
class CIntegerEdit : public CNumericEdit {
    Q_OBJECT
public:
    explicit CIntegerEdit(QAbstractButton* okButton = nullptr, QWidget* parent = nullptr);

    bool IsValid() const override;
    QString Problem() const override;
    // The number; an empty text reads 0, and so does an invalid one.
    std::int32_t GetValue() const;
    // Shows the value with "%d".
    void SetValue(std::int32_t value);

    void SetMaximum(std::int32_t maximum) { m_nMaximum = maximum; }
    std::int32_t Maximum() const { return m_nMaximum; }

private:
    std::int32_t m_nMaximum = std::numeric_limits<std::int32_t>::max();
};
