#pragma once
// What a front end drives: the deal collection, the grammar's rules, the
// program's one random source and at most one generator run at a time. The
// desktop program keeps one controller and is a view of it; everything here
// is called on the front end's own thread.
#include <cstdint>
#include <memory>

#include "deals/DealCollection.h"
#include "deals/RandomSource.h"
#include "engine/Generator.h"
#include "language/Grammar.h"
#include "text/Status.h"

class TRunController {
public:
    TRunController();
    // Stops a run that is still going and waits for it.
    ~TRunController();
    TRunController(const TRunController&) = delete;
    TRunController& operator=(const TRunController&) = delete;

    TDeals& Deals() { return *deals_; }
    const TRuleList& Rules() const { return *rules_; }
    // The one random source: the key value seeds it, runs deal from it.
    TRandomSource& Random() { return random_; }

    // Prepares a run of `inputs` (its rules and source are this controller's)
    // whose requests will go to `owner`. Nothing is prepared after a refusal:
    // a Busy status while another run exists; a Condition status when the
    // condition was refused, whose message already went to the message sink
    // (the language shows its first error itself), so the status holds only
    // the position where the caret belongs, as ErrorPosition() does.
    TStatus Prepare(TGeneratorInputs inputs, TGeneratorOwner& owner);
    int32_t ErrorPosition() const { return errorPosition_; }
    // Starts the prepared run.
    void Start();
    // Asks the run to stop before its next deal; returns at once.
    void Stop();
    // Stops a run that is still going, waits for its end and releases it.
    void Reclaim();
    bool HasRun() const { return generator_ != nullptr; }
    // Whether the run ended because memory ran out (see TGenerator).
    bool RanOutOfMemory() const { return generator_ && generator_->RanOutOfMemory(); }

private:
    std::unique_ptr<TDeals> deals_;
    std::unique_ptr<TRuleList> rules_;
    TRandomSource random_;
    std::unique_ptr<TGenerator> generator_;
    int32_t errorPosition_ = 0;
};
