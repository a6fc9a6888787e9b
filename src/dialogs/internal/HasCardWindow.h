#pragma once
#include "dialogs/FunctionWindow.h"

// HasCard(seat,suit,rank): whether the hand holds one card; ranks 2..14 (ace 14).
class THasCardWindow : public TFunctionWindow {
    Q_OBJECT
public:
    explicit THasCardWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;

protected:
    QString CallText() const override;

    QLabel* Label1;
    QLabel* Label3;  // the note under the description
    QComboBox* cmbSuit;
    QLabel* Label2;
    QComboBox* cmbRank;  // ace first; the item's data is its rank number
};
