#pragma once
// The about box: created hidden beside the main window at start-up and only
// shown and hidden until the program exits.
#include <QDialog>

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;  // centres the box on the screen
};
