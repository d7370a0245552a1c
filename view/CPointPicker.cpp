#include "CPointPicker.h"

#include "CQuivraDoc.h"
#include "CSceneRenderer.h"
#include "CornerPoint.h"
#include "SceneObject.h"

#include "OSMesaApi.h"

#include <algorithm>

CornerPoint* CPointPicker::Pick(const CQuivraDoc& doc, const CViewState& state, int mx, int my,
                                int clientHeight,
                                const std::function<void(bool objectPoint)>& onFailure) {
    GLdouble modelView[16], projection[16];
    GLint viewport[4];
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    CSceneRenderer::ApplyCameraTransform(state, true);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glPopMatrix();

    const double px = mx;
    const double py = static_cast<double>(clientHeight) - my;
    double best = 1.0e100;
    CornerPoint* picked = nullptr;
    auto consider = [&](CornerPoint* p, bool objectPoint) {
        GLdouble wx = 0, wy = 0, wz = 0;
        if (!gluProject(p->m_x, p->m_y, p->m_z, modelView, projection, viewport, &wx, &wy, &wz)) {
            // Not on the screen at all: nothing to click on.
            if (onFailure)
                onFailure(objectPoint);
            return;
        }
        const double d2 = (wx - px) * (wx - px) + (wy - py) * (wy - py);
        if (d2 < best) {
            best = d2;
            picked = p;
        }
    };
    for (SceneObject* o : doc.m_objects)
        for (CornerPoint* p : o->m_points)
            consider(p, true);
    for (CornerPoint* p : doc.m_freePoints)
        consider(p, false);
    return best > kMaxDist2 ? nullptr : picked;
}

namespace {

bool Contains(const std::vector<CornerPoint*>& v, const CornerPoint* p) {
    return std::find(v.begin(), v.end(), p) != v.end();
}

} // namespace

void CPointPicker::SelectOnly(CQuivraDoc& doc, CornerPoint* picked) {
    doc.m_selPoints.clear();
    doc.m_selObjects.clear();
    if (!picked)
        return;
    doc.m_selPoints.push_back(picked);
    if (picked->m_pOwner)
        doc.m_selObjects.push_back(picked->m_pOwner);
}

void CPointPicker::ApplyLeftClick(CQuivraDoc& doc, CornerPoint* picked, bool shift) {
    if (!shift) {
        SelectOnly(doc, picked);
        return;
    }
    if (!picked)
        return;
    auto& points = doc.m_selPoints;
    auto& objects = doc.m_selObjects;
    if (!Contains(points, picked)) {
        points.push_back(picked);
        SceneObject* owner = picked->m_pOwner;
        if (owner && std::find(objects.begin(), objects.end(), owner) == objects.end())
            objects.push_back(owner);
        return;
    }
    points.erase(std::find(points.rbegin(), points.rend(), picked).base() - 1);
    for (auto it = objects.begin(); it != objects.end(); ++it) {
        const bool ownsSelected =
            std::any_of(points.begin(), points.end(),
                        [o = *it](const CornerPoint* p) { return p->m_pOwner == o; });
        if (!ownsSelected) {
            objects.erase(it);
            break;
        }
    }
}
