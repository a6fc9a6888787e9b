#pragma once
// Pieces every korvana-cli subcommand shares: the message sink that prints to
// stderr, reading a deals file with the reasons for failure, and writing lines.
#include <cstdint>
#include <string>
#include <vector>

#include "text/MessageSink.h"

class TDeals;
struct TBoard;
struct TDealAnalysis;
struct TDealFormat;

// Prints every message of the core to stderr and counts them. Installs itself
// for its lifetime and restores the previous sink afterwards.
class TStderrSink : public TInstalledSink {
public:
    void Show(const std::string& message, int32_t position) override;
    int32_t MessageCount() const { return messageCount_; }

private:
    int32_t messageCount_ = 0;
};

// Appends the deals of a deals file or a PBN file, told apart by their
// content, to the collection. False when the file cannot be read (the
// system's reason goes to stderr) or holds no deal (the refusal message goes
// to stderr through the installed sink). When given, `boards` gets a board
// for each deal and `format` the format the file was read as.
bool ReadDealsFile(const std::string& name, TDeals& deals, std::vector<TBoard>* boards = nullptr,
                   const TDealFormat** format = nullptr);

// Writes the deals to a PBN file (".pbn", keyValue named in its Generator
// tags, and the analyses' tables and par when given), a LIN file (".lin") or
// a deals file (any other name), whole or not at all; a name without a folder
// is a file of the working folder. False, with the reason on stderr, when it
// could not be written.
bool WriteDealsFile(const std::string& name, const TDeals& deals, int32_t keyValue,
                    const std::vector<TDealAnalysis>* analyses = nullptr);

// Writes each line followed by "\n" to stdout; false when stdout fails.
bool WriteLines(const std::vector<std::string>& lines);

// Complains about bad usage on stderr, before the usage text.
void ComplainUsage(const std::string& complaint);
