#include "NumberText.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace numtext {

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

QString FormatG(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", value);
    return QString::fromLocal8Bit(buf);
}

} // namespace numtext
