#include "mainwindow/MainWindow.h"

// The function, operator and constant menus of the toolbar are filled here.
void TMainWindow::BuildEditingMenus() {}
