#include "simulation/Contract.h"

#include <array>
#include <vector>

#include "deals/BridgeTerms.h"
#include "deals/DealAnalysis.h"
#include "text/Utf8Text.h"

namespace {

// The words of the text, split at blanks, upper-cased (Latin and Cyrillic).
std::vector<std::u32string> Words(std::string_view text) {
    std::vector<std::u32string> words;
    std::u32string word;
    for (char32_t c : DecodeUtf8(text)) {
        if (c == U' ' || c == U'\t' || c == U'\r' || c == U'\n') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else {
            word.push_back(UpperCase1251(c));
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

// The seat of a declarer's letter: N E S W, or the Russian С В Ю З.
int32_t SeatOfWord(std::u32string_view word) {
    return word.size() == 1 ? SeatOfLetter(word[0]) : 0;
}

// Reads the strain at the front of `rest` and removes it; -1 for none.
int32_t TakeStrain(std::u32string_view& rest) {
    struct TStrainWord {
        std::u32string_view Word;
        int32_t Strain;
    };
    static constexpr std::array<TStrainWord, 11> StrainWords = {{{U"NT", 0},
                                                                 {U"БК", 0},
                                                                 {U"N", 0},
                                                                 {U"C", 1},
                                                                 {U"D", 2},
                                                                 {U"H", 3},
                                                                 {U"S", 4},
                                                                 {U"♣", 1},
                                                                 {U"♦", 2},
                                                                 {U"♥", 3},
                                                                 {U"♠", 4}}};
    for (const TStrainWord& strain : StrainWords) {
        if (rest.starts_with(strain.Word)) {
            rest.remove_prefix(strain.Word.size());
            return strain.Strain;
        }
    }
    return -1;
}

TContractReading Refusal(std::string message) { return {std::nullopt, std::move(message)}; }

}  // namespace

TContractReading ReadContract(std::string_view text) {
    std::vector<std::u32string> words = Words(text);
    if (words.empty()) return Refusal("не указан контракт");
    if (words.size() == 1 && (words[0] == U"PASS" || words[0] == U"ПАС")) return {TContract{}, {}};
    const std::string quoted = "«" + EncodeUtf8(words[0]) + "»";
    std::u32string_view bid = words[0];
    if (bid.empty() || bid[0] < U'1' || bid[0] > U'7')
        return Refusal(quoted + " — не контракт: уровень бывает от 1 до 7");
    TContract contract;
    contract.Level = static_cast<int32_t>(bid[0] - U'0');
    bid.remove_prefix(1);
    contract.Strain = TakeStrain(bid);
    if (contract.Strain < 0)
        return Refusal(quoted + " — не контракт: после уровня нужна деноминация (C, D, H, S, NT)");
    // The double may stand apart: "4S X N".
    std::u32string doubling(bid);
    std::size_t declarerWord = 1;
    if (doubling.empty() && words.size() == 3) {
        doubling = words[1];
        declarerWord = 2;
    }
    if (doubling == U"X" || doubling == U"Х") {
        contract.Doubling = TDoubling::Doubled;
    } else if (doubling == U"XX" || doubling == U"ХХ") {
        contract.Doubling = TDoubling::Redoubled;
    } else if (!doubling.empty()) {
        return Refusal(quoted + " — не контракт: лишнее «" + EncodeUtf8(doubling) + "»");
    }
    if (words.size() <= declarerWord)
        return Refusal("у контракта " + quoted + " не указан разыгрывающий (N, E, S или W)");
    if (words.size() > declarerWord + 1)
        return Refusal("после разыгрывающего лишнее «" + EncodeUtf8(words[declarerWord + 1]) + "»");
    contract.Declarer = SeatOfWord(words[declarerWord]);
    if (contract.Declarer == 0)
        return Refusal("«" + EncodeUtf8(words[declarerWord]) +
                       "» — не разыгрывающий: нужно N, E, S или W");
    return {contract, {}};
}

std::string ContractName(const TContract& contract) {
    if (contract.IsPass()) return "PASS";
    std::string name = std::to_string(contract.Level);
    name += StrainName(contract.Strain);
    if (contract.Doubling == TDoubling::Doubled) name += "X";
    if (contract.Doubling == TDoubling::Redoubled) name += "XX";
    return name;
}

std::string ContractWithDeclarer(const TContract& contract) {
    if (contract.IsPass()) return "PASS";
    return ContractName(contract) + " " + std::string(SeatChar(contract.Declarer));
}

std::optional<TVulnerability> ReadVulnerability(std::string_view text) {
    std::string lower;
    for (char c : text) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (lower == "none") return TVulnerability::None;
    if (lower == "ns") return TVulnerability::NorthSouth;
    if (lower == "ew") return TVulnerability::EastWest;
    if (lower == "both") return TVulnerability::Both;
    return std::nullopt;
}

std::string_view VulnerabilityCaption(TVulnerability vulnerability) {
    switch (vulnerability) {
        case TVulnerability::None:
            return "все до зоны";
        case TVulnerability::NorthSouth:
            return "в зоне N-S";
        case TVulnerability::EastWest:
            return "в зоне E-W";
        case TVulnerability::Both:
            return "все в зоне";
    }
    return {};
}
