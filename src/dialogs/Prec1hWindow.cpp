#include "dialogs/internal/Prec1hWindow.h"

TPrec1hWindow::TPrec1hWindow(QWidget* owner)
    : TBooleanFunctionWindow(owner, "Истина, если 1h (от 5-ки)",
                             {MinHCPField("MinHCP", 11), MaxHCPField("MaxHCP", 15)}) {}

QString TPrec1hWindow::Execute(const QString&) { return TBooleanFunctionWindow::Execute("Prec1h"); }
