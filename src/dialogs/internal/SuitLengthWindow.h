#pragma once
#include "dialogs/FunctionWindow.h"

// SuitLength(seat,suit): the number of cards in one suit.
class TSuitLengthWindow : public TFunctionWindow {
    Q_OBJECT
public:
    explicit TSuitLengthWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;

protected:
    QString CallText() const override;

    QLabel* Label1;
    QComboBox* cmbSuit;
};
