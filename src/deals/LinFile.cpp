#include "deals/LinFile.h"

#include <array>
#include <ostream>

#include "deals/Deal.h"
#include "deals/DealCollection.h"
#include "deals/PbnFile.h"
#include "text/MessageSink.h"
#include "text/ReplacingFile.h"
#include "text/StringFunctions.h"

namespace {

// LIN's seat digits: 1 South, 2 West, 3 North, 4 East.
constexpr std::array<char, 5> DealerDigit = {'0', '3', '4', '1', '2'};  // by seat 1 North .. 4 West

char VulnerabilityLetter(std::string_view vulnerability) {
    if (vulnerability == "NS") return 'n';
    if (vulnerability == "EW") return 'e';
    if (vulnerability == "All") return 'b';
    return 'o';
}

// "S<ranks>H<ranks>D<ranks>C<ranks>"; a void is an empty run of ranks.
void AppendHand(std::string& line, const THand& hand) {
    const std::array<std::string, 4> suits = hand.SuitTexts();  // clubs .. spades
    static constexpr char Letters[] = "CDHS";
    for (int32_t suit = 3; suit >= 0; --suit) {
        line += Letters[suit];
        const std::string& ranks = suits[static_cast<std::size_t>(suit)];
        if (ranks != "-") line += ranks;
    }
}

}  // namespace

std::string LinBoardLine(const TDeal& deal, int64_t board) {
    const std::string number = std::to_string(board);
    std::string line = "qx|o" + number + "|md|";
    line += DealerDigit[static_cast<std::size_t>(PbnBoardDealer(board))];
    constexpr int32_t Order[] = {3, 4, 1, 2};  // South, West, North, East
    for (int32_t k = 0; k < 4; ++k) {
        if (k > 0) line += ',';
        AppendHand(line, deal.Hand(Order[k]));
    }
    line += "|rh||ah|Board " + number + "|sv|";
    line += VulnerabilityLetter(PbnBoardVulnerability(board));
    line += "|pg||";
    return line;
}

void WriteLin(std::ostream& out, const TDeals& deals) {
    for (int32_t index = 0; index < deals.Count() && out; ++index)
        out << LinBoardLine(*deals.GetDeal(index), int64_t{index} + 1) << '\n';
}

void WriteLinFile(const std::string& name, const TDeals& deals) {
    TReplacingFile file(name);
    for (int32_t index = 0; index < deals.Count(); ++index)
        file.Write(LinBoardLine(*deals.GetDeal(index), int64_t{index} + 1) + '\n');
    file.Commit();
}

void SaveLinFile(const std::string& name, const TDeals& deals) {
    const int32_t count = deals.Count();
    if (count == 0 || !FileDirExists(name)) return;
    WriteLinFile(name, deals);
    ShowMessage(std::to_string(count) + " раздач(и) сохранены в файле " + name);
}

bool IsLinFileName(std::string_view name) { return HasExtension(name, ".lin"); }
