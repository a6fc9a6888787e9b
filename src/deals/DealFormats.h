#pragma once
// The one table of deal-file formats: the deals file (.dls), PBN (.pbn) and
// LIN (.lin). Each row names its extension and its file chooser's label, a
// probe that scores the first bytes of a file, its reader (when the format can
// be read) and its writer. A file is read as the format whose probe scores its
// content highest; the extension only breaks ties. A format's word, its
// extension without the dot ("pbn"), names it on the command line and is the
// default suffix of the window's file choosers.
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "deals/Board.h"
#include "deals/DealsInput.h"

class TDeals;
class TOutputBuffer;

struct TDealFormat {
    std::string_view Extension;  // ".pbn"
    std::string_view Label;      // the file chooser's entry without its pattern
    // How surely the first bytes of a file (TDealsInput::Head) are of this
    // format: 0 not at all, 1 a reader of last resort, up to 100 certainly.
    // Asked only of formats that can be read. nullptr for bare bytes that
    // only the name's extension tells.
    int32_t (*Probe)(std::string_view head);
    // Appends the file's deals to the collection and, when `boards` is given,
    // a board for each. nullptr for a format that is only written.
    TDealsReadCounts (*Read)(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards);
    // Writes every board in order; the caller flushes the buffer.
    void (*Write)(TOutputBuffer& out, const TBoards& boards);
    // Reading shows how many deals were loaded and skipped.
    bool TellsLoaded;
    // The writer writes the boards' double-dummy analysis.
    bool WritesAnalysis;

    // "pbn".
    constexpr std::string_view Word() const { return Extension.substr(1); }
};

// The formats' extensions in the table's order. The table's rows take theirs
// from here, so that a constant expression can list the formats' words.
inline constexpr std::string_view DealFormatExtensions[] = {".dls", ".pbn", ".lin", ".ber",
                                                            ".csv", ".bhg", ".rzd", ".cds"};

namespace DealFormatsDetail {
// The words joined by "|" with a closing '\0': each extension's dot becomes a bar or the '\0'.
consteval std::size_t ChoiceSize() {
    std::size_t size = 0;
    for (std::string_view extension : DealFormatExtensions) size += extension.size();
    return size;
}
consteval std::array<char, ChoiceSize()> Choice() {
    std::array<char, ChoiceSize()> text{};
    std::size_t at = 0;
    for (std::string_view extension : DealFormatExtensions) {
        if (at > 0) text[at++] = '|';
        for (char c : extension.substr(1)) text[at++] = c;
    }
    return text;
}
}  // namespace DealFormatsDetail

// The formats' words as a choice among them: "dls|pbn|lin|...".
inline constexpr std::array DealFormatChoice = DealFormatsDetail::Choice();

// A set a format cannot hold (too many boards, a board number too high): its
// writer throws this before writing a byte; what() names the limit.
class TFormatLimitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every format, the deals file first.
std::span<const TDealFormat> DealFormats();
const TDealFormat& DealsFileFormat();
const TDealFormat& PbnFormat();
const TDealFormat& LinFormat();

// The format of a word ("pbn"), in this letter case; nullptr for none.
const TDealFormat* DealFormatOfWord(std::string_view word);
// The format whose extension the name ends in, in any letter case; nullptr for none.
const TDealFormat* DealFormatOfName(std::string_view name);
// The format a file of this name is written in: by its extension, else the deals file.
const TDealFormat& DealFormatForWriting(std::string_view name);
// The readable format whose probe scores `head` highest; among equal scores
// the one of the name's extension, else the earlier row. A format without a
// probe is taken when the name has its extension, and never otherwise.
const TDealFormat& RecogniseDealFormat(std::string_view head, std::string_view name);

struct TDealsLoadResult {
    bool Found = false;                   // the file existed and was read
    const TDealFormat* Format = nullptr;  // the format it was read as
    bool Refused = false;                 // it held no deal at all; nothing was added
    int32_t Loaded = 0;                   // deals appended
    int32_t Skipped = 0;                  // games without a whole deal
    TDealsReadCounts Counts;              // what the format's reader counted
};

// Reads the input as `format` into the collection (and `boards`, when given).
// A refused file shows "Файл <name> не содержит раздачи"; a format that tells
// what it loaded shows PbnLoadedMessage. Throws TFileError on a read error;
// the deals read before it stay.
TDealsLoadResult ReadDealsAs(const TDealFormat& format, TDealsInput& in, TDeals& deals,
                             std::vector<TBoard>* boards = nullptr);
// The same in the format recognised from the input's first bytes.
TDealsLoadResult ReadDeals(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards = nullptr);

// Opens a regular file for reading: nullptr, silently, for a missing file or
// a folder; TFileError for a pipe or a device (which could keep the program
// waiting) or when it cannot be opened.
std::unique_ptr<std::FILE, int (*)(std::FILE*)> OpenDealsFile(const std::string& name);

// Appends the deals of the file, in the format its content shows, as
// ReadDeals does. A missing file, or a folder of that name, does nothing and
// shows nothing; a pipe or a device throws TFileError. The desktop program
// opens deals this way, whatever the file's name.
TDealsLoadResult LoadAnyDealsFile(const std::string& name, TDeals& deals);

// Writes the boards in the format into the buffer and flushes it.
void WriteBoards(TOutputBuffer& out, const TDealFormat& format, const TBoards& boards);
// Creates or replaces the file with the boards, whole or not at all. A
// file-system failure throws TFileError.
void WriteDealsFile(const std::string& name, const TDealFormat& format, const TBoards& boards);
// Saves the collection as the window's save command does: an empty collection
// or a folder that does not exist writes nothing and shows nothing; otherwise
// the file is replaced and "<n> раздач(и) сохранены в файле <name>" is shown.
// keyValue is named in a PBN file's Generator tags; analysis i, when given,
// goes with deal i to a format that writes analyses. Throws TFileError.
void SaveDealsFile(const std::string& name, const TDealFormat& format, const TDeals& deals,
                   int64_t keyValue, std::span<const TDealAnalysis> analyses = {});
// The same with the way the deals were dealt (a secure one names no key),
// the boards numbered from firstBoard.
void SaveDealsFile(const std::string& name, const TDealFormat& format, const TDeals& deals,
                   const TDealtBy& dealtBy, std::span<const TDealAnalysis> analyses = {},
                   int64_t firstBoard = 1);
