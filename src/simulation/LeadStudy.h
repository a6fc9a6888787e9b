#pragma once
// The opening lead ("Первый ход"): against a contract by a declarer, the
// declarer's left-hand opponent holds the same thirteen cards in every deal;
// one solver call per deal gives the defence's tricks after each card the
// leader may lead.
#include <array>
#include <vector>

#include "deals/BridgeTerms.h"
#include "simulation/DealStudy.h"
#include "simulation/InputError.h"
#include "simulation/Scoring.h"

class TLeadStudy : public TDealStudy {
public:
    // The leader (declarer's left-hand opponent) and the cards the leader
    // holds (13 card numbers 1..52). False with `error` set (Kind Usage) for
    // PASS or a hand that is not 13 distinct cards.
    bool Prepare(const TContract& contract, TVulnerability vulnerability,
                 const std::vector<int32_t>& leaderCards, TInputError& error);
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
