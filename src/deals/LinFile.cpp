#include "deals/internal/LinFile.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cctype>
#include <charconv>
#include <cstring>
#include <ostream>

#include "deals/Board.h"
#include "deals/BridgeTerms.h"
#include "deals/Deal.h"
#include "deals/DealCollection.h"
#include "deals/DealsInput.h"
#include "deals/PbnFile.h"
#include "text/OutputBuffer.h"

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

// "pn|South,West,North,East|" of the board's player tags, or nothing when
// it names no player; a name's "|" and "," become blanks.
std::string LinPlayers(const TBoard& board) {
    std::string players;
    bool named = false;
    for (const char* seat : {"South", "West", "North", "East"}) {
        if (seat[0] != 'S') players += ',';
        const TBoardTag* tag = board.FindTag(seat);
        if (tag == nullptr) continue;
        named = named || !tag->Value.empty();
        for (char c : tag->Value.substr(0, 255)) players += c == '|' || c == ',' ? ' ' : c;
    }
    return named ? "pn|" + players + "|" : std::string();
}

// One board's line and its LF.
void WriteBoardLine(TOutputBuffer& buffer, const TBoard& board) {
    constexpr int32_t Order[] = {3, 4, 1, 2};  // South, West, North, East
    const int32_t dealer = board.Dealer >= 1 && board.Dealer <= 4 ? board.Dealer : 1;
    char number[24];
    const std::string_view digits(
        number, static_cast<std::size_t>(
                    std::to_chars(number, number + sizeof number, board.Number).ptr - number));
    const std::string players = board.Tags.empty() ? std::string() : LinPlayers(board);
    char* out = buffer.Room(512 + players.size());
    Put(out, "qx|o");
    Put(out, digits);
    Put(out, "|");
    Put(out, players);
    Put(out, "md|");
    *out++ = DealerDigit[static_cast<std::size_t>(dealer)];
    static constexpr char Letters[] = "SHDC";
    for (int32_t k = 0; k < 4; ++k) {
        if (k > 0) *out++ = ',';
        const THand& hand = board.Deal.Hand(Order[k]);
        THand::TSuitRuns runs;
        if (!hand.DealtSuitRuns(runs)) {  // a hand read from a damaged line
            std::string text;
            AppendHand(text, hand);
            Put(out, text);
            continue;
        }
        for (std::size_t suit = 0; suit < 4; ++suit) {
            *out++ = Letters[suit];
            std::memcpy(out, runs.Ranks.data() + runs.Start[suit], 16);
            out += runs.Start[suit + 1] - runs.Start[suit];
        }
    }
    Put(out, "|rh||ah|Board ");
    Put(out, digits);
    Put(out, "|sv|");
    *out++ = VulnerabilityLetter(board.Vulnerability);
    Put(out, "|pg||\n");
    buffer.Advance(out);
}

// Seat 1 North .. 4 West of LIN's dealer digit; 0 for any other character.
int32_t SeatOfDealerDigit(char digit) {
    for (int32_t seat = 1; seat <= 4; ++seat)
        if (DealerDigit[static_cast<std::size_t>(seat)] == digit) return seat;
    return 0;
}

// The deal of an "md" value: the dealer's digit, then the hands of South,
// West, North and East, each S, H, D and C followed by ranks; a fourth hand
// left out holds the cards the others do not. False unless it is a whole deal.
bool ReadDealValue(std::string_view value, TDeal& deal) {
    static constexpr std::string_view Suits = "SHDC";
    std::array<std::array<std::string, 4>, 4> hands;  // [hand][suit] ranks
    std::bitset<52> held;
    std::size_t hand = 0, suit = 4;
    for (std::size_t at = 1; at < value.size(); ++at) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(value[at])));
        if (c == ',') {
            if (++hand == 4) break;
            suit = 4;
        } else if (Suits.find(c) != std::string_view::npos) {
            suit = Suits.find(c);
        } else if (suit < 4 && RankOfChar(c) >= 0) {
            hands[hand][suit] += c;
            held.set(suit * 13 + static_cast<std::size_t>(RankOfChar(c)));
        } else if (c != ' ') {
            return false;
        }
    }
    auto empty = [](const std::array<std::string, 4>& h) {
        return h[0].empty() && h[1].empty() && h[2].empty() && h[3].empty();
    };
    if (empty(hands[3]) && held.count() == 39) {
        for (std::size_t card = 0; card < 52; ++card)
            if (!held[card]) hands[3][card / 13] += RankChars[card % 13];
    }
    std::string pbn = "S:";
    for (std::size_t k = 0; k < 4; ++k) {
        if (k > 0) pbn += ' ';
        pbn += hands[k][0] + '.' + hands[k][1] + '.' + hands[k][2] + '.' + hands[k][3];
    }
    return ReadPbnDealValue(pbn, deal);
}

// Splits LIN text into "command|value|" pairs and gathers a board from each
// "qx" (or each "md" after a deal) to the next. Names and values are cut at
// MaxKept characters, so memory stays bounded whatever the lines hold.
class TLinScanner {
public:
    static constexpr std::size_t MaxKept = 4096;

    TLinScanner(TDeals& deals, std::vector<TBoard>* boards) : deals_(deals), boards_(boards) {}

    void Feed(std::string_view text) {
        for (char c : text) {
            if (c == '|') {
                if (inValue_) Pair();
                inValue_ = !inValue_;
            } else if (inValue_) {
                if (value_.size() < MaxKept) value_ += c;
            } else if (c != '\r' && c != '\n' && name_.size() < MaxKept) {
                name_ += c;
            }
        }
    }

    TDealsReadCounts Finish() {
        EndBoard();
        counts_.Refused = counts_.Loaded == 0;
        return counts_;
    }

private:
    void Pair() {
        if (name_ == "qx" || (name_ == "md" && hasDeal_)) EndBoard();
        if (name_ == "md") {
            hasDeal_ = true;
            dealValue_ = value_;
        } else if (name_ == "ah" || name_ == "sv" || name_ == "qx") {
            (name_ == "ah" ? title_ : name_ == "sv" ? vulnerability_ : room_) = value_;
        } else if (boards_ != nullptr && name_ == "pn") {
            // The players, South, West, North and East, as PBN's tags name them.
            std::string_view names = value_;
            for (const char* seat : {"South", "West", "North", "East"}) {
                const std::size_t comma = std::min(names.find(','), names.size());
                if (comma > 0) tags_.push_back({seat, std::string(names.substr(0, comma)), {}});
                names.remove_prefix(std::min(comma + 1, names.size()));
            }
        } else if (boards_ != nullptr) {
            tags_.push_back({name_, value_, {}});
        }
        name_.clear();
        value_.clear();
    }

    void EndBoard() {
        TDeal deal;
        if (hasDeal_ && ReadDealValue(dealValue_, deal)) {
            deals_.Add(deal);
            if (counts_.Loaded < INT32_MAX) ++counts_.Loaded;
            if (boards_ != nullptr) AddBoard(deal);
        } else if (hasDeal_) {
            if (counts_.Skipped < INT32_MAX) ++counts_.Skipped;
            counts_.AddDamagedBoard(std::string(NumberText()),
                                    static_cast<int32_t>(std::min<int64_t>(
                                        INT32_MAX, int64_t{counts_.Loaded} + counts_.Skipped)));
        }
        hasDeal_ = false;
        title_.clear();
        vulnerability_.clear();
        room_.clear();
        tags_.clear();
    }

    // The board's number as its "ah|Board N|" or "qx|oN|" gives it.
    std::string_view NumberText() const {
        if (title_.rfind("Board ", 0) == 0) return std::string_view(title_).substr(6);
        if (room_.size() > 1) return std::string_view(room_).substr(1);
        return {};
    }

    // Number from "ah|Board N|", else from "qx|oN|"; dealer from the deal's
    // digit and vulnerability from "sv"; else from the board's place.
    void AddBoard(const TDeal& deal) {
        TBoard& board = boards_->emplace_back();
        board.Deal = deal;
        board.SetPosition(static_cast<int64_t>(boards_->size()));
        const std::string_view digits = NumberText();
        int64_t number = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (error == std::errc() && end == digits.data() + digits.size() && number >= 1) {
            board.SetPosition(number);
            board.OwnNumber = true;
        }
        if (SeatOfDealerDigit(dealValue_[0]) != 0) {
            board.Dealer = SeatOfDealerDigit(dealValue_[0]);
            board.OwnDealer = true;
        }
        static constexpr std::pair<std::string_view, const char*> Vulnerabilities[] = {
            {"o", "None"}, {"0", "None"}, {"n", "NS"}, {"e", "EW"}, {"b", "All"}};
        for (const auto& [letter, name] : Vulnerabilities)
            if (vulnerability_ == letter) {
                board.Vulnerability = name;
                board.OwnVulnerability = true;
            }
        if (!title_.empty()) board.Tags.insert(board.Tags.begin(), {"ah", title_, {}});
        if (!room_.empty()) board.Tags.insert(board.Tags.begin(), {"qx", room_, {}});
        for (TBoardTag& tag : tags_) board.Tags.push_back(std::move(tag));
    }

    TDeals& deals_;
    std::vector<TBoard>* boards_;
    TDealsReadCounts counts_;
    bool inValue_ = false;
    std::string name_, value_;
    bool hasDeal_ = false;
    std::string dealValue_, title_, vulnerability_, room_;
    std::vector<TBoardTag> tags_;  // of the board being read, when boards are kept
};

}  // namespace

int32_t ProbeLin(std::string_view head) {
    const std::size_t first = head.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos || head.size() - first < 3) return 0;
    // A line of two-letter commands, each followed by "|".
    auto isLower = [](char c) { return c >= 'a' && c <= 'z'; };
    return isLower(head[first]) && isLower(head[first + 1]) && head[first + 2] == '|' ? 50 : 0;
}

TDealsReadCounts ReadLinBoards(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards) {
    TLinScanner scanner(deals, boards);
    for (std::string_view chunk; !(chunk = in.Next()).empty();) scanner.Feed(chunk);
    return scanner.Finish();
}

void WriteLinBoards(TOutputBuffer& out, const TBoards& boards) {
    boards.ForEach([&out](const TBoard& board) {
        WriteBoardLine(out, board);
        return true;
    });
}

std::string LinBoardLine(const TDeal& deal, int64_t number) {
    TBoard board;
    board.Deal = deal;
    board.SetPosition(number);
    std::string line;
    TOutputBuffer out([&line](std::string_view chunk) { line += chunk; },
                      TOutputBuffer::SmallCapacity);
    WriteBoardLine(out, board);
    out.Flush();
    line.pop_back();  // the LF
    return line;
}
