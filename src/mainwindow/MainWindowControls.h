#pragma once
// The main window's controls, named as the window's designer named them, and
// the functions that build them. The window owns one set; the widgets
// themselves belong to the window as their Qt parent.
#include <QList>
#include <QString>
#include <array>
#include <functional>

class QAction;
class QFrame;
class QLabel;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QWidget;
class TNumberField;

// Where the commands of the command table stand among the window's own items.
enum class TCommandPlace {
    DealsReports,  // "Раздачи", after "Статистика"
    DealsRun,      // "Раздачи", after "Сгенерировать"
    DealsSecure,   // "Раздачи", its last group
    Analysis,      // "Анализ", its first group
    Studies,       // "Анализ", after a separator
    MenuBar,       // the menu bar, before "?"
};

struct TMainWindowControls {
    QWidget* ToolBar1 = nullptr;
    std::array<std::array<QLabel*, 4>, 4>
        HandLabels{};  // [seat 1..4][spades, hearts, diamonds, clubs]
    QFrame* Panel = nullptr;
    QLabel* lBoardFacts = nullptr;  // on the panel: the board's number, dealer, vulnerability, par
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
    QAction* itmOpenDeals = nullptr;
    QAction* itmSaveDeals = nullptr;
    QAction* itmPrintDeals = nullptr;
    QAction* itmStatistics = nullptr;
    QAction* itmClear = nullptr;
    QAction* itmGenerate = nullptr;
    QAction* itmOpenConditions = nullptr;
    QAction* itmSaveConditions = nullptr;
    std::array<QAction*, 4> itmSeats{};  // N, E, S, W
    QAction* itmDealInfo = nullptr;      // the deal information of the focused hand, else North's
    QAction* itmAbout = nullptr;
    QAction* itmExit = nullptr;
    // Items of the command table (CommandTable.cpp), found by their rows' names.
    QAction* itmAnalyze = nullptr;
    QAction* itmHandout = nullptr;
    QAction* itmFixedCards = nullptr;
    QAction* itmSecure = nullptr;  // checked: runs deal securely, the key field rests
    QAction* itmShowSecret = nullptr;
    QAction* itmCompareVariants = nullptr;
    QAction* itmLeads = nullptr;
    QAction* itmTabulate = nullptr;
    QAction* itmHelp = nullptr;

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

// Puts the command table's items of one place into a menu (the menu bar's
// place gets a null menu: the items go on the bar).
using TAddCommands = std::function<void(TCommandPlace place, QMenu* menu)>;

// The client area with the hands, the parameters and the editor; the window's
// title, icon, font, place and designed size.
void BuildControls(QMainWindow& window, TMainWindowControls& controls);
// The menu bar with the command table's items in their places, then the
// toolbar, whose buttons trigger the menu items; the insertion menus reachable
// from "Условия"; every menu and item gets its Alt letter.
void BuildMenusAndToolBar(QMainWindow& window, TMainWindowControls& controls,
                          const TAddCommands& addCommands);
// The operator, constant and function menus of the toolbar; each hands the
// text of its item to `insert` (a function's dialog is parented to `window`).
void BuildEditingMenus(QWidget& window, TMainWindowControls& controls,
                       const std::function<void(const QString& text)>& insert);
// The editor anchored to all four sides of the client area, the toolbar across its top.
void LayoutClientArea(const QWidget& client, TMainWindowControls& controls);

// Gives each caption without one an underlined letter for Alt, distinct within
// the list: a word's first letter where free, else another letter.
void AssignMnemonics(const QList<QAction*>& actions);
