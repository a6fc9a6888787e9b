// Writing deals in the PBN export format.
#include <algorithm>
#include <bit>
#include <bitset>
#include <charconv>
#include <cstring>
#include <memory>
#include <optional>
#include <ostream>
#include <utility>

#include "deals/Board.h"
#include "deals/BridgeTerms.h"
#include "deals/Deal.h"
#include "deals/DealAnalysis.h"
#include "deals/DealCollection.h"
#include "deals/PbnFile.h"
#include "text/OutputBuffer.h"

namespace {

constexpr std::string_view LineEnd = "\r\n";
// An export line holds at most 255 bytes with its CR LF.
constexpr std::size_t MaxPrintingBytes = 253;

// The next code point of UTF-8 text, advancing `at`; -1 for a byte that starts
// no well-formed sequence (that byte alone is consumed).
int32_t NextCodePoint(std::string_view text, std::size_t& at) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    std::size_t length = lead >= 0xF0 && lead <= 0xF4  ? 4
                         : lead >= 0xE0                ? 3
                         : lead >= 0xC2 && lead < 0xE0 ? 2
                                                       : 0;
    if (length == 0 || at + length > text.size()) {
        ++at;
        return -1;
    }
    int32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return -1;
        }
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    // Overlong forms and surrogates are not characters.
    static constexpr int32_t Lowest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < Lowest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        ++at;
        return -1;
    }
    at += length;
    return code;
}

// The Latin-1 bytes that stand for one character inside a tag value.
std::string LatinPiece(int32_t code) {
    if (code == '"') return "\\\"";
    if (code == '\\') return "\\\\";
    if (code < 0) return "?";
    if (code < 0x20 || (code >= 0x7F && code < 0xA0)) return " ";  // no control characters
    if (code <= 0xFF) return std::string(1, static_cast<char>(code));
    return "?";
}

void AppendLine(std::string& text, std::string_view line) {
    text += line;
    text += LineEnd;
}

const std::string FileHeader = "% PBN 2.1\r\n% EXPORT\r\n";

// The Deal value of a deal of 52 distinct cards, each hand in dealt order,
// written at `out` (room for 72 bytes and 16 more it may overwrite), as
// PbnDealValue gives it; nullptr, with nothing written, for any other deal.
char* WriteDealValue(const TDeal& deal, int32_t firstSeat, char* out) {
    THand::TSuitRuns runs[4];
    uint64_t cards = 0;
    for (int32_t seat = 1; seat <= 4; ++seat) {
        const THand& hand = deal.Hand(seat);
        if (!hand.DealtSuitRuns(runs[seat - 1])) return nullptr;
        for (int32_t j = 1; j <= THand::CardsInHand; ++j) cards |= uint64_t{1} << hand.Card(j);
    }
    if (std::popcount(cards) != 52) return nullptr;  // a card in two hands
    *out++ = SeatLetters[firstSeat - 1];
    *out++ = ':';
    for (int32_t i = 0; i < 4; ++i) {
        if (i > 0) *out++ = ' ';
        const THand::TSuitRuns& hand = runs[(firstSeat - 1 + i) % 4];
        for (std::size_t k = 0; k < 4; ++k) {
            if (k > 0) *out++ = '.';
            std::memcpy(out, hand.Ranks.data() + hand.Start[k], 16);
            out += hand.Start[k + 1] - hand.Start[k];
        }
    }
    return out;
}

void Put(char*& out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    out += text.size();
}

// Whether a tag value is written as it is: a few letters, no quote or backslash.
bool IsPlainValue(std::string_view value) {
    return value.size() <= 8 && std::all_of(value.begin(), value.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
           });
}

// The tags the writer makes of a solved analysis; a board's own tags of these
// names give way to them.
constexpr std::string_view AnalysisTags[] = {"OptimumResultTable", "OptimumScore", "ParContract"};

// The analysis tags of a solved deal: the table, its columns padded to the
// widths the header declares, then par when it is known.
void WriteAnalysis(TOutputBuffer& out, const TDealAnalysis& analysis) {
    std::string text;
    // The column format as bridge programs write it: the backslash is not an escape here.
    AppendLine(text, "[OptimumResultTable \"Declarer;Denomination\\2R;Result\\2R\"]");
    for (int32_t seat = North; seat <= West; ++seat) {
        for (int32_t strain : {NoTrump, Spades, Hearts, Diamonds, Clubs}) {
            const std::string_view name = StrainName(strain);
            const std::string tricks = std::to_string(analysis.Table.At(seat, strain));
            std::string row(1, SeatLetters[seat - 1]);
            row += name.size() < 2 ? "  " : " ";
            row += name;
            row += tricks.size() < 2 ? "  " : " ";
            row += tricks;
            AppendLine(text, row);
        }
    }
    if (analysis.Par) {
        const TParResult& par = *analysis.Par;
        AppendLine(text, PbnTagLine("OptimumScore", PbnOptimumScore(par.Score)));
        std::string contract = "Pass";
        if (!par.Contracts.empty()) {
            const TParContract& first = par.Contracts.front();
            contract = first.Declarers + " " + ParContractText(first);
        }
        AppendLine(text, PbnTagLine("ParContract", contract));
    }
    out.Append(text);
}

// The fifteen tags every exported game starts with, in their fixed order.
constexpr std::string_view MandatoryTags[] = {
    "Event",  "Site",       "Date", "Board",   "West",     "North",    "East",  "South",
    "Dealer", "Vulnerable", "Deal", "Scoring", "Declarer", "Contract", "Result"};

bool IsMandatoryTag(std::string_view name) {
    return std::find(std::begin(MandatoryTags), std::end(MandatoryTags), name) !=
           std::end(MandatoryTags);
}

// A tag of another format that a board keeps (LIN's two-letter commands)
// is not a PBN tag, whose names start with a capital letter.
bool IsPbnTagName(std::string_view name) {
    return !name.empty() && name[0] >= 'A' && name[0] <= 'Z' &&
           std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '_';
           });
}

// A kept tag and its section, each section line under the line limit.
void AppendTag(std::string& text, const TBoardTag& tag) {
    std::string_view value = tag.Value;
    std::string standard;
    if (tag.Name == "OptimumScore") {
        const std::optional<int32_t> score = ReadOptimumScore(value);
        if (score) value = standard = PbnOptimumScore(*score);
    }
    AppendLine(text, PbnTagLine(tag.Name, value));
    std::string_view section = tag.Section;
    while (!section.empty()) {
        const std::size_t end = std::min(section.find('\n'), section.size());
        std::string_view line = section.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        AppendLine(text, line.substr(0, MaxPrintingBytes));
        section.remove_prefix(std::min(end + 1, section.size()));
    }
}

// A board that keeps its file's tags: the mandatory tags with the board's
// values, then its Generator tag (ours when the board was dealt here), then
// its other PBN tags with their sections in file order, then the analysis.
void WriteTaggedGame(TOutputBuffer& buffer, const TBoard& board, bool first,
                     std::string_view generatorLine) {
    const int32_t dealer = board.Dealer >= North && board.Dealer <= West ? board.Dealer : North;
    const bool analysed = board.Analysis && board.Analysis->Solved;
    std::string text;
    if (!first) text += LineEnd;
    for (std::string_view name : MandatoryTags) {
        if (name == "Board") {
            AppendLine(text, PbnTagLine(name, std::to_string(board.Number)));
        } else if (name == "Dealer") {
            AppendLine(text, PbnTagLine(name, std::string(1, SeatLetters[dealer - 1])));
        } else if (name == "Vulnerable") {
            AppendLine(text, PbnTagLine(name, board.Vulnerability));
        } else if (name == "Deal") {
            AppendLine(text, "[Deal \"" + PbnDealValue(board.Deal, dealer) + "\"]");
        } else {
            const TBoardTag* tag = board.FindTag(name);
            if (tag != nullptr)
                AppendTag(text, *tag);
            else
                AppendLine(text, PbnTagLine(name, ""));
        }
    }
    if (board.DealtBy) {
        text += generatorLine;
    } else if (const TBoardTag* own = board.FindTag("Generator")) {
        // A board read from a file names the origin its file gave, with the tag's section.
        AppendTag(text, {own->Name, BoardGeneratorText(board).value_or(""), own->Section});
    }
    for (const TBoardTag& tag : board.Tags) {
        if (!IsPbnTagName(tag.Name) || IsMandatoryTag(tag.Name) || tag.Name == "Generator")
            continue;
        if (analysed && std::find(std::begin(AnalysisTags), std::end(AnalysisTags), tag.Name) !=
                            std::end(AnalysisTags))
            continue;
        AppendTag(text, tag);
    }
    buffer.Append(text);
    if (analysed) WriteAnalysis(buffer, *board.Analysis);
}

// One game: the fifteen mandatory tags in their fixed order (a dealing program
// leaves the values that do not apply to it empty), then the supplemental
// Generator tag and the analysis tags, in alphabetical order.
void WriteGame(TOutputBuffer& buffer, const TBoard& board, bool first,
               std::string_view generatorLine) {
    if (!board.Tags.empty()) return WriteTaggedGame(buffer, board, first, generatorLine);
    const int32_t dealer = board.Dealer >= North && board.Dealer <= West ? board.Dealer : North;
    char* out = buffer.Room(1024);
    if (!first) Put(out, LineEnd);
    Put(out, "[Event \"\"]\r\n[Site \"\"]\r\n[Date \"\"]\r\n[Board \"");
    out = std::to_chars(out, out + 24, board.Number).ptr;
    Put(out, "\"]\r\n[West \"\"]\r\n[North \"\"]\r\n[East \"\"]\r\n[South \"\"]\r\n[Dealer \"");
    *out++ = SeatLetters[dealer - 1];
    if (IsPlainValue(board.Vulnerability)) {
        Put(out, "\"]\r\n[Vulnerable \"");
        Put(out, board.Vulnerability);
        Put(out, "\"]");
    } else {
        buffer.Advance(out);
        buffer.Append("\"]\r\n");
        buffer.Append(PbnTagLine("Vulnerable", board.Vulnerability));
        out = buffer.Room(512);
    }
    Put(out, "\r\n[Deal \"");
    char* valueEnd = WriteDealValue(board.Deal, dealer, out);
    if (valueEnd == nullptr) {
        buffer.Advance(out);
        buffer.Append(PbnDealValue(board.Deal, dealer));
        out = buffer.Room(512);
    } else {
        out = valueEnd;
    }
    Put(out, "\"]\r\n[Scoring \"\"]\r\n[Declarer \"\"]\r\n[Contract \"\"]\r\n[Result \"\"]\r\n");
    buffer.Advance(out);
    if (board.DealtBy) buffer.Append(generatorLine);  // under 256 bytes with its line end
    if (board.Analysis && board.Analysis->Solved) WriteAnalysis(buffer, *board.Analysis);
}

}  // namespace

std::string PbnDealValue(const TDeal& deal, int32_t firstSeat) {
    if (firstSeat < 1 || firstSeat > 4) firstSeat = North;
    std::bitset<53> written;
    std::string value(1, SeatLetters[firstSeat - 1]);
    value += ':';
    for (int32_t i = 0; i < 4; ++i) {
        int32_t seat = (firstSeat - 1 + i) % 4 + 1;
        const THand& hand = deal.Hand(seat);
        std::bitset<53> held;
        for (int32_t j = 1; j <= THand::CardsInHand; ++j) {
            int32_t card = hand.Card(j);
            if (IsCard(card) && !written[static_cast<std::size_t>(card)]) {
                held.set(static_cast<std::size_t>(card));
                written.set(static_cast<std::size_t>(card));
            }
        }
        if (i > 0) value += ' ';
        for (int32_t suit = Spades; suit >= Clubs; --suit) {
            if (suit != Spades) value += '.';
            for (int32_t card = suit * 13; card > suit * 13 - 13; --card) {
                if (held[static_cast<std::size_t>(card)]) value += CardChar(card);
            }
        }
    }
    return value;
}

std::string PbnOptimumScore(int32_t score) { return "NS " + std::to_string(score); }

std::optional<int32_t> ReadOptimumScore(std::string_view value) {
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
    const bool eastWest = value.substr(0, 3) == "EW ";
    if (!eastWest && value.substr(0, 3) != "NS ") return std::nullopt;
    value.remove_prefix(3);
    if (!value.empty() && value.front() == '+') value.remove_prefix(1);
    int32_t score = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), score);
    if (error != std::errc() || end != value.data() + value.size() || score < -100000 ||
        score > 100000)
        return std::nullopt;
    return eastWest ? -score : score;
}

std::string PbnTagLine(std::string_view name, std::string_view value) {
    std::string line = "[";
    line += name;
    line += " \"";
    const std::size_t closing = 2;  // the closing quote and bracket
    std::size_t at = 0;
    while (at < value.size()) {
        std::string piece = LatinPiece(NextCodePoint(value, at));
        if (line.size() + piece.size() + closing > MaxPrintingBytes) break;
        line += piece;
    }
    line += "\"]";
    return line;
}

void WritePbnBoards(TOutputBuffer& out, const TBoards& boards) {
    out.Append(FileHeader);
    bool first = true;
    // The Generator line of a dealt board, made again only when the way of dealing changes.
    std::optional<TDealtBy> dealtBy;
    std::string generatorLine;
    boards.ForEach([&](const TBoard& board) {
        if (board.DealtBy && board.DealtBy != dealtBy) {
            dealtBy = board.DealtBy;
            generatorLine = PbnTagLine("Generator", BoardGeneratorText(board).value_or("")) +
                            std::string(LineEnd);
        }
        WriteGame(out, board, first, generatorLine);
        first = false;
        return true;
    });
}
