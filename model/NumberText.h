#pragma once

#include <QString>

#include <cstdint>

// Every number the user types or reads goes through here: the C library conversions under the
// process locale (the application sets LC_NUMERIC to the user's at start-up), so the decimal
// separator typed and shown is the user's everywhere. Files and machine-read output use the
// "C" functions at the end instead.
namespace numtext {

// True when strtod consumes the whole text (leading blanks allowed, trailing ones are not) and
// the text is a finite decimal number (no "inf", "nan" or hexadecimal, no overflow).
// An empty text is valid and reads 0. `value` (if given) gets the number on success.
bool ParseWholeDouble(const QString& text, double* value);
// The same for a base-10 integer. Values outside 32 bits are not valid: they cannot be stored.
bool ParseWholeInt(const QString& text, std::int32_t* value);

// Why ParseWholeDouble refuses `text`, as a clause for a form ("\"2,5\" uses \",\" but the
// decimal separator is \".\""); empty when it accepts it.
QString WholeDoubleProblem(const QString& text);
// The same for ParseWholeInt with an upper limit.
QString WholeIntProblem(const QString& text, std::int32_t maximum);

// How a text read by its longest leading number fared.
enum class Leading {
    Number,         // a finite number was read
    NoNumber,       // the text does not start with a number (an empty text neither)
    OutOfRange,     // the number does not fit in a double
    WrongSeparator, // "2.5" where the separator is a comma (or "2,5" where it is a point)
};
// The longest leading decimal number of `text` (leading blanks and tabs skipped): "1.5e3abc"
// reads 1500. Only plain decimal forms count ("inf", "nan" and hexadecimal do not). A whole
// number directly followed by the other separator and a digit is refused rather than cut, as
// that is the other convention's decimal number. `value` is set only for Number.
Leading ParseLeadingDouble(const QString& text, double* value);
// Why `text` was refused, as a clause for a status line: "\"abc\" is not a number".
QString RefusalReason(Leading status, const QString& text);

// "%g", "%.4g" and "%f" under the process locale.
QString FormatG(double value);
QString Format4G(double value);
QString FormatFixed(double value);

// The locale's decimal separator ("." or ",").
QString DecimalSeparator();

// snprintf under the "C" locale whatever the process locale: for file formats and output that
// programs read.
int SnprintfC(char* buf, std::size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

} // namespace numtext
