#include "dialogs/internal/SuitsWindow.h"

#include <QComboBox>
#include <QLabel>

namespace {
constexpr int kNoLength = -1;

QList<TFieldSpec> LengthFields(const QStringList& labels) {
    return {{"seMinHCP", "Label1", labels.value(0), kNoLength, 13, kNoLength},
            {"seMaxHCP", "Label2", labels.value(1), kNoLength, 13, kNoLength},
            {"seDiamonds", "Label4", labels.value(2), kNoLength, 13, kNoLength},
            {"seClubs", "Label5", labels.value(3), kNoLength, 13, kNoLength}};
}
}  // namespace

TSuitsWindow::TSuitsWindow(QWidget* owner)
    : TSuitsWindow(owner, "Истина, если длины мастей соответствуют",
                   {"\u2660", "\u2665", "\u2666", "\u2663"}) {
    // The suit symbols need a font that has them.
    for (QLabel* label : labels) {
        QFont symbols = label->font();
        symbols.setFamily("DejaVu Sans");
        symbols.setPointSizeF(symbols.pointSizeF() * 1.5);
        label->setFont(symbols);
    }
}

TSuitsWindow::TSuitsWindow(QWidget* owner, const QString& description,
                           const QStringList& lengthLabels)
    : TBooleanFunctionWindow(owner, description, LengthFields(lengthLabels)) {
    cmbCode = NewList("cmbCode", {"<=", "=", ">="});
    Label3 = AddRow("Label3", "Сравнение", cmbCode, 1);
    seDiamonds = fields.at(2);
    seClubs = fields.at(3);
    Label4 = labels.at(2);
    Label5 = labels.at(3);
}

QString TSuitsWindow::Execute(const QString&) { return ExecuteAs("Suits"); }

QString TSuitsWindow::ExecuteAs(const QString& name) {
    cmbCode->setCurrentIndex(1);
    return TBooleanFunctionWindow::Execute(name);
}

QString TSuitsWindow::CallText() const {
    const int code = cmbCode->currentIndex() - 1;
    return FunctionName() + "(" + Seat() + "," + QString::number(code) + FieldValues() + ")";
}
