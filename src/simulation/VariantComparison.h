#pragma once
// Comparing variants ("Сравнение вариантов"): on each deal every variant's
// first rule that holds gives its contract, the declarer's double-dummy
// tricks give its score for North-South, and the variants are compared in
// IMPs and matchpoints. Only the tricks the chosen contracts need are solved.
#include <memory>
#include <vector>

#include "language/ParseTree.h"
#include "simulation/DealStudy.h"
#include "simulation/Variants.h"

class TVariantComparison : public TDealStudy {
public:
    // Checks the number of variants (2..8, a Usage status) and the conditions
    // of the rules with the condition language (a Condition status with the
    // position in the rule's condition): nothing may run after a refusal.
    // The language's message comes back in the status only; the installed
    // message sink hears nothing. For a rule's condition, TextStart() and
    // Line() place it in the variants text the rule was read from.
    TStatus Prepare(std::vector<TVariant> variants, TVulnerability vulnerability);

    std::unique_ptr<TWorker> NewWorker() const override;
    void Take(int64_t board, const TDeal& deal, const TDealOutcome& outcome,
              std::vector<std::string>* rows) override;
    // "board,deal,variant,contract,declarer,tricks,score"
    std::string CsvHeader() const override;
    std::vector<std::string> ReportLines() const override;

    const std::vector<TVariant>& Variants() const { return variants_; }

private:
    struct TVariantTotals {
        std::vector<int64_t> Chosen;  // per rule
        std::vector<int64_t> Made;    // per rule
        TMeanSum Score;
    };
    std::vector<TVariant> variants_;
    TVulnerability vulnerability_ = TVulnerability::None;
    std::unique_ptr<TRuleList> rules_;
    std::vector<TVariantTotals> totals_;
    std::vector<TMeanSum> imps_;         // [row * variants + column]
    std::vector<TMeanSum> matchpoints_;  // the same, 0..1
};
