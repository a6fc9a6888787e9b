#include "widgets/ErrorLabel.h"

#include <QLayout>

#include "widgets/ScreenFit.h"

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
    // The window grows by the message's lines rather than squeezing its fields
    // (a layout's least height does not count the lines a wrapped text takes).
    QWidget* owner = window();
    QLayout* layout = owner->layout();
    if (layout == nullptr) return;
    layout->activate();
    const int needed = layout->hasHeightForWidth() ? layout->totalHeightForWidth(owner->width())
                                                   : layout->totalSizeHint().height();
    if (owner->height() < needed) owner->resize(owner->width(), needed);
    FitIntoScreen(owner);
}
