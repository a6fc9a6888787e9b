#include "dialogs/internal/SuitLengthWindow.h"

#include <QComboBox>

TSuitLengthWindow::TSuitLengthWindow(QWidget* owner) : TFunctionWindow(owner, "Длина масти") {
    cmbSuit = NewList("cmbSuit", SuitWords());
    Label1 = AddRow("Label1", "Масть", cmbSuit);
}

QString TSuitLengthWindow::Execute(const QString&) {
    cmbSuit->setCurrentIndex(0);
    return TFunctionWindow::Execute("SuitLength");
}

QString TSuitLengthWindow::CallText() const {
    return FunctionName() + "(" + Seat() + "," + cmbSuit->currentText() + ")";
}
