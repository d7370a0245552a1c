// How fast the corner point and measurement tables open and commit with many rows, and how
// fast "Copy All >>" copies as many imported records.
// Usage: bench_tables [rows]   (default 100000; runs headless on the offscreen platform)
#include "BoxObject.h"
#include "CCellEdit.h"
#include "CEditCornerPointsDlg.h"
#include "CImportedMeasDlg.h"
#include "CMeasListCtrl.h"
#include "CMeasurementsDlg.h"
#include "CPointListCtrl.h"
#include "CQuivraDoc.h"
#include "CornerPoint.h"
#include "IDocView.h"
#include "ISeriesHost.h"
#include "MeasDirection.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

struct NullView : IDocView, ISeriesHost {
    bool IsFocusedView() const override { return true; }
    void OnDocumentChanged() override {}
    int CurrentSeries() const override { return 0; }
    void SetCurrentSeries(int) override {}
    void RepaintNow() override {}
};

// Processor time of this thread so far, in milliseconds.
double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Median of `runs` timings of `f`, in milliseconds.
double Median(int runs, const std::function<void()>& f) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// Half the points free, half in boxes; one +X direction per point; one series.
void BuildScene(CQuivraDoc& doc, int rows) {
    doc.AddSeries();
    for (int i = 0; i < rows / 2; ++i) {
        auto* p = new CornerPoint(i, 0, 0, &doc);
        doc.m_freePoints.push_back(p);
        p->m_directions.push_back(new MeasDirection(DirPlusX, p));
    }
    for (int b = 0; b < (rows - rows / 2) / 8; ++b) {
        auto* box = new BoxObject(&doc);
        for (int i = 0; i < 8; ++i) {
            auto* p = new CornerPoint(b, i, 0, &doc);
            p->m_pOwner = box;
            box->m_points.push_back(p);
            p->m_directions.push_back(new MeasDirection(DirPlusY, p));
        }
        doc.m_objects.push_back(box);
    }
}

void Commit(CCellListCtrl* list, int row, int column, const char* text) {
    CCellEdit* e = list->BeginCellEdit(row, column);
    if (!e)
        return;
    e->setText(QString::fromLatin1(text));
    list->CloseCellEdit();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(8, std::atoi(argv[1])) : 100000;

    CQuivraDoc doc;
    NullView view;
    doc.AddView(&view);
    BuildScene(doc, rows);
    std::printf("%zu corner points, one direction each\n", doc.PointCount());

    CEditCornerPointsDlg points;
    points.Bind(&doc);
    const double open = Median(1, [&] {
        points.show();
        QApplication::processEvents();
    });
    const double rebuild = Median(5, [&] { points.RebuildTable(true); });
    const int mid = points.List()->GetItemCount() / 2;
    const double commit = Median(5, [&] { Commit(points.List(), mid, 2, "12.5"); });
    const double last = Median(5, [&] { Commit(points.List(), rows - 1, 3, "-3"); });
    const double compact = Median(3, [&] { points.OnCompact(); });
    points.hide();

    CMeasurementsDlg meas;
    meas.Bind(&doc, &view);
    const double measOpen = Median(1, [&] {
        meas.show();
        QApplication::processEvents();
    });
    const double refill = Median(5, [&] { meas.Refill(true); });
    const double measCommit = Median(5, [&] { Commit(meas.List(), mid, 3, "0.25"); });
    const double spin = Median(3, [&] {
        meas.List()->BeginCellEdit(mid, 3);
        meas.OnSpin(1);
    });
    const double measCompact = Median(3, [&] { meas.OnCompact(); });

    // Copy All with the Measurements window closed, as after the user closed it: every record
    // matches one direction, listed in the opposite order. The yardstick is one refill of the
    // Measurements list, which Copy All ends with anyway.
    int number = 0;
    doc.ForEachPoint([&number](CornerPoint* p) { p->m_directions[0]->m_nNumber = ++number; });
    doc.m_importedMeas.clear();
    for (int id = number; id >= 1; --id)
        doc.m_importedMeas.push_back(ImportedMeas{id, 2, 0, 0.5f, 90.f, 50.f, 1.f});
    CImportedMeasDlg imported;
    imported.Bind(&doc, &view);
    imported.SetMeasurementsWindow(&meas);
    imported.show();
    imported.Rebuild();
    // Wall time suffers from whatever else the machine runs; the thread's processor time is
    // what the click costs on a free core, and decides the goal.
    std::vector<double> copyAll, copyCpu;
    for (int i = 0; i < 3; ++i) {
        meas.hide();
        QElapsedTimer t;
        t.start();
        const double cpu0 = ThreadCpuMs();
        imported.OnCopyAll();
        copyCpu.push_back(ThreadCpuMs() - cpu0);
        copyAll.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(copyAll.begin(), copyAll.end());
    std::sort(copyCpu.begin(), copyCpu.end());
    const double copy = copyAll[1], cpu = copyCpu[1];
    std::vector<double> refillCpu;
    for (int i = 0; i < 3; ++i) {
        const double cpu0 = ThreadCpuMs();
        meas.Refill(true);
        refillCpu.push_back(ThreadCpuMs() - cpu0);
    }
    std::sort(refillCpu.begin(), refillCpu.end());
    const double yardstick = refillCpu[1];

    std::printf("Edit Corner Points: show %.1f ms, rebuild %.1f ms, commit (middle row) %.2f ms, "
                "commit (last row) %.2f ms, compact %.1f ms\n",
                open, rebuild, commit, last, compact);
    std::printf("Measurements: show %.1f ms, refill %.1f ms, commit %.2f ms, spin %.1f ms, "
                "compact %.1f ms\n",
                measOpen, refill, measCommit, spin, measCompact);
    std::printf("Copy All >> of %d records (Measurements window closed): %.1f ms processor time "
                "(%.1f ms wall), %.2f x one Measurements refill (%.1f ms processor time); "
                "goal <= 200 ms: %s\n",
                number, cpu, copy, cpu / yardstick, yardstick, cpu <= 200.0 ? "met" : "not met");
    std::printf("  %s\n", qPrintable(imported.StatusLine()->text()));
    doc.RemoveView(&view);
    return 0;
}
