#include "widgets/ErrorLabel.h"

void PaintTextRed(QWidget* widget) {
    QPalette red = widget->palette();
    red.setColor(QPalette::WindowText, QColor(192, 0, 0));
    widget->setPalette(red);
}

TErrorLabel::TErrorLabel(QWidget* owner) : QLabel(owner) {
    setObjectName(QStringLiteral("lError"));
    setWordWrap(true);
    PaintTextRed(this);
    hide();
}

void TErrorLabel::ShowMessage(const QString& text) {
    setText(text);
    show();
}
