// qvrtool resave IN.qvr OUT.qvr: load and save through the program's own code.
#include "CommandRegistry.h"
#include "ToolUtil.h"

#include "CQuivraDoc.h"

using namespace tool;

namespace {

int Run(const QStringList& args) {
    if (args.size() != 2)
        return Usage("resave IN.qvr OUT.qvr");
    auto doc = LoadScene(args[0]);
    if (!doc)
        return 1;
    return SaveScene(*doc, args[1]) ? 0 : 1;
}

CommandRegistrar reg{{"resave", "resave IN.qvr OUT.qvr", "load a scene and save it again", Run}};

} // namespace
