#pragma once
// The main window: a view of the run controller. It shows one deal of the
// collection, holds the parameters of a generator run and the condition
// editor, and runs every command from its menus and toolbar; the controller
// owns the deal collection, the grammar's rules, the random source and the run.
#include <QLockFile>
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "deals/FixedCards.h"
#include "deals/SecureSource.h"
#include "engine/AnalysisRun.h"
#include "engine/RunController.h"
#include "files/SettingsFile.h"
#include "files/SetupFormat.h"
#include "mainwindow/PlatformServices.h"
#include "mainwindow/StudyJob.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QWidget;
class TAboutBox;
class THelpWindow;
class TNumberField;
class TReportServices;
struct THandoutChoice;
class TRunMonitor;

// Gives each caption without one an underlined letter for Alt, distinct within
// the list: a word's first letter where free, else another letter.
void AssignMnemonics(const QList<QAction*>& actions);

class TMainWindow : public QMainWindow {
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

    // Appends the deals of the file and shows the first of them, as the open
    // command does with the file chosen.
    void OpenDealsFile(const QString& fileName);

    // Shows a deal: an index into the collection, or -1 for the current deal
    // (seCurrentDeal - 1). On the GUI thread only.
    void ShowDeal(int32_t index);

    TState State() const { return state_; }
    TRunController& Run() { return *run_; }
    // Where a run's requests go: safe from any thread; carried out on the GUI
    // thread, in order, progress merged to about 30 updates a second.
    TGeneratorOwner& RunRequests();
    TDeals& Deals() { return run_->Deals(); }
    QString SetupFileName() const;
    // The editor's lines; an empty editor has none.
    QStringList ConditionLines() const;
    bool SeatShown(int seat) const;  // seat 1..4
    void SetSeatVisible(int seat, bool visible);
    // Replaces the editor's selection (or inserts at the caret) by a non-empty
    // text and leaves the caret right after it; the focus stays where it is.
    void InsertConditionText(const QString& text);

    // Commands.
    void itmGenerateClick();
    void btnStopClick();
    // Double-dummy analysis of every deal, then its report (AnalysisCommand.cpp).
    void itmAnalyzeClick();
    // The handout dialog, then its preview; deals not yet analysed are solved
    // first on a worker, with progress and STOP (HandoutCommand.cpp).
    void itmHandoutClick();
    // The handout's preview and printing; the desktop's own when null.
    TReportServices* HandoutServices = nullptr;
    void itmClearClick();
    void itmOpenDealsClick();
    void itmSaveDealsClick();
    void itmOpenConditionsClick();
    void itmSaveConditionsClick();
    void itmPrintDealsClick();  // preview and print (ReportCommands.cpp)
    void itmStatClick();        // statistics (ReportCommands.cpp)
    void itmAboutClick();
    void itmHelpClick();  // the help window, kept once opened
    void itmExitClick();
    void itmFixedCardsClick();  // the fixed-cards dialog (FixedCardsCommand.cpp)
    // Shows the secret of the last secure run and copies it to the clipboard.
    void itmShowSecretClick();
    // The simulations over the collection, each from its dialog (StudyCommands.cpp).
    void itmCompareVariantsClick();
    void itmLeadsClick();
    void itmTabulateClick();

    // The cards every run gives the seats; the mark under the deal shows them.
    const TFixedCards& FixedCards() const { return fixedCards_; }
    void SetFixedCards(const TFixedCards& cards);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Construction (MainWindowLayout.cpp, MainWindowMenus.cpp).
    void BuildControls();
    void BuildMenus();
    void BuildToolBar();
    void BuildEditingMenus();  // the function, operator and constant menus (EditingAids.cpp)
    void ConnectControls();
    void LayoutEditor();
    void FitClientArea();  // at the first show (MainWindowLayout.cpp)
    // Alt and F10 open the first menu; every menu and item gets its letter.
    void BuildKeyboardAccess();
    void OpenFirstMenu();
    bool altAlone_ = false;  // Alt is down and no other key was pressed with it

    // Deal display and navigation (DealDisplay.cpp).
    void DisplayDeal(int index);
    void seCurrentDealChange();
    void seKeyValueChange();
    void SeatToggled(int seat, bool shown);
    bool FormKeyDown(QKeyEvent* event);
    void ShowHandInfo(int seat);
    int SeatOfHandLabel(QObject* object) const;
    void SetDealRange(int lowest, int highest);
    void ShowDealCount();

    // Generator runs (GenerateCommand.cpp, MainCommands.cpp).
    void SetState(TState state);
    void ShowProgress(int32_t kept, int64_t dealt);
    void FinishRun(int32_t kept, int32_t startCount);
    void PutCaretAtJoinedOffset(int offset);
    void ShowFileError(const QString& text);
    // Deals files and PBN files, told apart by the chosen type or the name (PbnCommands.cpp).
    void LoadDealsFile(const QString& fileName);
    void SaveDealsFile(const QString& fileName, int fileType);
    // The save chooser's "Первая сдача", kept in korvana.ini (PbnCommands.cpp).
    int SaveFirstBoard() const;
    void KeepSaveFirstBoard(int firstBoard);
    // The deals chooser for saving: its types and LIN besides.
    TFileChooser DealsSaveChooser() const;
    // The filter of the deals choosers, from the formats table: the readable
    // formats for opening, every format for saving.
    static QString DealsFilter(bool saving);

    // Setup and conditions files (SetupFile.cpp).
    // generate.stp, then korvana.ini, whose fixed cards win over the ones an
    // older version wrote after the state record.
    void LoadSetup();
    // Applies generate.stp; the fixed cards' text after its record, if any.
    QString LoadSetupFile();
    void SaveSetup();
    // The window's state for generate.stp, with fixed cards after the record
    // only when korvana.ini could not take them.
    TSetupContent SetupContent(const std::string& fixedCards) const;
    bool IsMenuShortcut(const QKeyEvent* event) const;

    // The analysis menu (StudyCommands.cpp).
    void BuildAnalysisMenu();
    // The collection's deals, for a command that works over all of them.
    std::vector<const TDeal*> CollectionDeals() const;
    // Runs a prepared study over the collection, then opens its report under `caption`.
    void RunStudy(std::unique_ptr<TDealStudy> study, const QString& caption);

    // Platform services and files.
    std::shared_ptr<TPlatformServices> services_;
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
    // The analysis under way; destroyed (stopped and waited for) before the collection.
    std::unique_ptr<TAnalysisRun> analysis_;
    // The last analysis of the collection, with par for each board of the
    // usual rotation, and the deals it was made of: saving as PBN and the
    // handout use it while the collection still holds exactly those deals.
    std::vector<TDealAnalysis> analysed_;
    std::vector<TCardSets> analysedDeals_;
    void KeepAnalysis(std::vector<TDealAnalysis> results);
    // Solves the collection's deals on a worker with progress in the run's
    // label and STOP; `done` gets the results on the window's thread, once the
    // window is idle again. `caption` titles the message when no thread starts.
    using TAnalysisDone = std::function<void(std::vector<TDealAnalysis> results, bool stopped)>;
    void AnalyseCollection(const QString& caption, TAnalysisDone done);
    // The handout of the collection in the preview, with the kept analysis.
    void ShowHandout(const THandoutChoice& choice);
    // The kept analysis when it is of the collection as it is now, else empty.
    std::span<const TDealAnalysis> KeptAnalysis() const;
    // The simulation under way; likewise destroyed before the collection.
    std::unique_ptr<TStudyJob> study_;
    TAboutBox* aboutBox_ = nullptr;
    THelpWindow* helpWindow_ = nullptr;
    TFixedCards fixedCards_;
    // The secret of the last secure run, and whether the collection holds
    // deals of a secure run since it was last cleared (its files then name no key).
    std::optional<TSecret> lastSecret_;
    bool secureDeals_ = false;
    // The seed of the first run into the collection since it was last empty:
    // the key value that repeats its deals. None when no run filled it.
    std::optional<uint32_t> firstRunSeed_;
    // The client area's designed size, made good at the first show once the
    // menu bar's height is known; a side the setup file gave is -1 and kept.
    QSize clientToFit_{537, 371};

public:
    // Controls, named as the window's designer named them.
    QWidget* ToolBar1 = nullptr;
    std::array<std::array<QLabel*, 4>, 4>
        HandLabels{};  // [seat 1..4][spades, hearts, diamonds, clubs]
    QFrame* Panel = nullptr;
    QWidget* GroupBox1 = nullptr;
    TNumberField* seKeyValue = nullptr;
    TNumberField* seTotal = nullptr;
    TNumberField* seColumnsCount = nullptr;
    TNumberField* seCurrentDeal = nullptr;
    QPushButton* btnStop = nullptr;
    QLabel* lDealtCaption = nullptr;  // "Всего сдано" for a run, "Решено" for an analysis
    QLabel* lDealtTotal = nullptr;
    QLabel* lTotal = nullptr;
    QPlainTextEdit* RichEdit = nullptr;
    QLabel* lFixedCards = nullptr;  // shown only while cards are fixed

    QMenu* DealsMenu = nullptr;
    QMenu* ConditionsMenu = nullptr;
    QMenu* ViewMenu = nullptr;
    QMenu* AnalysisMenu = nullptr;
    QAction* itmCompareVariants = nullptr;
    QAction* itmLeads = nullptr;
    QAction* itmTabulate = nullptr;
    QAction* itmOpenDeals = nullptr;
    QAction* itmSaveDeals = nullptr;
    QAction* itmPrintDeals = nullptr;
    QAction* itmStatistics = nullptr;
    QAction* itmAnalyze = nullptr;
    QAction* itmHandout = nullptr;
    QAction* itmClear = nullptr;
    QAction* itmGenerate = nullptr;
    QAction* itmFixedCards = nullptr;
    QAction* itmSecure = nullptr;  // checked: runs deal securely, the key field rests
    QAction* itmShowSecret = nullptr;
    QAction* itmOpenConditions = nullptr;
    QAction* itmSaveConditions = nullptr;
    std::array<QAction*, 4> itmSeats{};  // N, E, S, W
    QAction* itmDealInfo = nullptr;      // the deal information of the focused hand, else North's
    QAction* itmHelp = nullptr;
    QAction* itmAbout = nullptr;
    QAction* itmExit = nullptr;

    QToolButton* tbOpenDeals = nullptr;
    QToolButton* tbSaveDeals = nullptr;
    QToolButton* tbPrintDeals = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* tbAnalyze = nullptr;
    QToolButton* tbClear = nullptr;
    QToolButton* tbGenerate = nullptr;
    QToolButton* tbFixedCards = nullptr;
    QToolButton* tbOpenConditions = nullptr;
    QToolButton* tnSaveConditions = nullptr;
    QToolButton* tbInsertFunction = nullptr;
    QToolButton* tbOperator = nullptr;
    QToolButton* tbConst = nullptr;
    std::array<QToolButton*, 4> tbSeats{};  // tbNorth, tbEast, tbSouth, tbWest
    QMenu* FunctionMenu = nullptr;
    QMenu* OperatorMenu = nullptr;
    QMenu* ConstantMenu = nullptr;
};
