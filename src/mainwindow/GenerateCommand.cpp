// The generate and stop commands: the one place that drives a TGenerator.
#include <QPlainTextEdit>
#include <QTimer>

#include <algorithm>

#include "engine/Generator.h"
#include "mainwindow/MainWindow.h"
#include "widgets/NumberField.h"

void TMainWindow::itmGenerateClick() {
    if (state_ != TState::Idle) return;
    TGeneratorInputs inputs;
    for (const QString& line : ConditionLines()) inputs.ConditionLines.push_back(line.toStdString());
    inputs.Rules = rules_.get();
    inputs.RequestedTotal = std::clamp(seTotal->Value(), 1, 9999999);
    inputs.AnySeatShown = SeatShown(1) || SeatShown(2) || SeatShown(3) || SeatShown(4);
    inputs.ThreadCount = 0;  // every core; the deals are those of one thread
    auto generator = std::make_unique<TGenerator>(*this, *deals_, std::move(inputs));
    if (!generator->PrepareCondition()) {
        RichEdit->setFocus();
        PutCaretAtJoinedOffset(generator->ErrorPosition());
        return;
    }
    generator_ = std::move(generator);
    progressKept_.store(0);
    progressDealt_.store(0);
    SetState(TState::Generating);
    repaint();
    progressTimer_->start();
    generator_->Start();
}

void TMainWindow::btnStopClick() {
    if (generator_) generator_->Terminate();
}

void TMainWindow::StopRunAndWait() {
    if (!generator_) return;
    generator_->Terminate();
    generator_->Wait();
    generator_.reset();
}
