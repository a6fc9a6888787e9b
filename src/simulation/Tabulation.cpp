#include "simulation/Tabulation.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "deals/DealAnalysis.h"
#include "deals/PbnFile.h"
#include "language/Grammar.h"
#include "simulation/internal/Expressions.h"
#include "text/StringFunctions.h"

namespace {

class TTabulationWorker : public TDealStudy::TWorker {
public:
    TTabulationWorker(const std::vector<std::string>& texts, const TRuleList& rules) {
        for (const std::string& text : texts) {
            expressions_.push_back(std::make_unique<TExpression>());
            // Checked when the tabulation was prepared.
            (void)expressions_.back()->Prepare(text, rules);
        }
    }

    TDealOutcome Work(TDeal& deal, const std::atomic<bool>& stop) override {
        TDealOutcome outcome;
        outcome.Fault = DealFault(deal);
        if (!outcome.Fault.empty()) return outcome;
        for (auto& expression : expressions_) {
            if (stop.load()) break;  // an expression may ask the solver
            outcome.Values.push_back(expression->Value(deal));
        }
        return outcome;
    }

private:
    std::vector<std::unique_ptr<TExpression>> expressions_;
};

std::string RightPadded(std::string_view text, int32_t width) {
    std::string padded;
    for (int32_t n = CharCount(text); n < width; ++n) padded += ' ';
    return padded + std::string(text);
}

std::string Percent(double part, double whole) {
    return DecimalText(whole > 0 ? 100.0 * part / whole : 0.0, 1);
}

}  // namespace

TTabulation::TTabulation() = default;
TTabulation::~TTabulation() = default;

TStatus TTabulation::Prepare(std::vector<std::string> expressions, bool cross) {
    const auto count = static_cast<int32_t>(expressions.size());
    if (count < 1 || count > MaxExpressions)
        return TStatus::Usage(count < 1 ? "задайте хотя бы одно выражение"
                                        : "выражений можно задать не больше четырёх, а задано " +
                                              std::to_string(count),
                              "--expression");
    rules_ = CreateConditionRules();
    boolean_.clear();
    for (int32_t i = 0; i < count; ++i) {
        TExpression expression;
        TStatus status = expression.Prepare(expressions[static_cast<std::size_t>(i)], *rules_);
        if (!status.IsOk()) return std::move(status.SetWhere("выражение " + std::to_string(i + 1)));
        boolean_.push_back(expression.IsBoolean());
    }
    if (cross && (count < 2 || boolean_[0] || boolean_[1]))
        return TStatus::Usage(
            "таблица строится по первым двум выражениям, и оба должны быть целыми", "--cross");
    expressions_ = std::move(expressions);
    cross_ = cross;
    counts_.assign(expressions_.size(), {});
    sums_.assign(expressions_.size(), {});
    crossed_.clear();
    counted_ = refused_ = 0;
    return TStatus::Ok();
}

std::unique_ptr<TDealStudy::TWorker> TTabulation::NewWorker() const {
    return std::make_unique<TTabulationWorker>(expressions_, *rules_);
}

std::string TTabulation::CsvHeader() const { return "board,deal,expression,value"; }

void TTabulation::Take(int64_t board, const TDeal& deal, const TDealOutcome& outcome,
                       std::vector<std::string>* rows) {
    if (!outcome.Fault.empty() || outcome.Values.size() != expressions_.size()) {
        ++refused_;
        return;
    }
    ++counted_;
    const std::string dealText = rows != nullptr ? PbnDealValue(deal, 1) : std::string();
    for (std::size_t i = 0; i < expressions_.size(); ++i) {
        const int32_t value = outcome.Values[i];
        ++counts_[i][value];
        sums_[i].Add(value);
        if (rows != nullptr)
            rows->push_back(std::to_string(board) + "," + CsvField(dealText) + "," +
                            CsvField(expressions_[i]) + "," + std::to_string(value));
    }
    if (cross_) ++crossed_[{outcome.Values[0], outcome.Values[1]}];
}

std::vector<std::string> TTabulation::ReportLines() const {
    std::vector<std::string> lines;
    lines.push_back("Распределение: раздач " + std::to_string(counted_) + ".");
    if (refused_ > 0)
        lines.push_back("Не разобрано раздач (повреждены): " + std::to_string(refused_) + ".");
    const auto total = static_cast<double>(counted_);
    for (std::size_t i = 0; i < expressions_.size(); ++i) {
        lines.push_back("");
        lines.push_back(expressions_[i]);
        if (boolean_[i]) {
            const auto yes = static_cast<double>(counts_[i].count(1) ? counts_[i].at(1) : 0);
            const double share = total > 0 ? yes / total : 0.0;
            const double error = total > 0 ? std::sqrt(share * (1 - share) / total) : 0.0;
            lines.push_back("  Истина: " + DecimalText(100 * share, 1) + "% ± " +
                            DecimalText(100 * error, 1) + "% (" +
                            std::to_string(static_cast<int64_t>(yes)) + " из " +
                            std::to_string(counted_) + ")");
            continue;
        }
        lines.push_back("  " + PaddedText("Значение", 10) + RightPadded("Раздач", 10) +
                        RightPadded("%", 8) + RightPadded("Накоплено, %", 14));
        int64_t cumulative = 0;
        for (const auto& [value, count] : counts_[i]) {
            cumulative += count;
            lines.push_back("  " + PaddedText(std::to_string(value), 10) +
                            RightPadded(std::to_string(count), 10) +
                            RightPadded(Percent(static_cast<double>(count), total), 8) +
                            RightPadded(Percent(static_cast<double>(cumulative), total), 14));
        }
        lines.push_back("  Среднее: " + DecimalText(sums_[i].Mean(), 2) +
                        ", стандартное отклонение: " + DecimalText(sums_[i].Deviation(), 2));
    }
    if (cross_ && counted_ > 0) {
        lines.push_back("");
        lines.push_back("Таблица: строки — " + expressions_[0] + ", столбцы — " + expressions_[1] +
                        " (число раздач)");
        std::set<int32_t> columns;
        for (const auto& [value, count] : counts_[1]) columns.insert(value);
        std::string header = "  " + PaddedText("", 8);
        for (int32_t column : columns) header += RightPadded(std::to_string(column), 8);
        lines.push_back(header);
        for (const auto& [row, rowCount] : counts_[0]) {
            std::string line = "  " + PaddedText(std::to_string(row), 8);
            for (int32_t column : columns) {
                const auto found = crossed_.find({row, column});
                line +=
                    RightPadded(found == crossed_.end() ? "." : std::to_string(found->second), 8);
            }
            lines.push_back(line);
        }
    }
    return lines;
}
