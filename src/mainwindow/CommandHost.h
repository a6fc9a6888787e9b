#pragma once
// What the commands of the command table may ask of the main window: the
// window implements it, and no command sees the window itself.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "deals/Board.h"
#include "deals/Deal.h"
#include "deals/DealAnalysis.h"
#include "deals/FixedCards.h"
#include "deals/SecureSource.h"

class QWidget;
class TPlatformServices;
class TReportServices;
class TSettings;

// Work on a worker thread that STOP can end early; destroying it stops it and waits.
class TWorkerJob {
public:
    virtual ~TWorkerJob() = default;
    // Any thread; returns at once.
    virtual void Stop() = 0;
};

class TCommandHost {
public:
    virtual ~TCommandHost() = default;

    // The parent of the command's dialogs and messages.
    virtual QWidget* Parent() = 0;
    // Message boxes and file choosers; and the preview and printing of a report.
    virtual TPlatformServices& Platform() = 0;
    virtual TReportServices& Printing() = 0;
    // korvana.ini as the window keeps it; written back at close.
    virtual TSettings& Settings() = 0;

    // True while no run, analysis or study is under way.
    virtual bool Idle() const = 0;
    // The deals of the collection, in order; they stay in place while a job runs.
    virtual std::vector<const TDeal*> CollectionDeals() const = 0;

    // Starts a job over `total` deals: the window rests while it runs, STOP
    // stops it and the run's label shows its progress. `start` makes the job
    // (null when no thread could start: the window is idle again at once).
    virtual bool BeginJob(int64_t total,
                          const std::function<std::unique_ptr<TWorkerJob>()>& start) = 0;
    // The job's progress in the run's label; any thread.
    virtual void ShowJobProgress(int64_t done, int64_t total) = 0;
    // What the run's label shows.
    virtual QString JobProgressText() const = 0;
    // Runs `then` on the window's thread later; any thread.
    virtual void Later(std::function<void()> then) = 0;
    // Destroys the job (its threads have ended: this only joins them) and
    // makes the window idle again. On the window's thread.
    virtual void EndJob() = 0;

    // The boards of the collection, in order: a board without a number of its
    // own is `firstBoard` + its index, and each analysed board has par for its
    // own dealer and vulnerability.
    virtual std::vector<TBoard> CollectionBoards(int64_t firstBoard) const = 0;
    // The number the window gives the collection's first board where it has
    // none of its own (the save chooser's "Первая сдача").
    virtual int64_t FirstBoard() const = 0;
    // Whether every board of the collection has its analysis kept.
    virtual bool CollectionAnalysed() const = 0;
    // Keeps the analysis of every deal of the collection (result i for deal i).
    virtual void KeepAnalysis(std::vector<TDealAnalysis> results) = 0;

    // The cards every run gives the seats.
    virtual const TFixedCards& FixedCards() const = 0;
    virtual void SetFixedCards(const TFixedCards& cards) = 0;
    // Runs deal securely (the key field rests) or from the key value.
    virtual void SetSecureDealing(bool secure) = 0;
    // The secret of the last secure run, if any.
    virtual const std::optional<TSecret>& LastSecret() const = 0;
    // Who deals and who is vulnerable on the boards that runs deal.
    virtual const TSeatingChoice& Seating() const = 0;
    virtual void SetSeating(const TSeatingChoice& seating) = 0;

    // The last run that started: the deals it was to keep (0 before the first
    // run), and the seed it started from when it dealt from the key.
    virtual int32_t LastRunTotal() const = 0;
    virtual std::optional<uint32_t> LastRunKey() const = 0;
    // Deals the last run's condition, count and fixed cards again from exactly
    // this seed (which the runs after it go on from), or securely from this
    // secret. Nothing before the first run or while the window is not idle.
    virtual void RepeatRun(uint32_t seed) = 0;
    // With a delayed text, the run deals from the key the secret makes with it.
    virtual void RepeatSecureRun(const TSecret& secret, const std::string& delayed) = 0;
    // The condition's lines as the editor holds them.
    virtual QStringList ConditionLines() const = 0;

    // Puts a whole condition into the editor (in place of the selection, else
    // joined by AND to the condition there) and gives it the focus.
    virtual void InsertCondition(const QString& text) = 0;
};
