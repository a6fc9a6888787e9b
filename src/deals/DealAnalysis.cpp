#include "deals/DealAnalysis.h"

#include "deals/BridgeTerms.h"
#include "deals/Deal.h"

namespace {
constexpr int32_t Strains = 5;
}  // namespace

int32_t TTrickTable::At(int32_t declarer, int32_t strain) const {
    if (declarer < 1 || declarer > 4 || strain < 0 || strain >= Strains) return -1;
    return Tricks[static_cast<std::size_t>(strain)][static_cast<std::size_t>(declarer - 1)];
}

std::string DealFault(const TDeal& deal) {
    std::array<int32_t, 53> holder{};
    for (int32_t seat = 1; seat <= 4; ++seat) {
        for (int32_t j = 1; j <= THand::CardsInHand; ++j) {
            int32_t card = deal.Hand(seat).Card(j);
            const bool missing = !IsCard(card);
            if (!missing && holder[static_cast<std::size_t>(card)] == 0) {
                holder[static_cast<std::size_t>(card)] = seat;
                continue;
            }
            // Words only for the fault: a whole deal is checked without any.
            std::string place =
                "у " + std::string(SeatGenitive(seat)) + " на месте " + std::to_string(j);
            if (missing) return place + " нет карты";
            return place + " повторяется карта " + std::to_string(card) + " (" +
                   std::string(CardChar(card)) + std::string(StrainName(CardSuit(card))) + ")";
        }
    }
    return {};
}

std::string ParContractText(const TParContract& contract) {
    std::string text = std::to_string(contract.Level) + std::string(StrainName(contract.Strain));
    if (contract.Undertricks > 0) text += 'X';
    return text;
}

std::string_view StrainName(int32_t strain) {
    static constexpr std::string_view Names[] = {"NT", "C", "D", "H", "S"};
    return strain >= 0 && strain < Strains ? Names[strain] : std::string_view();
}
