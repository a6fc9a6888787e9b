#pragma once
#include "dialogs/internal/BooleanFunctionWindow.h"

// Prec1d(seat,a1,a2,a3,a4): a one-diamond opening, balanced or not.
class TPrec1dWindow : public TBooleanFunctionWindow {
    Q_OBJECT
public:
    explicit TPrec1dWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;
};
