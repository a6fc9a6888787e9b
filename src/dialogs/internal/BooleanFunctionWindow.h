#pragma once
// The base of the dialogs whose function takes a point range after the seat:
// the fields seMinHCP and seMaxHCP come first, further fields may follow, and
// the call text is Name(seat,min,max,further...) in that order.
#include <QList>
#include <QString>

#include "dialogs/FunctionWindow.h"
#include "widgets/NumberField.h"

// One number field of a dialog: object names of the field and of its label,
// the label's text, the range and the starting value.
struct TFieldSpec {
    const char* name;
    const char* labelName;
    QString label;
    int lowest;
    int highest;
    int value;
};

// seMinHCP and seMaxHCP (labels Label1 and Label2) over 0 to 37.
TFieldSpec MinHCPField(const QString& label, int value);
TFieldSpec MaxHCPField(const QString& label, int value);

class TBooleanFunctionWindow : public TFunctionWindow {
    Q_OBJECT
public:
    // fields: at least two; the first two become seMinHCP and seMaxHCP, the
    // rest follow them in the dialog and in the call text. Every field holds
    // at most two characters.
    TBooleanFunctionWindow(QWidget* owner, const QString& description,
                           const QList<TFieldSpec>& fields);

protected:
    QString CallText() const override;
    QString FieldValues() const;  // "," before each field's value, in call order

    QList<TNumberField*> fields;
    QList<QLabel*> labels;  // the fields' labels, in the same order
    TNumberField* seMinHCP;
    TNumberField* seMaxHCP;
    QLabel* Label1;
    QLabel* Label2;
};
