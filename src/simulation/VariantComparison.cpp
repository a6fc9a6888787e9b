#include "simulation/VariantComparison.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "analysis/DoubleDummy.h"
#include "deals/BridgeTerms.h"
#include "deals/PbnFile.h"
#include "language/Grammar.h"
#include "simulation/Contract.h"
#include "simulation/internal/Expressions.h"
#include "text/RussianCount.h"

namespace {

// From this many strain-declarer pairs on one deal a whole table is solved
// instead: a table costs about as much as this many single solves.
constexpr std::size_t TableFromPairs = 6;

// Values of a deal's outcome: for each variant its rule and the declarer's tricks.
constexpr std::size_t PerVariant = 2;

class TComparisonWorker : public TDealStudy::TWorker {
public:
    TComparisonWorker(const std::vector<TVariant>& variants, const TRuleList& rules)
        : variants_(variants) {
        for (const TVariant& variant : variants) {
            conditions_.emplace_back();
            for (const TVariantRule& rule : variant.Rules) {
                conditions_.back().push_back(std::make_unique<TCompiledCondition>());
                // Checked before, when the comparison was prepared.
                if (!rule.Condition.empty())
                    (void)PrepareCondition(*conditions_.back().back(), rule.Condition, rules);
            }
        }
    }

    TDealOutcome Work(TDeal& deal, const std::atomic<bool>& stop) override {
        TDealOutcome outcome;
        outcome.Fault = DealFault(deal);
        if (!outcome.Fault.empty()) return outcome;
        outcome.Values.assign(variants_.size() * PerVariant, -1);
        std::set<std::pair<int32_t, int32_t>> pairs;  // strain, declarer
        for (std::size_t v = 0; v < variants_.size(); ++v) {
            const std::vector<TVariantRule>& rules = variants_[v].Rules;
            std::size_t chosen = rules.size() - 1;
            for (std::size_t r = 0; r + 1 < rules.size(); ++r) {
                if (conditions_[v][r]->Matches(deal)) {
                    chosen = r;
                    break;
                }
            }
            outcome.Values[v * PerVariant] = static_cast<int32_t>(chosen);
            const TContract& contract = rules[chosen].Contract;
            if (!contract.IsPass()) pairs.emplace(contract.Strain, contract.Declarer);
        }
        std::optional<TDealAnalysis> table;
        if (pairs.size() >= TableFromPairs && !stop.load()) {
            table = AnalyseDeal(deal);
            if (!table->Solved) {
                outcome.Fault = table->Fault;
                return outcome;
            }
        }
        for (std::size_t v = 0; v < variants_.size(); ++v) {
            const TContract& contract =
                variants_[v]
                    .Rules[static_cast<std::size_t>(outcome.Values[v * PerVariant])]
                    .Contract;
            if (contract.IsPass()) continue;
            if (stop.load()) return outcome;  // not counted: no solver call starts
            const int32_t tricks =
                table ? table->Table.At(contract.Declarer, contract.Strain)
                      : DoubleDummyTricks(deal, contract.Declarer, contract.Strain);
            if (tricks < 0) {
                outcome.Fault = "решатель не дал числа взяток";
                return outcome;
            }
            outcome.Values[v * PerVariant + 1] = tricks;
        }
        return outcome;
    }

private:
    const std::vector<TVariant>& variants_;
    std::vector<std::vector<std::unique_ptr<TCompiledCondition>>> conditions_;
};

// Text padded with blanks to `width` characters (UTF-8 counted by characters).

std::string Percent(int64_t part, int64_t whole) {
    return whole > 0
               ? DecimalText(100.0 * static_cast<double>(part) / static_cast<double>(whole), 1) +
                     "%"
               : "—";
}

}  // namespace

TStatus TVariantComparison::Prepare(std::vector<TVariant> variants, TVulnerability vulnerability) {
    const auto count = static_cast<int32_t>(variants.size());
    if (count < MinVariants || count > MaxVariants)
        return TStatus::Usage(
            count < MinVariants
                ? "для сравнения нужно хотя бы два варианта, а задано " + std::to_string(count)
                : "вариантов можно задать не больше восьми, а задано " + std::to_string(count));
    rules_ = CreateConditionRules();
    for (const TVariant& variant : variants) {
        for (std::size_t r = 0; r < variant.Rules.size(); ++r) {
            const TVariantRule& rule = variant.Rules[r];
            if (rule.Condition.empty()) continue;
            TCompiledCondition condition;
            TStatus status = PrepareCondition(condition, rule.Condition, *rules_);
            if (!status.IsOk()) {
                status.SetWhere("вариант «" + variant.Name + "», правило " + std::to_string(r + 1))
                    .SetTextStart(rule.ConditionStart)
                    .SetLine(rule.Line);
                return status;
            }
        }
    }
    variants_ = std::move(variants);
    vulnerability_ = vulnerability;
    totals_.assign(variants_.size(), {});
    for (std::size_t v = 0; v < variants_.size(); ++v) {
        totals_[v].Chosen.assign(variants_[v].Rules.size(), 0);
        totals_[v].Made.assign(variants_[v].Rules.size(), 0);
    }
    imps_.assign(variants_.size() * variants_.size(), {});
    matchpoints_.assign(variants_.size() * variants_.size(), {});
    counted_ = refused_ = 0;
    return TStatus::Ok();
}

std::unique_ptr<TDealStudy::TWorker> TVariantComparison::NewWorker() const {
    return std::make_unique<TComparisonWorker>(variants_, *rules_);
}

std::string TVariantComparison::CsvHeader() const {
    return "board,deal,variant,contract,declarer,tricks,score";
}

void TVariantComparison::Take(int64_t board, const TDeal& deal, const TDealOutcome& outcome,
                              std::vector<std::string>* rows) {
    if (!outcome.Fault.empty()) {
        ++refused_;
        return;
    }
    ++counted_;
    const std::size_t count = variants_.size();
    std::vector<int32_t> scores(count);
    const std::string dealText = rows != nullptr ? PbnDealValue(deal, 1) : std::string();
    for (std::size_t v = 0; v < count; ++v) {
        const auto r = static_cast<std::size_t>(outcome.Values[v * PerVariant]);
        const int32_t tricks = outcome.Values[v * PerVariant + 1];
        const TContract& contract = variants_[v].Rules[r].Contract;
        scores[v] = NorthSouthScore(contract, vulnerability_, tricks);
        ++totals_[v].Chosen[r];
        if (!contract.IsPass() && tricks >= contract.TricksNeeded()) ++totals_[v].Made[r];
        totals_[v].Score.Add(scores[v]);
        if (rows == nullptr) continue;
        const bool pass = contract.IsPass();
        rows->push_back(
            std::to_string(board) + "," + CsvField(dealText) + "," + CsvField(variants_[v].Name) +
            "," + ContractName(contract) + "," + std::string(SeatChar(contract.Declarer)) + "," +
            (pass ? std::string() : std::to_string(tricks)) + "," + std::to_string(scores[v]));
    }
    for (std::size_t row = 0; row < count; ++row) {
        for (std::size_t column = 0; column < count; ++column) {
            if (row == column) continue;
            imps_[row * count + column].Add(Imps(scores[row] - scores[column]));
            matchpoints_[row * count + column].Add(Matchpoints(scores[row], scores[column]));
        }
    }
}

std::vector<std::string> TVariantComparison::ReportLines() const {
    std::vector<std::string> lines;
    const std::size_t count = variants_.size();
    lines.push_back(
        "Сравнение вариантов: " + RussianCount(counted_, "раздача", "раздачи", "раздач") + ", " +
        std::string(VulnerabilityCaption(vulnerability_)) + ", счёт записан за линию N-S.");
    if (refused_ > 0)
        lines.push_back("Не разобрано раздач (повреждены или отказ решателя): " +
                        std::to_string(refused_) + ".");
    for (std::size_t v = 0; v < count; ++v) {
        const TVariant& variant = variants_[v];
        lines.push_back("");
        lines.push_back("Вариант «" + variant.Name + "»");
        lines.push_back("  " + PaddedText("Контракт", 10) + PaddedText("Выбран", 18) + "Выполнен");
        // A contract that several rules give is counted on one line.
        std::vector<std::string> seen;
        for (std::size_t r = 0; r < variant.Rules.size(); ++r) {
            const std::string name = ContractWithDeclarer(variant.Rules[r].Contract);
            if (std::find(seen.begin(), seen.end(), name) != seen.end()) continue;
            seen.push_back(name);
            int64_t chosen = 0, made = 0;
            for (std::size_t other = r; other < variant.Rules.size(); ++other) {
                if (ContractWithDeclarer(variant.Rules[other].Contract) != name) continue;
                chosen += totals_[v].Chosen[other];
                made += totals_[v].Made[other];
            }
            const std::string madeText =
                variant.Rules[r].Contract.IsPass()
                    ? "—"
                    : std::to_string(made) + " (" + Percent(made, chosen) + ")";
            lines.push_back(
                "  " + PaddedText(name, 10) +
                PaddedText(std::to_string(chosen) + " (" + Percent(chosen, counted_) + ")", 18) +
                madeText);
        }
        const TMeanSum& score = totals_[v].Score;
        lines.push_back("  Средний счёт: " + SignedDecimalText(score.Mean(), 1) + " ± " +
                        DecimalText(score.StandardError(), 1));
    }

    // The cross tables: the row against the column.
    int32_t width = 12;
    for (const TVariant& variant : variants_) width = std::max(width, CharCount(variant.Name) + 2);
    auto crossTable = [&](const std::string& caption, const std::vector<TMeanSum>& cells,
                          bool percent) {
        lines.push_back("");
        lines.push_back(caption);
        std::string header = "  " + PaddedText("", width);
        for (const TVariant& variant : variants_) header += PaddedText(variant.Name, width + 4);
        lines.push_back(WithoutTrailingBlanks(header));
        for (std::size_t row = 0; row < count; ++row) {
            std::string line = "  " + PaddedText(variants_[row].Name, width);
            for (std::size_t column = 0; column < count; ++column) {
                const TMeanSum& cell = cells[row * count + column];
                std::string text = "—";
                if (row != column && percent)
                    text = DecimalText(100 * cell.Mean(), 1) + " ± " +
                           DecimalText(100 * cell.StandardError(), 1);
                else if (row != column)
                    text = SignedDecimalText(cell.Mean(), 2) + " ± " +
                           DecimalText(cell.StandardError(), 2);
                line += PaddedText(text, width + 4);
            }
            lines.push_back(WithoutTrailingBlanks(line));
        }
    };
    crossTable("IMP за раздачу, строка против столбца (± стандартная ошибка), раздач: " +
                   std::to_string(counted_),
               imps_, false);
    crossTable("Матчпойнты строки против столбца, % (± стандартная ошибка), раздач: " +
                   std::to_string(counted_),
               matchpoints_, true);

    // The best variant: the highest mean IMPs against the others.
    std::vector<double> meanImps(count, 0.0);
    for (std::size_t row = 0; row < count; ++row) {
        for (std::size_t column = 0; column < count; ++column)
            if (row != column) meanImps[row] += imps_[row * count + column].Mean();
        meanImps[row] /= static_cast<double>(count - 1);
    }
    std::vector<std::size_t> order(count);
    for (std::size_t v = 0; v < count; ++v) order[v] = v;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return meanImps[a] > meanImps[b]; });
    lines.push_back("");
    if (counted_ == 0) {
        lines.push_back("Раздач нет: сравнивать нечего.");
        return lines;
    }
    const std::size_t best = order[0], second = order[1];
    const TMeanSum& lead = imps_[best * count + second];
    lines.push_back("Лучший вариант: «" + variants_[best].Name + "», в среднем " +
                    SignedDecimalText(meanImps[best], 2) + " IMP за раздачу против остальных.");
    const bool significant = lead.Mean() > 2 * lead.StandardError();
    lines.push_back("Против «" + variants_[second].Name + "» он выигрывает " +
                    SignedDecimalText(lead.Mean(), 2) + " ± " +
                    DecimalText(lead.StandardError(), 2) + " IMP за раздачу: " +
                    (significant ? "это больше двух стандартных ошибок, перевес надёжен."
                                 : "это не больше двух стандартных ошибок, перевес может быть "
                                   "случайным."));
    return lines;
}
