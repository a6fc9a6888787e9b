// The analysis command: every deal of the collection solved double dummy on a
// worker, progress per deal in the run's label, STOP answered after the deal
// under way, then the report in the report window.
#include "analysis/DoubleDummy.h"
#include "engine/AnalysisRun.h"
#include "mainwindow/CommandHost.h"
#include "mainwindow/CommandJobs.h"
#include "mainwindow/PlatformServices.h"
#include "reports/AnalysisReport.h"
#include "reports/windows/EditorWindow.h"

namespace {

// The analysis run as the window's worker job.
class TAnalysisWorker : public TWorkerJob {
public:
    void Stop() override { run.Stop(); }
    TAnalysisRun run;
};

}  // namespace

void AnalyseCommand(TCommandHost& host, const TCommandRow&, bool) {
    if (!host.Idle() || host.CollectionDeals().empty()) return;
    AnalyseCollection(host, QStringLiteral("Анализ в открытую"),
                      [&host](std::vector<TDealAnalysis> results, bool) {
                          host.KeepAnalysis(results);
                          // Par for each board's own dealer and vulnerability.
                          const std::vector<TBoard> boards =
                              host.CollectionBoards(host.FirstBoard());
                          for (std::size_t i = 0; i < results.size() && i < boards.size(); ++i)
                              if (boards[i].Analysis) results[i].Par = boards[i].Analysis->Par;
                          TEditorWindow report(host.Parent());
                          report.ShowAnalysis(AnalysisReportLines(results));
                          report.exec();
                      });
}

void AnalyseCollection(TCommandHost& host, const QString& caption, TAnalysisDone done) {
    std::vector<const TDeal*> deals = host.CollectionDeals();
    const auto total = static_cast<int64_t>(deals.size());
    const bool started = host.BeginJob(total, [&]() -> std::unique_ptr<TWorkerJob> {
        auto worker = std::make_unique<TAnalysisWorker>();
        // Both answers come on the worker; the window handles the end on its own thread.
        const bool running = worker->run.Start(
            std::move(deals),
            [&host](int32_t solved, int32_t all) { host.ShowJobProgress(solved, all); },
            [&host, done](std::vector<TDealAnalysis> results, bool stopped) {
                host.Later([&host, done, stopped, results = std::move(results)]() mutable {
                    host.EndJob();
                    done(std::move(results), stopped);
                });
            });
        if (!running) return nullptr;
        return worker;
    });
    if (!started)
        host.Platform().ShowMessage(host.Parent(),
                                    caption + QStringLiteral(": не удалось начать анализ: системе "
                                                             "не хватает ресурсов для ещё одного "
                                                             "потока."));
}
