#pragma once
// Duplicate scoring: the score of a contract for the tricks its declarer took,
// by the scoring table of the Laws of Duplicate Bridge; the IMP scale; and
// matchpoints between two results.
#include <cstdint>

// Strains as the deals layer numbers them: 0 notrump, 1 clubs .. 4 spades.
enum class TDoubling : int32_t { None = 0, Doubled = 1, Redoubled = 2 };

enum class TVulnerability : int32_t { None, NorthSouth, EastWest, Both };

// A contract with its declarer; level 0 is a passed-out deal.
struct TContract {
    int32_t Level = 0;   // 1..7, 0 for PASS
    int32_t Strain = 0;  // 0 notrump, 1 clubs .. 4 spades
    TDoubling Doubling = TDoubling::None;
    int32_t Declarer = 0;  // 1 North .. 4 West; 0 for PASS

    bool IsPass() const { return Level == 0; }
    // The tricks the declarer must take: level + 6.
    int32_t TricksNeeded() const { return Level + 6; }
    bool operator==(const TContract&) const = default;
};

// Whether the declarer's side is vulnerable.
bool DeclarerVulnerable(TVulnerability vulnerability, int32_t declarer);

// The declarer's side's score for `tricks` (0..13) taken: positive when the
// contract makes, negative when it goes down; 0 for PASS.
int32_t DeclarerScore(const TContract& contract, bool vulnerable, int32_t tricks);

// The same score from North-South's side.
int32_t NorthSouthScore(const TContract& contract, TVulnerability vulnerability, int32_t tricks);

// IMPs for a difference of scores, with its sign: 20 -> 1, -50 -> -2, 4000 -> 24.
int32_t Imps(int32_t difference);

// Matchpoints of one result against another: 1 higher, 0.5 equal, 0 lower.
double Matchpoints(int32_t ours, int32_t theirs);
