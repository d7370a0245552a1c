#include "CommandRegistry.h"

#include <algorithm>

static std::vector<QvrCommand>& Commands() {
    static std::vector<QvrCommand> commands;
    return commands;
}

void CommandRegistry::Add(const QvrCommand& cmd) {
    auto& all = Commands();
    all.push_back(cmd);
    std::sort(all.begin(), all.end(),
              [](const QvrCommand& a, const QvrCommand& b) { return qstrcmp(a.name, b.name) < 0; });
}

const std::vector<QvrCommand>& CommandRegistry::All() {
    return Commands();
}

const QvrCommand* CommandRegistry::Find(const QString& name) {
    for (const QvrCommand& c : Commands())
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}
