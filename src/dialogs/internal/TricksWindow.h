#pragma once
#include "dialogs/FunctionWindow.h"

// Tricks(seat) or Tricks(seat,suit): double-dummy tricks of the seat as
// declarer, in notrump or with the suit as trumps.
class TTricksWindow : public TFunctionWindow {
    Q_OBJECT
public:
    explicit TTricksWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;

protected:
    QString CallText() const override;

    QLabel* Label1;
    QComboBox* cmbSuit;  // "Без козыря" first, then the four suit words
};
