#pragma once
// The opening lead ("Первый ход"): against a contract by a declarer, the
// declarer's left-hand opponent holds the same thirteen cards in every deal;
// one solver call per deal gives the defence's tricks after each card the
// leader may lead.
#include <array>
#include <span>
#include <vector>

#include "deals/BridgeTerms.h"
#include "simulation/DealStudy.h"
#include "simulation/Scoring.h"
#include "text/Status.h"

class TFixedCards;

class TLeadStudy : public TDealStudy {
public:
    // Whether the contract has an opening lead: PASS has none (a Usage status
    // about --contract). Each Prepare checks it first.
    static TStatus CheckContract(const TContract& contract);
    // The leader (declarer's left-hand opponent) holds the fixed cards of
    // his seat in every deal a run deals: all thirteen must be fixed.
    TStatus Prepare(const TContract& contract, TVulnerability vulnerability,
                    const TFixedCards& fixed);
    // Over the given deals, numbered by `numbers` (1, 2, ... when empty): at
    // least one deal, and the leader holds the same cards in each.
    TStatus Prepare(const TContract& contract, TVulnerability vulnerability,
                    std::span<const TDeal* const> deals, std::span<const int64_t> numbers = {});
    int32_t Leader() const { return LeftHandOpponent(contract_.Declarer); }
    // The leader's thirteen cards of a deal, highest first in each suit (spades first).
    static std::vector<int32_t> LeaderCards(const TDeal& deal, int32_t leader);

    // A deal whose leader holds other cards gets an outcome with Fault set
    // (a run over a file stops on it: the cards must be the same in every deal).
    std::unique_ptr<TWorker> NewWorker() const override;
    void Take(int64_t board, const TDeal& deal, const TDealOutcome& outcome,
              std::vector<std::string>* rows) override;
    // "board,deal,lead,defence_tricks"
    std::string CsvHeader() const override;
    std::vector<std::string> ReportLines() const override;

    // "SQ", "H7", "DT": a card as the CSV names it.
    static std::string CardName(int32_t card);

private:
    static constexpr int32_t Cards = 13;
    // Takes the leader's cards (13 card numbers 1..52, else a Usage status).
    TStatus TakeCards(const TContract& contract, TVulnerability vulnerability,
                      std::vector<int32_t> cards);

    TContract contract_;
    TVulnerability vulnerability_ = TVulnerability::None;
    std::vector<int32_t> cards_;  // the leader's cards, in report order
    std::array<TMeanSum, Cards> defence_{};
    std::array<int64_t, Cards> set_{};
    // [card * Cards + other]: deals on which DDS found the two equivalent,
    // and IMPs and matchpoints of leading card against leading other.
    std::vector<int64_t> equal_;
    std::vector<TMeanSum> imps_;
    std::vector<TMeanSum> matchpoints_;
};
