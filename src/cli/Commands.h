#pragma once
// The subcommands of korvana-cli. Each declares its option table beside its
// code; main.cpp reads the arguments after the command's name by that table
// and runs the command on them, whose result is the program's exit code.
#include "cli/OptionParser.h"
#include "deals/DealFormats.h"

// Exit codes shared by every subcommand.
enum TExitCode : int {
    ExitDone = 0,
    ExitOutputFailed = 1,    // stdout could not be written
    ExitBadUsage = 2,        // the dispatcher then prints the usage text on stderr
    ExitConditionError = 3,  // the condition has an error or is blank, or --fixed is refused
    ExitFileFailed = 4,      // a file could not be read or was refused
    ExitOutOfMemory = 5,     // memory ran out; a run still writes the deals it kept
    ExitSetMismatch = 6,     // verify: the set does not match its secret or commitment
    ExitHungUp = 129,        // a run stopped by SIGHUP (its kept deals were still written)
    ExitInterrupted = 130,   // a run stopped by Ctrl+C (its kept deals were still written)
    ExitTerminated = 143,    // a run stopped by SIGTERM (its kept deals were still written)
};

// --threads of the commands that use every core.
inline constexpr TNumberOption kThreadsOption =
    TOptionRow{.Name = "--threads",
               .Kind = TValueKind::Number,
               .ValueName = "N",
               .Help = "сколько потоков, 1-256 (по умолчанию по одному на ядро)",
               .Least = 1,
               .Most = 256};

// --out-format of the commands that write deals.
inline constexpr TTextOption kOutFormatOption = TOptionRow{
    .Name = "--out-format",
    .Kind = TValueKind::Choice,
    .ValueName = DealFormatChoice.data(),
    .Help = "формат записываемых раздач, иначе по расширению (нужен для -, стандартного вывода)"};

// --first-board of the commands that write deals.
inline constexpr TNumberOption kFirstBoardOption = TOptionRow{
    .Name = "--first-board",
    .Kind = TValueKind::Number,
    .ValueName = "N",
    .Help =
        "номер первой сдачи в PBN и LIN, сдающий и зона по кругу от него (по умолчанию 1); "
        "сдачи со своими номерами их сохраняют",
    .Least = 1,
    .Most = 999999999};

// --dealer and --vul of the commands that write boards: one dealer or one
// vulnerability for every board instead of the rotation by board number.
inline constexpr TTextOption kDealerOption =
    TOptionRow{.Name = "--dealer",
               .Kind = TValueKind::Choice,
               .ValueName = "n|e|s|w",
               .Help =
                   "сдающий на всех сдачах (по умолчанию по кругу от номера сдачи); сдачи со своим "
                   "сдающим его сохраняют",
               .AnyCase = true};
inline constexpr TTextOption kVulOption =
    TOptionRow{.Name = "--vul",
               .Kind = TValueKind::Choice,
               .ValueName = "none|ns|ew|both",
               .Help =
                   "зона на всех сдачах: никто, NS, EW или все (по умолчанию по кругу от номера "
                   "сдачи); сдачи со своей зоной её сохраняют",
               .AnyCase = true};

extern const TCommand kGenerateCommand;  // GenerateCommand.cpp
extern const TCommand kCheckCommand;     // CheckCommand.cpp
extern const TCommand kStatsCommand;     // ReportCommands.cpp
extern const TCommand kListingCommand;   // ReportCommands.cpp
extern const TCommand kConvertCommand;   // ConvertCommand.cpp
extern const TCommand kAnalyzeCommand;   // AnalyzeCommand.cpp
extern const TCommand kSimulateCommand;  // SimulationCommands.cpp
extern const TCommand kLeadsCommand;     // SimulationCommands.cpp
extern const TCommand kTabulateCommand;  // SimulationCommands.cpp
extern const TCommand kHandoutCommand;   // HandoutCommand.cpp
extern const TCommand kVerifyCommand;    // VerifyCommand.cpp
