#pragma once
// The option parser of korvana-cli. Each command declares one table of its
// options and the arguments it takes; the same table parses the command line
// ("--opt value" and "--opt=value"), checks the values, and prints the
// command's synopsis and help, so the help cannot drift from the parser.
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// What an option's value may be.
enum class TValueKind {
    None,     // a switch: no value
    Text,     // any text, the empty one too
    Name,     // any text but the empty one
    Number,   // a whole number from Least to Most
    Choice,   // one of the words of ValueName, as in "text|lines"
    Letters,  // one or more of the letters of ValueName, in either case, as in "NESW"
};

// How an option goes with the row after it.
enum class TAlternative {
    None,
    AtMostOne,   // the two exclude each other
    ExactlyOne,  // the two exclude each other and one of them must be given
};

// One row of a command's option table.
struct TOptionRow {
    const char* Name;  // "--count"
    TValueKind Kind = TValueKind::None;
    const char* ValueName = "";  // the value in the synopsis: "N", "FILE.cnd", "text|lines"
    const char* Help = "";       // one line of the command's help
    int64_t Least = 0;           // the range of a Number
    int64_t Most = 0;
    bool Repeatable = false;  // else giving it twice is bad usage
    bool Required = false;    // leaving it out is bad usage
    TAlternative WithNext = TAlternative::None;
    bool AnyCase = false;  // a Choice's word in either case, read as the table writes it
};

// A row that a command's code reads a value through: T is what the value reads
// as, bool for a switch, int64_t for a Number and std::string for the kinds of
// text. Every row a command looks up is one such named constant, so a misspelt
// option does not compile, and neither does a row whose kind gives another T
// or a lookup of another type.
template <typename T>
struct TOption : TOptionRow {
    consteval TOption(const TOptionRow& row) : TOptionRow(row) {
        if (!Gives(row.Kind)) throw "the row's kind gives a value of another type";
    }

private:
    static consteval bool Gives(TValueKind kind) {
        if constexpr (std::is_same_v<T, bool>) return kind == TValueKind::None;
        if constexpr (std::is_same_v<T, int64_t>) return kind == TValueKind::Number;
        return std::is_same_v<T, std::string> && kind != TValueKind::None &&
               kind != TValueKind::Number;
    }
};
using TSwitch = TOption<bool>;
using TNumberOption = TOption<int64_t>;
using TTextOption = TOption<std::string>;

class TArguments;
enum class TParseOutcome { Parsed, Help, BadUsage };

// A command: its name, its table and what runs it.
struct TCommand {
    const char* Name;
    const char* Summary;  // one line for the usage text
    std::span<const TOptionRow> Options = {};
    std::span<const char* const> Positionals = {};  // every one required, in order: {"IN", "OUT"}
    int (*Run)(const TArguments& arguments);
};

// A command line read by its command's table: the values as given, already
// checked against their rows. An option is looked up by a row of the table
// (or a row of the same name): looking up one the command does not have is a
// fault of the program and throws std::logic_error.
class TArguments {
public:
    bool Has(const TOptionRow& option) const;
    // Whether the command has the option at all.
    bool Offers(const TOptionRow& option) const;
    // The option's value, or `fallback` when it was not given.
    std::string Text(const TTextOption& option, const std::string& fallback = {}) const;
    int64_t Number(const TNumberOption& option, int64_t fallback) const;
    // Every value of a repeatable option, in the order given.
    std::vector<std::string> Texts(const TTextOption& option) const;

    std::vector<std::string> Positionals;

private:
    friend TParseOutcome ParseArguments(const TCommand&, const std::vector<std::string>&,
                                        TArguments&, std::string&);
    bool Given(std::string_view name) const;
    // The name of an option of the command; throws for any other.
    std::string_view Known(const TOptionRow& option) const;
    const TCommand* command_ = nullptr;
    std::vector<std::pair<std::string, std::string>> given_;  // option, value; in order
};

// Reads `args` by the command's table into `parsed`. Help when "--help" or
// "-h" stands where an option may; BadUsage, with `complaint` set, for an
// unknown option, a missing or refused value, an option given twice, two
// options that exclude each other, an empty argument, or too few or too many
// arguments. After
// "--" every argument is a positional one; before it, one that starts with
// '-' is an option. An option's value is the next argument whatever it is.
TParseOutcome ParseArguments(const TCommand& command, const std::vector<std::string>& args,
                             TArguments& parsed, std::string& complaint);

// "generate [--key N] [--condition TEXT | --condition-file FILE.cnd] ...".
std::string CommandSynopsis(const TCommand& command);

// The command's synopsis, summary and one line per option.
void PrintCommandHelp(const TCommand& command, std::FILE* stream);
