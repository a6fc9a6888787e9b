#include "cli/DealingRun.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <mutex>
#include <thread>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "deals/BridgeTerms.h"
#include "deals/DealCollection.h"
#include "deals/FixedCards.h"
#include "deals/RandomSource.h"
#include "engine/Generator.h"
#include "language/Grammar.h"
#include "text/Utf8Text.h"

namespace {

// Holds the number of the signal that asked for a stop; read by other threads
// than the handler may run on, so atomic (and lock-free, so safe in a handler).
std::atomic<int> interrupted{0};
static_assert(std::atomic<int>::is_always_lock_free);
extern "C" void OnInterrupt(int signal) { interrupted.store(signal); }

constexpr int StopSignalNumbers[] = {SIGINT, SIGTERM, SIGHUP};

// Hears the run's requests on the worker thread. Progress is only stored; the
// main thread prints it on its own schedule, so the worker never waits.
class TCliOwner : public TGeneratorOwner {
public:
    void ReportProgress(int32_t kept, int64_t dealt) override {
        kept_.store(kept, std::memory_order_relaxed);
        dealt_.store(dealt, std::memory_order_relaxed);
    }
    void ShowDeal(int32_t) override {}
    void GenerationFinished(int32_t kept, int32_t) override {
        std::lock_guard lock(mutex_);
        kept_.store(kept, std::memory_order_relaxed);
        finished_ = true;
        done_.notify_all();
    }
    // Waits until the run has finished or the timeout has passed; true when finished.
    bool WaitFinished(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return done_.wait_for(lock, timeout, [this] { return finished_; });
    }
    int32_t Kept() const { return kept_.load(std::memory_order_relaxed); }
    int64_t Dealt() const { return dealt_.load(std::memory_order_relaxed); }

private:
    std::atomic<int32_t> kept_{0};
    std::atomic<int64_t> dealt_{0};
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
};

// Bounds leaving a hand less than this share make the hint worth giving.
constexpr double HintShare = 0.01;

}  // namespace

void PrintConditionFrequency(const TRunResult& result) {
    if (!result.Directed) return;
    // None kept of n dealt: the frequency is below about the share of one deal.
    const bool none = result.Kept == 0 && result.Dealt > 0;
    const double frequency = none ? ConditionFrequency(result.Plan, 1, result.Dealt)
                                  : ConditionFrequency(result.Plan, result.Kept, result.Dealt);
    std::fprintf(stderr, "доля условия %s %s\n", none ? "<" : "≈", ShareText(frequency).c_str());
}

int ReadSecretFile(const std::string& name, TSecret& secret) {
    const bool standardInput = name == "-";
    const std::string shown = standardInput ? "стандартный ввод" : name;
    const int file = standardInput ? STDIN_FILENO : ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    // A secret with blanks around it is short: more than this is not a secret file.
    constexpr std::size_t Most = 4096;
    std::string text;
    int error = file < 0 ? errno : 0;
    while (error == 0 && text.size() <= Most) {
        char chunk[512];
        const ssize_t got = ::read(file, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) error = errno;
        if (got <= 0) break;
        text.append(chunk, static_cast<std::size_t>(got));
    }
    if (file >= 0 && !standardInput) ::close(file);
    if (error != 0) {
        std::fprintf(stderr, "korvana-cli: --secret-file: не удалось прочитать %s: %s\n",
                     shown.c_str(), SystemReason(error).c_str());
        return ExitFileFailed;
    }
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    const std::optional<TSecret> read =
        first == std::string::npos || text.size() > Most
            ? std::nullopt
            : ReadSecret(std::string_view(text).substr(first, last + 1 - first));
    if (!read) {
        std::fprintf(stderr,
                     "korvana-cli: --secret-file: в %s не секрет: нужны ровно 64 шестнадцатеричные "
                     "цифры, вокруг них лишь пробелы и перевод строки\n",
                     shown.c_str());
        return ExitFileFailed;
    }
    secret = *read;
    return ExitDone;
}

bool ReadSecretOptions(const TArguments& arguments, std::optional<TSecret>& secret,
                       std::string& fromFile) {
    fromFile = arguments.Text(kSecretFileOption);
    if (arguments.Has(kSecretOption) && arguments.Has(kSecretFileOption)) {
        ComplainUsage("--secret и --secret-file дают один секрет: нужен один из них");
        return false;
    }
    if (arguments.Has(kSecretOption)) {
        secret = ReadSecret(arguments.Text(kSecretOption));
        if (!secret) {
            ComplainUsage("--secret: секрет — это ровно 64 шестнадцатеричные цифры");
            return false;
        }
    }
    return true;
}

bool ReadDelayedOption(const TArguments& arguments, std::optional<std::string>& delayed) {
    if (!arguments.Has(kDelayedOption)) return true;
    const std::string text = arguments.Text(kDelayedOption);
    for (std::size_t at = 0; at < text.size(); at += ReadUtf8(text, at).Length) {
        if (!ReadUtf8(text, at).WellFormed) {
            ComplainUsage("--delayed: текст не в UTF-8: раздачи по нему не повторить");
            return false;
        }
    }
    delayed = text;
    return true;
}

bool ReadRunOptions(const TArguments& arguments, int32_t defaultCount, TRunOptions& options) {
    options.Key = static_cast<int32_t>(arguments.Number(kKeyOption, 0));
    options.KeyGiven = arguments.Has(kKeyOption);
    if (!ReadSecretOptions(arguments, options.Secret, options.SecretFile) ||
        !ReadDelayedOption(arguments, options.Delayed))
        return false;
    if (options.KeyGiven && (options.Secret || !options.SecretFile.empty())) {
        ComplainUsage("--key раздаёт по ключу, секрет здесь не к чему");
        return false;
    }
    if (options.KeyGiven && options.Delayed) {
        ComplainUsage("--delayed идёт к надёжной раздаче, а --key раздаёт по ключу");
        return false;
    }
    if (arguments.Has(kDealingOption) && !options.KeyGiven) {
        ComplainUsage("--dealing выбирает способ раздачи по ключу и требует --key");
        return false;
    }
    options.Count = static_cast<int32_t>(arguments.Number(kCountOption, defaultCount));
    options.Condition = ConditionSource(arguments);
    options.MaxDealt = arguments.Number(kMaxDealtOption, 0);
    options.Quiet = arguments.Has(kQuietOption);
    options.Threads = static_cast<int32_t>(arguments.Number(kThreadsOption, 0));
    options.Fixed = arguments.Text(kFixedOption);
    options.Directed = arguments.Has(kDirectedOption);
    const std::pair<const char*, TDealingPath> ways[] = {{"fastest", TDealingPath::Fastest},
                                                         {"one", TDealingPath::OneByOne},
                                                         {"portable", TDealingPath::Portable},
                                                         {"vector", TDealingPath::Vector}};
    for (const auto& [name, path] : ways)
        if (arguments.Text(kDealingOption) == name) options.Dealing = path;
    if (options.Dealing == TDealingPath::Vector && !VectorDealingAvailable()) {
        ComplainUsage("--dealing vector: у этого процессора нет AVX2");
        return false;
    }
    return true;
}

TStopSignals::TStopSignals() {
    // A stop asked while an enclosing object lives stays asked.
    struct sigaction current = {};
    sigaction(SIGINT, nullptr, &current);
    if (current.sa_handler != OnInterrupt) interrupted.store(0);
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    static_assert(std::size(StopSignalNumbers) == 3);
    for (std::size_t i = 0; i < std::size(StopSignalNumbers); ++i)
        sigaction(StopSignalNumbers[i], &action, &previous_[i]);
    // A reader of stdout that has gone is a write error, not the program's end.
    action.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &action, &previous_[3]);
}

TStopSignals::~TStopSignals() {
    for (std::size_t i = 0; i < std::size(StopSignalNumbers); ++i)
        sigaction(StopSignalNumbers[i], &previous_[i], nullptr);
    sigaction(SIGPIPE, &previous_[3], nullptr);
}

int TStopSignals::Signal() const { return interrupted.load(); }

int TStopSignals::ExitCode(int signal) {
    return signal == SIGINT ? ExitInterrupted : signal == SIGTERM ? ExitTerminated : ExitHungUp;
}

int RunDealing(const TRunOptions& options, TDeals& deals,
               const std::function<bool(const TRunTick&)>& tick, TRunResult& result) {
    TGeneratorInputs inputs;
    const TFixedCardsReading fixed = ReadFixedCards(options.Fixed);
    if (!fixed.Error.empty()) {
        std::fprintf(stderr, "korvana-cli: --fixed: %s\n", fixed.Error.c_str());
        return ExitConditionError;
    }
    inputs.FixedCards = fixed.Cards;
    if (!ReadConditionLines(options.Condition, inputs.ConditionLines)) return ExitFileFailed;
    std::unique_ptr<TRuleList> rules = CreateConditionRules();
    inputs.Rules = rules.get();
    TRandomSource random;
    inputs.Source = &random;
    inputs.Secret = options.Secret;
    if (!options.SecretFile.empty()) {
        inputs.Secret.emplace();
        if (const int code = ReadSecretFile(options.SecretFile, *inputs.Secret); code != ExitDone)
            return code;
    }
    if (!options.KeyGiven && !inputs.Secret) {
        inputs.Secret = NewSecret();
        if (!inputs.Secret) {
            std::fprintf(stderr, "korvana-cli: система не дала случайных чисел для секрета: %s\n",
                         std::strerror(errno));
            return ExitFileFailed;
        }
    }
    result.Secure = inputs.Secret.has_value();
    // The secret is printed; the run deals from the key it makes with the text.
    const std::optional<TSecret> secret = inputs.Secret;
    if (inputs.Secret && options.Delayed) inputs.Secret = DelayedSecret(*secret, *options.Delayed);
    result.Delayed = inputs.Secret && options.Delayed;
    inputs.RequestedTotal = options.Count;
    inputs.MaxDealt = options.MaxDealt;
    inputs.ThreadCount = options.Threads;
    inputs.Dealing = options.Dealing;
    inputs.BlockSize = options.BlockSize;
    inputs.Directed = options.Directed;
    result.Directed = options.Directed;

    TCliOwner owner;
    TGenerator generator(owner, deals, inputs);
    if (!PrepareConditionOrReport(generator, inputs.ConditionLines)) return ExitConditionError;
    // The first line of stderr names what repeats this run: the secret, or the
    // clock's seed; a key given on the command line is known already.
    if (secret) {
        if (options.ShowSecret)
            std::fprintf(stderr, "secret %s\ncommitment %s\n", SecretText(*secret).c_str(),
                         SecretText(SecretCommitment(*secret)).c_str());
    } else {
        random.SetSeed(options.Key);
        result.RepeatKey = static_cast<int32_t>(random.Seed());  // the key itself, or the clock's
        if (options.Key == 0) std::fprintf(stderr, "seed %d\n", static_cast<int>(result.RepeatKey));
    }
    std::fflush(stderr);
    const int32_t asked = options.Threads > 0
                              ? options.Threads
                              : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    if (generator.ThreadCount() < asked) {
        std::fprintf(stderr, "условие велико: потоков %d вместо %d\n",
                     static_cast<int>(generator.ThreadCount()), static_cast<int>(asked));
    }

    result.Plan = generator.DirectedPlan();
    // Bounds that leave a hand under one in a hundred: directed dealing
    // would keep such deals many times faster.
    if (!options.Directed && !options.Quiet && result.Plan.Share > 0 &&
        result.Plan.Share < HintShare) {
        std::fprintf(stderr,
                     "условию отвечает лишь доля %s рук %s: с --directed раздачи отбираются "
                     "быстрее\n",
                     ShareText(result.Plan.Share).c_str(),
                     std::string(SeatChar(result.Plan.Seat)).c_str());
    }
    std::fflush(stderr);

    TStopSignals signals;

    TRunTick state;
    state.Start = std::chrono::steady_clock::now();
    generator.Start();
    bool stopping = false;
    // At most ten ticks a second.
    while (!owner.WaitFinished(std::chrono::milliseconds(100))) {
        if (signals.Signal() != 0 && result.StopSignal == 0) result.StopSignal = signals.Signal();
        state.Kept = owner.Kept();
        state.Dealt = owner.Dealt();
        state.StopSignal = result.StopSignal;
        const bool goOn = !tick || tick(state);
        if ((result.StopSignal != 0 || !goOn) && !stopping) {
            stopping = true;
            generator.Terminate();
        }
    }
    generator.Wait();
    if (signals.Signal() != 0 && result.StopSignal == 0) result.StopSignal = signals.Signal();
    result.Kept = owner.Kept();
    result.Dealt = owner.Dealt();
    result.RanOutOfMemory = generator.RanOutOfMemory();
    return ExitDone;
}
