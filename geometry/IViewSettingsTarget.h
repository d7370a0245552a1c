#pragma once

#include <cstdint>

// What the Camera Settings and View Settings forms need of a 3-D view. The view implements it
// next to IDocView; the forms write straight into the view's state through it.
class IViewSettingsTarget {
public:
    // The seven camera values in the order the Camera Settings form lists them.
    enum CameraValue { RotX, RotY, RotZ, Zoom, PanX, PanY, PanZ, CameraValueCount };

    virtual ~IViewSettingsTarget() = default;

    // m_dRotX, m_dRotY, m_dRotZ (degrees), m_dZoom, m_dPanX, m_dPanY, m_dPanZ. Setting a value
    // only stores it: the forms decide when to repaint.
    virtual double GetCameraValue(CameraValue which) const = 0;
    virtual void SetCameraValue(CameraValue which, double value) = 0;
    // m_nLineWidth; the form only ever sets values of at least 1.
    virtual std::int32_t GetLineWidth() const = 0;
    virtual void SetLineWidth(std::int32_t width) = 0;
    // Invalidate, erase and paint before returning.
    virtual void RepaintNow() = 0;
};
