#include "dialogs/internal/HCPWindow.h"

#include <QComboBox>

THCPWindow::THCPWindow(QWidget* owner) : TFunctionWindow(owner, "HCP в определённой масти") {
    cmbSuit = NewList("cmbSuit", QStringList{"Все масти"} + SuitWords());
    Label1 = AddRow("Label1", "Масть", cmbSuit);
}

QString THCPWindow::Execute(const QString&) {
    cmbSuit->setCurrentIndex(0);
    return TFunctionWindow::Execute("HCP");
}

QString THCPWindow::CallText() const {
    if (cmbSuit->currentIndex() <= 0) return FunctionName() + "(" + Seat() + ")";
    return FunctionName() + "(" + Seat() + "," + cmbSuit->currentText() + ")";
}
