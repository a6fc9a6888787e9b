#pragma once
// The files behind the main window's commands and its setup: the deals
// choosers' types, the format a deals file is saved in, and generate.stp read
// into the collection with a damaged file kept aside.
#include <QRect>
#include <QString>
#include <span>
#include <string>
#include <vector>

#include "deals/DealAnalysis.h"
#include "files/SetupFormat.h"

class TDeals;
struct TDealFormat;

// "name: reason", the name as the system writes it.
QString FileFailure(const QString& fileName, const QString& reason);

// The filter of the deals choosers, from the formats table: the readable
// formats for opening, every format for saving.
QString DealsFilter(bool saving);

// The format of a deals file saved as `name`: its extension's when it is one
// of the formats'; else the chosen type's, whose extension is added to `name`
// (none for "Все файлы", or a type not known: a deals file of that name).
const TDealFormat& SaveFormat(std::string& name, int fileType);

// The kept analysis with par for the dealer and vulnerability of the boards
// numbered from firstBoard (the kept par is that of boards from 1).
std::vector<TDealAnalysis> AnalysisOfBoards(std::span<const TDealAnalysis> kept,
                                            int64_t firstBoard);

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

// The window's size from the state record: a side that is missing, tiny or
// larger than the screens' free area (a damaged file) keeps `current`'s, and
// its `kept` flag tells so.
QSize RestoredSize(const TStateRecord& state, QSize current, QSize screens, bool& keptWidth,
                   bool& keptHeight);
// Where a window of `size` at `place` lies wholly inside the area, where it
// fits: a position off every screen (another monitor, a damaged file) comes back on.
QPoint OnScreen(QPoint place, QSize size, QRect area);
