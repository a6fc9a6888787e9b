#include "mainwindow/MainWindow.h"

// Preview and print of the deal listing, and the statistics report.
void TMainWindow::itmPrintClick() {}
void TMainWindow::itmStatisticsClick() {}
