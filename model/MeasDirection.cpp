#include "MeasDirection.h"

#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "CylinderObject.h"
#include "Measurement.h"

std::uint16_t OppositeDirectionCode(std::uint16_t code) {
    switch (code) {
    case DirPlusX:
        return DirMinusX;
    case DirMinusX:
        return DirPlusX;
    case DirPlusY:
        return DirMinusY;
    case DirMinusY:
        return DirPlusY;
    case DirPlusZ:
        return DirMinusZ;
    case DirMinusZ:
        return DirPlusZ;
    case DirRadialOut:
        return DirRadialIn;
    case DirRadialIn:
        return DirRadialOut;
    default:
        return 0;
    }
}

MeasDirection::MeasDirection(std::uint16_t code, CornerPoint* point)
    : m_pPoint(point), m_nCode(code) {
    CQuivraDoc* doc = point ? point->m_pDoc : nullptr;
    if (doc) {
        // Commands check HasDirectionNumbers first; the counter never steps past the top.
        m_nNumber = doc->m_nNextDirectionNumber;
        if (m_nNumber < INT32_MAX)
            ++doc->m_nNextDirectionNumber;
        m_measurements.reserve(static_cast<std::size_t>(std::max(doc->m_nSeries, 0)));
        for (int k = 0; k < doc->m_nSeries; ++k)
            m_measurements.push_back(new Measurement(0.0, 0.0));
    }
    switch (code) {
    case DirPlusX:
        m_dx = 1;
        break;
    case DirMinusX:
        m_dx = -1;
        break;
    case DirPlusY:
        m_dy = 1;
        break;
    case DirMinusY:
        m_dy = -1;
        break;
    case DirPlusZ:
        m_dz = 1;
        break;
    case DirMinusZ:
        m_dz = -1;
        break;
    case DirRadialOut:
    case DirRadialIn: {
        const SceneObject* o = point ? point->m_pOwner : nullptr;
        if (o && o->GetType() == SceneObject::TypeCylinder && o->m_pCentre) {
            const double r = o->m_dRadius;
            const CornerPoint* c = o->m_pCentre;
            if (o->m_nAxis == 1) {
                m_dy = (point->m_y - c->m_y) / r;
                m_dz = (point->m_z - c->m_z) / r;
            } else if (o->m_nAxis == 2) {
                m_dx = (point->m_x - c->m_x) / r;
                m_dz = (point->m_z - c->m_z) / r;
            } else {
                m_dx = (point->m_x - c->m_x) / r;
                m_dy = (point->m_y - c->m_y) / r;
            }
            if (code == DirRadialIn) {
                m_dx = -m_dx;
                m_dy = -m_dy;
                m_dz = -m_dz;
            }
        }
        break;
    }
    default:
        break;
    }
}

MeasDirection::~MeasDirection() {
    for (Measurement* m : m_measurements)
        delete m;
}

MeasDirection* MeasDirection::Copy(CornerPoint* point) const {
    auto* d = new MeasDirection;
    d->m_nNumber = m_nNumber;
    d->m_pPoint = point;
    d->m_nCode = m_nCode;
    d->m_dx = m_dx;
    d->m_dy = m_dy;
    d->m_dz = m_dz;
    d->m_measurements.reserve(m_measurements.size());
    for (const Measurement* m : m_measurements)
        d->m_measurements.push_back(new Measurement(*m));
    return d;
}
