#pragma once

#include "SceneObject.h"

// A generated cylinder: two circles of corner points, optional centre line.
class CylinderObject : public SceneObject {
public:
    explicit CylinderObject(CQuivraDoc* doc = nullptr);
    ~CylinderObject() override;

    int GetType() const override { return TypeCylinder; }
    SceneObject* Clone() const override;
    // Clears the centre line first when it ends at `point`, then the base behaviour.
    void RemovePoint(CornerPoint* point) override;

    // Generator working values: neither cloned nor stored.
    double m_dLength = 0.0;
    std::int32_t m_nCorners = 0;
    double m_dFirstAngle = 0.0; // radians
    double m_dAngleStep = 0.0;
    CornerPoint* m_pCircleCentre1 = nullptr; // not owned: they live in m_points
    CornerPoint* m_pCircleCentre2 = nullptr;
};
