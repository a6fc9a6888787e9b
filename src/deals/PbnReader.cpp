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

// Splits PBN text into games and appends the deal of each finished game to the
// collection. It is fed the text piece by piece and keeps no more than one tag
// name and one tag value, each at most PbnMaxTagValue characters.
class TPbnScanner {
public:
    TPbnScanner(TDeals& deals, std::vector<TBoard>* boards) : deals_(deals), boards_(boards) {}

    const TPbnReadCounts& Counts() const { return counts_; }
    // The damaged games' count and the first of them.
    const TDealsReadCounts& Damaged() const { return damaged_; }

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
            if (sectionOpen_ && !escapeLine_) KeepSection('\n');
            EndLine(lineBlank_);
            return;
        }
        if (atLineStart_ && c == '%' && state_ != TState::BraceComment) escapeLine_ = true;
        atLineStart_ = false;
        if (!IsBlank(c)) lineBlank_ = false;
        if (escapeLine_) return;  // "%" in the first column: the line is ignored
        const bool inSection = sectionOpen_;
        Scan(c);
        // The text after a tag, up to the next tag, is its section (an
        // auction's calls, a table's rows), kept with the tag.
        if (inSection && sectionOpen_) KeepSection(c);
    }

    void Scan(char c) {
        switch (state_) {
            case TState::Text:
                if (c == '[') {
                    CloseSection();
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
        // A game's Board or Event tag after its deal starts the next game,
        // for files that leave out the empty line between games.
        if (dealSeen_ && (name_ == "Board" || name_ == "Event")) {
            EndGame();
            gameStarted_ = true;
        }
        if (!tooLong_ && name_ == "Board" && !boardSeen_) {
            boardSeen_ = true;
            boardValue_ = value_;
        }
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
            CloseSection();
            state_ = TState::Text;
            EndGame();
        }
    }

    // A game counts once it holds a tag pair or the start of one; its deal is
    // the value of its first Deal tag.
    void EndGame() {
        CloseSection();
        if (gameStarted_) {
            TDeal deal;
            // The counts stop at their largest value, whatever the file's size.
            if (games_ < INT32_MAX) ++games_;
            if (hasDealValue_ && ReadPbnDealValue(dealValue_, deal)) {
                deals_.Add(deal);
                if (counts_.Loaded < INT32_MAX) ++counts_.Loaded;
                if (boards_ != nullptr) AddBoard(deal);
            } else {
                if (counts_.Skipped < INT32_MAX) ++counts_.Skipped;
                if (hasDealValue_)
                    damaged_.AddDamagedBoard(boardSeen_ ? boardValue_ : std::string(), games_);
            }
        }
        gameStarted_ = false;
        dealSeen_ = false;
        hasDealValue_ = false;
        boardSeen_ = false;
        dealValue_.clear();
        boardValue_.clear();
        tags_.clear();
    }

    // The first of each tag of a game, but the deal, is kept for its board
    // (notes, which a game may hold many of, every one), its value as UTF-8.
    void KeepTag() {
        // However many tags a game holds, a board keeps a bounded number.
        constexpr std::size_t MaxTagsPerGame = 256;
        if (tags_.size() >= MaxTagsPerGame) return;
        if (name_ != "Note")
            for (const TBoardTag& tag : tags_)
                if (tag.Name == name_) return;
        tags_.push_back({name_, PbnTextAsUtf8(value_), {}});
        sectionOpen_ = true;
    }

    void KeepSection(char c) {
        if (section_.size() < PbnMaxSection) section_ += c;
    }

    // The section read so far goes to the last kept tag, without the blanks
    // and line ends around it.
    void CloseSection() {
        if (!sectionOpen_) return;
        sectionOpen_ = false;
        const std::size_t first = section_.find_first_not_of(" \t\n");
        if (first != std::string::npos && !tags_.empty()) {
            const std::size_t last = section_.find_last_not_of(" \t\n");
            tags_.back().Section = PbnTextAsUtf8(section_.substr(first, last - first + 1));
        }
        section_.clear();
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
                if (error == std::errc() && stop == end && number >= 1) {
                    board.SetPosition(number);
                    board.OwnNumber = true;
                }
            }
        }
        for (TBoardTag& tag : tags_) {
            if (tag.Name == "Dealer") {
                if (tag.Value.size() == 1 && SeatOfLetter(tag.Value[0]) != 0) {
                    board.Dealer = SeatOfLetter(tag.Value[0]);
                    board.OwnDealer = true;
                }
            } else if (tag.Name == "Vulnerable") {
                const std::string_view value = tag.Value;
                std::string_view known;
                if (value == "None" || value == "Love" || value == "-") known = "None";
                if (value == "NS" || value == "EW") known = value;
                if (value == "All" || value == "Both") known = "All";
                if (!known.empty()) {
                    board.Vulnerability = known;
                    board.OwnVulnerability = true;
                }
            } else if (tag.Name != "Board") {
                board.Tags.push_back(std::move(tag));
            }
        }
    }

    TDeals& deals_;
    std::vector<TBoard>* boards_;
    std::vector<TBoardTag> tags_;  // of the game being read, when boards are kept
    TPbnReadCounts counts_;
    TDealsReadCounts damaged_;
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
    bool boardSeen_ = false;  // the game's first Board tag, for naming a damaged game
    std::string boardValue_;
    int32_t games_ = 0;
    bool sectionOpen_ = false;  // the text read is the section of the last kept tag
    std::string section_;
};

constexpr std::size_t ChunkSize = 1 << 16;

}  // namespace

std::string PbnTextAsUtf8(std::string_view text) {
    // Well-formed UTF-8 stays as it is; other text is taken as ISO-8859-1.
    bool utf8 = true;
    for (std::size_t at = 0; at < text.size() && utf8;) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80                   ? 1
                                   : lead >= 0xC2 && lead < 0xE0 ? 2
                                   : lead >= 0xE0 && lead < 0xF0 ? 3
                                   : lead >= 0xF0 && lead < 0xF5 ? 4
                                                                 : 0;
        utf8 = length > 0 && at + length <= text.size();
        for (std::size_t i = 1; utf8 && i < length; ++i)
            utf8 = (static_cast<unsigned char>(text[at + i]) & 0xC0) == 0x80;
        at += length;
    }
    if (utf8) return std::string(text);
    std::string converted;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            converted += c;
        } else {
            converted += static_cast<char>(0xC0 | (byte >> 6));
            converted += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return converted;
}

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
    int32_t restSeat = 0;             // the seat of a hand written "-"
    for (int32_t i = 0; i < 4; ++i) {
        if (i > 0) {
            // Hands are separated by blanks.
            if (at >= end || !IsBlank(value[at])) return false;
            while (at < end && IsBlank(value[at])) ++at;
        }
        int32_t seat = (firstSeat - 1 + i) % 4 + 1;
        // "-" for a whole hand: the cards the other three do not hold.
        if (at < end && value[at] == '-' && (at + 1 == end || IsBlank(value[at + 1]))) {
            if (restSeat != 0) return false;
            restSeat = seat;
            ++at;
            continue;
        }
        int32_t suit = Spades;
        int32_t held = 0;
        while (at < end && !IsBlank(value[at])) {
            char c = value[at++];
            if (c == '.') {
                if (--suit < Clubs) return false;  // a fifth suit
                continue;
            }
            if (c == '-') continue;  // a void written as "-"
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
    if (restSeat != 0)
        for (std::size_t card = 1; card <= 52; ++card)
            if (owner[card] == 0) owner[card] = restSeat;

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
    TDealsReadCounts read = scanner.Damaged();
    read.Loaded = counts.Loaded;
    read.Skipped = counts.Skipped;
    read.Refused = counts.Loaded == 0;
    return read;
}

std::string PbnLoadedMessage(const std::string& name, const TPbnReadCounts& counts) {
    return "Из файла " + name + " загружено раздач: " + std::to_string(counts.Loaded) +
           "; пропущено игр без полной раздачи: " + std::to_string(counts.Skipped);
}
