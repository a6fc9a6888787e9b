#include "dialogs/internal/RangeWindow.h"

TRangeWindow::TRangeWindow(QWidget* owner)
    : TBooleanFunctionWindow(owner, "Истина, если HCP в диапазоне",
                             {MinHCPField("MinHCP", 0), MaxHCPField("MaxHCP", 37)}) {}

QString TRangeWindow::Execute(const QString&) { return TBooleanFunctionWindow::Execute("Range"); }
