#include "NumberText.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace numtext {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool ParseWholeDouble(const QString& text, double* value) {
    if (text.isEmpty()) {
        if (value)
            *value = 0.0;
        return true;
    }
    // Locale-encoded bytes: the separator strtod expects is in the user's encoding. An embedded
    // NUL stops strtod early and so makes the text invalid, as it should.
    const QByteArray bytes = text.toLocal8Bit();
    const char* begin = bytes.constData();
    char* end = nullptr;
    const double v = std::strtod(begin, &end);
    if (end == begin || end != begin + bytes.size())
        return false;
    // The C library also reads "inf", "nan" and hexadecimal numbers; none of them is a
    // coordinate or a camera value, and a non-finite one would spoil every later computation.
    // Decimal numbers use no letters but the exponent's.
    for (const char* c = begin; c != end; ++c)
        if (((*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z')) && *c != 'e' && *c != 'E')
            return false;
    if (!std::isfinite(v))
        return false;
    if (value)
        *value = v;
    return true;
}

bool ParseWholeInt(const QString& text, std::int32_t* value) {
    if (text.isEmpty()) {
        if (value)
            *value = 0;
        return true;
    }
    const QByteArray bytes = text.toLocal8Bit();
    const char* begin = bytes.constData();
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(begin, &end, 10);
    if (end == begin || end != begin + bytes.size())
        return false;
    if (errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
        return false;
    if (value)
        *value = static_cast<std::int32_t>(v);
    return true;
}

Leading ParseLeadingDouble(const QString& text, double* value) {
    const QByteArray bytes = text.toLocal8Bit();
    const char* s = bytes.constData();
    const char* point = std::localeconv()->decimal_point;
    const std::size_t pointLen = std::strlen(point);
    std::size_t i = 0;
    while (s[i] == ' ' || s[i] == '\t')
        ++i;
    const std::size_t start = i;
    if (s[i] == '+' || s[i] == '-')
        ++i;
    std::size_t digits = 0;
    while (IsDigit(s[i])) {
        ++i;
        ++digits;
    }
    bool fraction = false;
    if (pointLen > 0 && std::strncmp(s + i, point, pointLen) == 0) {
        std::size_t j = i + pointLen, more = 0;
        while (IsDigit(s[j])) {
            ++j;
            ++more;
        }
        // A lone separator ("5," or ",") belongs to the number only next to digits.
        if (digits + more > 0) {
            i = j;
            digits += more;
            fraction = true;
        }
    }
    if (digits == 0)
        return Leading::NoNumber;
    bool exponent = false;
    if (s[i] == 'e' || s[i] == 'E') {
        std::size_t j = i + 1;
        if (s[j] == '+' || s[j] == '-')
            ++j;
        if (IsDigit(s[j])) {
            while (IsDigit(s[j]))
                ++j;
            i = j;
            exponent = true;
        }
    }
    // "2.5" typed where the separator is a comma reads 2 by the prefix rule: a silent change of
    // the number by a convention the user may not know is in force.
    const char other = (pointLen == 1 && point[0] == ',') ? '.' : ',';
    if (!fraction && !exponent && s[i] == other && IsDigit(s[i + 1]))
        return Leading::WrongSeparator;
    const QByteArray prefix(s + start, static_cast<qsizetype>(i - start));
    const double v = std::strtod(prefix.constData(), nullptr);
    if (!std::isfinite(v))
        return Leading::OutOfRange;
    if (value)
        *value = v;
    return Leading::Number;
}

namespace {

// Long pastes are cut: the clause goes into one line.
QString Shown(const QString& text) {
    QString shown = text.left(40);
    if (shown.size() < text.size())
        shown += QStringLiteral("...");
    return shown;
}

bool EndsWithBlank(const QString& text) {
    return !text.isEmpty() && text.back().isSpace();
}

QString OtherSeparator() {
    return DecimalSeparator() == QStringLiteral(",") ? QStringLiteral(".") : QStringLiteral(",");
}

} // namespace

QString WholeDoubleProblem(const QString& text) {
    if (ParseWholeDouble(text, nullptr))
        return QString();
    const QString shown = Shown(text);
    if (EndsWithBlank(text) && ParseWholeDouble(text.trimmed(), nullptr))
        return QStringLiteral("\"%1\" ends with a blank").arg(shown);
    const QString other = OtherSeparator();
    if (text.contains(other) &&
        ParseWholeDouble(QString(text).replace(other, DecimalSeparator()), nullptr))
        return QStringLiteral("\"%1\" uses \"%2\" but the decimal separator is \"%3\"")
            .arg(shown, other, DecimalSeparator());
    if (ParseLeadingDouble(text, nullptr) == Leading::OutOfRange)
        return QStringLiteral("\"%1\" is too large a number").arg(shown);
    return QStringLiteral("\"%1\" is not a number").arg(shown);
}

QString WholeIntProblem(const QString& text, std::int32_t maximum) {
    std::int32_t v = 0;
    const bool whole = ParseWholeInt(text, &v);
    if (whole && v <= maximum)
        return QString();
    const QString shown = Shown(text);
    if (whole)
        return QStringLiteral("%1 is more than %2").arg(v).arg(maximum);
    if (EndsWithBlank(text) && ParseWholeInt(text.trimmed(), nullptr))
        return QStringLiteral("\"%1\" ends with a blank").arg(shown);
    double d = 0.0;
    if (ParseWholeDouble(text, &d))
        return std::trunc(d) == d && std::fabs(d) > INT32_MAX
                   ? QStringLiteral("\"%1\" is too large a number").arg(shown)
                   : QStringLiteral("\"%1\" is not a whole number").arg(shown);
    if (ParseWholeInt(QString(text).remove(QLatin1Char(',')).remove(QLatin1Char('.')), nullptr))
        return QStringLiteral("\"%1\": whole numbers are written without separators").arg(shown);
    return QStringLiteral("\"%1\" is not a number").arg(shown);
}

QString RefusalReason(Leading status, const QString& text) {
    const QString shown = Shown(text);
    switch (status) {
    case Leading::Number:
        break;
    case Leading::NoNumber:
        return text.trimmed().isEmpty() ? QStringLiteral("an empty text is not a number")
                                        : QStringLiteral("\"%1\" is not a number").arg(shown);
    case Leading::OutOfRange:
        return QStringLiteral("\"%1\" is too large a number").arg(shown);
    case Leading::WrongSeparator:
        return QStringLiteral("\"%1\" does not use the decimal separator \"%2\"")
            .arg(shown, DecimalSeparator());
    }
    return QString();
}

namespace {

QString Format(const char* format, double value) {
    char buf[400]; // "%f" of the largest double has 309 digits before the point
    const int n = std::snprintf(buf, sizeof buf, format, value);
    const int size = n < 0 ? 0 : std::min(n, static_cast<int>(sizeof buf) - 1);
    // The tables format hundreds of thousands of cells: plain ASCII (every separator but a few
    // exotic ones) skips the decoder.
    for (int i = 0; i < size; ++i)
        if (static_cast<unsigned char>(buf[i]) >= 0x80)
            return QString::fromLocal8Bit(buf, size);
    return QString::fromLatin1(buf, size);
}

} // namespace

QString FormatG(double value) {
    return Format("%g", value);
}

QString Format4G(double value) {
    return Format("%.4g", value);
}

QString FormatFixed(double value) {
    return Format("%f", value);
}

QString DecimalSeparator() {
    return QString::fromLocal8Bit(std::localeconv()->decimal_point);
}

int SnprintfC(char* buf, std::size_t size, const char* format, ...) {
    // A private "C" locale for this thread only, made once: the process locale stays the user's.
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const locale_t previous = c ? uselocale(c) : static_cast<locale_t>(nullptr);
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buf, size, format, args);
    va_end(args);
    if (c)
        uselocale(previous);
    return n;
}

} // namespace numtext
