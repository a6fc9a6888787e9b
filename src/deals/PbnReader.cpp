// Reading deals from PBN files of the import format.
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <istream>
#include <memory>

#include "deals/BridgeTerms.h"
#include "deals/Deal.h"
#include "deals/DealCollection.h"
#include "text/FileError.h"
#include "deals/PbnFile.h"
#include "text/MessageSink.h"

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
    explicit TPbnScanner(TDeals& deals) : deals_(deals) {}

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
            } else if (counts_.Skipped < INT32_MAX) {
                ++counts_.Skipped;
            }
        }
        gameStarted_ = false;
        dealSeen_ = false;
        hasDealValue_ = false;
        dealValue_.clear();
    }

    TDeals& deals_;
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

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

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
    TPbnScanner scanner(deals);
    auto buffer = std::make_unique<char[]>(ChunkSize);
    while (in) {
        in.read(buffer.get(), static_cast<std::streamsize>(ChunkSize));
        scanner.Feed(std::string_view(buffer.get(), static_cast<std::size_t>(in.gcount())));
    }
    scanner.Finish();
    return scanner.Counts();
}

std::string PbnLoadedMessage(const std::string& name, const TPbnReadCounts& counts) {
    return "Из файла " + name + " загружено раздач: " + std::to_string(counts.Loaded) +
           "; пропущено игр без полной раздачи: " + std::to_string(counts.Skipped);
}

TPbnLoadResult LoadPbnFile(const std::string& name, TDeals& deals) {
    TPbnLoadResult result;
    // A missing file, or a folder of that name, is passed over as the deals file is.
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(name, error);
    if (!std::filesystem::exists(status) || std::filesystem::is_directory(status)) return result;
    if (!std::filesystem::is_regular_file(status)) throw TFileError::NotRegular(name);
    errno = 0;
    std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(name.c_str(), "rb"));
    if (!file) throw TFileError(name, errno);
    result.Found = true;

    TPbnScanner scanner(deals);
    auto buffer = std::make_unique<char[]>(ChunkSize);
    std::size_t got = 0;
    do {
        errno = 0;
        got = std::fread(buffer.get(), 1, ChunkSize, file.get());
        // The games completed before a read error stay in the collection.
        if (std::ferror(file.get())) throw TFileError(name, errno);
        scanner.Feed(std::string_view(buffer.get(), got));
    } while (got == ChunkSize);
    scanner.Finish();
    result.Counts = scanner.Counts();

    if (result.Counts.Loaded == 0) {
        result.Refused = true;
        ShowMessage("Файл " + name + " не содержит раздачи");
    } else {
        ShowMessage(PbnLoadedMessage(name, result.Counts));
    }
    return result;
}
