#pragma once
// The main window: shows one deal of the collection, holds the parameters of a
// generator run and the condition editor, and runs every command from its menus
// and toolbar. It owns the deal collection, the grammar's rules and, during a
// run, the generator.
#include <QMainWindow>

#include <array>
#include <atomic>
#include <memory>
#include <thread>

#include "engine/Generator.h"
#include "mainwindow/PlatformServices.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QToolButton;
class QWidget;
class TAboutBox;
class TDeals;
class TNumberField;

class TMainWindow : public QMainWindow, public TGeneratorOwner {
    Q_OBJECT
public:
    enum class TState { Idle, Generating };

    // Reads the setup file "generate.stp" from `setupFolder` (the executable's
    // folder when empty) and writes it there when destroyed. `services` answer
    // message boxes and file choosers (the desktop's own when null).
    explicit TMainWindow(QString setupFolder = {},
                         std::shared_ptr<TPlatformServices> services = nullptr);
    ~TMainWindow() override;

    // Requests of a generator run: safe from any thread; from a worker they
    // are carried out on the GUI thread, in order. Progress and the newest kept
    // deal are shown about 30 times a second; GenerationFinished shows the
    // final counts and the first new deal.
    void ReportProgress(int32_t kept, int64_t dealt) override;
    // index into the collection, or -1 for the current deal (seCurrentDeal - 1).
    void ShowDeal(int32_t index) override;
    void GenerationFinished(int32_t kept, int32_t startCount) override;

    TState State() const { return state_; }
    TDeals& Deals() { return *deals_; }
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
    void itmClearClick();
    void itmOpenDealsClick();
    void itmSaveDealsClick();
    void itmOpenConditionsClick();
    void itmSaveConditionsClick();
    void itmPrintDealsClick();  // preview and print (ReportCommands.cpp)
    void itmStatClick();        // statistics (ReportCommands.cpp)
    void itmAboutClick();
    void itmExitClick();

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
    void StopRunAndWait();  // stops a run that is still going and waits for its end
    void SetState(TState state);
    void ShowProgress();
    void FinishRun(int32_t kept, int32_t startCount);
    void PutCaretAtJoinedOffset(int offset);
    void ShowFileError(const QString& text);
    // Deals files and PBN files, told apart by the chosen type or the name (PbnCommands.cpp).
    void LoadDealsFile(const QString& fileName);
    void SaveDealsFile(const QString& fileName, int fileType);

    // Setup and conditions files (SetupFile.cpp).
    void LoadSetup();
    void SaveSetup();
    bool IsMenuShortcut(const QKeyEvent* event) const;

    // Platform services and files.
    std::shared_ptr<TPlatformServices> services_;
    std::unique_ptr<TMessageBoxSink> sink_;
    QString setupFolder_;
    bool keepSetupFile_ = false;  // a setup file neither read whole nor kept aside is not replaced
    TFileChooser dealsChooser_;
    TFileChooser conditionsChooser_;

    // What the window owns.
    std::unique_ptr<TDeals> deals_;
    std::unique_ptr<TRuleList> rules_;
    std::unique_ptr<TGenerator> generator_;
    TState state_ = TState::Idle;
    TAboutBox* aboutBox_ = nullptr;

    // Merged requests of a run.
    std::atomic<int32_t> progressKept_{0};
    std::atomic<int64_t> progressDealt_{0};
    std::atomic<int32_t> newestDeal_{-1};
    std::atomic<bool> showDealPending_{false};
    QTimer* progressTimer_ = nullptr;
    const std::thread::id guiThread_ = std::this_thread::get_id();

public:
    // Controls, named as the window's designer named them.
    QWidget* ToolBar1 = nullptr;
    std::array<std::array<QLabel*, 4>, 4> HandLabels{};  // [seat 1..4][spades, hearts, diamonds, clubs]
    QFrame* Panel = nullptr;
    QWidget* GroupBox1 = nullptr;
    TNumberField* seKeyValue = nullptr;
    TNumberField* seTotal = nullptr;
    TNumberField* seColumnsCount = nullptr;
    TNumberField* seCurrentDeal = nullptr;
    QPushButton* btnStop = nullptr;
    QLabel* lDealtTotal = nullptr;
    QLabel* lTotal = nullptr;
    QPlainTextEdit* RichEdit = nullptr;

    QMenu* DealsMenu = nullptr;
    QMenu* ConditionsMenu = nullptr;
    QMenu* ViewMenu = nullptr;
    QAction* itmOpenDeals = nullptr;
    QAction* itmSaveDeals = nullptr;
    QAction* itmPrintDeals = nullptr;
    QAction* itmStatistics = nullptr;
    QAction* itmClear = nullptr;
    QAction* itmGenerate = nullptr;
    QAction* itmOpenConditions = nullptr;
    QAction* itmSaveConditions = nullptr;
    std::array<QAction*, 4> itmSeats{};  // N, E, S, W
    QAction* itmAbout = nullptr;
    QAction* itmExit = nullptr;

    QToolButton* tbOpenDeals = nullptr;
    QToolButton* tbSaveDeals = nullptr;
    QToolButton* tbPrintDeals = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* tbClear = nullptr;
    QToolButton* tbGenerate = nullptr;
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
