#pragma once
// The red message a dialog shows under its fields while its input is refused.
#include <QLabel>

// Paints the widget's text in the red of messages.
void PaintTextRed(QWidget* widget);

// A word-wrapped red label named "lError", hidden until a message is shown.
class TErrorLabel : public QLabel {
public:
    explicit TErrorLabel(QWidget* owner);
    // Shows `text` as the message, its window grown to hold it within the
    // screen; hide() takes it away.
    void ShowMessage(const QString& text);
};
