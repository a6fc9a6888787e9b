#pragma once
#include "dialogs/FunctionWindow.h"

// Losers(seat) or Losers(seat,suit): the losing tricks of the hand or of one suit.
class TLosersWindow : public TFunctionWindow {
    Q_OBJECT
public:
    explicit TLosersWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;

protected:
    QString CallText() const override;

    QLabel* Label1;
    QLabel* Label2;      // the note under the description
    QComboBox* cmbSuit;  // "Все масти" first, then the four suit words
};
