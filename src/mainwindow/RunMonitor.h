#pragma once
// The desktop side of a generator run: takes the run's requests on the worker
// thread without ever making it wait, and hands them to the GUI thread as
// signals. Progress and the newest kept deal are merged and shown about 30
// times a second; the end of the run comes last, after a final progress.
#include <QObject>
#include <atomic>
#include <thread>

#include "engine/Generator.h"

class QTimer;

class TRunMonitor : public QObject, public TGeneratorOwner {
    Q_OBJECT
public:
    explicit TRunMonitor(QObject* parent);

    // Before a run starts: counts from zero, and the timer that shows them.
    void BeginRun();

    // The run's requests, from any thread; on the GUI thread they are
    // delivered at once.
    void ReportProgress(int32_t kept, int64_t dealt) override;
    void ShowDeal(int32_t index) override;
    void GenerationFinished(int32_t kept, int32_t startCount) override;

signals:
    void Progress(int32_t kept, int64_t dealt);
    void DealShown(int32_t index);
    void Finished(int32_t kept, int32_t startCount);

private:
    void DeliverMerged();
    bool OnGuiThread() const { return std::this_thread::get_id() == guiThread_; }

    std::atomic<int32_t> kept_{0};
    std::atomic<int64_t> dealt_{0};
    std::atomic<int32_t> newestDeal_{-1};
    std::atomic<bool> showDealPending_{false};
    QTimer* timer_ = nullptr;
    const std::thread::id guiThread_ = std::this_thread::get_id();
};
