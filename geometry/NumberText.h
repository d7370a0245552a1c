#pragma once

#include <QString>

#include <cstdint>

// Numbers typed into the geometry forms and shown there. All of them go through the C library
// conversions under the process locale (the application sets it to the user's at start-up), so
// the decimal separator typed and shown is the user's.
namespace numtext {

// True when strtod consumes the whole text (leading blanks allowed, trailing ones are not) and
// the text is a finite decimal number (no "inf", "nan" or hexadecimal, no overflow).
// An empty text is valid and reads 0. `value` (if given) gets the number on success.
bool ParseWholeDouble(const QString& text, double* value);
// The same for a base-10 integer. Values outside 32 bits are not valid: they cannot be stored.
bool ParseWholeInt(const QString& text, std::int32_t* value);
// "%g" under the process locale.
QString FormatG(double value);

} // namespace numtext
