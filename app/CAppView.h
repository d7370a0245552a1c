#pragma once

#include "CQuivraView.h"
#include "ISeriesHost.h"
#include "IViewSettingsTarget.h"

// The 3-D view as the program uses it: CQuivraView plus the interfaces through which the
// camera, view-settings and measurement windows read and change the view they are bound to.
class CAppView : public CQuivraView, public IViewSettingsTarget, public ISeriesHost {
    Q_OBJECT
public:
    explicit CAppView(CQuivraDoc* doc, QWidget* parent = nullptr);

    // IViewSettingsTarget
    double GetCameraValue(CameraValue which) const override;
    void SetCameraValue(CameraValue which, double value) override;
    std::int32_t GetLineWidth() const override { return m_nLineWidth; }
    void SetLineWidth(std::int32_t width) override { m_nLineWidth = width; }
    // ISeriesHost
    int CurrentSeries() const override { return m_nCurrentSeries; }
    void SetCurrentSeries(int k) override { m_nCurrentSeries = k; }
    // Both interfaces
    void RepaintNow() override { CQuivraView::RepaintNow(); }

private:
    double* CameraField(CameraValue which);
};
