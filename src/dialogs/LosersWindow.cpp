#include "dialogs/internal/LosersWindow.h"

#include <QComboBox>

TLosersWindow::TLosersWindow(QWidget* owner) : TFunctionWindow(owner, "Проигрышки руки или масти") {
    Label2 = AddNote("Label2",
                     "В масти: нет туза, короля, дамы среди первых трёх карт;\n"
                     "синглет — не больше одной, дублет — не больше двух");
    cmbSuit = NewList("cmbSuit", QStringList{"Все масти"} + SuitWords());
    Label1 = AddRow("Label1", "Масть", cmbSuit);
}

QString TLosersWindow::Execute(const QString&) {
    cmbSuit->setCurrentIndex(0);
    return TFunctionWindow::Execute("Losers");
}

QString TLosersWindow::CallText() const {
    if (cmbSuit->currentIndex() <= 0) return FunctionName() + "(" + Seat() + ")";
    return FunctionName() + "(" + Seat() + "," + cmbSuit->currentText() + ")";
}
