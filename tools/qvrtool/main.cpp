// qvrtool: the command-line companion. Subcommands register themselves (Cmd*.cpp).
#include "CommandRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include <cstdio>

static int PrintHelp(FILE* out) {
    std::fprintf(out, "usage: qvrtool COMMAND [ARGS]\n\ncommands:\n");
    for (const QvrCommand& c : CommandRegistry::All())
        std::fprintf(out, "  %s\n      %s\n", c.usage, c.help);
    return out == stdout ? 0 : 2;
}

int main(int argc, char** argv) {
    // A file-size limit then fails the write, which is reported, instead of killing the tool.
    std::signal(SIGXFSZ, SIG_IGN);
    const QvrCommand* cmd =
        argc > 1 ? CommandRegistry::Find(QString::fromLocal8Bit(argv[1])) : nullptr;
    // Qt takes options such as -platform, --style or -display out of the command line it is
    // given; every option here is a subcommand's, so Qt sees only the program's name.
    static int qtArgc = 1;
    static char* qtArgv[] = {argv[0], nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (cmd && cmd->needsGui) {
        // Headless by default: qvrtool must run in scripts without a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt wants a private runtime folder and warns on every run without one; scripts read
        // stderr, so make the folder it would fall back to, quietly.
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            const QByteArray dir = QDir::tempPath().toLocal8Bit() + "/runtime-" +
                                   QByteArray::number(static_cast<qulonglong>(getuid()));
            if (::mkdir(dir.constData(), 0700) == 0 || errno == EEXIST)
                qputenv("XDG_RUNTIME_DIR", dir);
        }
        app = std::make_unique<QGuiApplication>(qtArgc, qtArgv);
    } else {
        app = std::make_unique<QCoreApplication>(qtArgc, qtArgv);
    }
    // Qt puts the user's locale into effect; qvrtool reads and writes numbers for programs
    // (JSON, tables, UFF) and keeps the '.' decimal point whatever the locale.
    std::setlocale(LC_NUMERIC, "C");
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.isEmpty())
        return PrintHelp(stderr);
    const QString name = args.takeFirst();
    if (name == QLatin1String("help") || name == QLatin1String("--help") ||
        name == QLatin1String("-h"))
        return PrintHelp(stdout);
    if (!cmd) {
        std::fprintf(stderr, "qvrtool: unknown command \"%s\"\n", name.toLocal8Bit().constData());
        return PrintHelp(stderr);
    }
    return cmd->run(args);
}
