#include "text/StringFunctions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace {

template <std::size_t N>
bool InTable(const std::array<std::string_view, N>& table, std::string_view word) {
    return std::find(table.begin(), table.end(), word) != table.end();
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A UTF-8 continuation byte (10xxxxxx) does not start a character.
bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

// Byte offset of the character with index `chars` (or the size when the text is shorter).
std::size_t ByteOffsetOfChar(std::string_view text, int32_t chars) {
    int32_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (StartsCharacter(text[i])) {
            if (seen == chars) return i;
            ++seen;
        }
    }
    return text.size();
}

std::string Spaces(int32_t count) {
    return std::string(static_cast<std::size_t>(std::max(count, 0)), ' ');
}

std::string IntText(int32_t value) {
    char buffer[16];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace

bool IsSeparator(char c) {
    return c == ' ' || c == ',' || c == '(' || c == ')' || c == '+' || c == '-';
}
bool IsSeparator(std::string_view word) { return word.size() == 1 && IsSeparator(word[0]); }

bool IsCompareChar(char c) { return c == '<' || c == '>' || c == '='; }
bool IsCompareChar(std::string_view word) { return word.size() == 1 && IsCompareChar(word[0]); }

bool IsBooleanConst(std::string_view word) { return InTable(BooleanWords, word); }
bool IsSeat(std::string_view word) { return InTable(SeatWords, word); }
bool IsSuit(std::string_view word) { return InTable(SuitWords, word); }

bool IsInteger(std::string_view word) {
    if (word.empty()) return false;
    std::size_t first = word[0] == '-' ? 1 : 0;
    if (first == word.size()) return false;
    return std::all_of(word.begin() + static_cast<std::ptrdiff_t>(first), word.end(), IsDigit);
}

bool IsValue(std::string_view word) {
    return IsInteger(word) || IsBooleanConst(word) || IsSeat(word) || IsSuit(word);
}

std::string_view TrimText(std::string_view text) {
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool TryTextToInt(std::string_view text, int32_t& value) {
    std::string_view trimmed = TrimText(text);
    if (!IsInteger(trimmed)) return false;
    int32_t parsed = 0;
    auto result = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), parsed);
    if (result.ec != std::errc() || result.ptr != trimmed.data() + trimmed.size()) return false;
    value = parsed;
    return true;
}

int32_t TextToInt(std::string_view text, int32_t defaultValue) {
    int32_t value = defaultValue;
    return TryTextToInt(text, value) ? value : defaultValue;
}

std::string BoolToText(bool value) { return value ? "1" : "0"; }

bool TextToBool(std::string_view text, bool defaultValue) {
    if (text == "1") return true;
    if (text == "0") return false;
    return defaultValue;
}

int32_t SeatCode(std::string_view seatText) {
    if (seatText.empty()) return 0;
    switch (seatText[0]) {
        case 'N':
            return 1;
        case 'E':
            return 2;
        case 'S':
            return 3;
        case 'W':
            return 4;
        default:
            return 0;
    }
}

int32_t SuitCode(std::string_view suitText) {
    if (suitText.empty()) return 0;
    switch (suitText[0]) {
        case 'C':
            return 1;
        case 'D':
            return 2;
        case 'H':
            return 3;
        case 'S':
            return 4;
        default:
            return 0;
    }
}

std::string SeatName(int32_t seat) {
    switch (seat) {
        case 1:
            return "North";
        case 2:
            return "East";
        case 3:
            return "South";
        case 4:
            return "West";
        default:
            return "";
    }
}

std::string TypeName(int32_t valueType) {
    switch (valueType) {
        case vtBoolean:
            return "Логический";
        case vtInteger:
            return "Целый";
        case vtPosition:
            return "Позиция";
        case vtSuit:
            return "Macть";  // "Mac" in Latin letters, "ть" in Cyrillic
        default:
            return "";
    }
}

int32_t CharCount(std::string_view text) {
    return static_cast<int32_t>(std::count_if(text.begin(), text.end(), StartsCharacter));
}

std::string RepeatText(int32_t count, std::string_view piece) {
    std::string result;
    if (count <= 0) return result;
    result.reserve(piece.size() * static_cast<std::size_t>(count));
    for (int32_t i = 0; i < count; ++i) result.append(piece);
    return result;
}

std::string LeftAligned(std::string_view text, int32_t width) {
    width = std::max(width, 0);
    std::string_view trimmed = TrimText(text);
    int32_t length = CharCount(trimmed);
    if (length >= width) return std::string(trimmed.substr(0, ByteOffsetOfChar(trimmed, width)));
    return std::string(trimmed) + Spaces(width - length);
}

std::string RightAligned(std::string_view text, int32_t width) {
    width = std::max(width, 0);
    std::string_view trimmed = TrimText(text);
    int32_t length = CharCount(trimmed);
    if (length >= width)
        return std::string(trimmed.substr(ByteOffsetOfChar(trimmed, length - width)));
    return Spaces(width - length) + std::string(trimmed);
}

std::string Centered(std::string_view text, int32_t width) {
    width = std::max(width, 0);
    std::string_view trimmed = TrimText(text);
    int32_t length = CharCount(trimmed);
    if (length >= width) return std::string(trimmed.substr(0, ByteOffsetOfChar(trimmed, width)));
    int32_t before = (width - length) / 2;
    return Spaces(before) + std::string(trimmed) + Spaces(width - length - before);
}

std::string IntLeft(int32_t value, int32_t width, bool showZero) {
    if (!showZero && value == 0) return Spaces(width);
    return LeftAligned(IntText(value), width);
}

std::string IntRight(int32_t value, int32_t width, bool showZero) {
    if (!showZero && value == 0) return Spaces(width);
    return RightAligned(IntText(value), width);
}

std::string RealRight(float value, int32_t width, int32_t decimals, bool showZero) {
    if (!showZero && value == 0.0f) return Spaces(width);
    if (!std::isfinite(value))
        return RightAligned(std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF"), width);
    decimals = std::max(decimals, 0);

    // The exact decimal expansion of the float: a float has at most 149
    // fractional digits, so this precision loses nothing. Rounding is then done
    // on the digits, so an exact half always rounds away from zero.
    constexpr int kExactDigits = 149;
    char buffer[64 + kExactDigits];
    double magnitude = std::fabs(static_cast<double>(value));
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed,
                                kExactDigits);
    std::string_view exact(buffer, static_cast<std::size_t>(result.ptr - buffer));
    std::size_t point = exact.find('.');
    std::string digits(exact.substr(0, point));  // integer digits
    std::string_view fraction = exact.substr(point + 1);
    std::size_t kept = std::min<std::size_t>(static_cast<std::size_t>(decimals), fraction.size());
    digits.append(fraction.substr(0, kept));
    digits.append(static_cast<std::size_t>(decimals) - kept, '0');
    int32_t integerDigits = static_cast<int32_t>(point);

    if (kept < fraction.size() && fraction[kept] >= '5') {
        int32_t i = static_cast<int32_t>(digits.size()) - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9')
            digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++digits[static_cast<std::size_t>(i)];
        } else {
            digits.insert(digits.begin(), '1');
            ++integerDigits;
        }
    }

    bool allZero = digits.find_first_not_of('0') == std::string::npos;
    std::string text;
    if (value < 0 && !allZero) text += '-';
    text.append(digits, 0, static_cast<std::size_t>(integerDigits));
    if (decimals > 0) {
        text += '.';
        text.append(digits, static_cast<std::size_t>(integerDigits), std::string::npos);
    }
    return RightAligned(text, width);
}

std::string FolderPart(std::string_view fileName) {
    std::size_t slash = fileName.rfind('/');
    if (slash == std::string_view::npos) return "";
    // Keep the "/" of the root, or one that follows another "/".
    if (slash == 0 || fileName[slash - 1] == '/') return std::string(fileName.substr(0, slash + 1));
    return std::string(fileName.substr(0, slash));
}

bool HasExtension(std::string_view fileName, std::string_view extension) {
    if (fileName.size() <= extension.size()) return false;
    const std::string_view tail = fileName.substr(fileName.size() - extension.size());
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return std::equal(tail.begin(), tail.end(), extension.begin(),
                      [&lower](char a, char b) { return lower(a) == lower(b); });
}

bool FileDirExists(std::string_view fileName) {
    std::string folder = FolderPart(fileName);
    if (folder.empty()) return false;
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(folder), error);
}
