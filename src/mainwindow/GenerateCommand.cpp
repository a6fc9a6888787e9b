// The generate and stop commands: the one place that starts a run of the controller.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <algorithm>

#include "mainwindow/MainWindow.h"
#include "mainwindow/RunMonitor.h"
#include "widgets/NumberField.h"

void TMainWindow::itmGenerateClick() {
    if (state_ != TState::Idle) return;
    TGeneratorInputs inputs;
    for (const QString& line : ConditionLines())
        inputs.ConditionLines.push_back(line.toStdString());
    inputs.RequestedTotal = std::clamp(seTotal->Value(), 1, 9999999);
    inputs.AnySeatShown = SeatShown(1) || SeatShown(2) || SeatShown(3) || SeatShown(4);
    inputs.ThreadCount = 0;  // every core; the deals are those of one thread
    inputs.FixedCards = fixedCards_;
    if (itmSecure->isChecked()) {
        // A secure run reads neither the key field nor the clock.
        inputs.Secret = NewSecret();
        if (!inputs.Secret) {
            services_->ShowMessage(
                this, QStringLiteral("Система не дала случайных чисел: надёжная раздача "
                                     "невозможна. Снимите отметку «Надёжная раздача»."));
            return;
        }
    }
    const std::optional<TSecret> secret = inputs.Secret;
    if (!run_->Prepare(std::move(inputs), *monitor_).IsOk()) {
        RichEdit->setFocus();
        PutCaretAtJoinedOffset(run_->ErrorPosition());
        return;
    }
    if (secret) {
        lastSecret_ = secret;
        secureDeals_ = true;
    }
    if (run_->Deals().Count() == 0) firstRunSeed_ = run_->Random().Seed();
    SetState(TState::Generating);
    repaint();
    monitor_->BeginRun();
    run_->Start();
}

void TMainWindow::btnStopClick() {
    if (study_) {
        study_->Stop();
        return;
    }
    if (analysis_)
        analysis_->Stop();
    else
        run_->Stop();
}

TGeneratorOwner& TMainWindow::RunRequests() { return *monitor_; }

void TMainWindow::itmShowSecretClick() {
    if (!lastSecret_) return;
    const QString text = QString::fromStdString(SecretText(*lastSecret_));
    QGuiApplication::clipboard()->setText(text);
    services_->ShowMessage(this, QStringLiteral("Секрет последней надёжной раздачи (скопирован "
                                                "в буфер обмена):\n%1\n\nОн повторяет раздачи: "
                                                "не показывайте его игрокам.")
                                     .arg(text));
}
