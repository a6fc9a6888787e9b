#include "widgets/NumberField.h"

#include <QLineEdit>
#include <algorithm>
#include <limits>

bool ParseFieldInteger(const QString& text, int& value) {
    const QString trimmed = text.trimmed();
    int start = 0;
    if (!trimmed.isEmpty() && (trimmed[0] == u'-' || trimmed[0] == u'+')) start = 1;
    if (start >= trimmed.size()) return false;
    qint64 result = 0;
    for (int i = start; i < trimmed.size(); ++i) {
        const QChar c = trimmed[i];
        if (c < u'0' || c > u'9') return false;
        result = result * 10 + (c.unicode() - u'0');
        if (result > qint64(std::numeric_limits<int>::max()) + 1) return false;
    }
    if (trimmed[0] == u'-') result = -result;
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min())
        return false;
    value = int(result);
    return true;
}

TNumberField::TNumberField(QWidget* parent) : QAbstractSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    lineEdit()->setText(QStringLiteral("0"));
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] { emit Changed(); });
}

int TNumberField::Value() const {
    int value = 0;
    return ParseFieldInteger(lineEdit()->text(), value) ? value : lowest_;
}

int TNumberField::Clamped(int value) const {
    if (!HasRange()) return value;
    return std::clamp(value, std::min(lowest_, highest_), std::max(lowest_, highest_));
}

void TNumberField::SetValue(int value) { lineEdit()->setText(QString::number(Clamped(value))); }

QString TNumberField::Text() const { return lineEdit()->text(); }

void TNumberField::SetText(const QString& text) { lineEdit()->setText(text); }

void TNumberField::SetRange(int lowest, int highest) {
    lowest_ = lowest;
    highest_ = highest;
    update();  // the arrows' enabled state may have changed
}

void TNumberField::stepBy(int steps) {
    SetValue(int(std::clamp<qint64>(qint64(Value()) + steps, std::numeric_limits<int>::min(),
                                    std::numeric_limits<int>::max())));
    lineEdit()->selectAll();
}

QValidator::State TNumberField::validate(QString& input, int&) const {
    // Any text may be typed, it reads as a number later; only its length is limited.
    return input.size() <= maxLength_ ? QValidator::Acceptable : QValidator::Invalid;
}

QAbstractSpinBox::StepEnabled TNumberField::stepEnabled() const {
    if (isReadOnly()) return StepNone;
    return StepUpEnabled | StepDownEnabled;
}

void TNumberField::focusOutEvent(QFocusEvent* event) {
    const int value = Value();
    if (Clamped(value) != value) SetValue(value);
    QAbstractSpinBox::focusOutEvent(event);
}
