// The simulations over the deals of the collection. A dialog gathers and
// checks the inputs, a worker runs the study with its progress in the run's
// label and STOP after which no solver call starts, then the report opens in
// the report window. The last inputs are kept in korvana.ini.
#include <QMetaObject>

#include "dialogs/StudyWindows.h"
#include "files/SettingsFile.h"
#include "files/SettingsKeys.h"
#include "mainwindow/CommandHost.h"
#include "mainwindow/CommandJobs.h"
#include "mainwindow/CommandTable.h"
#include "mainwindow/PlatformServices.h"
#include "mainwindow/StudyJob.h"
#include "reports/windows/EditorWindow.h"

namespace {

namespace Keys = SettingsKeys::Simulation;

// A vulnerability as korvana.ini keeps it: its number 0..3; None for anything else.
TVulnerability VulnerabilityValue(const std::optional<std::string>& text) {
    if (text && text->size() == 1 && (*text)[0] >= '0' && (*text)[0] <= '3')
        return static_cast<TVulnerability>((*text)[0] - '0');
    return TVulnerability::None;
}

std::string VulnerabilityText(TVulnerability vulnerability) {
    return std::to_string(static_cast<int>(vulnerability));
}

QString SettingText(const TSettings& settings, std::string_view section, std::string_view key) {
    return QString::fromStdString(settings.Value(section, key).value_or(""));
}

// The study job as the window's worker job.
class TStudyWorker : public TWorkerJob {
public:
    template <typename... TArgs>
    explicit TStudyWorker(TArgs&&... args) : job(std::forward<TArgs>(args)...) {}
    void Stop() override { job.Stop(); }
    TStudyJob job;
};

// Runs a prepared study over the collection, then opens its report under `caption`.
void RunStudy(TCommandHost& host, std::unique_ptr<TDealStudy> study, const QString& caption) {
    std::vector<const TDeal*> deals = host.CollectionDeals();
    const auto total = static_cast<int64_t>(deals.size());
    // The job, for its end on the window's thread (set before that can run).
    auto worker = std::make_shared<TStudyWorker*>(nullptr);
    host.BeginJob(total, [&]() -> std::unique_ptr<TWorkerJob> {
        // Both answers come on workers; the window handles the end on its own thread.
        auto made = std::make_unique<TStudyWorker>(
            std::move(study), std::move(deals),
            [&host](int64_t done, int64_t all) { host.ShowJobProgress(done, all); },
            [&host, worker, caption, total] {
                host.Later([&host, worker, caption, total] {
                    const TDealStudy& finished = (*worker)->job.Study();
                    const std::vector<std::string> lines = finished.ReportLines();
                    const int64_t refused = finished.Refused();
                    // After STOP the last progress may lag behind the deals counted.
                    host.ShowJobProgress(finished.Counted(), total);
                    host.EndJob();
                    if (refused > 0)
                        host.Platform().ShowMessage(
                            host.Parent(), QStringLiteral("Не разобрано раздач: %1.").arg(refused));
                    TEditorWindow report(host.Parent());
                    report.FillLines(caption, lines);
                    report.exec();
                });
            });
        *worker = made.get();
        return made;
    });
}

}  // namespace

std::unique_ptr<TDealStudy> AskVariants(TCommandHost& host, std::string_view section) {
    TSettings& settings = host.Settings();
    TVariantsWindow dialog(host.Parent());
    dialog.SetInputs(SettingText(settings, section, Keys::Variants),
                     VulnerabilityValue(settings.Value(section, Keys::VariantsVulnerability)));
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    settings.SetValue(section, Keys::Variants, dialog.Text().toStdString());
    settings.SetValue(section, Keys::VariantsVulnerability,
                      VulnerabilityText(dialog.Vulnerability()));
    return dialog.TakeStudy();
}

std::unique_ptr<TDealStudy> AskLead(TCommandHost& host, std::string_view section) {
    TSettings& settings = host.Settings();
    TLeadWindow dialog(host.CollectionDeals(), host.Parent());
    dialog.SetInputs(SettingText(settings, section, Keys::LeadContract),
                     VulnerabilityValue(settings.Value(section, Keys::LeadVulnerability)));
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    settings.SetValue(section, Keys::LeadContract, dialog.ContractText().toStdString());
    settings.SetValue(section, Keys::LeadVulnerability, VulnerabilityText(dialog.Vulnerability()));
    return dialog.TakeStudy();
}

std::unique_ptr<TDealStudy> AskTabulation(TCommandHost& host, std::string_view section) {
    TSettings& settings = host.Settings();
    TTabulationWindow dialog(host.Parent());
    QStringList expressions;
    for (std::string_view key : Keys::Expressions)
        expressions << SettingText(settings, section, key);
    dialog.SetInputs(expressions,
                     SettingText(settings, section, Keys::Cross) == QStringLiteral("1"));
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    const QStringList texts = dialog.Expressions();
    for (int i = 0; i < TTabulationWindow::Fields; ++i)
        settings.SetValue(section, Keys::Expressions[i], texts[i].toStdString());
    settings.SetValue(section, Keys::Cross, dialog.Cross() ? "1" : "0");
    return dialog.TakeStudy();
}

void RunStudyCommand(TCommandHost& host, const TCommandRow& row, bool) {
    if (!host.Idle() || host.CollectionDeals().empty()) return;
    std::unique_ptr<TDealStudy> study = row.Dialog(host, row.Section);
    if (study) RunStudy(host, std::move(study), CommandTitle(row));
}
