#pragma once
// The dialogs and jobs of the command table's rows, each in the file of its command.
#include <QString>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "deals/DealAnalysis.h"

class TCommandHost;
class TDealStudy;
class TSettings;
struct TCommandRow;
struct TSeatingChoice;

// StudyCommands.cpp: the simulations' dialogs, and the one runner they share:
// the row's dialog, then the study on a worker, then its report under the row's title.
std::unique_ptr<TDealStudy> AskVariants(TCommandHost& host, std::string_view section);
std::unique_ptr<TDealStudy> AskLead(TCommandHost& host, std::string_view section);
std::unique_ptr<TDealStudy> AskTabulation(TCommandHost& host, std::string_view section);
void RunStudyCommand(TCommandHost& host, const TCommandRow& row, bool checked);

// AnalysisCommand.cpp: the double-dummy analysis of the collection and its report.
void AnalyseCommand(TCommandHost& host, const TCommandRow& row, bool checked);
// Solves the collection's deals on a worker with progress and STOP; `done`
// gets the results on the window's thread once the window is idle again.
// `caption` titles the message when no thread starts.
using TAnalysisDone = std::function<void(std::vector<TDealAnalysis> results, bool stopped)>;
void AnalyseCollection(TCommandHost& host, const QString& caption, TAnalysisDone done);

// HandoutCommand.cpp: the handout dialog, then its preview; deals not yet
// analysed are solved first.
void HandoutCommand(TCommandHost& host, const TCommandRow& row, bool checked);

// OtherCommands.cpp: fixed cards, secure dealing, the last secret, help.
void FixedCardsCommand(TCommandHost& host, const TCommandRow& row, bool checked);
void SecureDealingCommand(TCommandHost& host, const TCommandRow& row, bool checked);
void ShowSecretCommand(TCommandHost& host, const TCommandRow& row, bool checked);
void HelpCommand(TCommandHost& host, const TCommandRow& row, bool checked);

// DealingCommands.cpp: who deals and who is vulnerable, kept in korvana.ini;
// dealing the last run again from a key or a secret.
void SeatingCommand(TCommandHost& host, const TCommandRow& row, bool checked);
void RepeatRunCommand(TCommandHost& host, const TCommandRow& row, bool checked);
void RepeatSecureRunCommand(TCommandHost& host, const TCommandRow& row, bool checked);
// Deals the collection's set again from a secret with the window's condition
// and fixed cards and compares the boards by number.
void VerifySecretCommand(TCommandHost& host, const TCommandRow& row, bool checked);
// The choice korvana.ini keeps (the rotation for a value it does not know), and keeping one there.
TSeatingChoice ReadSeating(const TSettings& settings);
void KeepSeating(TSettings& settings, const TSeatingChoice& seating);
