// Save, load and deep-copy (undo snapshot) times of a large scene, and peak memory.
//   bench_scene_file [points]   (default 100000)
#include "BoxObject.h"
#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "Line.h"
#include "MeasDirection.h"
#include "Measurement.h"
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

// Half the points free (joined in a chain of lines), half in boxes with their 12 edges;
// 3 directions per point, 10 series.
void Build(CQuivraDoc& doc, int nPoints) {
    for (int k = 0; k < 10; ++k)
        doc.AddSeries();
    const int nFree = nPoints / 2;
    for (int i = 0; i < nFree; ++i) {
        auto* p = new CornerPoint(i * 0.5, (i % 100) * 1.0, (i % 7) * 2.0, &doc);
        doc.m_freePoints.push_back(p);
        if (i > 0)
            doc.m_freeLines.push_back(new Line(doc.m_freePoints[i - 1], p));
    }
    static const int edges[12][2] = {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3},
                                     {4, 6}, {5, 7}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    for (int b = 0; b < (nPoints - nFree) / 8; ++b) {
        auto* box = new BoxObject(&doc);
        for (int i = 0; i < 8; ++i) {
            auto* p = new CornerPoint(b * 3.0 + (i & 1), ((i >> 1) & 1), ((i >> 2) & 1), &doc);
            p->m_pOwner = box;
            box->m_points.push_back(p);
        }
        for (const auto& e : edges)
            box->m_lines.push_back(new Line(box->m_points[e[0]], box->m_points[e[1]]));
        doc.m_objects.push_back(box);
    }
    double v = 0.0;
    doc.ForEachPoint([&v](CornerPoint* p) {
        for (std::uint16_t code : {DirPlusX, DirPlusY, DirPlusZ}) {
            auto* d = new MeasDirection(code, p);
            for (Measurement* m : d->m_measurements) {
                m->m_dAmplitude = v += 0.001;
                m->m_dPhase = v * 3;
            }
            p->m_directions.push_back(d);
        }
    });
}

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
    Build(doc, nPoints);
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
