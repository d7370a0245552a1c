#include "SoakInvariants.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "Line.h"
#include "MeasDirection.h"
#include "SceneFile.h"
#include "SceneObject.h"

#include <unordered_set>

namespace soak {

QString BrokenInvariant(CQuivraDoc& doc) {
    const std::vector<CornerPoint*> points = doc.AllPoints();
    const std::unordered_set<const CornerPoint*> live(points.begin(), points.end());
    const std::unordered_set<const SceneObject*> objects(doc.m_objects.begin(),
                                                         doc.m_objects.end());
    auto endsLive = [&live](const std::vector<Line*>& lines) {
        for (const Line* l : lines)
            if (!live.count(l->m_pPointA) || !live.count(l->m_pPointB))
                return false;
        return true;
    };
    if (!endsLive(doc.m_freeLines))
        return QStringLiteral("a free line ends at a deleted point");
    for (const SceneObject* o : doc.m_objects)
        if (!endsLive(o->m_lines))
            return QStringLiteral("an object's line ends at a deleted point");
    for (const CornerPoint* p : doc.m_selPoints)
        if (!live.count(p))
            return QStringLiteral("the selection holds a deleted point");
    for (const SceneObject* o : doc.m_selObjects)
        if (!objects.count(o))
            return QStringLiteral("the selection holds a deleted object");
    if (doc.m_pHighlightPoint && !live.count(doc.m_pHighlightPoint))
        return QStringLiteral("the highlighted point is deleted");

    const std::size_t series = static_cast<std::size_t>(doc.m_nSeries);
    if (doc.m_seriesNames.size() != series || doc.m_seriesFramesPerPeriod.size() != series ||
        doc.m_seriesAmplification.size() != series || doc.m_seriesFrequency.size() != series)
        return QStringLiteral("the series columns disagree with the series count");
    for (const CornerPoint* p : points)
        for (const MeasDirection* d : p->m_directions)
            if (d->m_measurements.size() != series)
                return QStringLiteral("direction %1 has %2 measurements for %3 series")
                    .arg(d->m_nNumber)
                    .arg(d->m_measurements.size())
                    .arg(series);

    // Writing the bytes clears the modified flag, as a save would; this is no save.
    const bool modified = doc.IsModified();
    const QByteArray bytes = SceneFile::ToBytes(doc);
    doc.SetModifiedFlag(modified);
    CQuivraDoc back;
    QString why;
    if (!SceneFile::FromBytes(bytes, back, &why))
        return QStringLiteral("the scene does not read back: ") + why;
    if (SceneFile::ToBytes(back) != bytes)
        return QStringLiteral("a save and reload is not byte-identical");
    return QString();
}

} // namespace soak
