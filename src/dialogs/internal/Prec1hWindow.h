#pragma once
#include "dialogs/internal/BooleanFunctionWindow.h"

// Prec1h(seat,min,max): a one-heart opening on five or more hearts.
class TPrec1hWindow : public TBooleanFunctionWindow {
    Q_OBJECT
public:
    explicit TPrec1hWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;
};
