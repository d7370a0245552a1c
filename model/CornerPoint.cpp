#include "CornerPoint.h"

#include "CQuivraDoc.h"
#include "Line.h"
#include "MeasDirection.h"
#include "SceneObject.h"
#include "VectorUtil.h"

CornerPoint::CornerPoint(double x, double y, double z, CQuivraDoc* doc)
    : m_x(x), m_y(y), m_z(z), m_pDoc(doc) {
    if (doc) {
        // Commands check HasPointNumbers first; the counter itself never steps past the top.
        m_nNumber = doc->m_nNextPointNumber;
        if (m_nNumber < INT32_MAX)
            ++doc->m_nNextPointNumber;
    }
}

CornerPoint::~CornerPoint() {
    for (MeasDirection* d : m_directions)
        delete d;
    m_directions.clear();

    if (m_pOwner) {
        m_pOwner->RemovePoint(this);
    } else if (m_pDoc) {
        if (!RemoveFirst(m_pDoc->m_freePoints, this))
            RemoveFirst(m_pDoc->m_undoFreePoints, this);
    }
    if (m_pDoc) {
        auto& lines = m_pDoc->m_freeLines;
        for (std::size_t i = 0; i < lines.size();) {
            if (lines[i]->Uses(this)) {
                delete lines[i];
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            } else {
                ++i;
            }
        }
    }
}

CornerPoint* CornerPoint::Copy() const {
    auto* p = new CornerPoint;
    p->m_nNumber = m_nNumber;
    p->m_x = m_x;
    p->m_y = m_y;
    p->m_z = m_z;
    p->m_pDoc = m_pDoc;
    p->m_directions.reserve(m_directions.size());
    for (const MeasDirection* d : m_directions)
        p->m_directions.push_back(d->Copy(p));
    return p;
}
