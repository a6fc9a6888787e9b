#pragma once
// An integer edit with up and down arrows. Its value is the number its text
// spells; text that is no number reads as the lowest allowed value. When the
// lowest and highest values are equal there is no range at all; otherwise a
// value set from code or by the arrows is clamped into the range, and so is the
// shown number when the field loses the focus. Every change of the text emits
// Changed().
#include <QAbstractSpinBox>

class TNumberField : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TNumberField(QWidget* parent = nullptr);

    int Value() const;
    void SetValue(int value);  // clamped when there is a range
    // The text as typed; any text is accepted.
    QString Text() const;
    void SetText(const QString& text);
    int Lowest() const { return lowest_; }
    int Highest() const { return highest_; }
    // Sets the range without touching the shown text.
    void SetRange(int lowest, int highest);
    // Limits what can be typed; a value set from code is shown whole.
    void SetMaxLength(int characters) { maxLength_ = characters; }
    bool HasRange() const { return lowest_ != highest_; }

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

signals:
    void Changed();

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int Clamped(int value) const;
    int lowest_ = 0;
    int highest_ = 0;
    int maxLength_ = 32767;
};

// The integer a text spells: blanks at both ends are dropped, then an optional
// sign and at least one digit, within 32 bits. False for anything else.
bool ParseFieldInteger(const QString& text, int& value);
