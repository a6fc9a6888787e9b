#pragma once
#include "dialogs/FunctionWindow.h"

// Controls(seat) or Controls(seat,suit): aces count 2, kings 1.
class TControlsWindow : public TFunctionWindow {
    Q_OBJECT
public:
    explicit TControlsWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;

protected:
    QString CallText() const override;

    QLabel* Label1;
    QLabel* Label2;      // the note under the description
    QComboBox* cmbSuit;  // "Все масти" first, then the four suit words
};
