#pragma once
#include "dialogs/FunctionWindow.h"

// SuitByLength(seat,n): the length of the hand's n-th longest suit.
class TSuitByLengthWindow : public TFunctionWindow {
    Q_OBJECT
public:
    explicit TSuitByLengthWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;

protected:
    QString CallText() const override;

    QLabel* Label2;  // the hint under the description
    QLabel* Label1;
    TNumberField* SpinEdit;  // 1 to 4
};
