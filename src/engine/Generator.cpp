#include "engine/Generator.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "deals/Deal.h"
#include "deals/DealBatch.h"
#include "deals/DealCollection.h"
#include "deals/DirectedDraw.h"
#include "deals/RandomSource.h"
#include "engine/internal/GeneratorRun.h"
#include "language/HandBounds.h"

struct TGenerator::TState {
    TState(TGeneratorOwner& owner, TDeals& deals, TGeneratorInputs inputs)
        : Owner(owner), Deals(deals), Inputs(std::move(inputs)) {}

    TGeneratorOwner& Owner;
    TDeals& Deals;
    TGeneratorInputs Inputs;

    std::string ConditionText;
    // One prepared condition per thread that tests deals; empty when the
    // condition is empty (every deal is kept).
    std::vector<std::unique_ptr<TCompiledCondition>> Conditions;
    int32_t StartCount = 0;
    int32_t ErrorPosition = 0;
    int32_t Threads = 1;  // the threads the run deals on, once prepared
    bool Prepared = false;
    TDirectedPlan Plan;
    std::unique_ptr<TDirectedDraw> Draw;  // the directed run's draw, else null

    std::atomic<bool> Terminated{false};
    std::atomic<bool> OutOfMemory{false};
    std::thread Worker;

    void Execute();
    void PlanDirected();
    void ExecuteSerial(TRunCounters& counters);
    void ExecuteSecureSerial(TRunCounters& counters, TSecureDealer& dealer);
};

TGenerator::TGenerator(TGeneratorOwner& owner, TDeals& deals, TGeneratorInputs inputs)
    : state_(std::make_unique<TState>(owner, deals, std::move(inputs))) {}

TGenerator::~TGenerator() {
    Terminate();
    Wait();
}

namespace {
// Each thread prepares its own copy of the condition, some two hundred times
// the size of its text; the copies together keep within the text of this
// budget, so a large condition runs on fewer threads instead of filling the
// memory (and spending seconds on copies before the first deal).
constexpr size_t ConditionTextBudget = size_t(1) << 20;

int32_t ThreadsForCondition(int32_t threads, size_t textSize) {
    if (textSize == 0) return threads;
    return std::clamp(static_cast<int32_t>(std::min<size_t>(ConditionTextBudget / textSize, 1024)),
                      1, threads);
}
}  // namespace

int32_t GeneratorThreadCount(int32_t requested) {
    if (requested > 0) return requested;
    unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int32_t>(cores);
}

bool TGenerator::PrepareCondition() {
    TState& s = *state_;
    s.Conditions.clear();
    s.Prepared = false;
    s.ConditionText.clear();
    for (const std::string& line : s.Inputs.ConditionLines) s.ConditionText += line;
    s.StartCount = s.Deals.Count();
    if (s.Inputs.Source == nullptr && !s.Inputs.Secret) return false;
    s.Threads =
        ThreadsForCondition(GeneratorThreadCount(s.Inputs.ThreadCount), s.ConditionText.size());
    if (s.ConditionText.empty()) {
        s.Prepared = true;
        return true;
    }
    if (s.Inputs.Rules == nullptr) return false;

    // The first copy does the check and reports; the others are built from a
    // text that is known to pass, one for each thread that tests deals, since
    // evaluating a tree writes into its nodes.
    auto first = std::make_unique<TCompiledCondition>();
    if (!first->Prepare(s.ConditionText, *s.Inputs.Rules)) {
        s.ErrorPosition = first->ErrorPosition();
        return false;
    }
    s.Conditions.push_back(std::move(first));
    for (int32_t i = 1; i < s.Threads; ++i) {
        auto copy = std::make_unique<TCompiledCondition>();
        if (!copy->Prepare(s.ConditionText, *s.Inputs.Rules)) {
            s.ErrorPosition = copy->ErrorPosition();
            s.Conditions.clear();
            return false;
        }
        s.Conditions.push_back(std::move(copy));
    }
    s.PlanDirected();
    s.Prepared = true;
    return true;
}

// Bounds the condition, finds the seat they leave the fewest hands to, and,
// when asked and worth it, makes that seat's draw.
void TGenerator::TState::PlanDirected() {
    Plan = TDirectedPlan{};
    Draw.reset();
    const TNonTerminal* root = Conditions.front()->Root();
    if (root == nullptr) return;
    const std::array<THandBounds, 4> bounds = ConditionBounds(*root);
    for (int32_t seat = 1; seat <= 4; ++seat) {
        const THandBounds& hand = bounds[static_cast<std::size_t>(seat - 1)];
        if (hand.Unbounded()) continue;
        auto draw = std::make_unique<TDirectedDraw>(seat, hand, Inputs.FixedCards);
        if (Plan.Seat != 0 && draw->Share() >= Plan.Share) continue;
        Plan.Seat = seat;
        Plan.Share = draw->Share();
        Draw = std::move(draw);
    }
    if (Draw != nullptr && Inputs.Directed && Plan.Share <= TDirectedPlan::MostShare)
        Draw->Prepare();
    Plan.Directed = Draw != nullptr && Draw->Drawable();
    if (!Plan.Directed) Draw.reset();
}

double ConditionFrequency(const TDirectedPlan& plan, int32_t kept, int64_t dealt) {
    if (dealt <= 0) return 0;
    return (plan.Directed ? plan.Share : 1.0) * static_cast<double>(kept) /
           static_cast<double>(dealt);
}

std::string ShareText(double share) {
    if (!(share > 0)) return "0";
    int exponent = static_cast<int>(std::floor(std::log10(share)));
    double digits = std::round(share / std::pow(10.0, exponent) * 10) / 10;  // 1,0 .. 9,9
    if (digits >= 10) {
        digits /= 10;
        ++exponent;
    }
    std::string text;
    if (exponent >= -2) {  // 0,012 .. 1
        const int decimals = std::max(1 - exponent, 0);
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, digits * std::pow(10.0, exponent));
        text = buffer;
    } else {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.1f", digits);
        text = buffer;
        text += "·10⁻";
        static constexpr const char* Superscripts[] = {"⁰", "¹", "²", "³", "⁴",
                                                       "⁵", "⁶", "⁷", "⁸", "⁹"};
        for (char digit : std::to_string(-exponent)) text += Superscripts[digit - '0'];
    }
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

bool TGenerator::RanOutOfMemory() const {
    return state_->OutOfMemory.load(std::memory_order_relaxed);
}

int32_t TGenerator::ErrorPosition() const { return state_->ErrorPosition; }

int32_t TGenerator::ThreadCount() const { return state_->Threads; }

const TDirectedPlan& TGenerator::DirectedPlan() const { return state_->Plan; }

void TGenerator::Start() {
    TState& s = *state_;
    if (!s.Prepared || s.Worker.joinable()) return;
    try {
        s.Worker = std::thread([&s] { s.Execute(); });
    } catch (const std::system_error&) {
        // No thread for the run (no memory for its stack): the run ends at
        // once as one that ran out of memory, its requests made from here.
        s.Conditions.clear();
        s.OutOfMemory.store(true, std::memory_order_relaxed);
        s.Owner.ReportProgress(0, 0);
        s.Owner.GenerationFinished(0, s.StartCount);
    }
}

void TGenerator::Terminate() { state_->Terminated.store(true, std::memory_order_relaxed); }

void TGenerator::Wait() {
    if (state_->Worker.joinable()) state_->Worker.join();
}

// --- The run ------------------------------------------------------------------

bool TProgressPacer::Due() {
    auto now = std::chrono::steady_clock::now();
    if (now - last_ < Interval) return false;
    last_ = now;
    return true;
}

void TGenerator::TState::Execute() {
    TRunCounters counters;
    counters.Total = Inputs.RequestedTotal;
    counters.MaxDealt = Inputs.MaxDealt;
    const int32_t threads = Threads;
    const TSecret* secret = Inputs.Secret ? &*Inputs.Secret : nullptr;
    if (threads <= 1) {
        if (secret != nullptr) {
            TSecureDealer dealer(*secret);
            ExecuteSecureSerial(counters, dealer);
        } else {
            ExecuteSerial(counters);
        }
    } else {
        TParallelRun run{Owner,
                         Deals,
                         Conditions,
                         Terminated,
                         Inputs.AnySeatShown,
                         threads,
                         secret != nullptr ? nullptr : Inputs.Source,
                         secret,
                         Inputs.FixedCards,
                         Inputs.Dealing,
                         Draw.get(),
                         Inputs.BlockSize};
        run.Execute(counters);
    }
    Conditions.clear();
    OutOfMemory.store(counters.OutOfMemory, std::memory_order_relaxed);
    Owner.ReportProgress(counters.Kept, counters.Dealt);
    Owner.GenerationFinished(counters.Kept, StartCount);
}

// One deal after another from the shared random source. A rejected deal stays
// the spare and is dealt again; a kept one is copied into the collection, so
// the same spare serves the whole run and a pass allocates nothing.
// The seed is dealt from a local copy and written back to the shared source
// with a compare-and-swap when a deal is kept, every 256 deals and at the end;
// a reseed from outside shows as a shared seed that differs from the last one
// written, and the next deal starts from it, as at any deal boundary.
void TGenerator::TState::ExecuteSerial(TRunCounters& counters) {
    TCompiledCondition* condition = Conditions.empty() ? nullptr : Conditions.front().get();
    bool showLive = Inputs.AnySeatShown;
    TDeal spare;
    // Without fixed cards the deals come eight at a time as card sets, and
    // only a kept one is written out as card places.
    const bool dealSets = Inputs.FixedCards.Empty() && Inputs.Dealing != TDealingPath::OneByOne;
    TDealStream stream(Inputs.Dealing);
    TCardSets drawn;
    TProgressPacer pacer;
    TRandomSource& source = *Inputs.Source;
    uint32_t written = source.Seed();
    uint32_t seed = written;
    auto writeBack = [&] {
        if (source.CommitSeed(written, seed)) written = seed;
    };
    while (counters.Kept < counters.Total && !Terminated.load(std::memory_order_relaxed) &&
           (counters.MaxDealt <= 0 || counters.Dealt < counters.MaxDealt)) {
        uint32_t shared = source.Seed();
        if (shared != written) written = seed = shared;  // reseeded from outside
        bool lastKept;
        if (Draw != nullptr) {
            Draw->Deal(seed, drawn);
            lastKept = condition->Matches(drawn);
            if (lastKept) spare.SetCardSets(drawn);
        } else if (dealSets) {
            const TCardSets& sets = stream.Next(seed);
            lastKept = condition == nullptr || condition->Matches(sets);
            if (lastKept) spare.SetCardSets(sets);
        } else {
            spare.DealFromSeed(seed, Inputs.FixedCards);
            lastKept = condition == nullptr || condition->Matches(spare);
        }
        if (lastKept) {
            writeBack();
            if (Deals.TryAdd(spare) == nullptr) {
                counters.OutOfMemory = true;
                break;
            }
            ++counters.Kept;
            if (showLive) Owner.ShowDeal(Deals.Count() - 1);
        }
        ++counters.Dealt;
        if ((counters.Dealt & TProgressPacer::CheckMask) == 0) {
            writeBack();
            if (pacer.Due()) Owner.ReportProgress(counters.Kept, counters.Dealt);
        }
    }
    writeBack();
}

// Deal after deal of the secret, each from its own index, as card sets; a
// kept one is copied into the collection through the one spare deal.
void TGenerator::TState::ExecuteSecureSerial(TRunCounters& counters, TSecureDealer& dealer) {
    TCompiledCondition* condition = Conditions.empty() ? nullptr : Conditions.front().get();
    TCardSets sets;
    TDeal spare;
    TProgressPacer pacer;
    while (counters.Kept < counters.Total && !Terminated.load(std::memory_order_relaxed) &&
           (counters.MaxDealt <= 0 || counters.Dealt < counters.MaxDealt)) {
        if (Draw != nullptr)
            Draw->DealSecure(*Inputs.Secret, static_cast<uint64_t>(counters.Dealt), sets);
        else
            dealer.Deal(static_cast<uint64_t>(counters.Dealt), Inputs.FixedCards, sets);
        if (condition == nullptr || condition->Matches(sets)) {
            spare.SetCardSets(sets);
            if (Deals.TryAdd(spare) == nullptr) {
                counters.OutOfMemory = true;
                break;
            }
            ++counters.Kept;
            if (Inputs.AnySeatShown) Owner.ShowDeal(Deals.Count() - 1);
        }
        ++counters.Dealt;
        if ((counters.Dealt & TProgressPacer::CheckMask) == 0 && pacer.Due())
            Owner.ReportProgress(counters.Kept, counters.Dealt);
    }
}
