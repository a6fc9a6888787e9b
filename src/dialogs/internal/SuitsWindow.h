#pragma once
#include <QStringList>

#include "dialogs/internal/BooleanFunctionWindow.h"

// Suits(seat,code,s,h,d,c): each suit's length compared with a wanted length
// (code -1 "<=", 0 "=", 1 ">="; a length of -1 sets no condition on its suit).
// seMinHCP and seMaxHCP hold the spades and hearts lengths here.
class TSuitsWindow : public TBooleanFunctionWindow {
    Q_OBJECT
public:
    explicit TSuitsWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;

protected:
    // lengthLabels: the labels of the four length fields, in call order.
    TSuitsWindow(QWidget* owner, const QString& description, const QStringList& lengthLabels);
    QString CallText() const override;
    // Selects "=" and runs the dialog titled `name`.
    QString ExecuteAs(const QString& name);

    QLabel* Label3;
    QComboBox* cmbCode;  // "<=", "=", ">="
    TNumberField* seDiamonds;
    TNumberField* seClubs;
    QLabel* Label4;
    QLabel* Label5;
};
