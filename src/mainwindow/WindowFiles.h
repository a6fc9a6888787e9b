#pragma once
// The files behind the main window's commands and its setup: the deals
// choosers' types, the format a deals file is saved in, and generate.stp read
// into the collection with a damaged file kept aside.
#include <QSize>
#include <QString>
#include <span>
#include <string>
#include <vector>

#include "deals/Board.h"
#include "deals/DealAnalysis.h"
#include "deals/DealsInput.h"
#include "files/SetupFormat.h"
#include "mainwindow/MainWindowControls.h"

class QMainWindow;
class TDeals;
class TSettings;
struct TDealFormat;

// "name: reason", the name as the system writes it.
QString FileFailure(const QString& fileName, const QString& reason);

// The filter of the deals choosers, from the formats table: for opening, the
// deals file's entry and every file, then every deals file at once, then each
// readable format; for saving, every format.
QString DealsFilter(bool saving);

// The open chooser's entry chosen last, as korvana.ini keeps it; the first
// entry when none was kept or the kept one is no longer offered.
QString OpenDealsFilterEntry(const TSettings& settings);
void KeepOpenDealsFilterEntry(TSettings& settings, const QString& entry);

// The format of a deals file saved as `name`: its extension's when it is one
// of the formats'; else the chosen type's, whose extension is added to `name`
// (none for "Все файлы", or a type not known: a deals file of that name).
const TDealFormat& SaveFormat(std::string& name, int fileType);

// Gives a board whose analysis is solved and has no par the par of its own
// dealer and vulnerability.
void AddOwnPar(TBoard& board);

// Boards handed on with the par of their own dealer and vulnerability added.
class TBoardsWithPar : public TBoards {
public:
    explicit TBoardsWithPar(const TBoards& boards) : boards_(boards) {}
    void ForEach(const std::function<bool(const TBoard&)>& take) const override;

private:
    const TBoards& boards_;
};

// generate.stp as the window reads it at start.
struct TSetupFileRead {
    bool Opened = false;    // false: the window's defaults stay
    bool KeepFile = false;  // neither read whole nor kept aside: not to be replaced
    QString Failure;        // a failure to show, with the file's name; empty when none
    // A damaged file that was read in part: where it was kept aside. The
    // window still opens as it always did.
    QString Note;
    TSetupContent Content;  // its deal lines went into the collection
};
TSetupFileRead ReadSetupInto(const QString& fileName, TDeals& deals);

// The window's fields, bounds and state as generate.stp keeps them; a
// maximised or minimised window keeps the bounds it returns to.
TStateRecord StateOfWindow(const QMainWindow& window, const TMainWindowControls& controls);
// Gives the window the record's fields, size, place and state (the seats are
// the window's to show). A size that is missing, tiny or larger than the
// screens could hold (a damaged file) keeps the default of that side, whose
// `clientToFit` side stays; the others are set to -1. A place off every
// screen (another monitor, a damaged file) comes back on.
void ApplyStateRecord(const TStateRecord& state, QMainWindow& window, TMainWindowControls& controls,
                      QSize& clientToFit);
