#include "CAppView.h"

CAppView::CAppView(CQuivraDoc* doc, QWidget* parent) : CQuivraView(doc, parent) {}

double* CAppView::CameraField(CameraValue which) {
    switch (which) {
    case RotX:
        return &m_dRotX;
    case RotY:
        return &m_dRotY;
    case RotZ:
        return &m_dRotZ;
    case Zoom:
        return &m_dZoom;
    case PanX:
        return &m_dPanX;
    case PanY:
        return &m_dPanY;
    case PanZ:
        return &m_dPanZ;
    case CameraValueCount:
        break;
    }
    return nullptr;
}

double CAppView::GetCameraValue(CameraValue which) const {
    const double* field = const_cast<CAppView*>(this)->CameraField(which);
    return field ? *field : 0.0;
}

void CAppView::SetCameraValue(CameraValue which, double value) {
    if (double* field = CameraField(which))
        *field = value;
}
