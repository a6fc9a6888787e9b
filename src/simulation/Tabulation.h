#pragma once
// Tabulating expressions ("Распределение"): up to four integer or Boolean
// expressions of the condition language over the deals; for an integer each
// value's count and percentages, the mean and deviation; for a Boolean the
// share that is true. Two integer expressions may be crossed in a table.
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "language/ParseTree.h"
#include "simulation/DealStudy.h"
#include "text/Status.h"

inline constexpr int32_t MaxExpressions = 4;

class TTabulation : public TDealStudy {
public:
    TTabulation();
    ~TTabulation() override;
    // Checks each expression with the condition language: an integer or a
    // Boolean (a Condition status, the language's message and its position in
    // the expression, Where "выражение N"); 1..4 expressions, and `cross`
    // needs the first two integer (a Usage status).
    TStatus Prepare(std::vector<std::string> expressions, bool cross);

    std::unique_ptr<TWorker> NewWorker() const override;
    void Take(int64_t board, const TDeal& deal, const TDealOutcome& outcome,
              std::vector<std::string>* rows) override;
    // "board,deal,expression,value"
    std::string CsvHeader() const override;
    std::vector<std::string> ReportLines() const override;

private:
    std::vector<std::string> expressions_;
    std::vector<bool> boolean_;
    bool cross_ = false;
    std::unique_ptr<TRuleList> rules_;
    std::vector<std::map<int32_t, int64_t>> counts_;
    std::vector<TMeanSum> sums_;
    std::map<std::pair<int32_t, int32_t>, int64_t> crossed_;
};
