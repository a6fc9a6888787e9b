// korvana-cli: the command-line front end. Dispatches to one subcommand.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"

namespace {

void PrintUsage(std::FILE* stream) {
    std::fputs("usage: korvana-cli COMMAND [ARGUMENTS]\n\ncommands:\n", stream);
    for (const TCommand& command : kCommands) {
        std::fprintf(stream, "  %s %s\n      %s\n", command.Name, command.Arguments,
                     command.Summary);
    }
    std::fputs("\nexit codes: 0 done, 1 stdout failed, 2 bad usage, 3 the condition has an error or is blank,\n"
               "  4 a file could not be read or written, 5 out of memory,\n"
               "  130 stopped by Ctrl+C, 143 by SIGTERM, 129 by SIGHUP (the kept deals are still written)\n", stream);
}

}  // namespace

int main(int argc, char** argv) {
    TStderrSink sink;
    if (argc < 2) {
        PrintUsage(stderr);
        return ExitBadUsage;
    }
    const std::string name = argv[1];
    if (name == "help" || name == "--help" || name == "-h") {
        PrintUsage(stdout);
        return ExitDone;
    }
    for (const TCommand& command : kCommands) {
        if (name != command.Name) continue;
        int code = ExitOutOfMemory;
        try {
            code = command.Run(std::vector<std::string>(argv + 2, argv + argc));
        } catch (const std::bad_alloc&) {
            std::fputs("korvana-cli: out of memory\n", stderr);
            return ExitOutOfMemory;
        }
        if (code == ExitBadUsage) PrintUsage(stderr);
        return code;
    }
    std::fprintf(stderr, "korvana-cli: unknown command \"%s\"\n", name.c_str());
    PrintUsage(stderr);
    return ExitBadUsage;
}
