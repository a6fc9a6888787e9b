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
    ExitConditionError = 3,  // the condition has an error or is blank, or --fixed is refused
    ExitFileFailed = 4,    // a file could not be read or was refused
    ExitOutOfMemory = 5,   // memory ran out; a run still writes the deals it kept
    ExitHungUp = 129,      // a run stopped by SIGHUP (its kept deals were still written)
    ExitInterrupted = 130, // a run stopped by Ctrl+C (its kept deals were still written)
    ExitTerminated = 143,  // a run stopped by SIGTERM (its kept deals were still written)
};

// korvana-cli stats FILE.dls
int RunStats(const std::vector<std::string>& args);
// korvana-cli listing FILE.dls [--seats NESW] [--columns M]
int RunListing(const std::vector<std::string>& args);

// korvana-cli generate [--key N] [--count N] [--condition TEXT | --condition-file FILE.cnd]
//   [--format text|lines] [--out FILE.dls|FILE.pbn|FILE.lin [--analyze]] [--max-dealt N]
//   [--threads N] [--quiet] [--fixed CARDS] [--dealing fastest|one|portable|vector]
int RunGenerate(const std::vector<std::string>& args);
// korvana-cli check (--condition TEXT | --condition-file FILE.cnd)
int RunCheck(const std::vector<std::string>& args);
// korvana-cli convert IN OUT
int RunConvert(const std::vector<std::string>& args);
// korvana-cli analyze FILE.dls|FILE.pbn [--threads N]
int RunAnalyze(const std::vector<std::string>& args);

struct TCommand {
    const char* Name;
    const char* Arguments;  // the synopsis after the name, for the usage text
    const char* Summary;    // one line for the usage text
    int (*Run)(const std::vector<std::string>& args);
};

// Every subcommand, in the order the usage text lists them.
inline constexpr TCommand kCommands[] = {
    {"generate",
     "[--key N] [--count N] [--condition TEXT | --condition-file FILE.cnd] [--format text|lines] "
     "[--out FILE.dls|FILE.pbn|FILE.lin [--analyze]] [--max-dealt N] [--threads N] [--quiet] "
     "[--fixed CARDS] [--dealing fastest|one|portable|vector]",
     "deal and keep N deals (1-9999999, default 1) that meet the condition; key 0 (default) "
     "seeds from the clock; stderr ends with kept(dealt); --threads default: all cores; "
     "--fixed \"N:AKQJ.K.. S:..A2.\" (or a PBN deal) gives those cards to the seats; "
     "--analyze adds double-dummy tables and par to the PBN file; --dealing chooses how deals "
     "are dealt (one at a time, eight at a time, eight side by side with AVX2), all giving "
     "the same deals",
     RunGenerate},
    {"check", "(--condition TEXT | --condition-file FILE.cnd)",
     "check a condition as a run would: ok, or the first error and its position", RunCheck},
    {"stats", "FILE.dls|FILE.pbn", "print the statistics report of the deals in the file", RunStats},
    {"listing", "FILE.dls|FILE.pbn [--seats NESW] [--columns M]",
     "print the deals as diagrams of the chosen seats (default NESW), M deals a row (1-9, "
     "default 5)",
     RunListing},
    {"convert", "IN OUT",
     "read the deals of a deals or PBN file and write them as a deals file (.dls), a PBN file "
     "(.pbn) or a LIN file (.lin)",
     RunConvert},
    {"analyze", "FILE.dls|FILE.pbn [--threads N]",
     "print each deal's double-dummy tricks and par, one line a deal (board, then nt s h d c "
     "with the tricks of N E S W declaring, then par), and the analysis report; exit code 4 "
     "when a damaged deal was refused; --threads default: all cores",
     RunAnalyze},
};
