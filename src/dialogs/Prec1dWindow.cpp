#include "dialogs/internal/Prec1dWindow.h"

TPrec1dWindow::TPrec1dWindow(QWidget* owner)
    : TBooleanFunctionWindow(owner, "Истина, если 1d (Precision)",
                             {MinHCPField("Min NT", 11),
                              MaxHCPField("Max NT", 14),
                              {"seMinUnbal", "Label3", "Min не-NT", 0, 37, 11},
                              {"seMaxUnbal", "Label4", "Max не-NT", 0, 37, 15}}) {}

QString TPrec1dWindow::Execute(const QString&) { return TBooleanFunctionWindow::Execute("Prec1d"); }
