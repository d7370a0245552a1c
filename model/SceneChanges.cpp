#include "SceneChanges.h"

#include <QStringList>

#include <algorithm>

bool SceneChanges::IsEmpty() const {
    return std::all_of(std::begin(m_nCount), std::end(m_nCount), [](int n) { return n == 0; });
}

QString SceneChanges::Describe() const {
    static const struct {
        const char* one;
        const char* many;
    } kTexts[kKindCount] = {
        {"measurement direction added", "measurement directions added"},
        {"measurement direction removed", "measurement directions removed"},
        {"measurement direction turned round", "measurement directions turned round"},
        {"value edited", "values edited"},
        {"series added", "series added"},
        {"series setting changed", "series settings changed"},
        {"renumbering", "renumberings"},
    };
    QStringList parts;
    for (int k = 0; k < kKindCount; ++k)
        if (m_nCount[k] > 0)
            parts << QStringLiteral("%1 %2")
                         .arg(m_nCount[k])
                         .arg(QLatin1String(m_nCount[k] == 1 ? kTexts[k].one : kTexts[k].many));
    return parts.join(QStringLiteral(", "));
}
