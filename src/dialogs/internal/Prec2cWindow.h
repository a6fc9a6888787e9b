#pragma once
#include "dialogs/internal/BooleanFunctionWindow.h"

// Prec2c(seat,min,max): a two-club opening on long clubs.
class TPrec2cWindow : public TBooleanFunctionWindow {
    Q_OBJECT
public:
    explicit TPrec2cWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;
};
