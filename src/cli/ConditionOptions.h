#pragma once
// What `generate` and `check` share: the condition options, the rule set, and
// preparing the condition exactly as a generator run does, with the first
// message printed as "error at N: MESSAGE", the condition and a caret.
#include <cstdint>
#include <string>
#include <vector>

#include "cli/OptionParser.h"

class TGenerator;

// --condition TEXT or --condition-file FILE.cnd, at most one of them.
struct TConditionSource {
    bool Given = false;
    bool FromFile = false;
    std::string Text;      // --condition
    std::string FileName;  // --condition-file
};

// The rows of --condition and --condition-file, which exclude each other;
// `alternative` tells whether one of them must be given (lookups name the
// first by kConditionOption, where neither must).
consteval TTextOption ConditionOption(TAlternative alternative) {
    return TOptionRow{.Name = "--condition",
                      .Kind = TValueKind::Text,
                      .ValueName = "TEXT",
                      .Help = "условие на языке условий",
                      .WithNext = alternative};
}
inline constexpr TTextOption kConditionOption = ConditionOption(TAlternative::AtMostOne);
inline constexpr TTextOption kConditionFileOption =
    TOptionRow{.Name = "--condition-file",
               .Kind = TValueKind::Text,
               .ValueName = "FILE.cnd",
               .Help = "условие из файла условий оконной программы (- читает стандартный ввод)"};

// The condition the arguments give, from the two rows above.
TConditionSource ConditionSource(const TArguments& arguments);

// The condition's lines: one line for --condition, the file's lines after the
// header for --condition-file, none when no condition was given. False when
// the file cannot be read or is refused; the reason went to stderr.
bool ReadConditionLines(const TConditionSource& source, std::vector<std::string>& lines);

// Prints the text on stderr and under it a caret at character `position`.
void PrintErrorCaret(const std::string& text, int32_t position);

// Prepares the run's condition from its lines; when it is refused, prints on
// stderr "ошибка в позиции N: MESSAGE", the joined condition and a caret under
// character N, or, for a condition of blanks only, that it is blank; then
// returns false.
bool PrepareConditionOrReport(TGenerator& generator, const std::vector<std::string>& lines);
