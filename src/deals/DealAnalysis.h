#pragma once
// What double-dummy analysis tells of a deal, as data: the tricks of each
// declarer in each strain and the par result. The solver that fills them lives
// in the analysis layer; files and reports only read them.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TDeal;

inline constexpr int32_t NoTrump = 0;

struct TTrickTable {
    // [strain 0 notrump, 1 clubs .. 4 spades][declarer seat - 1]
    std::array<std::array<int8_t, 4>, 5> Tricks{};

    // Tricks of a declarer (1..4) in a strain (0..4); -1 outside those ranges.
    int32_t At(int32_t declarer, int32_t strain) const;
    bool operator==(const TTrickTable&) const = default;
};

// One contract of a par result.
struct TParContract {
    int32_t Level = 0;        // 1..7
    int32_t Strain = 0;       // 0 notrump, 1 clubs .. 4 spades
    std::string Declarers;    // "N", "E", "S", "W", "NS" or "EW"
    int32_t Overtricks = 0;   // made with overtricks
    int32_t Undertricks = 0;  // a doubled sacrifice going down that many
};

struct TParResult {
    int32_t Score = 0;  // for North-South: negative when East-West gain
    std::vector<TParContract> Contracts;
};

// What analysing one deal gave: its table, or the reason it was refused.
struct TDealAnalysis {
    bool Solved = false;
    TTrickTable Table;
    std::string Fault;  // why the deal was refused, when not solved
    // Par for the board's dealer and vulnerability, once it has been computed.
    std::optional<TParResult> Par;
};

// The fault of a deal that cannot be analysed (a hand without 13 cards, a
// card that is no card or is held twice), or the empty text for a whole deal.
std::string DealFault(const TDeal& deal);

// "3NT", "4S", "5DX": a contract as PBN writes it; sacrifices are doubled.
std::string ParContractText(const TParContract& contract);
// The strain letters of PBN: "NT", "C", "D", "H", "S".
std::string_view StrainName(int32_t strain);
