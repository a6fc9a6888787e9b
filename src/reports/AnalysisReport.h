#pragma once
// The double-dummy analysis report of a collection: for each strain and side,
// how often the side takes each number of tricks (with the better of its two
// declarers) and the average; then how often each par score occurs. Par uses
// the dealer and vulnerability of the deal's board number (its place in the
// collection, counted from 1), as the PBN files write them. The report window
// shows these lines; the command-line program prints them.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "analysis/DoubleDummy.h"

// The par of the deal with this board number, from its table. False with
// `fault` set when the solver refuses.
bool BoardPar(const TTrickTable& table, int64_t board, TParResult& par, std::string& fault);

// "NS 420" / "EW 100": the par score from the side that gains it ("NS 0" for a
// deal passed out).
std::string ParScoreText(int32_t score);
// Par as a Russian player writes it: "Пар: СЮ +450, 4♠ Ю"; every par contract
// when `allContracts`, else the first; "Пар: 0" when all pass.
std::string RussianParText(const TParResult& par, bool allContracts);
// The par contracts "4S NS, 4H N", or "-" when none.
std::string ParContractsText(const TParResult& par);

// One line per deal, meant for scripts: the board number, then for each strain
// (nt, s, h, d, c) the tricks of North, East, South and West as declarers, then
// the par score and contracts, fields separated by single blanks:
//   "7 nt 8 5 8 5 s 9 4 9 4 h 6 7 6 7 d 7 6 7 6 c 5 8 5 8 par NS 140 2S NS"
// A deal that was not analysed gives "7 refused <reason>". The analysis's
// own par is used when it has one, else the par of the board number's
// dealer and vulnerability.
std::string AnalysisDealLine(int64_t board, const TDealAnalysis& analysis);

// The report's lines for the results of a collection, result i being board
// i + 1 where it has no par of its own.
std::vector<std::string> AnalysisReportLines(std::span<const TDealAnalysis> results);
