// The analysis menu: the double-dummy analysis and the three simulations over
// the deals of the collection. A dialog gathers and checks the inputs, a
// worker runs the study with its progress in the run's label and STOP after
// which no solver call starts, then the report opens in the report window.
// The last inputs are kept in korvana.ini.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>

#include "deals/DealCollection.h"
#include "dialogs/StudyWindows.h"
#include "mainwindow/MainWindow.h"
#include "reports/windows/EditorWindow.h"

namespace {

// Where korvana.ini keeps the last inputs of the simulations.
constexpr std::string_view StudySection = "Simulation";
constexpr std::string_view VariantsKey = "Variants";
constexpr std::string_view VariantsVulnerabilityKey = "VariantsVulnerability";
constexpr std::string_view LeadContractKey = "LeadContract";
constexpr std::string_view LeadVulnerabilityKey = "LeadVulnerability";
constexpr std::string_view ExpressionKeys[TTabulationWindow::Fields] = {
    "Expression1", "Expression2", "Expression3", "Expression4"};
constexpr std::string_view CrossKey = "Cross";

// A vulnerability as korvana.ini keeps it: its number 0..3; None for anything else.
TVulnerability VulnerabilityValue(const std::optional<std::string>& text) {
    if (text && text->size() == 1 && (*text)[0] >= '0' && (*text)[0] <= '3')
        return static_cast<TVulnerability>((*text)[0] - '0');
    return TVulnerability::None;
}

std::string VulnerabilityText(TVulnerability vulnerability) {
    return std::to_string(static_cast<int>(vulnerability));
}

QString SettingText(const TSettings& settings, std::string_view key) {
    return QString::fromStdString(settings.Value(StudySection, key).value_or(""));
}

}  // namespace

void TMainWindow::BuildAnalysisMenu() {
    AnalysisMenu = new QMenu(QStringLiteral("Анализ"), this);
    menuBar()->insertMenu(itmHelp, AnalysisMenu);
    // The double-dummy analysis belongs here beside the simulations.
    DealsMenu->removeAction(itmAnalyze);
    AnalysisMenu->addAction(itmAnalyze);
    AnalysisMenu->addSeparator();
    itmCompareVariants = AnalysisMenu->addAction(QStringLiteral("Сравнение вариантов..."));
    itmCompareVariants->setShortcut(QKeySequence(Qt::Key_F5));
    itmLeads = AnalysisMenu->addAction(QStringLiteral("Первый ход..."));
    itmLeads->setShortcut(QKeySequence(Qt::Key_F6));
    itmTabulate = AnalysisMenu->addAction(QStringLiteral("Распределение..."));
    itmTabulate->setShortcut(QKeySequence(Qt::Key_F7));
    connect(itmCompareVariants, &QAction::triggered, this, &TMainWindow::itmCompareVariantsClick);
    connect(itmLeads, &QAction::triggered, this, &TMainWindow::itmLeadsClick);
    connect(itmTabulate, &QAction::triggered, this, &TMainWindow::itmTabulateClick);
}

std::vector<const TDeal*> TMainWindow::CollectionDeals() const {
    std::vector<const TDeal*> deals;
    for (int32_t i = 0; i < run_->Deals().Count(); ++i)
        if (const TDeal* deal = run_->Deals().GetDeal(i)) deals.push_back(deal);
    return deals;
}

void TMainWindow::itmCompareVariantsClick() {
    if (state_ != TState::Idle || run_->Deals().Count() == 0) return;
    TVariantsWindow dialog(this);
    dialog.SetInputs(SettingText(settings_, VariantsKey),
                     VulnerabilityValue(settings_.Value(StudySection, VariantsVulnerabilityKey)));
    if (dialog.exec() != QDialog::Accepted) return;
    settings_.SetValue(StudySection, VariantsKey, dialog.Text().toStdString());
    settings_.SetValue(StudySection, VariantsVulnerabilityKey,
                       VulnerabilityText(dialog.Vulnerability()));
    RunStudy(dialog.TakeStudy(), QStringLiteral("Сравнение вариантов"));
}

void TMainWindow::itmLeadsClick() {
    if (state_ != TState::Idle || run_->Deals().Count() == 0) return;
    TLeadWindow dialog(CollectionDeals(), this);
    dialog.SetInputs(SettingText(settings_, LeadContractKey),
                     VulnerabilityValue(settings_.Value(StudySection, LeadVulnerabilityKey)));
    if (dialog.exec() != QDialog::Accepted) return;
    settings_.SetValue(StudySection, LeadContractKey, dialog.ContractText().toStdString());
    settings_.SetValue(StudySection, LeadVulnerabilityKey,
                       VulnerabilityText(dialog.Vulnerability()));
    RunStudy(dialog.TakeStudy(), QStringLiteral("Первый ход"));
}

void TMainWindow::itmTabulateClick() {
    if (state_ != TState::Idle || run_->Deals().Count() == 0) return;
    TTabulationWindow dialog(this);
    QStringList expressions;
    for (std::string_view key : ExpressionKeys) expressions << SettingText(settings_, key);
    dialog.SetInputs(expressions, SettingText(settings_, CrossKey) == QStringLiteral("1"));
    if (dialog.exec() != QDialog::Accepted) return;
    const QStringList texts = dialog.Expressions();
    for (int i = 0; i < TTabulationWindow::Fields; ++i)
        settings_.SetValue(StudySection, ExpressionKeys[i], texts[i].toStdString());
    settings_.SetValue(StudySection, CrossKey, dialog.Cross() ? "1" : "0");
    RunStudy(dialog.TakeStudy(), QStringLiteral("Распределение"));
}

void TMainWindow::RunStudy(std::unique_ptr<TDealStudy> study, const QString& caption) {
    if (!study || study_) return;
    std::vector<const TDeal*> deals = CollectionDeals();
    const auto total = static_cast<int64_t>(deals.size());
    SetState(TState::Analysing);
    lDealtTotal->setText(QStringLiteral("0/%1").arg(total));
    // Both answers come on workers; the window handles them on its own thread.
    study_ = std::make_unique<TStudyJob>(
        std::move(study), std::move(deals),
        [this](int64_t done, int64_t total) {
            QMetaObject::invokeMethod(
                this,
                [this, done, total] {
                    lDealtTotal->setText(QStringLiteral("%1/%2").arg(done).arg(total));
                },
                Qt::QueuedConnection);
        },
        [this, caption, total] {
            QMetaObject::invokeMethod(
                this,
                [this, caption, total] {
                    const std::vector<std::string> lines = study_->Study().ReportLines();
                    const int64_t refused = study_->Study().Refused();
                    // After STOP the last progress may lag behind the deals counted.
                    lDealtTotal->setText(
                        QStringLiteral("%1/%2").arg(study_->Study().Counted()).arg(total));
                    study_.reset();  // its threads have ended: this only joins them
                    SetState(TState::Idle);
                    if (refused > 0)
                        services_->ShowMessage(
                            this, QStringLiteral("Не разобрано раздач: %1.").arg(refused));
                    TEditorWindow report(this);
                    report.FillLines(caption, lines);
                    report.exec();
                },
                Qt::QueuedConnection);
        });
}
