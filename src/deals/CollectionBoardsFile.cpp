// The companion of the setup file: the collection's boards as lines of text.
//
//   Korvana boards 1
//   deals <count> <fingerprint, 16 hex digits>
//   dealt <start> <count> <key> <seed> <secure 0|1> <dealer 0..4> <vulnerability|->
//   own <start> <count>            followed by <count> boards, each:
//   board <number> <dealer> <vulnerability> <own: N D V or -> [<key> <seed> <secure>]
//   tag <name>TAB<value>TAB<section>        the board's tags, in order
//   analysis <20 hex digits: tricks, strain by declarer> | unsolved <fault>
//   end
//
// Text fields escape backslash, tab, line feed and carriage return with a
// backslash; the analyses are those of boards 0, 1, ... in order.
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "deals/CollectionBoards.h"
#include "deals/DealCollection.h"
#include "text/FileError.h"
#include "text/ReplacingFile.h"

namespace {

constexpr std::string_view Header = "Korvana boards 1";
constexpr std::string_view Vulnerabilities[] = {"None", "NS", "EW", "All"};

std::string Escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

bool Unescape(std::string_view text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return false;
        switch (text[i]) {
            case '\\':
                out += '\\';
                break;
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                return false;
        }
    }
    return true;
}

bool IsVulnerability(std::string_view text) {
    for (std::string_view name : Vulnerabilities)
        if (text == name) return true;
    return false;
}

char HexDigit(int32_t value) { return "0123456789abcdef"[value & 15]; }

// The words of a line separated by single blanks.
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    while (true) {
        const std::size_t blank = line.find(' ');
        words.push_back(line.substr(0, blank));
        if (blank == std::string_view::npos) return words;
        line.remove_prefix(blank + 1);
    }
}

template <typename TNumber>
bool Number(std::string_view text, TNumber& value, int base = 10) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

void AppendDealtBy(std::string& text, const TDealtBy& dealtBy) {
    text += ' ' + std::to_string(dealtBy.KeyValue) + ' ' + std::to_string(dealtBy.StartSeed) +
            (dealtBy.Delayed  ? " 2"
             : dealtBy.Secure ? " 1"
                              : " 0");
}

bool ReadDealtBy(std::span<const std::string_view> words, TDealtBy& dealtBy) {
    if (words.size() != 3 || !Number(words[0], dealtBy.KeyValue) ||
        !Number(words[1], dealtBy.StartSeed) || words[2].size() != 1 || words[2] < "0" ||
        words[2] > "2")
        return false;
    dealtBy.Secure = words[2] != "0";
    dealtBy.Delayed = words[2] == "2";  // secure, with a delayed text
    return true;
}

// Reads the lines of a companion into the store; false at the first line that
// is not as written.
class TCompanionReader {
public:
    TCompanionReader(std::string_view text, const TDeals& deals) : text_(text), deals_(deals) {}

    TCompanionRead::TOutcome Read(TCollectionBoards& store) {
        std::string_view line;
        if (!NextLine(line) || line != Header) return TCompanionRead::Damaged;
        if (!NextLine(line)) return TCompanionRead::Damaged;
        const std::vector<std::string_view> deals = Words(line);
        int32_t count = 0;
        uint64_t fingerprint = 0;
        if (deals.size() != 3 || deals[0] != "deals" || !Number(deals[1], count) ||
            deals[2].size() != 16 || !Number(deals[2], fingerprint, 16))
            return TCompanionRead::Damaged;
        if (count != deals_.Count() || fingerprint != DealsFingerprint(deals_))
            return TCompanionRead::OtherDeals;
        std::vector<TDealAnalysis> analyses;
        while (NextLine(line)) {
            const std::vector<std::string_view> words = Words(line);
            if (words[0] == "end") {
                store.KeepAnalysis(analyses);
                return AtEnd() && store.AnalysedCount() <= count ? TCompanionRead::Read
                                                                 : TCompanionRead::Damaged;
            }
            bool good = false;
            if (words[0] == "dealt")
                good = ReadDealt(words, store);
            else if (words[0] == "own")
                good = ReadOwn(words, store);
            else if (words[0] == "analysis" || words[0] == "unsolved")
                good = ReadAnalysis(line, analyses);
            if (!good) return TCompanionRead::Damaged;
        }
        return TCompanionRead::Damaged;  // cut short
    }

private:
    bool NextLine(std::string_view& line) {
        if (text_.empty()) return false;
        const std::size_t end = text_.find('\n');
        if (end == std::string_view::npos) return false;  // every line ends in a line feed
        line = text_.substr(0, end);
        text_.remove_prefix(end + 1);
        return true;
    }
    bool AtEnd() const { return text_.empty(); }

    static bool ReadSeating(std::string_view dealer, std::string_view vulnerability,
                            TSeatingChoice& seating) {
        int32_t seat = 0;
        if (!Number(dealer, seat) || seat < 0 || seat > 4) return false;
        if (seat > 0) seating.Dealer = seat;
        if (vulnerability == "-") return true;
        if (!IsVulnerability(vulnerability)) return false;
        seating.Vulnerability = std::string(vulnerability);
        return true;
    }

    // A segment's first index and count, lying within the deals.
    bool ReadPlace(std::string_view first, std::string_view length, int32_t& start,
                   int32_t& count) const {
        return Number(first, start) && Number(length, count) && start >= 0 && count > 0 &&
               int64_t{start} + count <= deals_.Count();
    }

    bool ReadDealt(const std::vector<std::string_view>& words, TCollectionBoards& store) {
        int32_t start = 0, count = 0;
        TDealtBy dealtBy;
        TSeatingChoice seating;
        return words.size() == 8 && ReadPlace(words[1], words[2], start, count) &&
               ReadDealtBy(std::span(words).subspan(3, 3), dealtBy) &&
               ReadSeating(words[6], words[7], seating) &&
               store.AppendDealt(start, count, dealtBy, seating);
    }

    bool ReadOwn(const std::vector<std::string_view>& words, TCollectionBoards& store) {
        int32_t start = 0, count = 0;
        if (words.size() != 3 || !ReadPlace(words[1], words[2], start, count)) return false;
        std::vector<TBoard> boards;
        std::string_view line;
        while (static_cast<int32_t>(boards.size()) < count || Peek().starts_with("tag ")) {
            if (!NextLine(line)) return false;
            if (line.starts_with("tag ")) {
                if (boards.empty() || !ReadTag(line.substr(4), boards.back())) return false;
                continue;
            }
            TBoard board;
            if (!ReadBoard(Words(line), board)) return false;
            boards.push_back(std::move(board));
        }
        return store.AppendBoards(start, boards);
    }

    std::string_view Peek() const { return text_.substr(0, text_.find('\n')); }

    static bool ReadBoard(const std::vector<std::string_view>& words, TBoard& board) {
        if ((words.size() != 5 && words.size() != 8) || words[0] != "board" ||
            !Number(words[1], board.Number) || !Number(words[2], board.Dealer) ||
            board.Dealer < 1 || board.Dealer > 4 || !IsVulnerability(words[3]))
            return false;
        board.Vulnerability = std::string(words[3]);
        const std::string_view own = words[4];
        if (own != "-") {
            for (const char c : own) {
                bool* flag = c == 'N'   ? &board.OwnNumber
                             : c == 'D' ? &board.OwnDealer
                             : c == 'V' ? &board.OwnVulnerability
                                        : nullptr;
                if (flag == nullptr || *flag) return false;
                *flag = true;
            }
        }
        if (words.size() == 8) {
            board.DealtBy.emplace();
            if (!ReadDealtBy(std::span(words).subspan(5, 3), *board.DealtBy)) return false;
        }
        return true;
    }

    static bool ReadTag(std::string_view fields, TBoard& board) {
        const std::size_t first = fields.find('\t');
        const std::size_t second =
            first == std::string_view::npos ? first : fields.find('\t', first + 1);
        if (second == std::string_view::npos || fields.find('\t', second + 1) != fields.npos)
            return false;
        TBoardTag tag;
        if (!Unescape(fields.substr(0, first), tag.Name) || tag.Name.empty() ||
            !Unescape(fields.substr(first + 1, second - first - 1), tag.Value) ||
            !Unescape(fields.substr(second + 1), tag.Section))
            return false;
        board.Tags.push_back(std::move(tag));
        return true;
    }

    static bool ReadAnalysis(std::string_view line, std::vector<TDealAnalysis>& analyses) {
        TDealAnalysis analysis;
        if (line.starts_with("unsolved ")) {
            if (!Unescape(line.substr(9), analysis.Fault)) return false;
            analyses.push_back(std::move(analysis));
            return true;
        }
        const std::string_view digits = line.substr(std::string_view("analysis ").size());
        if (!line.starts_with("analysis ") || digits.size() != 20) return false;
        for (std::size_t k = 0; k < 20; ++k) {
            int32_t tricks = 0;
            if (!Number(digits.substr(k, 1), tricks, 16) || tricks > 13) return false;
            analysis.Table.Tricks[k / 4][k % 4] = static_cast<int8_t>(tricks);
        }
        analysis.Solved = true;
        analyses.push_back(std::move(analysis));
        return true;
    }

    std::string_view text_;
    const TDeals& deals_;
};

}  // namespace

uint64_t DealsFingerprint(const TDeals& deals) {
    // FNV-1a over every card of every hand, North first, in collection order.
    uint64_t hash = 14695981039346656037ull;
    deals.ForEachBatch([&](std::span<const TDeal> batch) {
        for (const TDeal& deal : batch)
            for (int32_t seat = 1; seat <= 4; ++seat)
                for (int32_t j = 1; j <= THand::CardsInHand; ++j) {
                    hash ^= static_cast<uint8_t>(deal.Hand(seat).Card(j));
                    hash *= 1099511628211ull;
                }
        return true;
    });
    return hash;
}

std::string CompanionText(const TCollectionBoards& store, const TDeals& deals) {
    std::string text(Header);
    char fingerprint[17];
    std::snprintf(fingerprint, sizeof fingerprint, "%016llx",
                  static_cast<unsigned long long>(DealsFingerprint(deals)));
    text += "\ndeals " + std::to_string(deals.Count()) + ' ' + fingerprint + '\n';
    for (const TCollectionBoards::TSegment& segment : store.Segments()) {
        if (segment.Boards.empty()) {
            text += "dealt " + std::to_string(segment.Start) + ' ' + std::to_string(segment.Count);
            AppendDealtBy(text, segment.DealtBy.value_or(TDealtBy{}));
            text += ' ' + std::to_string(segment.Seating.Dealer.value_or(0)) + ' ' +
                    segment.Seating.Vulnerability.value_or("-") + '\n';
            continue;
        }
        text += "own " + std::to_string(segment.Start) + ' ' + std::to_string(segment.Count) + '\n';
        for (const TBoard& board : segment.Boards) {
            std::string own;
            if (board.OwnNumber) own += 'N';
            if (board.OwnDealer) own += 'D';
            if (board.OwnVulnerability) own += 'V';
            text += "board " + std::to_string(board.Number) + ' ' + std::to_string(board.Dealer) +
                    ' ' + board.Vulnerability + ' ' + (own.empty() ? "-" : own);
            if (board.DealtBy) AppendDealtBy(text, *board.DealtBy);
            text += '\n';
            for (const TBoardTag& tag : board.Tags)
                text += "tag " + Escaped(tag.Name) + '\t' + Escaped(tag.Value) + '\t' +
                        Escaped(tag.Section) + '\n';
        }
    }
    for (int32_t index = 0; index < store.AnalysedCount(); ++index) {
        const TDealAnalysis& analysis = *store.Analysis(index);
        if (!analysis.Solved) {
            text += "unsolved " + Escaped(analysis.Fault) + '\n';
            continue;
        }
        text += "analysis ";
        for (const auto& strain : analysis.Table.Tricks)
            for (const int8_t tricks : strain) text += HexDigit(tricks);
        text += '\n';
    }
    text += "end\n";
    return text;
}

TCompanionRead ReadCompanionText(std::string_view text, const TDeals& deals) {
    TCompanionRead read;
    read.Outcome = TCompanionReader(text, deals).Read(read.Boards);
    if (read.Outcome != TCompanionRead::Read) read.Boards.Clear();
    return read;
}

void SaveCompanionFile(const std::string& name, const TCollectionBoards& store,
                       const TDeals& deals) {
    if (!store.HoldsMoreThanDeals() || deals.Count() == 0) {
        std::error_code error;
        std::filesystem::remove(name, error);
        if (error) throw TFileError(name, error.value());
        return;
    }
    TReplacingFile file(name);
    file.Write(CompanionText(store, deals));
    file.Commit();
}

std::optional<TCompanionRead> LoadCompanionFile(const std::string& name, const TDeals& deals) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(name, error)) return std::nullopt;
    std::ifstream file(name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file.good() && !file.eof()) throw TFileError(name, errno != 0 ? errno : EIO);
    return ReadCompanionText(text.str(), deals);
}
