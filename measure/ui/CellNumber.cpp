#include "CellNumber.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "MeasDirection.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

double ReadLeadingNumber(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    const char* s = bytes.constData();
    std::size_t i = 0;
    while (s[i] == ' ' || s[i] == '\t')
        ++i;
    const std::size_t start = i;
    if (s[i] == '+' || s[i] == '-')
        ++i;
    std::size_t digits = 0;
    while (std::isdigit(static_cast<unsigned char>(s[i]))) {
        ++i;
        ++digits;
    }
    if (s[i] == '.') {
        ++i;
        while (std::isdigit(static_cast<unsigned char>(s[i]))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    if (s[i] == 'e' || s[i] == 'E') {
        std::size_t j = i + 1;
        if (s[j] == '+' || s[j] == '-')
            ++j;
        if (std::isdigit(static_cast<unsigned char>(s[j]))) {
            while (std::isdigit(static_cast<unsigned char>(s[j])))
                ++j;
            i = j;
        }
    }
    // strtod of the isolated prefix under the C locale: the prefix has a '.' decimal point.
    const std::string prefix(s + start, i - start);
    const double v = std::strtod(prefix.c_str(), nullptr);
    return std::isfinite(v) ? v : 0.0;
}

static QString Format(const char* fmt, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return QString::fromLatin1(buf);
}

QString FormatG(double v) {
    return Format("%g", v);
}

QString Format4G(double v) {
    return Format("%.4g", v);
}

QString FormatInt(int v) {
    return QString::number(v);
}

bool IsLivePoint(const CQuivraDoc* doc, const CornerPoint* p) {
    if (!doc || !p)
        return false;
    if (std::find(doc->m_freePoints.begin(), doc->m_freePoints.end(), p) != doc->m_freePoints.end())
        return true;
    for (const SceneObject* o : doc->m_objects)
        if (std::find(o->m_points.begin(), o->m_points.end(), p) != o->m_points.end())
            return true;
    return false;
}

bool IsLiveDirection(const CQuivraDoc* doc, const MeasDirection* d) {
    if (!doc || !d)
        return false;
    bool found = false;
    doc->ForEachPoint([&](CornerPoint* p) {
        if (!found &&
            std::find(p->m_directions.begin(), p->m_directions.end(), d) != p->m_directions.end())
            found = true;
    });
    return found;
}

int ValidSeries(const CQuivraDoc* doc, int current) {
    if (!doc || current < 0 || current >= doc->m_nSeries)
        return -1;
    if (static_cast<std::size_t>(current) >= doc->m_seriesNames.size())
        return -1;
    return current;
}
