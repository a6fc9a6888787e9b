#pragma once
#include "dialogs/internal/BooleanFunctionWindow.h"

// Multy(seat,a1..a6): a weak two-bid in a major.
class TMultyWindow : public TBooleanFunctionWindow {
    Q_OBJECT
public:
    explicit TMultyWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;
};
