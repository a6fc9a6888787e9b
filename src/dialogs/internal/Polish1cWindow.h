#pragma once
#include "dialogs/internal/BooleanFunctionWindow.h"

// Polish1c(seat,a1,a2,a3,a4): a one-club opening, weak or strong.
class TPolish1cWindow : public TBooleanFunctionWindow {
    Q_OBJECT
public:
    explicit TPolish1cWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;
};
