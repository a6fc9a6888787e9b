#include "dialogs/internal/Prec2cWindow.h"

TPrec2cWindow::TPrec2cWindow(QWidget* owner)
    : TBooleanFunctionWindow(owner, "Истина, если 2с (Precision)",
                             {MinHCPField("MinHCP", 11), MaxHCPField("MaxHCP", 15)}) {}

QString TPrec2cWindow::Execute(const QString&) { return TBooleanFunctionWindow::Execute("Prec2c"); }
