#pragma once
// Pieces every korvana-cli subcommand shares: the message sink that prints to
// stderr, reading a deals file with the reasons for failure, and writing lines.
#include <cstdint>
#include <string>
#include <vector>

#include "text/MessageSink.h"
#include "text/Status.h"

class TArguments;
class TBoards;
class TDeals;
struct TBoard;
struct TDealAnalysis;
struct TDealFormat;
struct TSeatingChoice;

// Prints every message of the core to stderr and counts them. Installs itself
// for its lifetime and restores the previous sink afterwards.
class TStderrSink : public TInstalledSink {
public:
    void Show(const std::string& message, int32_t position) override;
    int32_t MessageCount() const { return messageCount_; }

private:
    int32_t messageCount_ = 0;
};

// The dealer and vulnerability that --dealer and --vul of the command give
// (the choice words of kDealerOption and kVulOption); empty for those not given.
TSeatingChoice SeatingOfOptions(const TArguments& arguments);

// The system's reason for a failure (an errno value) in Russian, as every
// message of the program is.
std::string SystemReason(int error);

// Appends the deals of a deals, PBN or LIN file ("-" reads stdin), told apart
// by their content, to the collection, and a board for each to `boards` when
// given. False when the file cannot be read (the system's reason goes to
// stderr), holds no deal (the refusal message goes to stderr through the
// installed sink) or gives a damaged deal (named on stderr by its board).
// When given, `format` gets the format the file was read as. Lines of a deals
// file whose deal is not whole are named on stderr by their numbers and refuse
// the file, unless `damagedLoaded` is given: then they are loaded as they
// read, and it is set.
bool ReadDealsFile(const std::string& name, TDeals& deals, std::vector<TBoard>* boards = nullptr,
                   const TDealFormat** format = nullptr, bool* damagedLoaded = nullptr);

// Where deals are written: a file replaced whole, or straight into standard
// output ("-"), a file that is not a regular one (a pipe, a terminal) or the
// process's own stdout or stderr (/dev/stdout), without truncating it.
struct TDealsOutput {
    std::string Name;
    const TDealFormat* Format = nullptr;
    bool Streamed = false;
};

// The output for a name and the word of --out-format ("dls", "pbn", "lin";
// empty when not given): that format, else the name's extension's, a name
// without extension being a deals file. False, with `complaint` set, for "-"
// without a format or an extension no format has.
bool ChooseDealsOutput(const std::string& name, const std::string& formatWord, TDealsOutput& output,
                       std::string& complaint);

// Writes the boards to the output; `count` deals tell where a deals file was
// saved. A name without a folder is a file of the working folder. A file of
// several hard links is replaced and stderr says the other names keep the old
// content. False, with the system's reason on stderr, when it could not be
// written.
bool WriteDealsOutput(const TDealsOutput& output, const TBoards& boards, int32_t count);

// The deals as boards numbered from firstBoard with the seating's dealer and
// vulnerability where it fixes them, keyValue named in a PBN file's Generator
// tags (or only "secure" for securely dealt deals), and the analyses' tables
// and par when given; `delayed`: secure, with a delayed text.
bool WriteDealsFile(const TDealsOutput& output, const TDeals& deals, int32_t keyValue,
                    const std::vector<TDealAnalysis>* analyses, bool secure, int64_t firstBoard,
                    const TSeatingChoice& seating, bool delayed = false);

// How many other names (hard links) the regular file `name` has, before it
// is replaced; and the line on stderr, after it was, that those names keep
// the old content (nothing for 0).
int32_t OtherHardLinks(const std::string& name);
void TellOtherHardLinks(const std::string& name, int32_t others);

// The participle and "раздача" agreeing with the count, as in "сохранена 21
// раздача", "сохранены 3 раздачи", "сохранено 5 раздач".
std::string CountedDeals(int64_t count, const char* one, const char* few, const char* many);

// Whether stdout is a regular file (else a pipe, a terminal, a device).
bool StdoutIsRegularFile();
// Whether stdout is a pipe whose reader has gone, seen without writing to it.
bool StdoutReaderLeft();

// Writes each line followed by "\n" to stdout; false when stdout fails.
bool WriteLines(const std::vector<std::string>& lines);

// Complains about bad usage on stderr, before the usage text.
void ComplainUsage(const std::string& complaint);

// The exit code of a status: the one place where the CLI maps them.
int ExitCodeOf(const TStatus& status);
// Prints a failed status on stderr and returns its exit code (ExitDone for
// OK, which prints nothing): "korvana-cli: SOURCE, строка N: WHERE: MESSAGE",
// each part when there is one; a Condition status as "ошибка в позиции P:
// MESSAGE" followed by its text and a caret under the position. `source` names
// the file the status's text came from.
int ReportStatus(const TStatus& status, const std::string& source = {});
