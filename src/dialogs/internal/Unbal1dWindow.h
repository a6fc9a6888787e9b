#pragma once
#include "dialogs/internal/BooleanFunctionWindow.h"

// Unbal1d(seat,min,max): an unbalanced one-diamond opening.
class TUnbal1dWindow : public TBooleanFunctionWindow {
    Q_OBJECT
public:
    explicit TUnbal1dWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;
};
