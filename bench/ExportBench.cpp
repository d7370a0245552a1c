// Time to export one period of the example scene at 1280x800 as an animated GIF and as an MP4,
// both looks, against a yardstick measured in the same run: the same period only rendered,
// written nowhere. Wall-clock and process CPU time, median of the runs.
//   export_bench [runs]   (default 3)
#include "CAnimationExport.h"
#include "CCameraMath.h"
#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CSceneRenderer.h"
#include "CViewState.h"
#include "Deflection.h"
#include "SceneFile.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr double kGoalSeconds = 2.0;

struct Timing {
    double wall, cpu; // seconds
};

Timing Median(int runs, const std::function<void()>& f) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        const std::clock_t c0 = std::clock();
        t.start();
        f();
        wall.push_back(t.nsecsElapsed() / 1e9);
        cpu.push_back(static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    CQuivraDoc doc;
    QString error;
    if (!SceneFile::Load(QStringLiteral(QUIVRA_EXAMPLES "/pump.qvr"), doc, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    doc.SetPathName(QStringLiteral(QUIVRA_EXAMPLES "/pump.qvr"));
    QTemporaryDir dir;
    const int frames = Deflection::FramesPerPeriod(doc, 0);
    std::printf("one period of pump.qvr, series 0: %d frames at %dx%d, median of %d runs\n", frames,
                kWidth, kHeight, runs);
    std::printf("%-8s %-8s %9s %9s %10s %s\n", "look", "output", "wall s", "cpu s", "/yardstick",
                "goal <= 2 s");
    for (const int look : {CViewState::LookClassic, CViewState::LookClear}) {
        CViewState st;
        st.m_nLook = look;
        st.m_dRotX = 20;
        st.m_dRotY = -30;
        st.m_dZoom = CViewState::FitZoom(doc);
        CCameraMath::FitAll(st, doc, kWidth, kHeight);
        const char* name = look == CViewState::LookClear ? "clear" : "classic";
        // The yardstick: the period drawn into a fresh context, each frame copied out.
        const Timing yard = Median(runs, [&] {
            COffscreenGL gl;
            gl.Resize(kWidth, kHeight);
            CSceneRenderer renderer;
            CViewState s = st;
            s.m_bAnimating = 1;
            for (int k = 0; k < frames; ++k) {
                s.m_nFrame = k;
                renderer.RenderFrame(gl, doc, s, kWidth, kHeight);
                volatile int keep = gl.Image().copy().width();
                (void)keep;
            }
        });
        std::printf("%-8s %-8s %9.3f %9.3f %10s\n", name, "render", yard.wall, yard.cpu, "1.0");
        for (const char* out : {"x.gif", "x.mp4"}) {
            CAnimationExport::Options o;
            o.width = kWidth;
            o.height = kHeight;
            bool ok = true;
            const Timing t = Median(runs, [&] {
                ok = CAnimationExport::Write(dir.filePath(QString::fromLatin1(out)), doc, st, o)
                         .bWritten &&
                     ok;
            });
            std::printf("%-8s %-8s %9.3f %9.3f %10.1f %s\n", name, out + 2, t.wall, t.cpu,
                        t.wall / yard.wall,
                        !ok ? "FAILED" : (t.wall <= kGoalSeconds ? "met" : "not met"));
        }
    }
    return 0;
}
