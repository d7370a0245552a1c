// Save, load and deep-copy (undo snapshot) times of a large scene, and peak memory.
//   bench_scene_file [points]   (default 100000)
#include "BenchScene.h"
#include "SceneFile.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace {

double MedianMs(int runs, const std::function<void()>& f) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int nPoints = argc > 1 ? std::atoi(argv[1]) : 100000;
    CQuivraDoc doc;
    bench::Build(doc, nPoints);
    const QString path =
        QStringLiteral("/tmp/quivra-bench-%1.qvr").arg(QCoreApplication::applicationPid());

    const double save = MedianMs(5, [&] {
        if (!SceneFile::Save(doc, path, nullptr))
            std::abort();
    });
    const double load = MedianMs(5, [&] {
        CQuivraDoc back;
        if (!SceneFile::Load(path, back, nullptr))
            std::abort();
    });
    const double copy = MedianMs(5, [&] { doc.SaveUndoState(); });
    const double undo = MedianMs(5, [&] {
        doc.Undo();
        doc.m_bUndoAvailable = 1;
    });
    QFile::remove(path);

    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    std::printf("points %d (%zu free, %zu boxes), lines %zu, 3 directions per point, 10 series\n",
                nPoints, doc.m_freePoints.size(), doc.m_objects.size(),
                doc.m_freeLines.size() + doc.m_objects.size() * 12);
    std::printf("file size        %.1f MB\n", SceneFile::ToBytes(doc).size() / 1e6);
    std::printf("save (median)    %.1f ms\n", save);
    std::printf("load (median)    %.1f ms\n", load);
    std::printf("undo snapshot    %.1f ms\n", copy);
    std::printf("undo restore     %.1f ms\n", undo);
    std::printf("peak memory      %.0f MB\n", ru.ru_maxrss / 1024.0);
    return 0;
}
