#include "cli/OptionParser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <stdexcept>

#include "text/StringFunctions.h"

namespace {

const TOptionRow* FindRow(const TCommand& command, std::string_view name) {
    for (const TOptionRow& row : command.Options)
        if (name == row.Name) return &row;
    return nullptr;
}

// The first of the two rows that exclude each other when `row` is one of
// them; null when it is neither.
const TOptionRow* AlternativePair(const TCommand& command, const TOptionRow& row) {
    const std::size_t at = static_cast<std::size_t>(&row - command.Options.data());
    if (row.WithNext != TAlternative::None && at + 1 < command.Options.size()) return &row;
    if (at > 0 && command.Options[at - 1].WithNext != TAlternative::None)
        return &command.Options[at - 1];
    return nullptr;
}

// A whole number, blanks around it allowed.
bool ReadNumber(std::string_view text, int64_t& value) {
    text = TrimText(text);
    if (!IsInteger(text)) return false;
    auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && stop == text.data() + text.size();
}

std::vector<std::string_view> ChoiceWords(std::string_view names) {
    std::vector<std::string_view> words;
    for (std::size_t start = 0;;) {
        const std::size_t bar = names.find('|', start);
        words.push_back(names.substr(start, bar - start));
        if (bar == std::string_view::npos) return words;
        start = bar + 1;
    }
}

// The word of a Choice's table that `value` is (in either case for AnyCase);
// empty when it is none of them.
std::string_view ChoiceWord(const TOptionRow& row, std::string_view value) {
    for (std::string_view word : ChoiceWords(row.ValueName)) {
        if (word == value) return word;
        if (row.AnyCase && word.size() == value.size() &&
            std::equal(word.begin(), word.end(), value.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            }))
            return word;
    }
    return {};
}

bool Accepts(const TOptionRow& row, const std::string& value) {
    switch (row.Kind) {
        case TValueKind::None:
        case TValueKind::Text:
            return true;
        case TValueKind::Name:
            return !value.empty();
        case TValueKind::Number: {
            int64_t number = 0;
            return ReadNumber(value, number) && number >= row.Least && number <= row.Most;
        }
        case TValueKind::Choice:
            return !ChoiceWord(row, value).empty();
        case TValueKind::Letters:
            return !value.empty() && std::all_of(value.begin(), value.end(), [&row](char letter) {
                const auto upper =
                    static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
                return std::string_view(row.ValueName).find(upper) != std::string_view::npos;
            });
    }
    return false;
}

// What the row accepts, for the complaint about a refused value.
std::string Accepted(const TOptionRow& row) {
    std::string text;
    switch (row.Kind) {
        case TValueKind::Number:
            if (row.Most == std::numeric_limits<int64_t>::max())
                return "целое число не меньше " + std::to_string(row.Least);
            return "целое число от " + std::to_string(row.Least) + " до " +
                   std::to_string(row.Most);
        case TValueKind::Choice:
            for (std::string_view word : ChoiceWords(row.ValueName))
                text += (text.empty() ? "одно из: " : ", ") + std::string(word);
            return text;
        case TValueKind::Letters:
            for (const char* letter = row.ValueName; *letter != '\0'; ++letter)
                text += (text.empty() ? "одна или несколько букв из: " : ", ") +
                        std::string(1, *letter);
            return text;
        default:
            return "непустой текст";
    }
}

// "--key N", or "--quiet" for a switch.
std::string RowSynopsis(const TOptionRow& row) {
    return row.Kind == TValueKind::None ? row.Name : std::string(row.Name) + " " + row.ValueName;
}

}  // namespace

bool TArguments::Given(std::string_view name) const {
    return std::any_of(given_.begin(), given_.end(),
                       [name](const auto& given) { return given.first == name; });
}

std::string_view TArguments::Known(const TOptionRow& option) const {
    if (!Offers(option))
        throw std::logic_error(std::string("korvana-cli: the command has no option ") +
                               option.Name);
    return option.Name;
}

bool TArguments::Has(const TOptionRow& option) const { return Given(Known(option)); }

bool TArguments::Offers(const TOptionRow& option) const {
    return command_ != nullptr && FindRow(*command_, option.Name) != nullptr;
}

std::string TArguments::Text(const TTextOption& option, const std::string& fallback) const {
    const std::string_view name = Known(option);
    for (auto given = given_.rbegin(); given != given_.rend(); ++given)
        if (given->first == name) return given->second;
    return fallback;
}

std::vector<std::string> TArguments::Texts(const TTextOption& option) const {
    const std::string_view name = Known(option);
    std::vector<std::string> values;
    for (const auto& [given, value] : given_)
        if (given == name) values.push_back(value);
    return values;
}

int64_t TArguments::Number(const TNumberOption& option, int64_t fallback) const {
    const std::string_view name = Known(option);
    for (auto given = given_.rbegin(); given != given_.rend(); ++given) {
        int64_t value = fallback;
        if (given->first == name) return ReadNumber(given->second, value) ? value : fallback;
    }
    return fallback;
}

TParseOutcome ParseArguments(const TCommand& command, const std::vector<std::string>& args,
                             TArguments& parsed, std::string& complaint) {
    parsed = TArguments();
    parsed.command_ = &command;
    const auto refuse = [&complaint](std::string text) {
        complaint = std::move(text);
        return TParseOutcome::BadUsage;
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg.front() != '-' || arg == "-") {
            if (parsed.Positionals.size() == command.Positionals.size())
                return refuse("лишний аргумент \"" + arg + "\"");
            if (arg.empty())
                return refuse(std::string("пустой аргумент ") +
                              command.Positionals[parsed.Positionals.size()]);
            parsed.Positionals.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") return TParseOutcome::Help;
        const std::size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, equals);
        const TOptionRow* row = FindRow(command, name);
        if (row == nullptr) return refuse("неизвестный ключ " + name);
        std::string value;
        if (equals != std::string::npos) {
            if (row->Kind == TValueKind::None)
                return refuse("ключ " + name + " не принимает значения");
            value = arg.substr(equals + 1);
        } else if (row->Kind != TValueKind::None) {
            if (i + 1 >= args.size()) return refuse("ключу " + name + " нужно значение");
            value = args[++i];
        }
        if (!row->Repeatable && parsed.Given(name))
            return refuse("ключ " + name + " указан больше одного раза");
        if (const TOptionRow* pair = AlternativePair(command, *row)) {
            const TOptionRow& other = pair == row ? pair[1] : pair[0];
            if (parsed.Given(other.Name))
                return refuse(std::string("укажите один из ключей ") + pair[0].Name + " и " +
                              pair[1].Name + ", один раз");
        }
        if (!Accepts(*row, value))
            return refuse("неверное значение ключа " + name + ": \"" + value + "\" (нужно " +
                          Accepted(*row) + ")");
        if (row->Kind == TValueKind::Choice) value = ChoiceWord(*row, value);
        parsed.given_.emplace_back(name, std::move(value));
    }
    if (parsed.Positionals.size() < command.Positionals.size()) {
        std::string wanted;
        for (const char* positional : command.Positionals) wanted += std::string(" ") + positional;
        return refuse(std::string("команде ") + command.Name +
                      (command.Positionals.size() == 1 ? " нужен аргумент" : " нужны аргументы") +
                      wanted);
    }
    for (const TOptionRow& row : command.Options)
        if (row.Required && !parsed.Given(row.Name))
            return refuse(command.Name + std::string(" needs ") + RowSynopsis(row));
    for (std::size_t at = 0; at + 1 < command.Options.size(); ++at) {
        const TOptionRow* pair = &command.Options[at];
        if (pair->WithNext == TAlternative::ExactlyOne && !parsed.Given(pair[0].Name) &&
            !parsed.Given(pair[1].Name))
            return refuse(std::string("команде ") + command.Name + " нужен ключ " +
                          RowSynopsis(pair[0]) + " или " + RowSynopsis(pair[1]));
    }
    return TParseOutcome::Parsed;
}

std::string CommandSynopsis(const TCommand& command) {
    std::string text = command.Name;
    for (const char* positional : command.Positionals) text += std::string(" ") + positional;
    const std::span<const TOptionRow> rows = command.Options;
    for (std::size_t at = 0; at < rows.size(); ++at) {
        if (rows[at].Required) {
            text += " " + RowSynopsis(rows[at]);
            continue;
        }
        if (rows[at].WithNext == TAlternative::None || at + 1 == rows.size()) {
            text += " [" + RowSynopsis(rows[at]) + "]";
            continue;
        }
        const bool required = rows[at].WithNext == TAlternative::ExactlyOne;
        text += (required ? " (" : " [") + RowSynopsis(rows[at]) + " | " +
                RowSynopsis(rows[at + 1]) + (required ? ")" : "]");
        ++at;
    }
    return text;
}

void PrintCommandHelp(const TCommand& command, std::FILE* stream) {
    std::fprintf(stream, "использование: korvana-cli %s\n\n  %s\n\n",
                 CommandSynopsis(command).c_str(), command.Summary);
    std::size_t width = 0;
    for (const TOptionRow& row : command.Options) width = std::max(width, RowSynopsis(row).size());
    for (const TOptionRow& row : command.Options)
        std::fprintf(stream, "  %-*s  %s\n", static_cast<int>(width), RowSynopsis(row).c_str(),
                     row.Help);
    if (!command.Options.empty()) std::fputs("\n", stream);
}
