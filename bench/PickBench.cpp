// The cost of one click's pick against scene size, at 1280x800: every corner point projected
// and the nearest within 10 pixels chosen. Half the points are free, half belong to boxes.
//   pick_bench [clicks per case]
#include "BoxObject.h"
#include "COffscreenGL.h"
#include "CPointPicker.h"
#include "CQuivraDoc.h"
#include "CViewState.h"
#include "CornerPoint.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;

std::unique_ptr<CQuivraDoc> MakeScene(int n) {
    auto doc = std::make_unique<CQuivraDoc>();
    std::mt19937 rng(4711);
    std::uniform_real_distribution<double> pos(-600.0, 600.0);
    for (int i = 0; i < n / 2; ++i)
        doc->m_freePoints.push_back(new CornerPoint(pos(rng), pos(rng), pos(rng), doc.get()));
    // Boxes of 8 points, filled directly: only the points matter here.
    for (int i = n / 2; i < n; i += 8) {
        auto* box = new BoxObject(doc.get());
        doc->m_objects.push_back(box);
        for (int k = 0; k < 8 && i + k < n; ++k) {
            auto* p = new CornerPoint(pos(rng), pos(rng), pos(rng), doc.get());
            p->m_pOwner = box;
            box->m_points.push_back(p);
        }
    }
    return doc;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const int clicks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    COffscreenGL gl;
    if (!gl.Resize(kWidth, kHeight).isEmpty()) {
        std::fprintf(stderr, "no off-screen context\n");
        return 1;
    }
    std::printf("%10s %10s %10s %10s\n", "points", "min ms", "median ms", "max ms");
    for (int n : {1000, 10000, 100000, 200000}) {
        auto doc = MakeScene(n);
        CViewState state;
        state.m_dZoom = CViewState::FitZoom(*doc);
        state.m_dRotX = 25;
        state.m_dRotY = 40;
        std::mt19937 rng(1);
        std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1);
        std::vector<double> ms;
        int hits = 0;
        for (int i = 0; i < clicks; ++i) {
            QElapsedTimer t;
            t.start();
            hits += CPointPicker::Pick(*doc, state, x(rng), y(rng), kHeight) != nullptr;
            ms.push_back(t.nsecsElapsed() / 1.0e6);
        }
        std::sort(ms.begin(), ms.end());
        std::printf("%10d %10.3f %10.3f %10.3f   (%d of %d clicks hit a point)\n", n, ms.front(),
                    ms[ms.size() / 2], ms.back(), hits, clicks);
    }
    return 0;
}
