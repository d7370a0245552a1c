// qvrtool: the command-line companion. Subcommands register themselves (Cmd*.cpp).
#include "CommandRegistry.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

#include <cstdio>

static int PrintHelp(FILE* out) {
    std::fprintf(out, "usage: qvrtool COMMAND [ARGS]\n\ncommands:\n");
    for (const QvrCommand& c : CommandRegistry::All())
        std::fprintf(out, "  %s\n      %s\n", c.usage, c.help);
    return out == stdout ? 0 : 2;
}

int main(int argc, char** argv) {
    const QvrCommand* cmd =
        argc > 1 ? CommandRegistry::Find(QString::fromLocal8Bit(argv[1])) : nullptr;
    std::unique_ptr<QCoreApplication> app;
    if (cmd && cmd->needsGui) {
        // Headless by default: qvrtool must run in scripts without a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
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
