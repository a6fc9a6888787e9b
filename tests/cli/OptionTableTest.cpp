// The option tables of korvana-cli: every command reads its arguments the
// same way, and the man page documents exactly the options each command has.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// "@" stands for a PBN file of four deals, in the arguments and the message.
// ErrLine is the complaint before the usage (after "korvana-cli: "), or a
// line stderr holds.
struct TOptionCase {
    std::vector<std::string> Args;
    int ExitCode;
    std::string ErrLine;
};

std::string WithSample(std::string text) {
    const std::string sample = std::string(KORVANA_SAMPLES_DIR) + "/dealer-printpbn.pbn";
    if (const std::size_t at = text.find('@'); at != std::string::npos) text.replace(at, 1, sample);
    return text;
}

class CliOptions : public ::testing::TestWithParam<TOptionCase> {};

// Runs in a folder of its own: "--out -" and "convert @ -- -out.dls" write files there.
TEST_P(CliOptions, ExitCodeAndFirstMessage) {
    const TTempFolder temp;
    const fs::path& folder = temp.Path();
    std::vector<std::string> args;
    for (const std::string& arg : GetParam().Args) args.push_back(WithSample(arg));
    TCliRunOptions options;
    options.WorkingFolder = folder;
    const TCliRun run = RunCliWith(folder, args, options);
    const std::vector<std::string> err = run.ErrLines();
    const std::string expected = WithSample(GetParam().ErrLine);
    EXPECT_EQ(run.ExitCode, GetParam().ExitCode) << run.Err;
    if (run.ExitCode == 2) {  // the complaint, then the usage
        ASSERT_GE(err.size(), 2u);
        EXPECT_EQ(err[0], "korvana-cli: " + expected);
        EXPECT_EQ(err[1], "использование: korvana-cli COMMAND [ARGUMENTS]");
    } else if (!expected.empty()) {
        EXPECT_NE(std::find(err.begin(), err.end(), expected), err.end()) << run.Err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryCommand, CliOptions,
    ::testing::ValuesIn(std::vector<TOptionCase>{
        {{"generate", "--key=1", "--threads=2", "--quiet"}, 0, "1(1)"},
        {{"generate", "--key", "-7", "--threads", "2", "--quiet", "--quiet", "--out", "-",
          "--out-format", "lin"},
         0,
         "1(1)"},
        {{"generate", "--out", "-"},
         2,
         "для вывода в стандартный поток (-) нужен --out-format dls|pbn|lin|ber|csv|bhg|rzd|cds"},
        {{"generate", "--out", "deals.txt"},
         2,
         "неизвестное расширение файла раздач .txt (известны: .dls, .pbn, .lin, .ber, .csv, "
         ".bhg, .rzd, .cds; или укажите --out-format)"},
        {{"generate", "--count", "2", "--count=3"}, 2, "ключ --count указан больше одного раза"},
        {{"generate", "--rows=2"}, 2, "неизвестный ключ --rows"},
        {{"generate", "--key"}, 2, "ключу --key нужно значение"},
        {{"generate", "--quiet=yes"}, 2, "ключ --quiet не принимает значения"},
        {{"generate", "--format=pbn"},
         2,
         "неверное значение ключа --format: \"pbn\" (нужно одно из: text, lines)"},
        {{"generate", "--max-dealt", "-1"},
         2,
         "неверное значение ключа --max-dealt: \"-1\" (нужно целое число не меньше 1)"},
        {{"check", "--condition=TRUE"}, 0, ""},
        {{"check", "--condition", "-x"},
         3,
         "ошибка в позиции 1: Нераспознанный идентификатор: \"X\""},
        {{"check", "--condition", "TRUE", "--condition", "TRUE"},
         2,
         "ключ --condition указан больше одного раза"},
        {{"check", "--condition-file=x.cnd", "--condition", "TRUE"},
         2,
         "укажите один из ключей --condition и --condition-file, один раз"},
        {{"check", "--count", "3"}, 2, "неизвестный ключ --count"},
        {{"check", "--condition-file"}, 2, "ключу --condition-file нужно значение"},
        {{"check"}, 2, "команде check нужен ключ --condition TEXT или --condition-file FILE.cnd"},
        {{"stats", "--", "@"}, 0, ""},
        {{"stats", "--seats=N", "@"}, 2, "неизвестный ключ --seats"},
        {{"stats"}, 2, "команде stats нужен аргумент FILE"},
        {{"stats", "@", "-"}, 2, "лишний аргумент \"-\""},
        {{"stats", "--", "-x.dls"},
         4,
         "korvana-cli: не удалось прочитать -x.dls: нет такого файла или папки"},
        {{"listing", "@", "--seats=ns", "--columns=2"}, 0, ""},
        {{"listing", "@", "--columns", "2", "--columns", "2"},
         2,
         "ключ --columns указан больше одного раза"},
        {{"listing", "@", "--seats"}, 2, "ключу --seats нужно значение"},
        {{"listing", "@", "--seats", "-N"},
         2,
         "неверное значение ключа --seats: \"-N\" (нужно одна или несколько букв из: N, E, S, W)"},
        {{"listing", ""}, 2, "пустой аргумент FILE"},
        {{"convert", "@", "--", "-out.dls"}, 0, ""},
        {{"convert", "@", "-", "--out-format=pbn"}, 0, ""},
        {{"convert", "@", "-"},
         2,
         "для вывода в стандартный поток (-) нужен --out-format dls|pbn|lin|ber|csv|bhg|rzd|cds"},
        {{"convert", "@"}, 2, "команде convert нужны аргументы IN OUT"},
        {{"convert", "@", "a.dls", "--out=b.dls"}, 2, "неизвестный ключ --out"},
        {{"convert", "@", "a.dls", "b.dls"}, 2, "лишний аргумент \"b.dls\""},
        {{"convert", "@", "-", "--out-format=lin", "--dealer=S", "--vul=None"}, 0, ""},
        {{"convert", "@", "a.lin", "--vul", "all"},
         2,
         "неверное значение ключа --vul: \"all\" (нужно одно из: none, ns, ew, both)"},
        {{"analyze", "@", "--threads=1"}, 0, ""},
        {{"analyze", "--threads", "1", "@", "--threads", "2"},
         2,
         "ключ --threads указан больше одного раза"},
        {{"analyze", "@", "--threads"}, 2, "ключу --threads нужно значение"},
        {{"analyze", "@", "--threads", "-1"},
         2,
         "неверное значение ключа --threads: \"-1\" (нужно целое число от 1 до 256)"},
        {{"analyze", "@", "-t", "1"}, 2, "неизвестный ключ -t"}}));

// The man page text of a line: no macro, fonts or quotes, "\-" as "-".
std::string ManText(std::string line) {
    if (line.rfind(".B ", 0) == 0) line.erase(0, 3);
    line = std::regex_replace(line, std::regex(R"(\\f[BIRP]|")"), "");
    return std::regex_replace(line, std::regex(R"(\\-)"), "-");
}

// Every command of the usage text has an item in the man page's COMMANDS whose
// head is the command's synopsis and whose option items are, word for word,
// the options its --help lists: none missing, none that does not exist.
TEST(CliManPage, DocumentsEveryOptionOfEveryCommand) {
    const TTempFolder temp;
    const fs::path& folder = temp.Path();
    std::map<std::string, std::string> synopsis;  // command: synopsis line
    std::map<std::string, std::set<std::string>> helpOptions, manOptions;
    const std::vector<std::string> usage = RunCli(folder, {"--help"}).OutLines();
    for (auto line = std::find(usage.begin(), usage.end(), "команды:");
         line != usage.end() && !line->empty(); ++line)
        if (line->rfind("  ", 0) == 0 && (*line)[2] != ' ')
            synopsis[line->substr(2, line->find(' ', 2) - 2)] = line->substr(2);
    ASSERT_EQ(synopsis.size(), 11u);
    for (const auto& [command, line] : synopsis) {
        const TCliRun help = RunCli(folder, {command, "--help"});
        EXPECT_EQ(help.OutLines().at(0), "использование: korvana-cli " + line);
        for (const std::string& option : help.OutLines())
            if (option.rfind("  --", 0) == 0)
                helpOptions[command].insert(option.substr(2, option.find("  ", 2) - 2));
        helpOptions[command];  // a command without options has an empty set
    }

    // The English page and the Russian one beside it.
    for (const auto& [page, commands] : {std::pair{"korvana-cli.1", ".SH COMMANDS"},
                                         std::pair{"ru/korvana-cli.1", ".SH КОМАНДЫ"}}) {
        const std::vector<std::string> man = TCliRun::SplitAtNewlines(
            ReadWholeFile(std::string(KORVANA_SAMPLES_DIR) + "/../../../data/" + page));
        manOptions.clear();
        std::string section, command;
        for (std::size_t i = 0; i + 1 < man.size(); ++i) {
            if (man[i].rfind(".SH ", 0) == 0) section = man[i];
            if (section != commands || man[i] != ".TP") continue;
            const std::string head = ManText(man[i + 1]);
            if (head.rfind("--", 0) == 0) {
                manOptions[command].insert(head);
                continue;
            }
            command = head.substr(0, head.find(' '));
            manOptions[command];
            EXPECT_EQ(head, synopsis[command]) << page << ": the synopsis of " << command;
        }
        EXPECT_EQ(manOptions, helpOptions) << page;
    }
}

}  // namespace
