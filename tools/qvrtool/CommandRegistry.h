#pragma once

#include <QStringList>

#include <vector>

// One qvrtool subcommand. `run` gets the arguments after the subcommand's name and returns the
// exit status (0 success, 1 failure with a message on stderr, 2 bad usage).
struct QvrCommand {
    const char* name;
    const char* usage; // one line: "dump FILE.qvr"
    const char* help;  // one sentence
    int (*run)(const QStringList& args);
    // Draws text or images: runs under a (headless) QGuiApplication instead of a core one.
    bool needsGui = false;
};

class CommandRegistry {
public:
    static void Add(const QvrCommand& cmd);
    static const std::vector<QvrCommand>& All();
    static const QvrCommand* Find(const QString& name);
};

// Registers a subcommand at start-up: `static CommandRegistrar reg{{"dump", ...}};`
struct CommandRegistrar {
    explicit CommandRegistrar(const QvrCommand& cmd) { CommandRegistry::Add(cmd); }
};
