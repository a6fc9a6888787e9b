#include "dialogs/DialogCatalogue.h"

#include "dialogs/internal/BalancedWindow.h"
#include "dialogs/internal/ControlsWindow.h"
#include "dialogs/internal/HCPWindow.h"
#include "dialogs/internal/HasCardWindow.h"
#include "dialogs/internal/LosersWindow.h"
#include "dialogs/internal/MultyWindow.h"
#include "dialogs/internal/Polish1cWindow.h"
#include "dialogs/internal/Prec1dWindow.h"
#include "dialogs/internal/Prec1hWindow.h"
#include "dialogs/internal/Prec1sWindow.h"
#include "dialogs/internal/Prec2cWindow.h"
#include "dialogs/internal/RangeWindow.h"
#include "dialogs/internal/ShapeWindow.h"
#include "dialogs/internal/SuitByLengthWindow.h"
#include "dialogs/internal/SuitLengthWindow.h"
#include "dialogs/internal/SuitsWindow.h"
#include "dialogs/internal/TopHonoursWindow.h"
#include "dialogs/internal/TricksWindow.h"
#include "dialogs/internal/Unbal1dWindow.h"

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
