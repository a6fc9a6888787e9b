#include "dialogs/internal/SuitByLengthWindow.h"

#include <QLabel>

#include "widgets/NumberField.h"

TSuitByLengthWindow::TSuitByLengthWindow(QWidget* owner)
    : TFunctionWindow(owner, "Длина элемента расклада") {
    Label2 = AddNote("Label2", "5332:1->5; 2->3; 3->3; 4->2");
    SpinEdit = NewNumberField("SpinEdit", 1, 4, 1, 1);
    Label1 = AddRow("Label1", "Элемент расклада", SpinEdit);
}

QString TSuitByLengthWindow::Execute(const QString&) {
    return TFunctionWindow::Execute("SuitByLength");
}

QString TSuitByLengthWindow::CallText() const {
    return FunctionName() + "(" + Seat() + "," + TextOf(SpinEdit) + ")";
}
