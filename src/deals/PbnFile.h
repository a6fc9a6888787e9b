#pragma once
// Deals in Portable Bridge Notation (PBN 2.1), the exchange format of bridge
// software: dealing machines, scoring programs, teaching sites.
//
// Writing produces the strict export format: a "% PBN 2.1" header, one game per
// board with the fifteen mandatory tags in their fixed order, the Generator
// tag and the board's other tags, each board's number, dealer and
// vulnerability (for a collection: from 1 in the usual rotation), lines ended
// by CR LF, ISO-8859-1 text, no tabs, every line under 256 bytes.
//
// Reading accepts the lenient import format: one deal per game whose Deal tag
// gives all 52 cards (any first seat, ranks in any order and any letter case,
// "10" for the ten, "-" for a void, or "-" for a hand that holds the cards the
// other three do not); a board keeps the game's other tags with their sections.
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "deals/Board.h"

class TBoards;
class TDeal;
class TDeals;
class TDealsInput;
class TOutputBuffer;
struct TBoard;
struct TDealAnalysis;
struct TDealsReadCounts;

// ---- Writing -------------------------------------------------------------

// The Deal tag value: the first seat's letter, ":", then the four hands
// clockwise from that seat, each as spades.hearts.diamonds.clubs with the ranks
// from the ace down, e.g. "N:7532.A6.Q2.KJ842 K.842.KJ753.T975 ...". Places that
// hold no card are left out, and so is a card already written once, so that even
// a damaged deal gives a well-formed value (which readers then skip as incomplete).
std::string PbnDealValue(const TDeal& deal, int32_t firstSeat);

// One tag pair line without its line end: [Name "value"]. The value is taken
// as UTF-8 and written in ISO-8859-1: quote and backslash are escaped, a
// character without a Latin-1 form becomes "?", control characters become
// blanks, and the value is cut short so that the line keeps under 254 bytes.
std::string PbnTagLine(std::string_view name, std::string_view value);

// OptimumScore's value from North-South's view, signed: "NS 420", "NS -460".
std::string PbnOptimumScore(int32_t score);
// The score for North-South an OptimumScore value gives, "NS -460" or the
// older "EW 460" alike; nothing for any other text.
std::optional<int32_t> ReadOptimumScore(std::string_view value);

// The writer of the formats table: the header, then one game per board with
// its number, dealer and vulnerability and the values of the board's own
// mandatory tags; the key value of the way it was dealt, when told, in its
// Generator tag, so that the run can be repeated (else the board's own
// Generator tag); the board's other PBN tags with their sections in file
// order; and, for a solved analysis: the table tag OptimumResultTable (a row
// per declarer and strain padded to its columns, "N  S  9") and, when the par
// is known, OptimumScore ("NS -460") and ParContract ("NS 4S"; "Pass" for a
// deal passed out), which replace the board's own tags of those names.
void WritePbnBoards(TOutputBuffer& out, const TBoards& boards);

// Writes every deal of the collection as one game, numbered from 1, with
// keyValue in its Generator tag. Writes nothing else than the stream; the
// caller checks the stream's state.
void WritePbn(std::ostream& out, const TDeals& deals, int64_t keyValue);

// Creates or replaces the file and writes the collection into it (the header
// alone for an empty collection), with each deal's double-dummy analysis
// (result i for deal i) when given. A file-system failure throws TFileError.
void WritePbnFile(const std::string& name, const TDeals& deals, int64_t keyValue,
                  std::span<const TDealAnalysis> analyses = {});

// Saves the collection to a PBN file, as SaveToFile does for a deals file: an
// empty collection or a folder that does not exist writes nothing and shows
// nothing; otherwise the file is replaced and the message "<n> раздач(и)
// сохранены в файле <name>" is shown. A file-system failure throws TFileError.
void SavePbnFile(const std::string& name, const TDeals& deals, int64_t keyValue);

// ---- Reading -------------------------------------------------------------

// The longest tag value the reader keeps; longer values count as broken. The
// standard limits every token to 255 characters.
inline constexpr std::size_t PbnMaxTagValue = 255;
// The longest section (the lines after a tag) the reader keeps with its tag;
// the rest is passed over.
inline constexpr std::size_t PbnMaxSection = 1 << 14;

// Tag text as UTF-8: well-formed UTF-8 as it is, anything else taken as the
// standard's ISO-8859-1.
std::string PbnTextAsUtf8(std::string_view text);

// Reads a Deal tag value of the import format into `deal`: "<first>:" and four
// hands separated by blanks, each hand four dot-separated suits of ranks in any
// order and case, "10" accepted for the ten and "-" for a void; one hand may be
// "-" alone, the cards the other three do not hold. The hands are stored North, East,
// South, West, each hand's cards in descending order as a dealt hand holds them.
// False, leaving `deal` untouched, unless the value gives 52 distinct cards,
// thirteen to each hand.
bool ReadPbnDealValue(std::string_view value, TDeal& deal);

struct TPbnReadCounts {
    int32_t Loaded = 0;   // games whose deal was appended
    int32_t Skipped = 0;  // games without a Deal tag, or with one that is not a full deal
};

// Appends one deal per game of PBN text to the collection, in file order.
// Games are separated by lines that hold nothing but blanks and tabs, or by a
// Board or Event tag after a game's Deal tag; only the first Deal tag of a
// game counts; other tags, "%" escape lines, "{...}" and ";"
// comments are passed over;
// a tag pair that is broken or longer than PbnMaxTagValue is ignored. Lines
// may end in CR LF, LF or CR. Memory beyond the appended deals stays bounded
// whatever the lines hold.
TPbnReadCounts ReadPbn(std::istream& in, TDeals& deals);

// The probe of the formats table: 50 for text that starts, after blanks, with
// a tag or an escape line, 30 with a comment, 1 for any other text.
int32_t ProbePbn(std::string_view head);

// The reader of the formats table: ReadPbn's games, each loaded deal also a
// board when `boards` is given (Board, Dealer and Vulnerable from the game's
// tags, else from its place; its other tags, but Deal, kept in file order as
// UTF-8 with their sections, the first of each name but every Note, at most
// 256). Counts the games whose Deal tag gives no whole deal and names the
// first. Refused when no deal was loaded.
TDealsReadCounts ReadPbnBoards(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards);

struct TPbnLoadResult {
    bool Found = false;    // the file existed and was read
    bool Refused = false;  // it held no deal at all; nothing was added
    TPbnReadCounts Counts;
};

// Loads a PBN file into the collection. A missing file, or a folder of that
// name, does nothing and shows nothing. A file without any deal is refused with the message
// "Файл <name> не содержит раздачи". Otherwise the deals are appended and the
// message names how many were loaded and how many games were skipped. A
// file-system failure throws TFileError; the deals read before it stay.
TPbnLoadResult LoadPbnFile(const std::string& name, TDeals& deals);

// The message shown after a PBN file was loaded.
std::string PbnLoadedMessage(const std::string& name, const TPbnReadCounts& counts);
