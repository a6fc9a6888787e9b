// The handout command: the dialog's choice, kept in korvana.ini, then the
// pages of the collection's deals in the print preview. Deals the window has
// analysed keep their tables; the others are solved when the table is asked.
#include <QApplication>
#include <QPrinter>

#include "analysis/DoubleDummy.h"
#include "deals/DealCollection.h"
#include "mainwindow/MainWindow.h"
#include "printing/HandoutPainter.h"
#include "reports/windows/HandoutDialog.h"
#include "reports/windows/ReportPrinting.h"
#include "reports/windows/ReportServices.h"

void TMainWindow::itmHandoutClick() {
    if (state_ != TState::Idle || run_->Deals().Count() == 0) return;
    THandoutDialog dialog(ReadHandoutChoice(settings_), this);
    if (dialog.exec() != QDialog::Accepted) return;
    const THandoutChoice choice = dialog.Choice();
    WriteHandoutChoice(settings_, choice);

    const TDeals& deals = run_->Deals();
    const std::span<const TDealAnalysis> kept = KeptAnalysis();
    std::vector<TBoard> boards(static_cast<std::size_t>(deals.Count()));
    std::vector<const TDeal*> unsolved;
    for (std::size_t i = 0; i < boards.size(); ++i) {
        boards[i].Deal = *deals.GetDeal(static_cast<int32_t>(i));
        boards[i].SetPosition(choice.FirstBoard + static_cast<int64_t>(i));
        if (i < kept.size() && kept[i].Solved)
            boards[i].Analysis = kept[i];
        else if (choice.Options.Analysis)
            unsolved.push_back(&boards[i].Deal);
    }
    if (!unsolved.empty()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        std::vector<TDealAnalysis> results = AnalyseAll(unsolved);
        QApplication::restoreOverrideCursor();
        std::size_t next = 0;
        for (TBoard& board : boards)
            if (!board.Analysis && next < results.size())
                board.Analysis = std::move(results[next++]);
    }
    // Par for each board's own dealer and vulnerability, which the first board moves.
    for (TBoard& board : boards)
        if (board.Analysis && board.Analysis->Solved) {
            board.Analysis->Par.reset();
            AddPar(*board.Analysis, board.Dealer, board.Vulnerability);
        }

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(choice.Options.Title));
    printer.setFullPage(true);
    SetHandoutPaper(printer, choice.Options);
    TDesktopReportServices services;
    bool failed = false;
    const bool printed = services.PreviewAndPrint(this, printer, [&](QPrinter& target) {
        target.setPrintRange(QPrinter::AllPages);
        target.setFullPage(true);
        failed = !PaintHandout(target, boards, choice.Options);
    });
    if (printed && failed) services.ShowError(this, PrinterFailureText(printer));
}
