#pragma once
#include "dialogs/FunctionWindow.h"

// TopHonours(seat,suit,n): how many of the suit's n highest cards the hand holds.
class TTopHonoursWindow : public TFunctionWindow {
    Q_OBJECT
public:
    explicit TTopHonoursWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;

protected:
    QString CallText() const override;

    QLabel* Label1;
    QLabel* Label3;  // the note under the description
    QComboBox* cmbSuit;
    QLabel* Label2;
    TNumberField* SpinEdit;  // 1 to 13
};
