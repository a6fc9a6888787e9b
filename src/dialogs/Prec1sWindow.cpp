#include "dialogs/internal/Prec1sWindow.h"

TPrec1sWindow::TPrec1sWindow(QWidget* owner)
    : TBooleanFunctionWindow(owner, "Истинаб если 1s (от 5-ки)",
                             {MinHCPField("MinHCP", 11), MaxHCPField("MaxHCP", 15)}) {}

QString TPrec1sWindow::Execute(const QString&) { return TBooleanFunctionWindow::Execute("Prec1s"); }
