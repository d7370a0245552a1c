#include "BoxObject.h"

BoxObject::~BoxObject() = default;

SceneObject* BoxObject::Clone() const {
    auto* copy = new BoxObject;
    CloneInto(copy);
    return copy;
}
