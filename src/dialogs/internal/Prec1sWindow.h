#pragma once
#include "dialogs/internal/BooleanFunctionWindow.h"

// Prec1s(seat,min,max): a one-spade opening on five or more spades.
class TPrec1sWindow : public TBooleanFunctionWindow {
    Q_OBJECT
public:
    explicit TPrec1sWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;
};
