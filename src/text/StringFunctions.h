#pragma once
// The words of the condition language, the codes of seats, suits and value
// types, the text form of values, and fixed-width text layout.
// Pure functions of their arguments; nothing here fails or reports anything.
// Texts are UTF-8; every width and length counts characters (code points),
// so a Cyrillic letter counts as one.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Value types of the condition language (held in lexemes and tree nodes).
enum TValueType : int32_t {
    vtNone = 0,      // no value: missing or ill-typed
    vtBoolean = 1,   // "1" or "0"
    vtInteger = 2,   // decimal text
    vtPosition = 3,  // a seat word
    vtSuit = 4,      // a suit word
    vtPending = 6,   // a tree node not evaluated yet
};

// Word tables: upper-case words, matched whole and case-sensitively. The
// function and operator words are rows of the language's function table.
inline constexpr std::array<std::string_view, 4> BooleanWords = {"TRUE", "FALSE", "T", "F"};
inline constexpr std::array<std::string_view, 8> SeatWords = {"N",     "E",     "S",    "W",
                                                              "NORTH", "SOUTH", "EAST", "WEST"};
inline constexpr std::array<std::string_view, 8> SuitWords = {
    "C", "D", "H", "SP", "CLUBS", "DIAMONDS", "HEARTS", "SPADES"};

// --- Classification of one upper-case word -------------------------------

bool IsSeparator(std::string_view word);  // " " "," "(" ")" "+" "-"
bool IsSeparator(char c);
bool IsCompareChar(std::string_view word);  // "<" ">" "="
bool IsCompareChar(char c);
bool IsBooleanConst(std::string_view word);
bool IsSeat(std::string_view word);
bool IsSuit(std::string_view word);
// An optional "-" then one or more digits, nothing else (no "+", no spaces);
// any number of digits.
bool IsInteger(std::string_view word);
// IsInteger, IsBooleanConst, IsSeat or IsSuit.
bool IsValue(std::string_view word);

// --- Conversions ----------------------------------------------------------

// Removes leading and trailing spaces and control characters (bytes up to " ").
std::string_view TrimText(std::string_view text);

// The value of the trimmed text when it IsInteger and lies within the signed
// 32-bit range; otherwise the default. An integer text outside that range thus
// gives the default, never a wrapped or clipped value; callers that must tell
// such a text from a valid one use TryTextToInt.
int32_t TextToInt(std::string_view text, int32_t defaultValue);
// True and the value when the trimmed text IsInteger and fits in 32 bits.
bool TryTextToInt(std::string_view text, int32_t& value);

std::string BoolToText(bool value);  // "1" or "0"
// true for exactly "1", false for exactly "0", the default otherwise.
bool TextToBool(std::string_view text, bool defaultValue);

// By the first character only: N 1, E 2, S 3, W 4; anything else 0.
int32_t SeatCode(std::string_view seatText);
// By the first character only: C 1, D 2, H 3, S 4; anything else 0.
int32_t SuitCode(std::string_view suitText);
// 1 "North", 2 "East", 3 "South", 4 "West"; other codes the empty text.
std::string SeatName(int32_t seat);
// The type name shown in messages; the empty text for vtNone, vtPending and
// any other code. The suit type's name starts with three Latin letters.
std::string TypeName(int32_t valueType);

// --- Fixed-width layout -----------------------------------------------------

// Number of characters (code points) of a UTF-8 text.
int32_t CharCount(std::string_view text);

// The piece repeated count times; empty for a count of 0 or less.
std::string RepeatText(int32_t count, std::string_view piece);
// The trimmed text padded with spaces to width, or cut to its first width
// characters. A negative width counts as 0.
std::string LeftAligned(std::string_view text, int32_t width);
// The trimmed text preceded by spaces to width, or cut to its last width characters.
std::string RightAligned(std::string_view text, int32_t width);
// The trimmed text with (width - length) div 2 spaces before it and the rest
// after it, or cut to its first width characters.
std::string Centered(std::string_view text, int32_t width);
// LeftAligned / RightAligned of the decimal text; width spaces for a 0 unless showZero.
std::string IntLeft(int32_t value, int32_t width, bool showZero);
std::string IntRight(int32_t value, int32_t width, bool showZero);
// The exact value of the single-precision number rounded to `decimals` places,
// a half rounded away from zero, in fixed-point notation with "."; then
// RightAligned to width. Width spaces for 0.0 unless showZero. A value that
// rounds to zero is written without a minus sign.
std::string RealRight(float value, int32_t width, int32_t decimals, bool showZero);

// --- Files ----------------------------------------------------------------

// The folder part of a file name: everything before the last "/", without that
// "/" unless it is the first character or follows another "/" (so "/x" gives
// "/"). A name without "/" has an empty folder part.
std::string FolderPart(std::string_view fileName);
// True when the name ends in the extension (".pbn"), in any letter case, and
// has something before it.
bool HasExtension(std::string_view fileName, std::string_view extension);
// True when the folder part is not empty and names an existing directory.
bool FileDirExists(std::string_view fileName);
