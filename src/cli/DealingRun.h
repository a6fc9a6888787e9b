#pragma once
// A generator run as korvana-cli makes it, shared by `generate` and the
// commands that study the deals of a run: the run's options, the signals
// that stop it, and the run itself with its condition, seed line and ticks.
#include <signal.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include "cli/ConditionOptions.h"
#include "cli/OptionParser.h"
#include "deals/DealBatch.h"

class TDeals;

inline constexpr TOptionRow kKeyOption = {
    .Name = "--key",
    .Kind = TValueKind::Number,
    .ValueName = "N",
    .Help =
        "the key value: the same key, condition and count give the same deals; "
        "0 (default) seeds from the clock and prints the seed",
    .Least = std::numeric_limits<int32_t>::min(),
    .Most = std::numeric_limits<int32_t>::max()};
constexpr TOptionRow CountOption(const char* help) {
    return {.Name = "--count",
            .Kind = TValueKind::Number,
            .ValueName = "N",
            .Help = help,
            .Least = 1,
            .Most = 9999999};
}
inline constexpr TOptionRow kMaxDealtOption = {.Name = "--max-dealt",
                                               .Kind = TValueKind::Number,
                                               .ValueName = "N",
                                               .Help = "stops after dealing N deals",
                                               .Least = 1,
                                               .Most = std::numeric_limits<int64_t>::max()};
inline constexpr TOptionRow kQuietOption = {
    .Name = "--quiet", .Help = "prints no progress line on stderr", .Repeatable = true};
inline constexpr TOptionRow kFixedOption = {
    .Name = "--fixed",
    .Kind = TValueKind::Text,
    .ValueName = "CARDS",
    .Help = "gives seats cards they hold in every deal: \"N:AKQJ.K.. S:..A2.\" or a PBN deal"};
inline constexpr TOptionRow kDealingOption = {
    .Name = "--dealing",
    .Kind = TValueKind::Choice,
    .ValueName = "fastest|one|portable|vector",
    .Help =
        "deals one at a time, eight at a time, or eight side by side with AVX2; "
        "all give the same deals (default: the fastest this processor has)"};

// What the rows above and the condition and thread options give.
struct TRunOptions {
    int32_t Key = 0;
    int32_t Count = 1;
    TConditionSource Condition;
    int64_t MaxDealt = 0;
    bool Quiet = false;
    int32_t Threads = 0;  // 0: one per core
    std::string Fixed;    // --fixed, read when the run starts
    TDealingPath Dealing = TDealingPath::Fastest;
};

// Reads the run's options; false after complaining about bad usage.
bool ReadRunOptions(const TArguments& arguments, int32_t defaultCount, TRunOptions& options);

// Ctrl+C, SIGTERM and SIGHUP ask for a stop while the object lives; the
// handlers before it are put back at its end.
class TStopSignals {
public:
    TStopSignals();
    ~TStopSignals();
    TStopSignals(const TStopSignals&) = delete;
    TStopSignals& operator=(const TStopSignals&) = delete;
    // The signal that asked for a stop, or 0.
    int Signal() const;
    // The exit code of a run stopped by the signal: 128 and its number.
    static int ExitCode(int signal);

private:
    struct sigaction previous_[3] = {};
};

// What a run did.
struct TRunResult {
    int32_t Kept = 0;
    int64_t Dealt = 0;
    int32_t RepeatKey = 0;  // the key that repeats the run
    int StopSignal = 0;     // the signal that stopped it, or 0
    bool RanOutOfMemory = false;
};

// How a run stands, for the calling thread's ticks.
struct TRunTick {
    int32_t Kept = 0;
    int64_t Dealt = 0;
    std::chrono::steady_clock::time_point Start;
    int StopSignal = 0;  // a signal asked the run to stop
};

// Deals by the options into `deals` (which may pass them on as they are
// kept). Reads --fixed (refused: exit code 3) and the condition (exit code 3
// or 4, the reason on stderr), prints the seed line for key 0, then runs;
// every tenth of a second `tick` is called on the calling thread, and the run
// stops when it returns false or a stop signal comes. Returns ExitDone once
// the run has ended, whatever ended it (see `result`), else the exit code.
int RunDealing(const TRunOptions& options, TDeals& deals,
               const std::function<bool(const TRunTick&)>& tick, TRunResult& result);
