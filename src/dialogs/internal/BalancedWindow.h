#pragma once
#include "dialogs/internal/BooleanFunctionWindow.h"

// Balanced(seat,min,max): a no-trump shape within a point range.
class TBalancedWindow : public TBooleanFunctionWindow {
    Q_OBJECT
public:
    explicit TBalancedWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;
};
