#include "CylinderObject.h"

#include "CornerPoint.h"
#include "Line.h"

CylinderObject::CylinderObject(CQuivraDoc* doc) : SceneObject(doc) {}

CylinderObject::~CylinderObject() {
    delete m_pCentreLine;
    m_pCentreLine = nullptr;
    delete m_pCentre;
    m_pCentre = nullptr;
    // The base destructor destroys the points; the centre line is gone by then.
}

SceneObject* CylinderObject::Clone() const {
    auto* copy = new CylinderObject;
    CloneInto(copy);
    copy->m_pCentre = new CornerPoint;
    if (m_pCentre) {
        copy->m_pCentre->m_x = m_pCentre->m_x;
        copy->m_pCentre->m_y = m_pCentre->m_y;
        copy->m_pCentre->m_z = m_pCentre->m_z;
    }
    if (m_bHasCentreLine && m_pCentreLine) {
        const int a = IndexOfPoint(m_pCentreLine->m_pPointA);
        const int b = IndexOfPoint(m_pCentreLine->m_pPointB);
        if (a >= 0 && b >= 0)
            copy->m_pCentreLine = new Line(copy->m_points[a], copy->m_points[b]);
        else
            copy->m_bHasCentreLine = 0;
    }
    return copy;
}

void CylinderObject::RemovePoint(CornerPoint* point) {
    if (m_bHasCentreLine && m_pCentreLine && m_pCentreLine->Uses(point)) {
        delete m_pCentreLine;
        m_pCentreLine = nullptr;
        m_bHasCentreLine = 0;
    }
    SceneObject::RemovePoint(point);
}
