#pragma once
// The main window: a view of the run controller. It shows one deal of the
// collection, holds the parameters of a generator run and the condition
// editor, and runs the commands of its menus and toolbar: its own, and those
// of the command table through the narrow host the window is to them. The
// controller owns the deal collection, the grammar's rules, the random source and the run.
#include <QLockFile>
#include <QMainWindow>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "deals/Board.h"
#include "deals/CollectionBoards.h"
#include "deals/FixedCards.h"
#include "deals/SecureSource.h"
#include "engine/RunController.h"
#include "files/SettingsFile.h"
#include "files/SetupFormat.h"
#include "mainwindow/CommandHost.h"
#include "mainwindow/MainWindowControls.h"
#include "mainwindow/PlatformServices.h"

class TAboutBox;
class TRunMonitor;

class TMainWindow : public QMainWindow, private TCommandHost {
    Q_OBJECT
public:
    enum class TState { Idle, Generating, Analysing };

    // Reads the setup file "generate.stp" from `setupFolder` (when empty, the
    // executable's folder or, where that takes no files, the user's
    // configuration folder) and writes it there when destroyed. `services` answer
    // message boxes and file choosers (the desktop's own when null).
    explicit TMainWindow(QString setupFolder = {},
                         std::shared_ptr<TPlatformServices> services = nullptr);
    ~TMainWindow() override;

    // The controls, for tests that work the window as a user does.
    TMainWindowControls& Controls() { return c_; }
    const TMainWindowControls& Controls() const { return c_; }

    // Appends the deals of the file and shows the first of them, as the open
    // command does with the file chosen.
    void OpenDealsFile(const QString& fileName);

    // Appends boards to the collection (their deals, and what they keep
    // beside them) and shows the first of them, as opening a file does.
    void AddBoards(std::span<const TBoard> boards);

    // Shows a deal: an index into the collection, or -1 for the current deal
    // (seCurrentDeal - 1). On the GUI thread only.
    void ShowDeal(int32_t index);

    TState State() const { return state_; }
    TRunController& Run() { return *run_; }
    // Where a run's requests go: safe from any thread; carried out on the GUI
    // thread, in order, progress merged to about 30 updates a second.
    TGeneratorOwner& RunRequests();
    TDeals& Deals() { return run_->Deals(); }
    const TDeals& Deals() const { return run_->Deals(); }
    // What the collection's boards keep beside their deals.
    const TCollectionBoards& Boards() const { return boards_; }
    // The board of collection index `index` (its deal empty when there is
    // none), numbered from FirstBoard(), with par for its own dealer and
    // vulnerability when it was analysed.
    TBoard BoardAt(int32_t index) const;
    // The editor's lines; an empty editor has none.
    QStringList ConditionLines() const override;
    bool SeatShown(int seat) const;  // seat 1..4
    // Replaces the editor's selection (or inserts at the caret) by a non-empty
    // text and leaves the caret right after it; the focus stays where it is.
    void InsertConditionText(const QString& text);

    // Commands.
    void itmGenerateClick();
    void itmClearClick();
    void itmOpenDealsClick();
    void itmSaveDealsClick();
    void itmOpenConditionsClick();
    void itmSaveConditionsClick();

    // The cards every run gives the seats; the mark under the deal shows them.
    const TFixedCards& FixedCards() const override { return fixedCards_; }
    void SetFixedCards(const TFixedCards& cards) override;
    // Who deals and who is vulnerable on the boards that runs deal.
    const TSeatingChoice& Seating() const override { return seating_; }
    void SetSeating(const TSeatingChoice& seating) override { seating_ = seating; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The rest of the commands.
    void btnStopClick();
    void itmPrintDealsClick();  // preview and print
    void itmStatClick();        // statistics
    void itmAboutClick();
    void itmExitClick();

    // Construction: the command table's items, then the connections.
    void AddCommands(TCommandPlace place, QMenu* menu);
    void ConnectControls();
    void ConnectBoardMenu();  // "Копировать сдачу" and "Вставить сдачу" on the hands
    void FitClientArea();    // at the first show
    void OpenFirstMenu();    // Alt and F10
    bool altAlone_ = false;  // Alt is down and no other key was pressed with it

    // Deal display and navigation.
    void DisplayDeal(int index);
    void SetSeatVisible(int seat, bool visible);
    void seCurrentDealChange();
    void seKeyValueChange();
    bool FormKeyDown(QKeyEvent* event);
    void ShowHandInfo(int seat);
    int SeatOfHandLabel(QObject* object) const;
    void SetDealRange(int lowest, int highest);
    void ShowDealCount();
    bool IsMenuShortcut(const QKeyEvent* event) const;

    // Generator runs.
    void SetState(TState state);
    void ShowProgress(int32_t kept, int64_t dealt);
    void FinishRun(int32_t kept, int32_t startCount);
    // Prepares and starts a run; once started it is the run that a repeat deals again.
    TGeneratorInputs WindowInputs() const;
    // `delayedFrom`: the secret whose key with a delayed text deals the run.
    void StartRun(TGeneratorInputs inputs, std::optional<TSecret> delayedFrom = std::nullopt);
    // How the last run is dealt again, in the deal counter's tooltip and the status line.
    void ShowHowToRepeat();
    void ShowFileError(const QString& text);

    // Deals, conditions and setup files (WindowFiles.cpp).
    void LoadDealsFile(const QString& fileName);
    // The board facts in the middle of the hands: number, dealer,
    // vulnerability and, once analysed, par; empty without a deal.
    void ShowBoardFacts(int32_t index);
    void SaveDealsFile(const QString& fileName, int fileType);
    // The save chooser's "Первая сдача", kept in korvana.ini.
    int SaveFirstBoard() const;
    void KeepSaveFirstBoard(int firstBoard);
    // The deals chooser for saving: its types and LIN besides.
    TFileChooser DealsSaveChooser() const;
    QString SetupFileName() const;
    // Beside generate.stp: what the setup file cannot keep of the boards.
    QString CompanionFileName() const;
    void LoadCompanion();
    // generate.stp, then korvana.ini, whose fixed cards win over the ones an
    // older version wrote after the state record.
    void LoadSetup();
    // Applies generate.stp; the fixed cards' text after its record, if any.
    QString LoadSetupFile();
    void SaveSetup();
    // The window's state for generate.stp, with fixed cards after the record
    // only when korvana.ini could not take them.
    TSetupContent SetupContent(const std::string& fixedCards) const;

    // What the command table's commands ask of the window.
    QWidget* Parent() override { return this; }
    TPlatformServices& Platform() override { return *services_; }
    TReportServices& Printing() override;
    TSettings& Settings() override { return settings_; }
    bool Idle() const override { return state_ == TState::Idle; }
    std::vector<const TDeal*> CollectionDeals() const override;
    std::vector<TBoard> CollectionBoards(int64_t firstBoard) const override;
    int64_t FirstBoard() const override { return SaveFirstBoard(); }
    bool CollectionAnalysed() const override;
    bool BeginJob(int64_t total,
                  const std::function<std::unique_ptr<TWorkerJob>()>& start) override;
    void ShowJobProgress(int64_t done, int64_t total) override;
    QString JobProgressText() const override;
    void Later(std::function<void()> then) override;
    void EndJob() override;
    void KeepAnalysis(std::vector<TDealAnalysis> results) override;
    void SetSecureDealing(bool secure) override;
    const std::optional<TSecret>& LastSecret() const override { return lastSecret_; }
    void InsertCondition(const QString& text) override;
    int32_t LastRunTotal() const override;
    std::optional<uint32_t> LastRunKey() const override;
    void RepeatRun(uint32_t seed) override;
    void RepeatSecureRun(const TSecret& secret, const std::string& delayed) override;

    TMainWindowControls c_;

    // Platform services and files.
    std::shared_ptr<TPlatformServices> services_;
    std::unique_ptr<TReportServices> desktopReports_;  // when the services give none
    std::unique_ptr<TMessageBoxSink> sink_;
    QString setupFolder_;
    bool keepSetupFile_ = false;  // a setup file neither read whole nor kept aside is not replaced
    // korvana.ini as read at start, rewritten at close only when its text changes.
    TSettings settings_;
    std::string settingsText_;
    bool keepSettingsFile_ = false;  // a settings file that could not be read is not replaced
    // Held while the window lives: a second window over the same setup folder
    // finds it taken and then writes no setup file at close, so that neither
    // window silently replaces what the other saves.
    std::unique_ptr<QLockFile> setupLock_;
    bool anotherWindowSaves_ = false;
    TFileChooser dealsChooser_;
    TFileChooser conditionsChooser_;

    // The controller this window is a view of, and the run's requests merged for the GUI thread.
    std::unique_ptr<TRunController> run_;
    TRunMonitor* monitor_ = nullptr;
    TState state_ = TState::Idle;
    // The analysis or study under way; destroyed (stopped and waited for) before the collection.
    std::unique_ptr<TWorkerJob> job_;
    // What each board keeps beside its deal; appended as the collection is.
    TCollectionBoards boards_;
    // How the run under way deals, and where its first deal goes.
    std::optional<TDealtBy> runOrigin_;
    int32_t runStart_ = 0;
    TAboutBox* aboutBox_ = nullptr;
    TFixedCards fixedCards_;
    // The secret of the last secure run.
    std::optional<TSecret> lastSecret_;
    // The seed the last run started from: a run from it deals the same boards.
    std::optional<uint32_t> lastRunSeed_;
    // The inputs of the last run that started, which a repeat deals again.
    std::optional<TGeneratorInputs> lastRunInputs_;
    // Who deals and who is vulnerable on the boards the window deals.
    TSeatingChoice seating_;
    // The client area's designed size, made good at the first show once the
    // menu bar's height is known; a side the setup file gave is -1 and kept.
    QSize clientToFit_{537, 371};
};
