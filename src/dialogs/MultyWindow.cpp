#include "dialogs/internal/MultyWindow.h"

TMultyWindow::TMultyWindow(QWidget* owner)
    : TBooleanFunctionWindow(owner, "Истина, если блок в мажоре",
                             {MinHCPField("MinHCP", 6),
                              MaxHCPField("MaxHCP", 10),
                              {"seMin6", "Label3", "Минимальное кол-во HCP в 6-ке", 0, 10, 0},
                              {"seMax7", "Label4", "Максимальное кол-во HCP в 7-ке", 0, 10, 10},
                              {"seMax4", "Label5", "Макс. кол-во HCP в боковой 4-ке", 0, 10, 10},
                              {"seMax5", "Label6", "Макс. кол-во HCP в боковой 5-ке", 0, 10, 10}}) {
}

QString TMultyWindow::Execute(const QString&) { return TBooleanFunctionWindow::Execute("Multy"); }
