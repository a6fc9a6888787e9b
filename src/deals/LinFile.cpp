#include "deals/LinFile.h"

#include <array>
#include <charconv>
#include <cstring>
#include <ostream>

#include "deals/Deal.h"
#include "deals/DealCollection.h"
#include "deals/PbnFile.h"
#include "text/MessageSink.h"
#include "text/OutputBuffer.h"
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

void Put(char*& out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    out += text.size();
}

// The line of LinBoardLine and its LF written into the buffer.
void WriteBoardLine(TOutputBuffer& buffer, const TDeal& deal, int64_t board) {
    constexpr int32_t Order[] = {3, 4, 1, 2};  // South, West, North, East
    THand::TSuitRuns runs[4];
    for (int32_t k = 0; k < 4; ++k) {
        if (!deal.Hand(Order[k]).DealtSuitRuns(runs[k])) {
            buffer.Append(LinBoardLine(deal, board));  // a hand read from a damaged line
            buffer.Append("\n");
            return;
        }
    }
    char number[24];
    const std::string_view digits(
        number, static_cast<std::size_t>(std::to_chars(number, number + sizeof number, board).ptr -
                                         number));
    char* out = buffer.Room(512);
    Put(out, "qx|o");
    Put(out, digits);
    Put(out, "|md|");
    *out++ = DealerDigit[static_cast<std::size_t>(PbnBoardDealer(board))];
    static constexpr char Letters[] = "SHDC";
    for (int32_t k = 0; k < 4; ++k) {
        if (k > 0) *out++ = ',';
        for (std::size_t suit = 0; suit < 4; ++suit) {
            *out++ = Letters[suit];
            std::memcpy(out, runs[k].Ranks.data() + runs[k].Start[suit], 16);
            out += runs[k].Start[suit + 1] - runs[k].Start[suit];
        }
    }
    Put(out, "|rh||ah|Board ");
    Put(out, digits);
    Put(out, "|sv|");
    *out++ = VulnerabilityLetter(PbnBoardVulnerability(board));
    Put(out, "|pg||\n");
    buffer.Advance(out);
}

// Every deal of the collection as one board, numbered from 1.
void WriteBoards(TOutputBuffer& out, const TDeals& deals) {
    int64_t board = 0;
    deals.ForEachBatch([&](std::span<const TDeal> batch) {
        for (const TDeal& deal : batch) WriteBoardLine(out, deal, ++board);
        return true;
    });
    out.Flush();
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
    TOutputBuffer buffer([&out](std::string_view chunk) {
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    });
    WriteBoards(buffer, deals);
}

void WriteLinFile(const std::string& name, const TDeals& deals) {
    TReplacingFile file(name);
    TOutputBuffer out([&file](std::string_view chunk) { file.Write(chunk); });
    WriteBoards(out, deals);
    file.Commit();
}

void SaveLinFile(const std::string& name, const TDeals& deals) {
    const int32_t count = deals.Count();
    if (count == 0 || !FileDirExists(name)) return;
    WriteLinFile(name, deals);
    ShowMessage(std::to_string(count) + " раздач(и) сохранены в файле " + name);
}

bool IsLinFileName(std::string_view name) { return HasExtension(name, ".lin"); }
