#include "dialogs/internal/HasCardWindow.h"

#include <QComboBox>

THasCardWindow::THasCardWindow(QWidget* owner) : TFunctionWindow(owner, "Есть ли на руке карта") {
    Label3 = AddNote("Label3",
                     "Достоинство — число от 2 до 14:\n"
                     "валет 11, дама 12, король 13, туз 14");
    cmbSuit = NewList("cmbSuit", SuitWords());
    Label1 = AddRow("Label1", "Масть", cmbSuit);
    cmbRank = NewList("cmbRank", {});
    const char* const names[] = {"Туз", "Король", "Дама", "Валет"};
    for (int rank = 14; rank >= 2; --rank)
        cmbRank->addItem(rank >= 11 ? QString(names[14 - rank]) : QString::number(rank), rank);
    Label2 = AddRow("Label2", "Карта", cmbRank);
}

QString THasCardWindow::Execute(const QString&) {
    cmbSuit->setCurrentIndex(3);  // spades
    cmbRank->setCurrentIndex(0);  // the ace
    return TFunctionWindow::Execute("HasCard");
}

QString THasCardWindow::CallText() const {
    return FunctionName() + "(" + Seat() + "," + cmbSuit->currentText() + "," +
           QString::number(cmbRank->currentData().toInt()) + ")";
}
