#include "CellNumber.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "MeasDirection.h"
#include "NumberText.h"

#include <algorithm>

QString FormatG(double v) {
    return numtext::FormatG(v);
}

QString Format4G(double v) {
    return numtext::Format4G(v);
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
