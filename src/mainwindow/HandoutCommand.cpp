// The handout command: the dialog's choice, kept in korvana.ini, then the
// pages of the collection's boards in the print preview. The table and par
// come from the boards' analysis; when it has none yet, the deals are
// solved first on a worker, one at a time, with progress and STOP, and the
// results are kept for the next handout and the PBN file.
#include <QPrinter>

#include "mainwindow/CommandHost.h"
#include "mainwindow/CommandJobs.h"
#include "mainwindow/PlatformServices.h"
#include "printing/HandoutPainter.h"
#include "reports/windows/HandoutDialog.h"
#include "reports/windows/ReportPrinting.h"
#include "reports/windows/ReportServices.h"

namespace {

// The handout of the collection's boards in the preview: the dialog's first
// board numbers only the boards without a number of their own.
void ShowHandout(TCommandHost& host, const THandoutChoice& choice) {
    const std::vector<TBoard> boards = host.CollectionBoards(choice.FirstBoard);

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(choice.Options.Title));
    printer.setFullPage(true);
    SetHandoutPaper(printer, choice.Options);
    TReportServices& services = host.Printing();
    bool failed = false;
    const bool printed = services.PreviewAndPrint(host.Parent(), printer, [&](QPrinter& target) {
        target.setPrintRange(QPrinter::AllPages);
        target.setFullPage(true);
        failed = !PaintHandout(target, boards, choice.Options);
    });
    if (printed && failed) services.ShowError(host.Parent(), PrinterFailureText(printer));
}

}  // namespace

void HandoutCommand(TCommandHost& host, const TCommandRow&, bool) {
    if (!host.Idle() || host.CollectionDeals().empty()) return;
    THandoutDialog dialog(ReadHandoutChoice(host.Settings()), host.Parent());
    if (dialog.exec() != QDialog::Accepted) return;
    const THandoutChoice choice = dialog.Choice();
    WriteHandoutChoice(host.Settings(), choice);
    if (!choice.Options.Analysis || host.CollectionAnalysed()) {
        ShowHandout(host, choice);
        return;
    }

    AnalyseCollection(host, QStringLiteral("Раздаточный материал"),
                      [&host, choice](std::vector<TDealAnalysis> results, bool stopped) {
                          if (stopped) {
                              host.Platform().ShowMessage(
                                  host.Parent(), QStringLiteral("Анализ остановлен (решено %1), "
                                                                "раздаточный материал не сделан.")
                                                     .arg(host.JobProgressText()));
                              return;
                          }
                          host.KeepAnalysis(std::move(results));
                          ShowHandout(host, choice);
                      });
}
