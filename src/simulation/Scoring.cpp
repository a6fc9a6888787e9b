#include "simulation/Scoring.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "deals/DealAnalysis.h"

namespace {

constexpr bool IsMinor(int32_t strain) { return strain == 1 || strain == 2; }

// The trick score of the contracted tricks, doubled and redoubled as bid.
int32_t ContractTrickScore(const TContract& contract) {
    const int32_t perTrick = IsMinor(contract.Strain) ? 20 : 30;
    int32_t score = contract.Level * perTrick + (contract.Strain == NoTrump ? 10 : 0);
    return score << static_cast<int32_t>(contract.Doubling);
}

int32_t UndertrickPenalty(TDoubling doubling, bool vulnerable, int32_t down) {
    if (doubling == TDoubling::None) return down * (vulnerable ? 100 : 50);
    int32_t penalty = 0;
    for (int32_t trick = 1; trick <= down; ++trick) {
        if (vulnerable)
            penalty += trick == 1 ? 200 : 300;
        else
            penalty += trick == 1 ? 100 : trick <= 3 ? 200 : 300;
    }
    return doubling == TDoubling::Redoubled ? 2 * penalty : penalty;
}

}  // namespace

bool DeclarerVulnerable(TVulnerability vulnerability, int32_t declarer) {
    const bool northSouth = declarer == 1 || declarer == 3;
    switch (vulnerability) {
        case TVulnerability::None:
            return false;
        case TVulnerability::NorthSouth:
            return northSouth;
        case TVulnerability::EastWest:
            return !northSouth;
        case TVulnerability::Both:
            return true;
    }
    return false;
}

int32_t DeclarerScore(const TContract& contract, bool vulnerable, int32_t tricks) {
    if (contract.IsPass()) return 0;
    tricks = std::clamp(tricks, 0, 13);
    const int32_t needed = contract.TricksNeeded();
    if (tricks < needed) return -UndertrickPenalty(contract.Doubling, vulnerable, needed - tricks);

    const int32_t trickScore = ContractTrickScore(contract);
    int32_t score = trickScore;
    score += trickScore >= 100 ? (vulnerable ? 500 : 300) : 50;
    if (contract.Level == 6) score += vulnerable ? 750 : 500;
    if (contract.Level == 7) score += vulnerable ? 1500 : 1000;
    const int32_t overtricks = tricks - needed;
    switch (contract.Doubling) {
        case TDoubling::None:
            score += overtricks * (IsMinor(contract.Strain) ? 20 : 30);
            break;
        case TDoubling::Doubled:
            score += 50 + overtricks * (vulnerable ? 200 : 100);
            break;
        case TDoubling::Redoubled:
            score += 100 + overtricks * (vulnerable ? 400 : 200);
            break;
    }
    return score;
}

int32_t NorthSouthScore(const TContract& contract, TVulnerability vulnerability, int32_t tricks) {
    const int32_t score =
        DeclarerScore(contract, DeclarerVulnerable(vulnerability, contract.Declarer), tricks);
    return contract.Declarer == 2 || contract.Declarer == 4 ? -score : score;
}

int32_t Imps(int32_t difference) {
    // The lowest difference of each IMP from 1 to 24.
    static constexpr std::array<int32_t, 24> Steps = {
        20,  50,  90,   130,  170,  220,  270,  320,  370,  430,  500,  600,
        750, 900, 1100, 1300, 1500, 1750, 2000, 2250, 2500, 3000, 3500, 4000};
    const int32_t size = std::abs(difference);
    const auto imps =
        static_cast<int32_t>(std::upper_bound(Steps.begin(), Steps.end(), size) - Steps.begin());
    return difference < 0 ? -imps : imps;
}

double Matchpoints(int32_t ours, int32_t theirs) {
    return ours > theirs ? 1.0 : ours == theirs ? 0.5 : 0.0;
}
