// The main window's size at its first show: the client area below the menu
// bar as designed, whatever height the platform gives the menu bar.
#include <QLayout>
#include <QWidget>

#include "mainwindow/MainWindow.h"
#include "widgets/ScreenFit.h"

void TMainWindow::FitClientArea() {
    const QSize wanted = clientToFit_;
    clientToFit_ = QSize(-1, -1);  // once only: later the user's size stands
    if (isMaximized() || isFullScreen()) return;
    // The menu bar is polished by now; laying the window out gives the client
    // area the height that is left below it.
    layout()->activate();
    const QSize client = centralWidget()->size();
    const int width =
        wanted.width() > 0 ? this->width() + wanted.width() - client.width() : this->width();
    const int height =
        wanted.height() > 0 ? this->height() + wanted.height() - client.height() : this->height();
    if (width != this->width() || height != this->height()) resize(width, height);
    FitIntoScreen(this);
}
