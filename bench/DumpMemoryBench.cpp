// Peak memory of `qvrtool dump` against the memory of the loaded scene alone.
//   dump_memory_bench [points]   (default 1000000)
// Both are measured in fresh processes (this program with --load, and qvrtool), so neither
// inherits the memory used to build the scene.
#include "BenchScene.h"
#include "SceneFile.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs argv with stdout to /dev/null; the child's peak resident memory in MB, or -1.
double PeakMb(const char* const argv[]) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execv(argv[0], const_cast<char* const*>(argv));
        _exit(127);
    }
    int status = 0;
    rusage ru{};
    if (pid < 0 || wait4(pid, &status, 0, &ru) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1.0;
    return ru.ru_maxrss / 1024.0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && QByteArray(argv[1]) == "--load") {
        CQuivraDoc doc;
        return SceneFile::Load(QString::fromLocal8Bit(argv[2]), doc, nullptr) ? 0 : 1;
    }
    const int nPoints = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const QByteArray path = "/tmp/quivra-dump-bench-" + QByteArray::number(getpid()) + ".qvr";
    {
        CQuivraDoc doc;
        bench::Build(doc, nPoints);
        if (!SceneFile::Save(doc, QString::fromLocal8Bit(path), nullptr))
            return 1;
    }
    const char* load[] = {"/proc/self/exe", "--load", path.constData(), nullptr};
    const double loaded = PeakMb(load);
    const char* dump[] = {QVRTOOL_PATH, "dump", path.constData(), nullptr};
    const double dumped = PeakMb(dump);
    std::remove(path.constData());
    if (loaded <= 0 || dumped <= 0) {
        std::fprintf(stderr, "a measured run failed\n");
        return 1;
    }
    std::printf("points %d, 3 directions per point, 10 series\n", nPoints);
    std::printf("load alone  peak %.0f MB\n", loaded);
    std::printf("qvrtool dump peak %.0f MB\n", dumped);
    std::printf("ratio       %.2f\n", dumped / loaded);
    return 0;
}
