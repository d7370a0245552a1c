#pragma once

#include "SceneObject.h"

// A generated box: 8 corner points and optionally 12 lines.
class BoxObject : public SceneObject {
public:
    explicit BoxObject(CQuivraDoc* doc = nullptr) : SceneObject(doc) {}
    ~BoxObject() override;

    int GetType() const override { return TypeBox; }
    SceneObject* Clone() const override;

    // Construction corners, used only while generating; never stored or cloned.
    CornerPoint* m_pCorner1 = nullptr;
    CornerPoint* m_pCorner2 = nullptr;
};
