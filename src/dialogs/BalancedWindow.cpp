#include "dialogs/internal/BalancedWindow.h"

TBalancedWindow::TBalancedWindow(QWidget* owner)
    : TBooleanFunctionWindow(owner, "Истина, если NT-расклад",
                             {MinHCPField("MinHCP", 0), MaxHCPField("MaxHCP", 37)}) {}

QString TBalancedWindow::Execute(const QString&) {
    return TBooleanFunctionWindow::Execute("Balanced");
}
