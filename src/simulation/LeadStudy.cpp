#include "simulation/LeadStudy.h"

#include <algorithm>
#include <functional>

#include "analysis/LeadSolver.h"
#include "deals/BridgeTerms.h"
#include "deals/FixedCards.h"
#include "deals/PbnFile.h"
#include "simulation/Contract.h"
#include "text/StringFunctions.h"

namespace {

// Values of a deal's outcome: the defence's tricks after each of the leader's
// cards, then the card each one's group is named by.
class TLeadWorker : public TDealStudy::TWorker {
public:
    TLeadWorker(const TContract& contract, int32_t leader, const std::vector<int32_t>& cards)
        : contract_(contract), leader_(leader), cards_(cards) {}

    TDealOutcome Work(TDeal& deal, const std::atomic<bool>& stop) override {
        TDealOutcome outcome;
        outcome.Fault = DealFault(deal);
        if (!outcome.Fault.empty()) return outcome;
        if (TLeadStudy::LeaderCards(deal, leader_) != cards_) {
            outcome.Fault =
                "у " + std::string(SeatGenitive(leader_)) + " другие карты, чем в первой раздаче";
            return outcome;
        }
        if (stop.load()) return outcome;
        const TLeadResult result = SolveLeads(deal, contract_.Declarer, contract_.Strain);
        if (!result.Solved) {
            outcome.Fault = result.Fault;
            return outcome;
        }
        const std::size_t count = cards_.size();
        outcome.Values.assign(2 * count, -1);
        for (const TLeadTricks& lead : result.Leads) {
            const auto at = std::find(cards_.begin(), cards_.end(), lead.Card);
            if (at == cards_.end()) continue;
            const auto i = static_cast<std::size_t>(at - cards_.begin());
            outcome.Values[i] = lead.DefenceTricks;
            outcome.Values[count + i] = lead.Group;
        }
        if (std::find(outcome.Values.begin(), outcome.Values.end(), -1) != outcome.Values.end())
            outcome.Fault = "решатель не оценил какой-то ход";
        return outcome;
    }

private:
    TContract contract_;
    int32_t leader_;
    std::vector<int32_t> cards_;
};

}  // namespace

std::vector<int32_t> TLeadStudy::LeaderCards(const TDeal& deal, int32_t leader) {
    std::vector<int32_t> cards;
    for (int32_t j = 1; j <= THand::CardsInHand; ++j) cards.push_back(deal.Hand(leader).Card(j));
    std::sort(cards.begin(), cards.end(), std::greater<>());
    return cards;
}

std::string TLeadStudy::CardName(int32_t card) {
    if (!IsCard(card)) return {};
    constexpr std::string_view suits = "CDHS";
    return std::string(1, suits[static_cast<std::size_t>(CardSuit(card) - 1)]) +
           std::string(CardChar(card));
}

namespace {

int32_t LeaderOf(const TContract& contract) { return LeftHandOpponent(contract.Declarer); }

// "Запада (W)": the leader as the messages name him.
std::string LeaderName(int32_t leader) {
    return std::string(SeatGenitive(leader)) + " (" + std::string(SeatChar(leader)) + ")";
}

}  // namespace

TStatus TLeadStudy::CheckContract(const TContract& contract) {
    if (contract.IsPass()) return TStatus::Usage("при пасе первого хода нет", "--contract");
    return TStatus::Ok();
}

TStatus TLeadStudy::Prepare(const TContract& contract, TVulnerability vulnerability,
                            const TFixedCards& fixed) {
    if (TStatus status = CheckContract(contract); !status.IsOk()) return status;
    const int32_t leader = LeaderOf(contract);
    const std::string letter(SeatChar(leader));
    if (fixed.Count(leader) != THand::CardsInHand)
        return TStatus::Usage("ходит " + letter + ": закрепите у " + LeaderName(leader) +
                              " все 13 карт, например --fixed \"" + letter + ":AQ5.K84.J732.T96\"");
    std::vector<int32_t> cards;
    for (int32_t card = 1; card <= 52; ++card)
        if (fixed.SeatOf(card) == leader) cards.push_back(card);
    return TakeCards(contract, vulnerability, std::move(cards));
}

TStatus TLeadStudy::Prepare(const TContract& contract, TVulnerability vulnerability,
                            std::span<const TDeal* const> deals, std::span<const int64_t> numbers) {
    if (TStatus status = CheckContract(contract); !status.IsOk()) return status;
    if (deals.empty()) return TStatus::Usage("нет раздач: сгенерируйте или загрузите их.");
    const int32_t leader = LeaderOf(contract);
    std::vector<int32_t> cards = LeaderCards(*deals.front(), leader);
    for (std::size_t i = 1; i < deals.size(); ++i) {
        if (LeaderCards(*deals[i], leader) == cards) continue;
        const int64_t number = i < numbers.size() ? numbers[i] : static_cast<int64_t>(i + 1);
        return TStatus::Usage("в раздаче " + std::to_string(number) + " у " + LeaderName(leader) +
                              " другие карты, чем в первой: рука ходящего должна быть одна во "
                              "всех раздачах");
    }
    return TakeCards(contract, vulnerability, std::move(cards));
}

TStatus TLeadStudy::TakeCards(const TContract& contract, TVulnerability vulnerability,
                              std::vector<int32_t> cards) {
    std::sort(cards.begin(), cards.end(), std::greater<>());
    const bool whole = cards.size() == static_cast<std::size_t>(Cards) &&
                       std::adjacent_find(cards.begin(), cards.end()) == cards.end() &&
                       std::all_of(cards.begin(), cards.end(), IsCard);
    if (!whole)
        return TStatus::Usage("у ведущего (" + std::string(SeatChar(LeaderOf(contract))) +
                              ") должны быть известны все 13 карт");
    contract_ = contract;
    vulnerability_ = vulnerability;
    cards_ = std::move(cards);
    defence_.fill({});
    set_.fill(0);
    equal_.assign(Cards * Cards, 0);
    imps_.assign(Cards * Cards, {});
    matchpoints_.assign(Cards * Cards, {});
    counted_ = refused_ = 0;
    return TStatus::Ok();
}

std::unique_ptr<TDealStudy::TWorker> TLeadStudy::NewWorker() const {
    return std::make_unique<TLeadWorker>(contract_, Leader(), cards_);
}

std::string TLeadStudy::CsvHeader() const { return "board,deal,lead,defence_tricks"; }

void TLeadStudy::Take(int64_t board, const TDeal& deal, const TDealOutcome& outcome,
                      std::vector<std::string>* rows) {
    if (!outcome.Fault.empty()) {
        ++refused_;
        return;
    }
    ++counted_;
    const bool vulnerable = DeclarerVulnerable(vulnerability_, contract_.Declarer);
    std::array<int32_t, Cards> defenceScore{};
    const std::string dealText = rows != nullptr ? PbnDealValue(deal, 1) : std::string();
    for (std::size_t i = 0; i < Cards; ++i) {
        const int32_t tricks = outcome.Values[i];
        defence_[i].Add(tricks);
        if (13 - tricks < contract_.TricksNeeded()) ++set_[i];
        defenceScore[i] = -DeclarerScore(contract_, vulnerable, 13 - tricks);
        if (rows != nullptr)
            rows->push_back(std::to_string(board) + "," + CsvField(dealText) + "," +
                            CardName(cards_[i]) + "," + std::to_string(tricks));
    }
    for (std::size_t i = 0; i < Cards; ++i) {
        for (std::size_t j = 0; j < Cards; ++j) {
            if (outcome.Values[Cards + i] == outcome.Values[Cards + j]) ++equal_[i * Cards + j];
            imps_[i * Cards + j].Add(Imps(defenceScore[i] - defenceScore[j]));
            matchpoints_[i * Cards + j].Add(Matchpoints(defenceScore[i], defenceScore[j]));
        }
    }
}

std::vector<std::string> TLeadStudy::ReportLines() const {
    std::vector<std::string> lines;
    lines.push_back("Первый ход против " + ContractWithDeclarer(contract_) + ", " +
                    std::string(VulnerabilityCaption(vulnerability_)) + ": ходит " +
                    std::string(SeatChar(Leader())) + ", раздач " + std::to_string(counted_) + ".");
    if (refused_ > 0)
        lines.push_back("Не разобрано раздач (повреждены или отказ решателя): " +
                        std::to_string(refused_) + ".");
    if (cards_.empty()) return lines;
    // The leader's hand as players write it: spades first, each suit from the ace.
    std::string hand;
    for (int32_t suit = Spades; suit >= Clubs; --suit) {
        if (suit != Spades) hand += '.';
        for (int32_t card : cards_)
            if (CardSuit(card) == suit) hand += CardChar(card);
    }
    lines.push_back("Рука " + std::string(SeatChar(Leader())) + ": " + hand + ".");
    if (counted_ == 0) return lines;

    // Cards the solver found equivalent on every deal share a line.
    std::vector<std::vector<std::size_t>> groups;
    std::vector<bool> placed(Cards, false);
    for (std::size_t i = 0; i < Cards; ++i) {
        if (placed[i]) continue;
        groups.emplace_back();
        for (std::size_t j = i; j < Cards; ++j) {
            if (!placed[j] && equal_[i * Cards + j] == counted_) {
                placed[j] = true;
                groups.back().push_back(j);
            }
        }
    }
    // The lead that is best on average: the most tricks for the defence.
    std::size_t best = 0;
    for (std::size_t i = 1; i < Cards; ++i)
        if (defence_[i].Mean() > defence_[best].Mean()) best = i;

    lines.push_back("Лучший в среднем ход: " + CardName(cards_[best]) + ".");
    lines.push_back("");
    lines.push_back("  " + PaddedText("Ход", 16) + PaddedText("Взяток защиты", 18) +
                    PaddedText("Подсад", 10) + PaddedText("IMP против лучшего", 22) +
                    "Матчпойнты против лучшего, %");
    for (const std::vector<std::size_t>& group : groups) {
        std::string cards;
        for (std::size_t i : group) cards += (cards.empty() ? "" : " ") + CardName(cards_[i]);
        const std::size_t i = group.front();
        const TMeanSum& imps = imps_[i * Cards + best];
        const TMeanSum& points = matchpoints_[i * Cards + best];
        const double setShare =
            100.0 * static_cast<double>(set_[i]) / static_cast<double>(counted_);
        lines.push_back(
            "  " + PaddedText(cards, 16) +
            PaddedText(DecimalText(defence_[i].Mean(), 2) + " ± " +
                           DecimalText(defence_[i].StandardError(), 2),
                       18) +
            PaddedText(DecimalText(setShare, 1) + "%", 10) +
            PaddedText(DecimalText(imps.Mean(), 2) + " ± " + DecimalText(imps.StandardError(), 2),
                       22) +
            DecimalText(100 * points.Mean(), 1) + " ± " +
            DecimalText(100 * points.StandardError(), 1));
    }
    return lines;
}
