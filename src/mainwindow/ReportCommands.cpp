#include "deals/DealCollection.h"
#include "mainwindow/MainWindow.h"
#include "reports/windows/EditorWindow.h"
#include "widgets/NumberField.h"

// Preview and print: the listing of the shown seats' hands, as many deals to a
// row as the column field reads now (a number just typed counts as typed).
void TMainWindow::itmPrintDealsClick() {
    // The collection is only read while no run is writing it.
    if (state_ != TState::Idle || run_->Deals().Count() == 0) return;
    const bool north = SeatShown(1), east = SeatShown(2), south = SeatShown(3), west = SeatShown(4);
    if (!north && !east && !south && !west) return;
    TEditorWindow report(this);
    report.ShowListing(run_->Deals(), north, east, south, west, seColumnsCount->Value());
    report.exec();
}

// The statistics of the collection as it is now.
void TMainWindow::itmStatClick() {
    if (state_ != TState::Idle || run_->Deals().Count() == 0) return;
    run_->Deals().ComputeStatistics();
    TEditorWindow report(this);
    report.ShowStatistics(run_->Deals());
    report.exec();
}
