#include "dialogs/internal/BooleanFunctionWindow.h"

#include <QLabel>

namespace {
constexpr int kFieldChars = 2;
}

TFieldSpec MinHCPField(const QString& label, int value) {
    return {"seMinHCP", "Label1", label, 0, 37, value};
}

TFieldSpec MaxHCPField(const QString& label, int value) {
    return {"seMaxHCP", "Label2", label, 0, 37, value};
}

TBooleanFunctionWindow::TBooleanFunctionWindow(QWidget* owner, const QString& description,
                                               const QList<TFieldSpec>& specs)
    : TFunctionWindow(owner, description) {
    for (const TFieldSpec& spec : specs) {
        TNumberField* field =
            NewNumberField(spec.name, spec.lowest, spec.highest, kFieldChars, spec.value);
        fields.append(field);
        labels.append(AddRow(spec.labelName, spec.label, field));
    }
    seMinHCP = fields.at(0);
    seMaxHCP = fields.at(1);
    Label1 = labels.at(0);
    Label2 = labels.at(1);
}

QString TBooleanFunctionWindow::CallText() const {
    return FunctionName() + "(" + Seat() + FieldValues() + ")";
}

QString TBooleanFunctionWindow::FieldValues() const {
    QString values;
    for (TNumberField* field : fields) values += "," + TextOf(field);
    return values;
}
