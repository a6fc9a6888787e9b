#pragma once
// A generator run as korvana-cli makes it, shared by `generate` and the
// commands that study the deals of a run: the run's options, the signals
// that stop it, and the run itself with its condition, seed line and ticks.
#include <signal.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>

#include "cli/ConditionOptions.h"
#include "cli/OptionParser.h"
#include "deals/DealBatch.h"
#include "deals/SecureSource.h"
#include "engine/Generator.h"

class TDeals;

inline constexpr TNumberOption kKeyOption = TOptionRow{
    .Name = "--key",
    .Kind = TValueKind::Number,
    .ValueName = "N",
    .Help =
        "ключ: тот же ключ, условие и число раздач дают те же раздачи; 0 берёт ключ "
        "от часов и печатает его. Без --key и --secret раздаёт надёжно и печатает секрет",
    .Least = std::numeric_limits<int32_t>::min(),
    .Most = std::numeric_limits<int32_t>::max(),
    .WithNext = TAlternative::AtMostOne};
inline constexpr TTextOption kSecretOption =
    TOptionRow{.Name = "--secret",
               .Kind = TValueKind::Text,
               .ValueName = "HEX",
               .Help =
                   "повторяет надёжную раздачу: 64 шестнадцатеричные цифры из строки secret "
                   "(их видит в списке процессов любой пользователь: лучше --secret-file)"};
inline constexpr TTextOption kSecretFileOption =
    TOptionRow{.Name = "--secret-file",
               .Kind = TValueKind::Name,
               .ValueName = "FILE",
               .Help =
                   "повторяет надёжную раздачу по секрету из файла (- читает стандартный ввод): "
                   "64 шестнадцатеричные цифры, вокруг них могут быть пробелы и перевод строки"};
inline constexpr TTextOption kDelayedOption =
    TOptionRow{.Name = "--delayed",
               .Kind = TValueKind::Name,
               .ValueName = "TEXT",
               .Help =
                   "отложенный текст (UTF-8), которого никто не знает заранее: надёжные раздачи "
                   "идут от секрета вместе с ним и иные, чем без него"};
// --count, whose help each command words; lookups name it by kCountOption,
// the row of `generate`.
consteval TNumberOption CountOption(const char* help) {
    return TOptionRow{.Name = "--count",
                      .Kind = TValueKind::Number,
                      .ValueName = "N",
                      .Help = help,
                      .Least = 1,
                      .Most = 9999999};
}
inline constexpr TNumberOption kCountOption =
    CountOption("сколько раздач отобрать, 1-9999999 (по умолчанию 1)");
inline constexpr TNumberOption kMaxDealtOption =
    TOptionRow{.Name = "--max-dealt",
               .Kind = TValueKind::Number,
               .ValueName = "N",
               .Help = "останавливается, сдав N раздач",
               .Least = 1,
               .Most = std::numeric_limits<int64_t>::max()};
inline constexpr TSwitch kQuietOption = TOptionRow{
    .Name = "--quiet", .Help = "не печатает ход работы в поток ошибок", .Repeatable = true};
inline constexpr TTextOption kFixedOption = TOptionRow{
    .Name = "--fixed",
    .Kind = TValueKind::Text,
    .ValueName = "CARDS",
    .Help = "карты, которые у игроков в каждой раздаче: \"N:AKQJ.K.. S:..A2.\" или раздача PBN"};
inline constexpr TTextOption kDealingOption =
    TOptionRow{.Name = "--dealing",
               .Kind = TValueKind::Choice,
               .ValueName = "fastest|one|portable|vector",
               .Help =
                   "сдаёт по одной, по восемь или по восемь рядом с AVX2; все дают те же раздачи "
                   "(по умолчанию самый быстрый способ этого процессора)"};

inline constexpr TSwitch kDirectedOption =
    TOptionRow{.Name = "--directed",
               .Help =
                   "сдаёт самую стеснённую условием руку прямо из рук, которые ему могут отвечать: "
                   "редкие условия отбираются во много раз быстрее, раздачи иные, чем без него"};

// What the rows above and the condition and thread options give.
struct TRunOptions {
    int32_t Key = 0;
    bool KeyGiven = false;               // else the run deals securely
    std::optional<TSecret> Secret;       // --secret: repeats a secure run
    std::string SecretFile;              // --secret-file, read when the run starts
    std::optional<std::string> Delayed;  // --delayed
    bool ShowSecret = true;              // the secret and commitment lines on stderr
    int32_t Count = 1;
    TConditionSource Condition;
    int64_t MaxDealt = 0;
    bool Quiet = false;
    int32_t Threads = 0;  // 0: one per core
    std::string Fixed;    // --fixed, read when the run starts
    TDealingPath Dealing = TDealingPath::Fastest;
    int32_t BlockSize = 0;  // deals a dealing thread deals in one go; 0: the engine's size
    bool Directed = false;  // --directed
};

// Reads the secret of --secret-file from the file `name` ("-": stdin): 64
// hexadecimal digits, blanks around them allowed. Returns ExitDone, else
// ExitFileFailed with the reason on stderr.
int ReadSecretFile(const std::string& name, TSecret& secret);

// The secret of --secret or --secret-file, when either was given; reads
// nothing. False after complaining about bad usage (both given, or a
// --secret that is not 64 digits); `fromFile` tells --secret-file.
bool ReadSecretOptions(const TArguments& arguments, std::optional<TSecret>& secret,
                       std::string& fromFile);
// --delayed, checked: a UTF-8 text; false after complaining about bad usage.
bool ReadDelayedOption(const TArguments& arguments, std::optional<std::string>& delayed);

// Reads the run's options; false after complaining about bad usage.
bool ReadRunOptions(const TArguments& arguments, int32_t defaultCount, TRunOptions& options);

// Ctrl+C, SIGTERM and SIGHUP ask for a stop while the object lives, and a
// reader of stdout that has gone is a write error rather than the end of the
// program; the handlers before it are put back at its end.
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
    struct sigaction previous_[4] = {};  // and SIGPIPE's
};

// What a run did.
struct TRunResult {
    int32_t Kept = 0;
    int64_t Dealt = 0;
    int32_t RepeatKey = 0;  // the key that repeats the run
    bool Secure = false;    // dealt from a secret: no key repeats it
    bool Delayed = false;   // securely, from the secret and a delayed text
    int StopSignal = 0;     // the signal that stopped it, or 0
    bool RanOutOfMemory = false;
    bool Directed = false;  // asked with --directed
    TDirectedPlan Plan;     // what the condition's bounds gave the run
};

// After a run with --directed, the condition's frequency it measured on
// stderr: "доля условия ≈ 2,9·10⁻⁵"; nothing after another run.
void PrintConditionFrequency(const TRunResult& result);

// How a run stands, for the calling thread's ticks.
struct TRunTick {
    int32_t Kept = 0;
    int64_t Dealt = 0;
    std::chrono::steady_clock::time_point Start;
    int StopSignal = 0;  // a signal asked the run to stop
};

// Deals by the options into `deals` (which may pass them on as they are
// kept). Reads --fixed (refused: exit code 3) and the condition (exit code 3
// or 4, the reason on stderr) and --secret-file (4), prints the secret and
// commitment lines of a secure run or the seed line for key 0, then runs;
// every tenth of a second `tick` is called on the calling thread, and the run
// stops when it returns false or a stop signal comes. Returns ExitDone once
// the run has ended, whatever ended it (see `result`), else the exit code.
int RunDealing(const TRunOptions& options, TDeals& deals,
               const std::function<bool(const TRunTick&)>& tick, TRunResult& result);
