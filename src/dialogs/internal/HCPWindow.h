#pragma once
#include "dialogs/FunctionWindow.h"

// HCP(seat) or HCP(seat,suit): the points of the whole hand or of one suit.
class THCPWindow : public TFunctionWindow {
    Q_OBJECT
public:
    explicit THCPWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;

protected:
    QString CallText() const override;

    QLabel* Label1;
    QComboBox* cmbSuit;  // "Все масти" first, then the four suit words
};
