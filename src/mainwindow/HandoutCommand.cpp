// The handout command: the dialog's choice, kept in korvana.ini, then the
// pages of the collection's deals in the print preview. The table and par
// come from the collection's analysis; when it has none yet, the deals are
// solved first on a worker, one at a time, with progress and STOP, and the
// results are kept for the next handout and the PBN file.
#include <QLabel>
#include <QPrinter>

#include "analysis/DoubleDummy.h"
#include "deals/DealCollection.h"
#include "mainwindow/MainWindow.h"
#include "printing/HandoutPainter.h"
#include "reports/windows/HandoutDialog.h"
#include "reports/windows/ReportPrinting.h"
#include "reports/windows/ReportServices.h"

void TMainWindow::itmHandoutClick() {
    if (state_ != TState::Idle || run_->Deals().Count() == 0 || analysis_) return;
    THandoutDialog dialog(ReadHandoutChoice(settings_), this);
    if (dialog.exec() != QDialog::Accepted) return;
    const THandoutChoice choice = dialog.Choice();
    WriteHandoutChoice(settings_, choice);
    if (!choice.Options.Analysis || !KeptAnalysis().empty()) {
        ShowHandout(choice);
        return;
    }

    AnalyseCollection(QStringLiteral("Раздаточный материал"),
                      [this, choice](std::vector<TDealAnalysis> results, bool stopped) {
                          if (stopped) {
                              services_->ShowMessage(
                                  this, QStringLiteral("Анализ остановлен (решено %1), "
                                                       "раздаточный материал не сделан.")
                                            .arg(lDealtTotal->text()));
                              return;
                          }
                          KeepAnalysis(std::move(results));
                          ShowHandout(choice);
                      });
}

void TMainWindow::ShowHandout(const THandoutChoice& choice) {
    const TDeals& deals = run_->Deals();
    const std::span<const TDealAnalysis> kept = KeptAnalysis();
    std::vector<TBoard> boards(static_cast<std::size_t>(deals.Count()));
    for (std::size_t i = 0; i < boards.size(); ++i) {
        boards[i].Deal = *deals.GetDeal(static_cast<int32_t>(i));
        boards[i].SetPosition(choice.FirstBoard + static_cast<int64_t>(i));
        if (i < kept.size() && kept[i].Solved) {
            // Par for the board's own dealer and vulnerability, which the first board moves.
            boards[i].Analysis = kept[i];
            boards[i].Analysis->Par.reset();
            AddPar(*boards[i].Analysis, boards[i].Dealer, boards[i].Vulnerability);
        }
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(choice.Options.Title));
    printer.setFullPage(true);
    SetHandoutPaper(printer, choice.Options);
    TDesktopReportServices desktop;
    TReportServices& services = HandoutServices != nullptr ? *HandoutServices : desktop;
    bool failed = false;
    const bool printed = services.PreviewAndPrint(this, printer, [&](QPrinter& target) {
        target.setPrintRange(QPrinter::AllPages);
        target.setFullPage(true);
        failed = !PaintHandout(target, boards, choice.Options);
    });
    if (printed && failed) services.ShowError(this, PrinterFailureText(printer));
}
