// Reading deals from PBN files of the import format.
#include <array>
#include <charconv>
#include <cstdint>
#include <istream>
#include <memory>

#include "deals/Board.h"
#include "deals/BridgeTerms.h"
#include "deals/Deal.h"
#include "deals/DealCollection.h"
#include "deals/DealsInput.h"
#include "deals/PbnFile.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// Seat 1..4 of a direction letter in either case; 0 for any other character.
int32_t SeatOfLetter(char c) {
    switch (c) {
        case 'N':
        case 'n':
            return North;
        case 'E':
        case 'e':
            return East;
        case 'S':
        case 's':
            return South;
        case 'W':
        case 'w':
            return West;
        default:
            return 0;
    }
}

// Rank index 0 (two) .. 12 (ace) of a rank letter or digit in either case; -1 otherwise.
// The ten is "T"; "10" is handled by the caller.
int32_t RankOfChar(char c) {
    if (c >= '2' && c <= '9') return c - '2';
    switch (c) {
        case 'T':
        case 't':
            return 8;
        case 'J':
        case 'j':
            return 9;
        case 'Q':
        case 'q':
            return 10;
        case 'K':
        case 'k':
            return 11;
        case 'A':
        case 'a':
            return 12;
        default:
            return -1;
    }
}

// Splits PBN text into games and appends the deal of each finished game to the
// collection. It is fed the text piece by piece and keeps no more than one tag
// name and one tag value, each at most PbnMaxTagValue characters.
class TPbnScanner {
public:
    TPbnScanner(TDeals& deals, std::vector<TBoard>* boards) : deals_(deals), boards_(boards) {}

    const TPbnReadCounts& Counts() const { return counts_; }

    void Feed(std::string_view text) {
        for (char c : text) Feed(c);
    }

    // Ends the text: the last line and the last game.
    void Finish() {
        if (!atLineStart_) EndLine(false);
        EndGame();
    }

private:
    enum class TState {
        Text,          // between tags: auction, play and section data are passed over
        LineComment,   // after ";" to the end of the line
        BraceComment,  // after "{" to the next "}", across lines
        TagOpen,       // after "["
        TagName,
        TagBeforeValue,
        TagValue,
        TagValueEscape,  // after a backslash inside the value
        TagAfterValue,
    };

    void Feed(char c) {
        if (c == '\n' && afterCR_) {  // the LF of a CR LF pair
            afterCR_ = false;
            return;
        }
        afterCR_ = c == '\r';
        if (c == '\r' || c == '\n') {
            EndLine(lineBlank_);
            return;
        }
        if (atLineStart_ && c == '%' && state_ != TState::BraceComment) escapeLine_ = true;
        atLineStart_ = false;
        if (!IsBlank(c)) lineBlank_ = false;
        if (escapeLine_) return;  // "%" in the first column: the line is ignored
        Scan(c);
    }

    void Scan(char c) {
        switch (state_) {
            case TState::Text:
                if (c == '[') {
                    state_ = TState::TagOpen;
                    gameStarted_ = true;
                    name_.clear();
                    value_.clear();
                    tooLong_ = false;
                } else if (c == ';') {
                    state_ = TState::LineComment;
                } else if (c == '{') {
                    state_ = TState::BraceComment;
                }
                break;
            case TState::LineComment:
                break;
            case TState::BraceComment:
                if (c == '}') state_ = TState::Text;
                break;
            case TState::TagOpen:
                if (IsNameChar(c)) {
                    name_ += c;
                    state_ = TState::TagName;
                } else if (!IsBlank(c)) {
                    Rescan(c);
                }
                break;
            case TState::TagName:
                if (IsNameChar(c)) {
                    Keep(name_, c);
                } else if (IsBlank(c)) {
                    state_ = TState::TagBeforeValue;
                } else if (c == '"') {
                    state_ = TState::TagValue;
                } else {
                    Rescan(c);
                }
                break;
            case TState::TagBeforeValue:
                if (c == '"') {
                    state_ = TState::TagValue;
                } else if (!IsBlank(c)) {
                    Rescan(c);
                }
                break;
            case TState::TagValue:
                if (c == '\\') {
                    state_ = TState::TagValueEscape;
                } else if (c == '"') {
                    state_ = TState::TagAfterValue;
                } else {
                    Keep(value_, c);
                }
                break;
            case TState::TagValueEscape:
                // \" and \\ stand for the character; any other backslash is
                // part of the value (table columns write widths as "\2R").
                if (c != '"' && c != '\\') Keep(value_, '\\');
                Keep(value_, c);
                state_ = TState::TagValue;
                break;
            case TState::TagAfterValue:
                if (c == ']') {
                    CompleteTag();
                } else if (!IsBlank(c)) {
                    Rescan(c);
                }
                break;
        }
    }

    // A tag pair broke off: it is dropped and the character is read as text.
    void Rescan(char c) {
        state_ = TState::Text;
        Scan(c);
    }

    void Keep(std::string& text, char c) {
        if (text.size() < PbnMaxTagValue) {
            text += c;
        } else {
            tooLong_ = true;
        }
    }

    void CompleteTag() {
        state_ = TState::Text;
        if (boards_ != nullptr && !tooLong_ && name_ != "Deal") KeepTag();
        // A tag pair that occurs again in the same game is ignored.
        if (tooLong_ || name_ != "Deal" || dealSeen_) {
            if (name_ == "Deal") dealSeen_ = true;
            return;
        }
        dealSeen_ = true;
        dealValue_ = value_;
        hasDealValue_ = true;
    }

    void EndLine(bool blank) {
        switch (state_) {
            case TState::LineComment:
                state_ = TState::Text;
                break;
            case TState::TagValue:
            case TState::TagValueEscape:
                state_ = TState::Text;  // a string does not cross a line end
                break;
            default:
                break;
        }
        escapeLine_ = false;
        atLineStart_ = true;
        lineBlank_ = true;
        // A line of nothing but blanks ends the game, unless it stands inside
        // a brace comment.
        if (blank && state_ != TState::BraceComment) {
            state_ = TState::Text;
            EndGame();
        }
    }

    // A game counts once it holds a tag pair or the start of one; its deal is
    // the value of its first Deal tag.
    void EndGame() {
        if (gameStarted_) {
            TDeal deal;
            // The counts stop at their largest value, whatever the file's size.
            if (hasDealValue_ && ReadPbnDealValue(dealValue_, deal)) {
                deals_.Add(deal);
                if (counts_.Loaded < INT32_MAX) ++counts_.Loaded;
                if (boards_ != nullptr) AddBoard(deal);
            } else if (counts_.Skipped < INT32_MAX) {
                ++counts_.Skipped;
            }
        }
        gameStarted_ = false;
        dealSeen_ = false;
        hasDealValue_ = false;
        dealValue_.clear();
        tags_.clear();
    }

    // The first of each tag of a game, but the deal, is kept for its board.
    void KeepTag() {
        for (const TBoardTag& tag : tags_)
            if (tag.Name == name_) return;
        tags_.push_back({name_, value_});
    }

    // The game's board: Board, Dealer and Vulnerable from its tags where they
    // are well formed, else from its place in the file; the other tags as text.
    void AddBoard(const TDeal& deal) {
        TBoard& board = boards_->emplace_back();
        board.Deal = deal;
        board.SetPosition(static_cast<int64_t>(boards_->size()));
        for (TBoardTag& tag : tags_) {
            if (tag.Name == "Board") {
                int64_t number = 0;
                const char* end = tag.Value.data() + tag.Value.size();
                auto [stop, error] = std::from_chars(tag.Value.data(), end, number);
                if (error == std::errc() && stop == end && number >= 1) board.SetPosition(number);
            }
        }
        for (TBoardTag& tag : tags_) {
            if (tag.Name == "Dealer") {
                if (tag.Value.size() == 1 && SeatOfLetter(tag.Value[0]) != 0)
                    board.Dealer = SeatOfLetter(tag.Value[0]);
            } else if (tag.Name == "Vulnerable") {
                const std::string_view value = tag.Value;
                if (value == "None" || value == "Love" || value == "-")
                    board.Vulnerability = "None";
                if (value == "NS" || value == "EW") board.Vulnerability = value;
                if (value == "All" || value == "Both") board.Vulnerability = "All";
            } else if (tag.Name != "Board") {
                board.Tags.push_back(std::move(tag));
            }
        }
    }

    TDeals& deals_;
    std::vector<TBoard>* boards_;
    std::vector<TBoardTag> tags_;  // of the game being read, when boards are kept
    TPbnReadCounts counts_;
    TState state_ = TState::Text;
    bool atLineStart_ = true;
    bool lineBlank_ = true;
    bool afterCR_ = false;
    bool escapeLine_ = false;
    std::string name_;
    std::string value_;
    bool tooLong_ = false;
    bool gameStarted_ = false;
    bool dealSeen_ = false;
    bool hasDealValue_ = false;
    std::string dealValue_;
};

constexpr std::size_t ChunkSize = 1 << 16;

}  // namespace

bool ReadPbnDealValue(std::string_view value, TDeal& deal) {
    std::size_t at = 0;
    std::size_t end = value.size();
    while (at < end && IsBlank(value[at])) ++at;
    while (end > at && IsBlank(value[end - 1])) --end;
    if (end - at < 2 || value[at + 1] != ':') return false;
    int32_t firstSeat = SeatOfLetter(value[at]);
    if (firstSeat == 0) return false;
    at += 2;

    std::array<int32_t, 53> owner{};  // seat holding each card, 0 for none yet
    for (int32_t i = 0; i < 4; ++i) {
        if (i > 0) {
            // Hands are separated by blanks.
            if (at >= end || !IsBlank(value[at])) return false;
            while (at < end && IsBlank(value[at])) ++at;
        }
        int32_t seat = (firstSeat - 1 + i) % 4 + 1;
        int32_t suit = Spades;
        int32_t held = 0;
        while (at < end && !IsBlank(value[at])) {
            char c = value[at++];
            if (c == '.') {
                if (--suit < Clubs) return false;  // a fifth suit
                continue;
            }
            int32_t rank = RankOfChar(c);
            if (c == '1' && at < end && value[at] == '0') {
                rank = 8;
                ++at;
            }
            if (rank < 0) return false;
            int32_t card = (suit - 1) * 13 + rank + 1;
            if (owner[static_cast<std::size_t>(card)] != 0) return false;  // a card given twice
            owner[static_cast<std::size_t>(card)] = seat;
            ++held;
        }
        if (suit != Clubs || held != THand::CardsInHand) return false;
    }
    if (at != end) return false;

    // Each hand takes its cards from the ace of spades down, as a dealt hand holds them.
    for (int32_t seat = North; seat <= West; ++seat) {
        THand& hand = deal.Hand(seat);
        int32_t place = 1;
        for (int32_t card = 52; card >= 1; --card) {
            if (owner[static_cast<std::size_t>(card)] == seat) hand.SetCard(place++, card);
        }
        hand.ResetFigures();
    }
    return true;
}

TPbnReadCounts ReadPbn(std::istream& in, TDeals& deals) {
    TPbnScanner scanner(deals, nullptr);
    auto buffer = std::make_unique<char[]>(ChunkSize);
    while (in) {
        in.read(buffer.get(), static_cast<std::streamsize>(ChunkSize));
        scanner.Feed(std::string_view(buffer.get(), static_cast<std::size_t>(in.gcount())));
    }
    scanner.Finish();
    return scanner.Counts();
}

int32_t ProbePbn(std::string_view head) {
    if (head.substr(0, 3) == "\xEF\xBB\xBF") head.remove_prefix(3);
    const std::size_t first = head.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return 1;
    const char c = head[first];
    if (c == '%' || c == '[') return 50;
    return c == '{' || c == ';' ? 30 : 1;  // any text is read as PBN at last
}

TDealsReadCounts ReadPbnBoards(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards) {
    TPbnScanner scanner(deals, boards);
    // A read error throws; the games completed before it stay in the collection.
    for (std::string_view chunk; !(chunk = in.Next()).empty();) scanner.Feed(chunk);
    scanner.Finish();
    const TPbnReadCounts& counts = scanner.Counts();
    return {counts.Loaded, counts.Skipped, counts.Loaded == 0};
}

std::string PbnLoadedMessage(const std::string& name, const TPbnReadCounts& counts) {
    return "Из файла " + name + " загружено раздач: " + std::to_string(counts.Loaded) +
           "; пропущено игр без полной раздачи: " + std::to_string(counts.Skipped);
}
