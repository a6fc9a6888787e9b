#pragma once
#include "dialogs/internal/BooleanFunctionWindow.h"

// Range(seat,min,max): the hand's points lie in the range.
class TRangeWindow : public TBooleanFunctionWindow {
    Q_OBJECT
public:
    explicit TRangeWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;
};
