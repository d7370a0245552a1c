// Start-up to a painted model, against the start-up of a minimal Qt Widgets program measured
// in the same run (alternating, so both see the same load).
//   startup_bench [runs] [points]   (defaults 10 and 100000; points 0 skips the large scene)
// Each child runs with QUIVRA_EXIT_AFTER_FIRST_FRAME, which makes `quivra` print a line when
// its main window first paints, when a view first shows the model (its quick preview while the
// GL library opens) and when the first full frame of it is painted, then quit.
// The time is taken here, from starting the process to reading the line. The platform is the
// display when DISPLAY is set (e.g. under xvfb-run), else Qt's offscreen platform.
#include "BenchScene.h"
#include "SceneFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Timing {
    double m_dWindow = -1.0; // ms to "window painted" (quivra only)
    double m_dShown = -1.0;  // ms to "model shown" (quivra only)
    double m_dDone = -1.0;   // ms to the last line asked for
};

// Runs `program args` until it prints `doneLine`; the times its lines arrived.
Timing Run(const QString& program, const QStringList& args, const QProcessEnvironment& env,
           const QByteArray& doneLine) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardErrorFile(QProcess::nullDevice());
    Timing t;
    QElapsedTimer clock;
    clock.start();
    process.start(program, args);
    QByteArray pending;
    while (t.m_dDone < 0 && clock.elapsed() < 120000) {
        if (!process.waitForReadyRead(1000) && process.state() == QProcess::NotRunning)
            break;
        pending += process.readAllStandardOutput();
        const double now = clock.nsecsElapsed() / 1e6;
        for (int end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
            const QByteArray line = pending.left(end);
            if (line.endsWith("window painted") && t.m_dWindow < 0)
                t.m_dWindow = now;
            if (line.endsWith("model shown") && t.m_dShown < 0)
                t.m_dShown = now;
            if (line.endsWith(doneLine))
                t.m_dDone = now;
        }
    }
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
    }
    return t;
}

double Median(std::vector<double> v) {
    if (v.empty())
        return -1.0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

const char* Verdict(double ratio, double goal) {
    return ratio > 0 && ratio <= goal ? "met" : "not met";
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = std::max(1, argc > 1 ? std::atoi(argv[1]) : 10);
    const int nPoints = argc > 2 ? std::atoi(argv[2]) : 100000;

    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const bool display = !env.value(QStringLiteral("DISPLAY")).isEmpty();
    if (!display)
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    else
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    // Settings and caches of a first start, away from the user's.
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("QUIVRA_EXIT_AFTER_FIRST_FRAME"), QStringLiteral("1"));
    std::printf("platform: %s; %d runs each, alternating\n",
                display ? qPrintable(QStringLiteral("display ") + env.value("DISPLAY"))
                        : "offscreen",
                runs);

    const QString quivra = QStringLiteral(QUIVRA_PATH);
    const QString yardstick = QStringLiteral(YARDSTICK_PATH);
    const QString example = QStringLiteral(QUIVRA_EXAMPLES "/pump.qvr");

    QString large;
    if (nPoints > 0) {
        CQuivraDoc doc;
        bench::Build(doc, nPoints);
        large = home.filePath(QStringLiteral("large.qvr"));
        QString error;
        if (!SceneFile::Save(doc, large, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }

    std::vector<double> example_ms, exampleShown_ms, yard_ms, largeWindow_ms, large_ms,
        yardLarge_ms;
    for (int i = 0; i < runs; ++i) {
        yard_ms.push_back(Run(yardstick, {}, env, "painted").m_dDone);
        const Timing t = Run(quivra, {example}, env, "model painted");
        exampleShown_ms.push_back(t.m_dShown);
        example_ms.push_back(t.m_dDone);
    }
    const int largeRuns = std::max(1, runs / 3);
    for (int i = 0; nPoints > 0 && i < largeRuns; ++i) {
        yardLarge_ms.push_back(Run(yardstick, {}, env, "painted").m_dDone);
        const Timing t = Run(quivra, {large}, env, "model painted");
        largeWindow_ms.push_back(t.m_dWindow);
        large_ms.push_back(t.m_dDone);
    }

    const double yard = Median(yard_ms);
    const double shown = Median(exampleShown_ms);
    const double ex = Median(example_ms);
    std::printf("minimal Qt Widgets program, start to first paint: median %.0f ms\n", yard);
    // Shown: the model's lines on screen, drawn while the GL library still opens in the
    // background; painted: the first full frame that replaces them.
    std::printf("quivra examples/pump.qvr, start to model shown:    median %.0f ms (%.2f x)\n",
                shown, shown / yard);
    std::printf("quivra examples/pump.qvr, start to model painted:  median %.0f ms (%.2f x)\n", ex,
                ex / yard);
    std::printf("start-up ratio %.2f (model shown; goal <= 1.5): %s\n", shown / yard,
                Verdict(shown / yard, 1.5));
    if (nPoints > 0) {
        const double yardL = Median(yardLarge_ms);
        const double win = Median(largeWindow_ms);
        const double model = Median(large_ms);
        std::printf("%d-point scene (%d runs, yardstick %.0f ms in between):\n", nPoints, largeRuns,
                    yardL);
        std::printf("  window painted: median %.0f ms (%.2f x the yardstick)\n", win, win / yardL);
        std::printf("  model painted:  median %.0f ms (%.2f x the yardstick)\n", model,
                    model / yardL);
    }
    return 0;
}
