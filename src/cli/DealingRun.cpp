#include "cli/DealingRun.h"

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

bool ReadRunOptions(const TArguments& arguments, int32_t defaultCount, TRunOptions& options) {
    options.Key = static_cast<int32_t>(arguments.Number(kKeyOption, 0));
    options.KeyGiven = arguments.Has(kKeyOption);
    if (arguments.Has(kSecretOption)) {
        options.Secret = ReadSecret(arguments.Text(kSecretOption));
        if (!options.Secret) {
            ComplainUsage("--secret: секрет — это ровно 64 шестнадцатеричные цифры");
            return false;
        }
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
    if (!options.KeyGiven && !inputs.Secret) {
        inputs.Secret = NewSecret();
        if (!inputs.Secret) {
            std::fprintf(stderr, "korvana-cli: система не дала случайных чисел для секрета: %s\n",
                         std::strerror(errno));
            return ExitFileFailed;
        }
    }
    result.Secure = inputs.Secret.has_value();
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
    if (inputs.Secret) {
        std::fprintf(stderr, "secret %s\n", SecretText(*inputs.Secret).c_str());
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
