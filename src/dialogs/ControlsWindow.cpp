#include "dialogs/internal/ControlsWindow.h"

#include <QComboBox>

TControlsWindow::TControlsWindow(QWidget* owner)
    : TFunctionWindow(owner, "Контроли руки или масти") {
    Label2 = AddNote("Label2", "Туз — 2 контроля, король — 1");
    cmbSuit = NewList("cmbSuit", QStringList{"Все масти"} + SuitWords());
    Label1 = AddRow("Label1", "Масть", cmbSuit);
}

QString TControlsWindow::Execute(const QString&) {
    cmbSuit->setCurrentIndex(0);
    return TFunctionWindow::Execute("Controls");
}

QString TControlsWindow::CallText() const {
    if (cmbSuit->currentIndex() <= 0) return FunctionName() + "(" + Seat() + ")";
    return FunctionName() + "(" + Seat() + "," + cmbSuit->currentText() + ")";
}
