#pragma once

#include "CountingToolWindows.h"
#include "IDocView.h"
#include "IViewSettingsTarget.h"

// A view as the geometry forms see it: camera values and a line width, counting repaints.
class FakeView : public IDocView, public IViewSettingsTarget {
public:
    bool IsFocusedView() const override { return m_bFocused; }
    void OnDocumentChanged() override { ++m_nDocumentChanged; }

    double GetCameraValue(CameraValue which) const override { return m_camera[which]; }
    void SetCameraValue(CameraValue which, double value) override { m_camera[which] = value; }
    std::int32_t GetLineWidth() const override { return m_nLineWidth; }
    void SetLineWidth(std::int32_t width) override { m_nLineWidth = width; }
    void RepaintNow() override { ++m_nRepaints; }

    bool m_bFocused = false;
    int m_nDocumentChanged = 0;
    int m_nRepaints = 0;
    double m_camera[CameraValueCount] = {0, 0, 0, 1, 0, 0, 0};
    std::int32_t m_nLineWidth = 1;
};
