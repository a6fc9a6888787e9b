// The analysis command: every deal of the collection solved double dummy on a
// worker, progress per deal in the run's label, STOP answered after the deal
// under way, then the report in the report window.
#include <QLabel>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>

#include "analysis/DoubleDummy.h"
#include "deals/DealCollection.h"
#include "mainwindow/MainWindow.h"
#include "reports/AnalysisReport.h"
#include "reports/windows/EditorWindow.h"

void TMainWindow::itmAnalyzeClick() {
    if (state_ != TState::Idle || run_->Deals().Count() == 0 || analysis_) return;
    AnalyseCollection(QStringLiteral("Анализ в открытую"),
                      [this](std::vector<TDealAnalysis> results, bool) {
                          TEditorWindow report(this);
                          report.ShowAnalysis(AnalysisReportLines(results));
                          KeepAnalysis(results);
                          report.exec();
                      });
}

void TMainWindow::AnalyseCollection(const QString& caption, TAnalysisDone done) {
    std::vector<const TDeal*> deals = CollectionDeals();
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
        [this, done](std::vector<TDealAnalysis> results, bool stopped) {
            QMetaObject::invokeMethod(
                this,
                [this, done, stopped, results = std::move(results)]() mutable {
                    analysis_.reset();  // its thread has ended: this only joins it
                    SetState(TState::Idle);
                    done(std::move(results), stopped);
                },
                Qt::QueuedConnection);
        });
    if (!started) {
        analysis_.reset();
        SetState(TState::Idle);
        QMessageBox::warning(this, caption,
                             QStringLiteral("Не удалось начать анализ: системе не хватает "
                                            "ресурсов для ещё одного потока."));
    }
}

void TMainWindow::KeepAnalysis(std::vector<TDealAnalysis> results) {
    const TDeals& deals = run_->Deals();
    if (static_cast<int32_t>(results.size()) != deals.Count()) return;
    analysedDeals_.clear();
    for (std::size_t i = 0; i < results.size(); ++i) {
        const int64_t board = static_cast<int64_t>(i) + 1;
        if (results[i].Solved && !results[i].Par) AddBoardPar(results[i], board);
        analysedDeals_.push_back(deals.GetDeal(static_cast<int32_t>(i))->CardSets());
    }
    analysed_ = std::move(results);
}

std::span<const TDealAnalysis> TMainWindow::KeptAnalysis() const {
    const TDeals& deals = run_->Deals();
    if (analysed_.empty() || static_cast<int32_t>(analysed_.size()) != deals.Count()) return {};
    for (int32_t i = 0; i < deals.Count(); ++i)
        if (deals.GetDeal(i)->CardSets() != analysedDeals_[static_cast<std::size_t>(i)]) return {};
    return analysed_;
}
