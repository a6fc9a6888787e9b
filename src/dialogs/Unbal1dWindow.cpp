#include "dialogs/internal/Unbal1dWindow.h"

TUnbal1dWindow::TUnbal1dWindow(QWidget* owner)
    : TBooleanFunctionWindow(owner, "Истина, если 1d (Берёзка)",
                             {MinHCPField("MinHCP", 11), MaxHCPField("MaxHCP", 15)}) {}

QString TUnbal1dWindow::Execute(const QString&) {
    return TBooleanFunctionWindow::Execute("Unbal1d");
}
