#include "dialogs/DialogCatalogue.h"

#include "dialogs/BalancedWindow.h"
#include "dialogs/ControlsWindow.h"
#include "dialogs/HCPWindow.h"
#include "dialogs/HasCardWindow.h"
#include "dialogs/LosersWindow.h"
#include "dialogs/MultyWindow.h"
#include "dialogs/Polish1cWindow.h"
#include "dialogs/Prec1dWindow.h"
#include "dialogs/Prec1hWindow.h"
#include "dialogs/Prec1sWindow.h"
#include "dialogs/Prec2cWindow.h"
#include "dialogs/RangeWindow.h"
#include "dialogs/ShapeWindow.h"
#include "dialogs/SuitByLengthWindow.h"
#include "dialogs/SuitLengthWindow.h"
#include "dialogs/SuitsWindow.h"
#include "dialogs/TopHonoursWindow.h"
#include "dialogs/TricksWindow.h"
#include "dialogs/Unbal1dWindow.h"

namespace {

template <class Window>
std::unique_ptr<TFunctionWindow> MakeDialog(QWidget* owner) {
    return std::make_unique<Window>(owner);
}

struct TCatalogueEntry {
    std::string_view function;
    TDialogMaker makeDialog;
};

constexpr TCatalogueEntry Catalogue[] = {
    {"HCP", MakeDialog<THCPWindow>},
    {"SuitLength", MakeDialog<TSuitLengthWindow>},
    {"SuitByLength", MakeDialog<TSuitByLengthWindow>},
    {"Range", MakeDialog<TRangeWindow>},
    {"Suits", MakeDialog<TSuitsWindow>},
    {"Shape", MakeDialog<TShapeWindow>},
    {"Balanced", MakeDialog<TBalancedWindow>},
    {"Polish1c", MakeDialog<TPolish1cWindow>},
    {"Unbal1d", MakeDialog<TUnbal1dWindow>},
    {"Prec1d", MakeDialog<TPrec1dWindow>},
    {"Prec1h", MakeDialog<TPrec1hWindow>},
    {"Prec1s", MakeDialog<TPrec1sWindow>},
    {"Prec2c", MakeDialog<TPrec2cWindow>},
    {"Multy", MakeDialog<TMultyWindow>},
    {"Losers", MakeDialog<TLosersWindow>},
    {"Controls", MakeDialog<TControlsWindow>},
    {"TopHonours", MakeDialog<TTopHonoursWindow>},
    {"HasCard", MakeDialog<THasCardWindow>},
    {"Tricks", MakeDialog<TTricksWindow>},
};

}  // namespace

TDialogMaker FunctionDialog(std::string_view functionName) {
    for (const TCatalogueEntry& entry : Catalogue)
        if (entry.function == functionName) return entry.makeDialog;
    return nullptr;
}
