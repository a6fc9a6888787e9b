#pragma once
// The commands of the window's menus that are more than a view of the run:
// the analysis, the simulations, the handout, fixed cards, the dealer and
// vulnerability, repeating a run, secure dealing and help. Each is one row; a
// new command is a row and its dialog.
#include <QKeyCombination>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "mainwindow/MainWindowControls.h"
#include "mainwindow/ToolbarImages.h"

class TCommandHost;
class TDealStudy;
class TSettings;
struct TCommandRow;

// A study's dialog: reads its last inputs from korvana.ini's `section`, asks,
// keeps them, and returns the prepared study (null when cancelled).
using TStudyDialog = std::unique_ptr<TDealStudy> (*)(TCommandHost& host, std::string_view section);
// What the command does; `checked` is the item's state for a checkable item.
using TCommandJob = void (*)(TCommandHost& host, const TCommandRow& row, bool checked);

struct TCommandRow {
    const char* Name;  // the item's name among the window's controls
    const char* Caption;
    QKeyCombination Shortcut;
    TCommandPlace Place;
    std::optional<TToolbarImage> Image;
    std::string_view Section;  // where korvana.ini keeps its last inputs; empty: nowhere
    TStudyDialog Dialog;       // a study's dialog; null for the others
    TCommandJob Job;
    bool Checkable = false;
    const char* StatusTip = nullptr;
};

std::span<const TCommandRow> CommandTable();

// The row's caption without the dots of an item that opens a dialog: a report's title.
QString CommandTitle(const TCommandRow& row);
