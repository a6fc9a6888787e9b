#pragma once
// A generator run: deals random deals on a worker thread, keeps those that
// satisfy the condition and appends them to the deal collection, until the
// requested number is kept or the owner asks it to stop. One TGenerator serves
// one run.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "deals/DealBatch.h"
#include "deals/FixedCards.h"
#include "deals/SecureSource.h"

class TDeals;
class TGeneratorOwner;
class TRandomSource;
struct TRuleList;

// What a run reads of its owner (the main window, the command-line program).
// It is read on the owner's thread before the start and holds still during the run.
struct TGeneratorInputs {
    std::vector<std::string> ConditionLines;  // the editor's lines, joined with nothing between
    const TRuleList* Rules = nullptr;         // the grammar's rule set, owned by the owner
    // The program's one random source, which the run deals from and leaves
    // seeded after its last deal; a reseed during the run takes effect at the
    // next deal. Owned by the owner; required unless the run deals securely.
    TRandomSource* Source = nullptr;
    // When given, the run deals securely from this secret and never reads the
    // source: deal i of the run (kept or not, from 0) is the secure deal i.
    std::optional<TSecret> Secret;
    int32_t RequestedTotal = 1;  // seTotal, 1 to 9999999
    bool AnySeatShown = false;   // whether any seat toggle is pressed
    // Stop after this many dealt deals, as STOP would; 0 or less: no limit.
    int64_t MaxDealt = 0;
    // Threads that deal and test; 0: one per core. Any count gives the same
    // kept deals, dealt count and final seed as one thread.
    int32_t ThreadCount = 1;
    // Cards the seats hold in every deal; the run deals only the others.
    TFixedCards FixedCards;
    // How the key's deals are dealt; every path gives the same run.
    TDealingPath Dealing = TDealingPath::Fastest;
    // Draw the most constrained hand directly from the hands that meet the
    // condition's bounds (see TDirectedPlan); the kept deals have the
    // distribution plain dealing gives them, the deals themselves differ.
    bool Directed = false;
    // Deals a thread of a parallel run deals in one go, between commits; 0:
    // the engine's own size. Any size gives the same run; a smaller one holds
    // less memory, as a consumer of the kept deals slower than dealing wants.
    int32_t BlockSize = 0;
};

// What the condition's bounds give a run, known once the condition is prepared.
struct TDirectedPlan {
    // Bounds leaving no more than this share of a hand's deals in make
    // directed dealing pay; with more it costs more than plain dealing saves,
    // and the run deals plainly.
    static constexpr double MostShare = 0.1;
    int32_t Seat = 0;       // the seat whose bounds leave the fewest hands in; 0: none bounded
    double Share = 1;       // the share of that seat's hands that meet its bounds
    bool Directed = false;  // the run draws that seat's hand directly
};

// The frequency of the condition a run measured: the share of deals kept,
// times the bounds' share in a directed run (whose deals all meet them).
double ConditionFrequency(const TDirectedPlan& plan, int32_t kept, int64_t dealt);
// A share as a reader writes it, two digits: "0,35", "0,012", "2,9·10⁻⁵", "0".
std::string ShareText(double share);

// The three requests a run makes. They are called on the worker thread, in
// order; an implementation hands them to its own thread and returns at once
// (the worker never waits for its owner). GenerationFinished comes last.
class TGeneratorOwner {
public:
    virtual ~TGeneratorOwner() = default;
    virtual void ReportProgress(int32_t kept, int64_t dealt) = 0;
    virtual void ShowDeal(int32_t index) = 0;
    virtual void GenerationFinished(int32_t kept, int32_t startCount) = 0;
};

class TGenerator {
public:
    // Created not started; deals are appended to `deals`, requests go to `owner`.
    TGenerator(TGeneratorOwner& owner, TDeals& deals, TGeneratorInputs inputs);
    // Stops a run that is still going and waits for the worker.
    ~TGenerator();
    TGenerator(const TGenerator&) = delete;
    TGenerator& operator=(const TGenerator&) = delete;

    // On the owner's thread, before Start: joins the lines, tokenizes, parses and
    // type-checks. False when the condition has an error: its first message went
    // to the message sink and ErrorPosition() is the character offset into the
    // joined text where the caret belongs. Any error reported during the check
    // refuses the run, whatever the type of the whole condition.
    bool PrepareCondition();
    int32_t ErrorPosition() const;
    // The threads the run deals on once prepared: those asked for, fewer for a
    // condition too large to prepare once for each.
    int32_t ThreadCount() const;
    // The bounds' figures and whether the run deals directed, once prepared.
    const TDirectedPlan& DirectedPlan() const;

    void Start();      // starts the worker; only after PrepareCondition returned true
    void Terminate();  // asks the run to stop before its next deal
    void Wait();       // waits until the worker has ended (GenerationFinished was called)
    // Whether the run ended because the collection could not take another
    // kept deal; the deals kept before stay. Set before GenerationFinished.
    bool RanOutOfMemory() const;

private:
    struct TState;
    std::unique_ptr<TState> state_;
};
