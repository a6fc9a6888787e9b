#include "mainwindow/RunMonitor.h"

#include <QTimer>

TRunMonitor::TRunMonitor(QObject* parent) : QObject(parent), timer_(new QTimer(this)) {
    timer_->setInterval(33);  // about 30 updates a second
    connect(timer_, &QTimer::timeout, this, &TRunMonitor::DeliverMerged);
}

void TRunMonitor::BeginRun() {
    kept_.store(0);
    dealt_.store(0);
    showDealPending_.store(false);
    timer_->start();
}

void TRunMonitor::ReportProgress(int32_t kept, int64_t dealt) {
    // Stored only; the timer shows the latest counts, so the worker never waits.
    dealt_.store(dealt, std::memory_order_relaxed);
    kept_.store(kept, std::memory_order_release);
    if (OnGuiThread()) DeliverMerged();
}

void TRunMonitor::ShowDeal(int32_t index) {
    if (OnGuiThread()) {
        emit DealShown(index);
        return;
    }
    // Each request shows a newer deal than the one before, so only the newest
    // matters; the timer shows it with the counts.
    newestDeal_.store(index, std::memory_order_relaxed);
    showDealPending_.store(true, std::memory_order_release);
}

void TRunMonitor::GenerationFinished(int32_t kept, int32_t startCount) {
    const auto finish = [this, kept, startCount] {
        timer_->stop();
        DeliverMerged();  // the final counts
        emit Finished(kept, startCount);
    };
    if (OnGuiThread())
        finish();
    else
        QMetaObject::invokeMethod(this, finish, Qt::QueuedConnection);
}

void TRunMonitor::DeliverMerged() {
    const int32_t kept = kept_.load(std::memory_order_acquire);
    const int64_t dealt = dealt_.load(std::memory_order_relaxed);
    emit Progress(kept, dealt);
    if (showDealPending_.exchange(false, std::memory_order_acquire))
        emit DealShown(newestDeal_.load(std::memory_order_relaxed));
}
