#include "SceneObject.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "Line.h"
#include "VectorUtil.h"

SceneObject::~SceneObject() {
    DestroyContents();
}

void SceneObject::DestroyContents() {
    if (m_pDoc) {
        if (!RemoveFirst(m_pDoc->m_objects, this))
            RemoveFirst(m_pDoc->m_undoObjects, this);
    }
    // Every point's destructor calls back RemovePoint, which would shrink m_points and scan the
    // lines once per point; the object is going away whole, so drop the lines first and let the
    // callbacks be no-ops. What is left afterwards is the same: nothing.
    m_bDestroying = true;
    for (Line* l : m_lines)
        delete l;
    m_lines.clear();
    for (CornerPoint* p : m_points)
        delete p;
    m_points.clear();
}

void SceneObject::RemovePoint(CornerPoint* point) {
    if (m_bDestroying)
        return;
    RemoveFirst(m_points, point);
    for (std::size_t i = 0; i < m_lines.size();) {
        if (m_lines[i]->Uses(point)) {
            delete m_lines[i];
            m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

int SceneObject::IndexOfPoint(const CornerPoint* point) const {
    for (std::size_t i = 0; i < m_points.size(); ++i)
        if (m_points[i] == point)
            return static_cast<int>(i);
    return -1;
}

void SceneObject::CloneInto(SceneObject* copy) const {
    copy->m_pDoc = m_pDoc;
    copy->m_nAxis = m_nAxis;
    copy->m_bHasCentreLine = m_bHasCentreLine;
    copy->m_dRadius = m_dRadius;
    copy->m_points.reserve(m_points.size());
    for (const CornerPoint* p : m_points) {
        CornerPoint* c = p->Copy();
        c->m_pOwner = copy;
        copy->m_points.push_back(c);
    }
    copy->m_lines.reserve(m_lines.size());
    for (const Line* l : m_lines) {
        const int a = IndexOfPoint(l->m_pPointA);
        const int b = IndexOfPoint(l->m_pPointB);
        if (a < 0 || b < 0)
            continue; // object lines always join the object's own points
        copy->m_lines.push_back(new Line(copy->m_points[a], copy->m_points[b]));
    }
}
