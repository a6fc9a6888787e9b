// korvana-cli: the command-line front end. Dispatches to one subcommand.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"

namespace {

constexpr const char* ExitCodesText =
    "exit codes: 0 done, 1 stdout failed, 2 bad usage, 3 the condition has an error or is blank,\n"
    "  4 a file could not be read or written, 5 out of memory,\n"
    "  130 stopped by Ctrl+C, 143 by SIGTERM, 129 by SIGHUP (the kept deals are still written)\n";

// The synopsis and summary of one command, and the exit codes.
void PrintCommandHelp(const TCommand& command) {
    std::printf("usage: korvana-cli %s %s\n\n  %s\n\n", command.Name, command.Arguments,
                command.Summary);
    std::fputs(ExitCodesText, stdout);
}

void PrintUsage(std::FILE* stream) {
    std::fputs("usage: korvana-cli COMMAND [ARGUMENTS]\n\ncommands:\n", stream);
    for (const TCommand& command : kCommands) {
        std::fprintf(stream, "  %s %s\n      %s\n", command.Name, command.Arguments,
                     command.Summary);
    }
    std::fputs("\n", stream);
    std::fputs(ExitCodesText, stream);
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
    if (name == "--version") {
        std::puts("korvana-cli " KORVANA_VERSION);
        return std::fflush(stdout) == 0 ? ExitDone : ExitOutputFailed;
    }
    for (const TCommand& command : kCommands) {
        if (name != command.Name) continue;
        if (argc == 3 && (std::string(argv[2]) == "--help" || std::string(argv[2]) == "-h")) {
            PrintCommandHelp(command);
            return std::fflush(stdout) == 0 ? ExitDone : ExitOutputFailed;
        }
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
