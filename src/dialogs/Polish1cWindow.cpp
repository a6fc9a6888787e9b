#include "dialogs/internal/Polish1cWindow.h"

TPolish1cWindow::TPolish1cWindow(QWidget* owner)
    : TBooleanFunctionWindow(owner, "Истина, если открытие 1c (Берёзка)",
                             {MinHCPField("Min слабого NT", 12),
                              MaxHCPField("Max слабого NT", 14),
                              {"seMinSUnbal", "Label3", "Min сильного не-NT", 0, 37, 16},
                              {"seMinSBal", "Label4", "Min сильного NT", 0, 37, 18}}) {}

QString TPolish1cWindow::Execute(const QString&) {
    return TBooleanFunctionWindow::Execute("Polish1c");
}
