#pragma once
// Contracts and vulnerabilities as players write them: "3NT S", "4S N",
// "4♠ N", "5CX E", "PASS".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "simulation/Scoring.h"

// What reading a contract gave: the contract, or why it is none.
struct TContractReading {
    std::optional<TContract> Contract;
    std::string Error;  // in Russian, naming what is wrong
};

// Reads "LEVEL STRAIN [X|XX] DECLARER" or "PASS" (any letter case; blanks
// around the parts): the strain C D H S NT or ♣ ♦ ♥ ♠, the declarer N E S W
// (also the Russian С В Ю З). "ПАС" is PASS too.
TContractReading ReadContract(std::string_view text);

// "4S", "3NT", "5CX", "6HXX", "PASS": the contract without its declarer.
std::string ContractName(const TContract& contract);
// "4S N", "PASS".
std::string ContractWithDeclarer(const TContract& contract);

// "none", "ns", "ew", "both" (any letter case); nullopt for any other text.
std::optional<TVulnerability> ReadVulnerability(std::string_view text);
// "все до зоны", "в зоне N-S", "в зоне E-W", "все в зоне": for report captions.
std::string_view VulnerabilityCaption(TVulnerability vulnerability);
