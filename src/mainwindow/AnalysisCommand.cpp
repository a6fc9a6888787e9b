// The analysis command: every deal of the collection solved double dummy on a
// worker, progress per deal in the run's label, STOP answered after the deal
// under way, then the report in the report window.
#include <QLabel>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>

#include "deals/DealCollection.h"
#include "mainwindow/MainWindow.h"
#include "reports/AnalysisReport.h"
#include "reports/windows/EditorWindow.h"

void TMainWindow::itmAnalyzeClick() {
    if (state_ != TState::Idle || run_->Deals().Count() == 0 || analysis_) return;
    std::vector<const TDeal*> deals;
    for (int32_t i = 0; i < run_->Deals().Count(); ++i) deals.push_back(run_->Deals().GetDeal(i));
    const auto total = static_cast<int32_t>(deals.size());
    SetState(TState::Analysing);
    lDealtTotal->setText(QStringLiteral("0/%1").arg(total));
    analysis_ = std::make_unique<TAnalysisRun>();
    // Both answers come on the worker; the window handles them on its own thread.
    const bool started = analysis_->Start(
        std::move(deals),
        [this](int32_t done, int32_t all) {
            QMetaObject::invokeMethod(
                this,
                [this, done, all] {
                    lDealtTotal->setText(QStringLiteral("%1/%2").arg(done).arg(all));
                },
                Qt::QueuedConnection);
        },
        [this](std::vector<TDealAnalysis> results, bool) {
            QMetaObject::invokeMethod(
                this,
                [this, results = std::move(results)] {
                    analysis_.reset();  // its thread has ended: this only joins it
                    SetState(TState::Idle);
                    TEditorWindow report(this);
                    report.ShowAnalysis(AnalysisReportLines(results));
                    report.exec();
                },
                Qt::QueuedConnection);
        });
    if (!started) {
        analysis_.reset();
        SetState(TState::Idle);
        QMessageBox::warning(this, QStringLiteral("Анализ в открытую"),
                             QStringLiteral("Не удалось начать анализ: системе не хватает "
                                            "ресурсов для ещё одного потока."));
    }
}
