// The generate and stop commands: the one place that starts a run of the controller.
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
    if (!run_->Prepare(std::move(inputs), *monitor_)) {
        RichEdit->setFocus();
        PutCaretAtJoinedOffset(run_->ErrorPosition());
        return;
    }
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
