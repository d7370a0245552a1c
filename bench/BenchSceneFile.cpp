// Scene files against the disk: save, load and `qvrtool resave` of large scenes, each as a ratio
// to moving the same bytes without any scene (one write, one read, a read plus a write) measured
// in the same run, so that the ratios hold on a busy machine. Also the undo snapshot times and
// the peak memory per point of a resave.
//   bench_scene_file [--runs R] [points ...]   (default: 100000 1000000; 5 runs, 3 above 200000)
//   bench_scene_file --write FILE [points]      (only saves the scene, to time tools by hand)
#include "BenchScene.h"
#include "SceneFile.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double NowMs() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// `f` returns the milliseconds of the part it times (setup and teardown left out).
double Median(int runs, const std::function<double()>& f) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i)
        ms.push_back(f());
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

double Timed(const std::function<void()>& f) {
    const double t0 = NowMs();
    f();
    return NowMs() - t0;
}

void WriteAll(const char* path, const char* data, std::size_t size, bool sync) {
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        std::abort();
    // One write call; the kernel may still return early for very large buffers.
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0)
            std::abort();
        done += static_cast<std::size_t>(n);
    }
    if (sync)
        ::fdatasync(fd);
    ::close(fd);
}

std::unique_ptr<char[]> ReadAll(const char* path, std::size_t& size) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0)
        std::abort();
    size = static_cast<std::size_t>(st.st_size);
    std::unique_ptr<char[]> buf(new char[size]); // not zeroed, as a loader's buffer
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, buf.get() + done, size - done);
        if (n <= 0)
            std::abort();
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return buf;
}

// Runs argv[0] with its arguments; prints its wall-clock milliseconds and peak resident memory
// in MB. Runs in a fresh small process: a child forked from this benchmark would count the
// benchmark's own memory as its peak.
int Spawn(char** argv) {
    const double t0 = NowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execv(argv[0], argv);
        _exit(127);
    }
    int status = 0;
    rusage ru{};
    if (pid < 0 || wait4(pid, &status, 0, &ru) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return 1;
    std::printf("%f %f\n", NowMs() - t0, ru.ru_maxrss / 1024.0);
    return 0;
}

// Runs argv through Spawn; its wall-clock milliseconds and peak memory, or aborts on failure.
double RunChild(const std::vector<std::string>& args, double& peakMb) {
    std::string command = "exec /proc/" + std::to_string(getpid()) + "/exe --spawn";
    for (const std::string& a : args)
        command += " '" + a + "'";
    FILE* out = popen(command.c_str(), "r");
    double ms = 0.0;
    if (!out || std::fscanf(out, "%lf %lf", &ms, &peakMb) != 2 || pclose(out) != 0) {
        std::fprintf(stderr, "%s failed\n", command.c_str());
        std::abort();
    }
    return ms;
}

void Goal(const char* what, double ms, double yardstick, double goal) {
    const double ratio = ms / yardstick;
    std::printf("  %-34s %8.1f ms / %7.1f ms = %5.2fx  (goal <= %gx)  %s\n", what, ms, yardstick,
                ratio, goal, ratio <= goal ? "met" : "not met");
}

void RunCase(int nPoints, int runs) {
    const std::string base = "/tmp/quivra-bench-" + std::to_string(getpid()) + "-";
    const std::string scene = base + "scene.qvr", copy = base + "copy.qvr",
                      resaved = base + "resaved.qvr";
    const QString scenePath = QString::fromStdString(scene);

    auto doc = std::make_unique<CQuivraDoc>();
    bench::Build(*doc, nPoints);
    const std::size_t lines = doc->m_freeLines.size() + doc->m_objects.size() * 12;

    const double save = Median(runs, [&] {
        return Timed([&] {
            if (!SceneFile::Save(*doc, scenePath, nullptr))
                std::abort();
        });
    });
    std::size_t size = 0;
    const std::unique_ptr<char[]> bytes = ReadAll(scene.c_str(), size);
    const double write = Median(
        runs, [&] { return Timed([&] { WriteAll(copy.c_str(), bytes.get(), size, false); }); });
    const double writeSync = Median(
        runs, [&] { return Timed([&] { WriteAll(copy.c_str(), bytes.get(), size, true); }); });

    double teardown = 0.0;
    const double load = Median(runs, [&] {
        auto back = std::make_unique<CQuivraDoc>();
        const double ms = Timed([&] {
            if (!SceneFile::Load(scenePath, *back, nullptr))
                std::abort();
        });
        teardown = Timed([&] { back.reset(); });
        return ms;
    });
    const double loadProgress = Median(runs, [&] {
        CQuivraDoc back;
        return Timed([&] {
            if (!SceneFile::Load(scenePath, back, nullptr, [](qint64, qint64) { return true; }))
                std::abort();
        });
    });
    const double read = Median(runs, [&] {
        std::size_t n = 0;
        std::unique_ptr<char[]> b;
        const double ms = Timed([&] { b = ReadAll(scene.c_str(), n); });
        return ms;
    });

    double peakMb = 0.0, tool = 0.0, start = 0.0;
#ifdef QVRTOOL_PATH
    // QVRTOOL names another build to compare with.
    const char* qvrtool = std::getenv("QVRTOOL") ? std::getenv("QVRTOOL") : QVRTOOL_PATH;
    tool = Median(runs, [&] { return RunChild({qvrtool, "resave", scene, resaved}, peakMb); });
    double helpMb = 0.0;
    start = Median(runs, [&] { return RunChild({qvrtool, "--help"}, helpMb); });
#endif
    const double readWrite = Median(runs, [&] {
        return Timed([&] {
            std::size_t n = 0;
            const std::unique_ptr<char[]> b = ReadAll(scene.c_str(), n);
            WriteAll(copy.c_str(), b.get(), n, false);
        });
    });

    const double snapshot = Median(runs, [&] { return Timed([&] { doc->SaveUndoState(); }); });
    const double restore = Median(runs, [&] {
        return Timed([&] {
            doc->Undo();
            doc->m_bUndoAvailable = 1;
        });
    });
    doc.reset();
    for (const std::string& p : {scene, copy, resaved})
        std::remove(p.c_str());

    std::printf("points %d (half free, half in boxes), lines %zu, 3 directions per point, "
                "10 series; file %.1f MB; median of %d\n",
                nPoints, lines, size / 1e6, runs);
    Goal("save / one write", save, write, 3);
    Goal("load / one read", load, read, 5);
    if (tool > 0)
        Goal("qvrtool resave / read + write", tool, readWrite, 8);
    std::printf("  %-34s %8.1f ms / %7.1f ms = %5.2fx  (the save waits for the disk too)\n",
                "save / one write + fdatasync", save, writeSync, save / writeSync);
    if (tool > 0)
        std::printf("  %-34s %8.1f ms (its libraries loaded, nothing read)\n",
                    "of which qvrtool's start", start);
    std::printf("  %-34s %8.1f ms\n", "load with progress reports", loadProgress);
    std::printf("  %-34s %8.1f ms\n", "teardown of a loaded scene", teardown);
    std::printf("  %-34s %8.1f ms\n", "undo snapshot", snapshot);
    std::printf("  %-34s %8.1f ms\n", "undo restore", restore);
    if (tool > 0)
        std::printf("  %-34s %8.0f MB, %.0f bytes per point\n", "qvrtool resave peak memory",
                    peakMb, peakMb * 1024 * 1024 / nPoints);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--spawn")
        return Spawn(argv + 2);
    QCoreApplication app(argc, argv);
    if (argc >= 3 && std::string(argv[1]) == "--write") {
        CQuivraDoc doc;
        bench::Build(doc, argc > 3 ? std::max(8, std::atoi(argv[3])) : 100000);
        return SceneFile::Save(doc, QString::fromLocal8Bit(argv[2]), nullptr) ? 0 : 1;
    }
    int runs = 5;
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else
            sizes.push_back(std::max(8, std::atoi(argv[i])));
    }
    if (sizes.empty())
        sizes = {100000, 1000000};
    for (int n : sizes)
        RunCase(n, n > 200000 ? std::min(runs, 3) : runs); // a million points take minutes
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    std::printf("peak memory of this benchmark %.0f MB\n", ru.ru_maxrss / 1024.0);
    return 0;
}
