#include "dialogs/internal/TopHonoursWindow.h"

#include <QComboBox>

#include "widgets/NumberField.h"

TTopHonoursWindow::TTopHonoursWindow(QWidget* owner)
    : TFunctionWindow(owner, "Старшие карты масти") {
    Label3 = AddNote("Label3",
                     "Сколько из n старших карт масти на руке:\n"
                     "3 — туз, король, дама; 5 — до десятки");
    cmbSuit = NewList("cmbSuit", SuitWords());
    Label1 = AddRow("Label1", "Масть", cmbSuit);
    SpinEdit = NewNumberField("SpinEdit", 1, 13, 2, 3);
    Label2 = AddRow("Label2", "Старших карт", SpinEdit);
}

QString TTopHonoursWindow::Execute(const QString&) {
    cmbSuit->setCurrentIndex(3);  // spades
    return TFunctionWindow::Execute("TopHonours");
}

QString TTopHonoursWindow::CallText() const {
    return FunctionName() + "(" + Seat() + "," + cmbSuit->currentText() + "," + TextOf(SpinEdit) +
           ")";
}
