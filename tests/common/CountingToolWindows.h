#pragma once

#include "IToolWindows.h"

// Tool windows that count the refreshes asked of them.
struct CountingToolWindows : IToolWindows {
    void Bind(CQuivraDoc*, IDocView*) override {}
    void SavePlacements() override {}
    void RebuildPointTable() override { ++m_nPointTable; }
    void RefillMeasurements() override { ++m_nMeasurements; }
    void RefillSeries() override { ++m_nSeries; }
    void ShowCameraValues() override { ++m_nCamera; }
    int m_nPointTable = 0, m_nMeasurements = 0, m_nSeries = 0, m_nCamera = 0;
};
