#include "dialogs/internal/TricksWindow.h"

#include <QComboBox>

TTricksWindow::TTricksWindow(QWidget* owner)
    : TFunctionWindow(owner, "Взятки при игре в открытую") {
    cmbSuit = NewList("cmbSuit", QStringList{"Без козыря"} + SuitWords());
    Label1 = AddRow("Label1", "Козырь", cmbSuit);
}

QString TTricksWindow::Execute(const QString&) {
    cmbSuit->setCurrentIndex(0);
    return TFunctionWindow::Execute("Tricks");
}

QString TTricksWindow::CallText() const {
    if (cmbSuit->currentIndex() <= 0) return FunctionName() + "(" + Seat() + ")";
    return FunctionName() + "(" + Seat() + "," + cmbSuit->currentText() + ")";
}
