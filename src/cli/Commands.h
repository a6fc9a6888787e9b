#pragma once
// The subcommands of korvana-cli. Each takes the arguments after its own name
// and returns the program's exit code; main.cpp dispatches over kCommands.
#include <string>
#include <vector>

// Exit codes shared by every subcommand.
enum TExitCode : int {
    ExitDone = 0,
    ExitOutputFailed = 1,  // stdout could not be written
    ExitBadUsage = 2,      // the dispatcher then prints the usage text on stderr
    ExitFileFailed = 4,    // a file could not be read or was refused
};

// korvana-cli stats FILE.dls
int RunStats(const std::vector<std::string>& args);
// korvana-cli listing FILE.dls [--seats NESW] [--columns M]
int RunListing(const std::vector<std::string>& args);

struct TCommand {
    const char* Name;
    const char* Arguments;  // the synopsis after the name, for the usage text
    const char* Summary;    // one line for the usage text
    int (*Run)(const std::vector<std::string>& args);
};

// Every subcommand, in the order the usage text lists them.
inline constexpr TCommand kCommands[] = {
    {"stats", "FILE.dls", "print the statistics report of the deals in the file", RunStats},
    {"listing", "FILE.dls [--seats NESW] [--columns M]",
     "print the deals as diagrams of the chosen seats (default NESW), M deals a row (1-9, "
     "default 5)",
     RunListing},
};
