#include "mainwindow/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <algorithm>
#include <charconv>

#include "analysis/DoubleDummy.h"
#include "deals/BridgeTerms.h"
#include "deals/DealCollection.h"
#include "deals/DealFormats.h"
#include "deals/DealsInput.h"
#include "files/ConditionsFile.h"
#include "files/ConditionsFormat.h"
#include "files/SettingsKeys.h"
#include "files/SetupFile.h"
#include "files/SetupLocation.h"
#include "files/TextFile.h"
#include "files/WholeFile.h"
#include "mainwindow/AboutBox.h"
#include "mainwindow/BoardClipboard.h"
#include "mainwindow/CommandJobs.h"
#include "mainwindow/CommandTable.h"
#include "mainwindow/ConditionEditor.h"
#include "mainwindow/RunMonitor.h"
#include "mainwindow/WindowFiles.h"
#include "reports/AnalysisReport.h"
#include "reports/Handout.h"
#include "reports/windows/DealInfo.h"
#include "reports/windows/EditorWindow.h"
#include "reports/windows/ReportServices.h"
#include "text/FileError.h"
#include "text/StringFunctions.h"
#include "widgets/NumberField.h"
#include "widgets/ScreenFit.h"

namespace {

namespace DealKeys = SettingsKeys::Deal;
namespace SaveKeys = SettingsKeys::SaveDeals;

// The command table's items the window's own code reaches by name.
constexpr std::pair<std::string_view, QAction * TMainWindowControls::*> NamedCommands[] = {
    {"itmAnalyze", &TMainWindowControls::itmAnalyze},
    {"itmHandout", &TMainWindowControls::itmHandout},
    {"itmFixedCards", &TMainWindowControls::itmFixedCards},
    {"itmSecure", &TMainWindowControls::itmSecure},
    {"itmShowSecret", &TMainWindowControls::itmShowSecret},
    {"itmCompareVariants", &TMainWindowControls::itmCompareVariants},
    {"itmLeads", &TMainWindowControls::itmLeads},
    {"itmTabulate", &TMainWindowControls::itmTabulate},
    {"itmHelp", &TMainWindowControls::itmHelp},
};

}  // namespace

// Construction and the end of the window.

TMainWindow::TMainWindow(QString setupFolder, std::shared_ptr<TPlatformServices> services)
    : services_(services ? std::move(services) : std::make_shared<TDesktopServices>()),
      setupFolder_(setupFolder.isEmpty() ? ChooseSetupFolder(QCoreApplication::applicationDirPath())
                                         : setupFolder),
      run_(std::make_unique<TRunController>()),
      monitor_(new TRunMonitor(this)) {
    sink_ = std::make_unique<TMessageBoxSink>(*services_, this);
    dealsChooser_ = {DealsFilter(false), QString::fromUtf8(DealsFileFormat().Word()), {}};
    conditionsChooser_ = {
        QStringLiteral("Условия (*.cnd);;Все файлы (*)"), QStringLiteral("cnd"), {}};
    BuildControls(*this, c_);
    centralWidget()->installEventFilter(this);
    BuildMenusAndToolBar(*this, c_,
                         [this](TCommandPlace place, QMenu* menu) { AddCommands(place, menu); });
    c_.itmShowSecret->setEnabled(false);
    BuildEditingMenus(*this, c_, [this](const QString& text) { InsertConditionText(text); });
    ConnectControls();
    ConnectBoardMenu();
    LoadSetup();
    run_->Random().SetSeed(c_.seKeyValue->Value());
    setupLock_ = std::make_unique<QLockFile>(setupFolder_ + QStringLiteral("/korvana.lock"));
    setupLock_->setStaleLockTime(0);  // only a lock whose program has ended is stale
    if (!setupLock_->tryLock(0) && setupLock_->error() == QLockFile::LockFailedError) {
        anotherWindowSaves_ = true;
        services_->ShowMessage(
            this, QStringLiteral("Корвана уже открыта с этой папкой настроек (%1). Это окно не "
                                 "запишет файл настроек при выходе, чтобы не затереть раздачи и "
                                 "условие первого окна: нужное сохраните командами «Сохранить».")
                      .arg(QDir::toNativeSeparators(setupFolder_)));
    }
    if (setupFolder.isEmpty() && !SetupFileWritable(setupFolder_))
        services_->ShowMessage(
            this, QStringLiteral("Файл настроек %1 не удастся сохранить: папка закрыта для "
                                 "записи. Раздачи, условие и параметры не сохранятся при выходе.")
                      .arg(QDir::toNativeSeparators(SetupFileName())));
    aboutBox_ = new TAboutBox(this);
    qApp->installEventFilter(this);
}

TMainWindow::~TMainWindow() {
    qApp->removeEventFilter(this);
    run_->Reclaim();
    if (!anotherWindowSaves_) SaveSetup();
}

// The rows of one place, in the table's order; each item runs its row's job
// with this window as the job's host.
void TMainWindow::AddCommands(TCommandPlace place, QMenu* menu) {
    for (const TCommandRow& row : CommandTable()) {
        if (row.Place != place) continue;
        QAction* item = menu != nullptr ? menu->addAction(QString::fromUtf8(row.Caption))
                                        : menuBar()->addAction(QString::fromUtf8(row.Caption));
        if (row.Shortcut != QKeyCombination()) item->setShortcut(QKeySequence(row.Shortcut));
        if (row.Image) item->setIcon(ToolbarImage(*row.Image));
        if (row.StatusTip != nullptr) item->setStatusTip(QString::fromUtf8(row.StatusTip));
        item->setCheckable(row.Checkable);
        connect(item, row.Checkable ? &QAction::toggled : &QAction::triggered, this,
                [this, &row](bool checked) { row.Job(*this, row, checked); });
        for (const auto& [name, control] : NamedCommands)
            if (name == row.Name) c_.*control = item;
    }
}

void TMainWindow::ConnectControls() {
    connect(c_.seCurrentDeal, &TNumberField::Changed, this, &TMainWindow::seCurrentDealChange);
    connect(c_.seKeyValue, &TNumberField::Changed, this, &TMainWindow::seKeyValueChange);
    connect(c_.seColumnsCount, &TNumberField::Changed, this, &TMainWindow::seKeyValueChange);
    connect(c_.btnStop, &QPushButton::clicked, this, &TMainWindow::btnStopClick);
    connect(monitor_, &TRunMonitor::Progress, this, &TMainWindow::ShowProgress);
    connect(monitor_, &TRunMonitor::DealShown, this, &TMainWindow::DisplayDeal);
    connect(monitor_, &TRunMonitor::Finished, this, &TMainWindow::FinishRun);

    connect(c_.itmOpenDeals, &QAction::triggered, this, &TMainWindow::itmOpenDealsClick);
    connect(c_.itmSaveDeals, &QAction::triggered, this, &TMainWindow::itmSaveDealsClick);
    connect(c_.itmPrintDeals, &QAction::triggered, this, &TMainWindow::itmPrintDealsClick);
    connect(c_.itmStatistics, &QAction::triggered, this, &TMainWindow::itmStatClick);
    connect(c_.itmClear, &QAction::triggered, this, &TMainWindow::itmClearClick);
    connect(c_.itmGenerate, &QAction::triggered, this, &TMainWindow::itmGenerateClick);
    connect(c_.itmOpenConditions, &QAction::triggered, this, &TMainWindow::itmOpenConditionsClick);
    connect(c_.itmSaveConditions, &QAction::triggered, this, &TMainWindow::itmSaveConditionsClick);
    connect(c_.itmAbout, &QAction::triggered, this, &TMainWindow::itmAboutClick);
    connect(c_.itmExit, &QAction::triggered, this, &TMainWindow::itmExitClick);
    for (int seat = 1; seat <= 4; ++seat) {
        connect(c_.itmSeats[seat - 1], &QAction::triggered, this,
                [this, seat](bool checked) { SetSeatVisible(seat, checked); });
        connect(c_.tbSeats[seat - 1], &QToolButton::clicked, this,
                [this, seat](bool pressed) { SetSeatVisible(seat, pressed); });
    }
    connect(c_.itmDealInfo, &QAction::triggered, this, [this] {
        const int focused = SeatOfHandLabel(QApplication::focusWidget());
        ShowHandInfo(focused != 0 ? focused : 1);
    });
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, &TMainWindow::OpenFirstMenu);
}

// The client area below the menu bar as designed, whatever height the
// platform gives the menu bar.
void TMainWindow::FitClientArea() {
    const QSize wanted = clientToFit_;
    clientToFit_ = QSize(-1, -1);  // once only: later the user's size stands
    if (isMaximized() || isFullScreen()) return;
    // The menu bar is polished by now; laying the window out gives the client
    // area the height that is left below it.
    layout()->activate();
    const QSize client = centralWidget()->size();
    const int width =
        wanted.width() > 0 ? this->width() + wanted.width() - client.width() : this->width();
    const int height =
        wanted.height() > 0 ? this->height() + wanted.height() - client.height() : this->height();
    if (width != this->width() || height != this->height()) resize(width, height);
    FitIntoScreen(this);
}

void TMainWindow::OpenFirstMenu() {
    if (menuBar()->actions().isEmpty()) return;
    menuBar()->setFocus(Qt::ShortcutFocusReason);
    menuBar()->setActiveAction(menuBar()->actions().first());
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    // A run does not outlive the window: ask it to stop now; the destructor waits.
    btnStopClick();
    QMainWindow::closeEvent(event);
}

void TMainWindow::itmAboutClick() { aboutBox_->exec(); }

void TMainWindow::itmExitClick() { close(); }

// The deal on display and navigation.

void TMainWindow::ShowDeal(int32_t index) { DisplayDeal(index); }

// A hidden seat's labels are emptied rather than left as they were, so the
// labels never hold a hand of another deal than the one on display.
void TMainWindow::DisplayDeal(int index) {
    if (index == -1) index = c_.seCurrentDeal->Value() - 1;
    TDeal* deal = run_->Deals().GetDeal(index);
    for (int seat = 1; seat <= 4; ++seat) {
        auto& labels = c_.HandLabels[seat - 1];
        if (!deal || !SeatShown(seat)) {
            for (QLabel* label : labels) label->clear();
            continue;
        }
        // SuitTexts gives clubs, diamonds, hearts, spades; the labels run from spades.
        const auto texts = deal->Hand(seat).SuitTexts();
        for (int suit = 0; suit < 4; ++suit)
            labels[suit]->setText(QString::fromStdString(texts[3 - suit]));
    }
    ShowBoardFacts(index);
}

TBoard TMainWindow::BoardAt(int32_t index) const {
    TBoard board;
    if (const TDeal* deal = Deals().GetDeal(index)) board.Deal = *deal;
    const int64_t first = SaveFirstBoard();
    if (state_ == TState::Generating && runOrigin_ && index >= runStart_) {
        // A deal of the run under way: its boards join the store when it ends.
        board.SetPosition(first + index);
        board.ApplySeating(seating_);
        board.DealtBy = runOrigin_;
    } else {
        boards_.Fill(board, index, first);
    }
    AddOwnPar(board);
    return board;
}

void TMainWindow::ShowBoardFacts(int32_t index) {
    if (Deals().GetDeal(index) == nullptr) {
        c_.lBoardFacts->clear();
        c_.lBoardFacts->setToolTip({});
        return;
    }
    const TBoard board = BoardAt(index);
    QString text = QStringLiteral("Сдача %1\nСдаёт: %2\nЗона: %3")
                       .arg(board.Number)
                       .arg(QString::fromUtf8(RussianSeatLetter(board.Dealer).data()))
                       .arg(QString::fromUtf8(VulnerabilityText(board.Vulnerability).data()));
    QString tip;
    if (board.Analysis && board.Analysis->Par) {
        // "Пар: СЮ +620" here; every par contract in the tooltip.
        const std::string par = RussianParText(*board.Analysis->Par, false);
        QString line = QString::fromStdString(par.substr(0, par.find(',')));
        // A score too wide for the table goes below the side that makes it.
        const QFontMetrics metrics(c_.lBoardFacts->font());
        const qsizetype lastBlank = line.lastIndexOf(u' ');
        if (metrics.horizontalAdvance(line) > c_.lBoardFacts->width() && lastBlank > 0)
            line[lastBlank] = u'\n';
        text += u'\n' + line;
        tip = QString::fromStdString(RussianParText(*board.Analysis->Par, true));
    }
    c_.lBoardFacts->setText(text);
    c_.lBoardFacts->setToolTip(tip);
}

bool TMainWindow::SeatShown(int seat) const {
    return seat >= 1 && seat <= 4 && c_.tbSeats[seat - 1]->isChecked();
}

// The one path for every way of showing or hiding a seat: the toolbar toggle
// and the menu item are set first, then the labels, then the current deal.
void TMainWindow::SetSeatVisible(int seat, bool visible) {
    if (seat < 1 || seat > 4) return;
    c_.tbSeats[seat - 1]->setChecked(visible);
    c_.itmSeats[seat - 1]->setChecked(visible);
    for (QLabel* label : c_.HandLabels[seat - 1]) label->setVisible(visible);
    DisplayDeal(-1);
}

void TMainWindow::seCurrentDealChange() { DisplayDeal(-1); }

void TMainWindow::seKeyValueChange() { run_->Random().SetSeed(c_.seKeyValue->Value()); }

void TMainWindow::SetDealRange(int lowest, int highest) {
    c_.seCurrentDeal->SetRange(lowest, highest);
}

void TMainWindow::ShowDealCount() { c_.lTotal->setText(QString::number(run_->Deals().Count())); }

// Ctrl+Up and Ctrl+Down step through the deals with wrap-around; Shift or Alt
// held as well change nothing. The key is consumed whether or not anything moved.
bool TMainWindow::FormKeyDown(QKeyEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) return false;
    if (event->key() != Qt::Key_Up && event->key() != Qt::Key_Down) return false;
    const int highest = c_.seCurrentDeal->Highest();
    const int value = c_.seCurrentDeal->Value();
    if (highest > 0) {
        if (event->key() == Qt::Key_Up)
            c_.seCurrentDeal->SetValue(value < highest ? value + 1 : 1);
        else
            c_.seCurrentDeal->SetValue(value > 1 ? value - 1 : highest);
    }
    return true;
}

bool TMainWindow::IsMenuShortcut(const QKeyEvent* event) const {
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() &
        (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    const QKeySequence pressed(QKeyCombination(modifiers, Qt::Key(event->key())));
    QList<QAction*> actions = menuBar()->actions();
    for (const QAction* top : menuBar()->actions())
        if (const QMenu* menu = top->menu()) actions += menu->actions();
    for (const QAction* action : actions)
        if (!action->shortcut().isEmpty() && action->shortcut() == pressed) return true;
    return false;
}

int TMainWindow::SeatOfHandLabel(QObject* object) const {
    for (int seat = 1; seat <= 4; ++seat)
        for (const QLabel* label : c_.HandLabels[seat - 1])
            if (label == object) return seat;
    return 0;
}

void TMainWindow::ShowHandInfo(int seat) {
    TDeal* deal = run_->Deals().GetDeal(c_.seCurrentDeal->Value() - 1);
    if (!deal) return;
    const QLabel* spades = c_.HandLabels[seat - 1][0];
    const TBoard board = BoardAt(c_.seCurrentDeal->Value() - 1);
    TDealInfo info(this);
    info.ShowDealTable(*deal, board.Dealer, board.Vulnerability);
    info.ShowHand(deal->Hand(seat), QString::fromStdString(SeatName(seat)),
                  x() + spades->x() + spades->width(), y() + spades->y());
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Resize:
            if (watched == centralWidget()) LayoutClientArea(*centralWidget(), c_);
            break;
        case QEvent::Show:
            if (watched == this) FitClientArea();
            break;
        case QEvent::KeyRelease:
            // Alt pressed and released alone opens the first menu, where the
            // style does not do so itself.
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt && altAlone_ &&
                watched == QApplication::focusWidget() &&
                static_cast<QWidget*>(watched)->window() == this && !menuBar()->activeAction() &&
                !style()->styleHint(QStyle::SH_MenuBar_AltKeyNavigation, nullptr, this)) {
                altAlone_ = false;
                OpenFirstMenu();
                return true;
            }
            break;
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress: {
            // Key preview: the window's keys never reach the focused control.
            auto* widget = qobject_cast<QWidget*>(watched);
            if (!widget || widget->window() != this) break;
            auto* key = static_cast<QKeyEvent*>(event);
            if (event->type() == QEvent::KeyPress) {
                if (watched == QApplication::focusWidget())
                    altAlone_ = key->key() == Qt::Key_Alt && !key->isAutoRepeat();
                const int seat = SeatOfHandLabel(watched);
                if (seat != 0 && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
                    ShowHandInfo(seat);
                    return true;
                }
            }
            const bool navigation = (key->modifiers() & Qt::ControlModifier) &&
                                    (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down);
            if (!navigation && !IsMenuShortcut(key)) break;
            if (event->type() == QEvent::ShortcutOverride) {
                event->ignore();  // let the window's shortcuts have it
                return true;
            }
            if (navigation) FormKeyDown(key);
            return true;  // a disabled menu shortcut: swallowed
        }
        case QEvent::MouseButtonDblClick:
            if (const int seat = SeatOfHandLabel(watched)) {
                ShowHandInfo(seat);
                return true;
            }
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// The condition editor.

QStringList TMainWindow::ConditionLines() const { return EditorLines(*c_.RichEdit); }

void TMainWindow::InsertConditionText(const QString& text) { InsertEditorText(*c_.RichEdit, text); }

// Generator runs: the one place that starts a run of the controller.

// The condition, count and fixed cards as the window holds them now.
TGeneratorInputs TMainWindow::WindowInputs() const {
    TGeneratorInputs inputs;
    for (const QString& line : ConditionLines())
        inputs.ConditionLines.push_back(line.toStdString());
    inputs.RequestedTotal = std::clamp(c_.seTotal->Value(), 1, 9999999);
    inputs.AnySeatShown = SeatShown(1) || SeatShown(2) || SeatShown(3) || SeatShown(4);
    inputs.ThreadCount = 0;  // every core; the deals are those of one thread
    inputs.FixedCards = fixedCards_;
    return inputs;
}

void TMainWindow::itmGenerateClick() {
    if (state_ != TState::Idle) return;
    TGeneratorInputs inputs = WindowInputs();
    if (c_.itmSecure->isChecked()) {
        // A secure run reads neither the key field nor the clock.
        inputs.Secret = NewSecret();
        if (!inputs.Secret) {
            services_->ShowMessage(
                this, QStringLiteral("Система не дала случайных чисел: надёжная раздача "
                                     "невозможна. Снимите отметку «Надёжная раздача»."));
            return;
        }
    }
    StartRun(std::move(inputs));
}

void TMainWindow::StartRun(TGeneratorInputs inputs, std::optional<TSecret> delayedFrom) {
    const std::optional<TSecret> secret = inputs.Secret;
    TGeneratorInputs repeat = inputs;
    if (!run_->Prepare(std::move(inputs), *monitor_).IsOk()) {
        c_.RichEdit->setFocus();
        PutCaretAtJoinedOffset(*c_.RichEdit, run_->ErrorPosition());
        return;
    }
    lastRunInputs_ = std::move(repeat);
    if (secret) lastSecret_ = delayedFrom ? delayedFrom : secret;
    lastRunSeed_ = run_->Random().Seed();
    // The run's boards name what dealt them: the seed it starts from, as the
    // signed number a key is, or the secure source, which names no key.
    const int64_t seed = static_cast<int32_t>(*lastRunSeed_);
    runOrigin_ =
        secret ? TDealtBy{0, 0, true, delayedFrom.has_value()} : TDealtBy{seed, seed, false};
    runStart_ = run_->Deals().Count();
    SetState(TState::Generating);
    repaint();
    monitor_->BeginRun();
    run_->Start();
}

int32_t TMainWindow::LastRunTotal() const {
    return lastRunInputs_ ? lastRunInputs_->RequestedTotal : 0;
}

std::optional<uint32_t> TMainWindow::LastRunKey() const {
    return lastRunInputs_ && !lastRunInputs_->Secret ? lastRunSeed_ : std::nullopt;
}

// A repeat deals the last run's condition, count and fixed cards; before any
// run of this session (a key or a secret from a file), the window's own.
void TMainWindow::RepeatRun(uint32_t seed) {
    if (state_ != TState::Idle) return;
    TGeneratorInputs inputs = lastRunInputs_ ? *lastRunInputs_ : WindowInputs();
    inputs.Secret.reset();
    inputs.AnySeatShown = SeatShown(1) || SeatShown(2) || SeatShown(3) || SeatShown(4);
    // Exactly this seed: the key field's seeding would take 0 for the clock.
    run_->Random().StoreSeed(seed);
    StartRun(std::move(inputs));
}

void TMainWindow::RepeatSecureRun(const TSecret& secret, const std::string& delayed) {
    if (state_ != TState::Idle) return;
    TGeneratorInputs inputs = lastRunInputs_ ? *lastRunInputs_ : WindowInputs();
    inputs.Secret = delayed.empty() ? secret : DelayedSecret(secret, delayed);
    inputs.AnySeatShown = SeatShown(1) || SeatShown(2) || SeatShown(3) || SeatShown(4);
    StartRun(std::move(inputs), delayed.empty() ? std::nullopt : std::optional(secret));
}

// The key as the signed number files name it; a secure run has none.
void TMainWindow::ShowHowToRepeat() {
    if (!lastRunInputs_ || !lastRunSeed_) return;
    const QString text =
        lastRunInputs_->Secret
            ? QStringLiteral(
                  "Надёжный прогон повторяется по его секрету: «Секрет последней "
                  "раздачи...», затем «Повторить по секрету...»")
            : QStringLiteral("Прогон повторяется с ключа %1: «Повторить прогон...»")
                  .arg(static_cast<int32_t>(*lastRunSeed_));
    c_.lDealtTotal->setToolTip(text);
    services_->ShowNote(this, text);
}

void TMainWindow::btnStopClick() {
    if (job_)
        job_->Stop();
    else
        run_->Stop();
}

TGeneratorOwner& TMainWindow::RunRequests() { return *monitor_; }

void TMainWindow::SetState(TState state) {
    state_ = state;
    const bool idle = state == TState::Idle;
    for (QMenu* menu : {c_.DealsMenu, c_.ConditionsMenu, c_.ViewMenu, c_.AnalysisMenu}) {
        menu->menuAction()->setEnabled(idle);
        // The menus' own items too, so that their shortcuts rest as well.
        for (QAction* action : menu->actions()) action->setEnabled(idle);
    }
    c_.itmAbout->setEnabled(idle);
    c_.itmExit->setEnabled(idle);
    for (QWidget* control : std::initializer_list<QWidget*>{
             c_.ToolBar1, c_.seTotal, c_.seCurrentDeal, c_.seKeyValue, c_.RichEdit})
        control->setEnabled(idle);
    // The key field rests while runs deal securely; the secret needs a secure run.
    c_.seKeyValue->setEnabled(idle && !c_.itmSecure->isChecked());
    c_.itmShowSecret->setEnabled(idle && lastSecret_.has_value());
    c_.btnStop->setVisible(!idle);
    // The figures beside it stay after the command, under the caption of what counted them.
    if (state == TState::Analysing) c_.lDealtCaption->setText(QStringLiteral("Решено"));
    if (state == TState::Analysing) c_.lDealtTotal->setToolTip({});  // it names a run's key
    if (state == TState::Generating) c_.lDealtCaption->setText(QStringLiteral("Всего сдано"));
}

void TMainWindow::ShowProgress(int32_t kept, int64_t dealt) {
    c_.lDealtTotal->setText(QStringLiteral("%1(%2)").arg(kept).arg(dealt));
}

// After the run's final progress: the first new deal becomes the current one.
void TMainWindow::FinishRun(int32_t kept, int32_t startCount) {
    if (kept > 0 && runOrigin_) boards_.AppendDealt(startCount, kept, *runOrigin_, seating_);
    runOrigin_.reset();
    if (kept > 0) {
        SetDealRange(1, run_->Deals().Count());
        c_.seCurrentDeal->SetValue(startCount + 1);
        ShowDealCount();
        DisplayDeal(-1);
    }
    SetState(TState::Idle);
    ShowHowToRepeat();
    if (run_->RanOutOfMemory())
        services_->ShowMessage(this, QStringLiteral("Не хватает памяти: генерация остановлена, "
                                                    "отобрано раздач: %1.")
                                         .arg(kept));
    run_->Reclaim();  // the run has ended: this only reclaims its thread
}

void TMainWindow::itmClearClick() {
    run_->Deals().Clear();
    boards_.Clear();
    SetDealRange(0, 0);
    c_.seCurrentDeal->SetValue(0);
    c_.lTotal->setText(QStringLiteral("0"));
    DisplayDeal(-1);
}

// Reports.

// Preview and print: the listing of the shown seats' hands, as many deals to a
// row as the column field reads now (a number just typed counts as typed).
void TMainWindow::itmPrintDealsClick() {
    // The collection is only read while no run is writing it.
    if (state_ != TState::Idle || run_->Deals().Count() == 0) return;
    const bool north = SeatShown(1), east = SeatShown(2), south = SeatShown(3), west = SeatShown(4);
    if (!north && !east && !south && !west) return;
    TEditorWindow report(this);
    report.ShowListing(run_->Deals(), north, east, south, west, c_.seColumnsCount->Value());
    report.exec();
}

// The statistics of the collection as it is now.
void TMainWindow::itmStatClick() {
    if (state_ != TState::Idle || run_->Deals().Count() == 0) return;
    run_->Deals().ComputeStatistics();
    TEditorWindow report(this);
    report.ShowStatistics(run_->Deals());
    report.exec();
}

// Deals files, told apart by the chosen type or the name when saved and by
// the content when opened, and conditions files.

void TMainWindow::ShowFileError(const QString& text) { services_->ShowMessage(this, text); }

void TMainWindow::itmOpenDealsClick() {
    TFileChooser chooser = dealsChooser_;
    QString filter = OpenDealsFilterEntry(settings_);  // the entry the user chose last time
    chooser.SelectedFilter = &filter;
    const QString fileName = services_->ChooseFileToOpen(this, chooser);
    if (fileName.isEmpty()) return;
    KeepOpenDealsFilterEntry(settings_, filter);
    OpenDealsFile(fileName);
}

void TMainWindow::AddBoards(std::span<const TBoard> boards) {
    if (state_ != TState::Idle || boards.empty()) return;
    const int32_t before = Deals().Count();
    for (const TBoard& board : boards) Deals().Add(board.Deal);
    boards_.AppendBoards(before, boards);
    SetDealRange(1, Deals().Count());
    c_.seCurrentDeal->SetValue(before + 1);
    ShowDealCount();
    DisplayDeal(-1);
}

void TMainWindow::OpenDealsFile(const QString& fileName) {
    const int before = run_->Deals().Count();
    try {
        LoadDealsFile(fileName);
    } catch (const TFileError& error) {
        ShowFileError(QString::fromStdString(error.what()));  // what was read stays
    }
    if (run_->Deals().Count() <= before) return;
    SetDealRange(1, run_->Deals().Count());
    c_.seCurrentDeal->SetValue(before + 1);
    ShowDealCount();
    DisplayDeal(-1);
    dealsChooser_.Folder = FolderOfFile(fileName);
}

// The context menu of the hands: the current board copied, pasted boards
// appended as an opened file's are, with what they give of their own.
void TMainWindow::ConnectBoardMenu() {
    std::vector<QWidget*> targets{centralWidget(), c_.Panel, c_.lBoardFacts};
    for (const auto& hand : c_.HandLabels) targets.insert(targets.end(), hand.begin(), hand.end());
    const auto current = [this]() -> std::optional<TBoard> {
        const int index = c_.seCurrentDeal->Value() - 1;
        if (run_->Deals().GetDeal(index) == nullptr) return std::nullopt;
        return BoardAt(index);
    };
    const auto paste = [this](std::vector<TBoard> boards) { AddBoards(boards); };
    InstallBoardMenu(this, targets,
                     {current, [this] { return state_ == TState::Idle; }, paste,
                      [this](const QString& text) { services_->ShowMessage(this, text); }});
}

namespace {

// The core's messages while a file is read, to be shown together.
class TGatheredMessages : public TInstalledSink {
public:
    void Show(const std::string& message, int32_t) override { Texts.push_back(message); }
    std::vector<std::string> Texts;
};

}  // namespace

// A PBN or LIN file's boards keep everything the file gives them; the
// message of what was loaded names the damaged boards as well.
void TMainWindow::LoadDealsFile(const QString& fileName) {
    const std::string name = fileName.toStdString();
    const auto file = ::OpenDealsFile(name);
    if (!file) return;
    TDealsInput in(file.get(), name);
    const TDealFormat& format = RecogniseDealFormat(in.Head(), name);
    const int32_t before = Deals().Count();
    std::vector<TBoard> boards;
    TGatheredMessages messages;
    const auto keepBoards = [&] {
        boards.resize(std::min<std::size_t>(boards.size(), Deals().Count() - before));
        boards_.AppendBoards(before, boards);
    };
    TDealsLoadResult result;
    try {
        // A deals file's boards are bare: none is kept for it.
        result =
            ReadDealsAs(format, in, Deals(), &format == &DealsFileFormat() ? nullptr : &boards);
    } catch (...) {
        keepBoards();
        for (const std::string& text : messages.Texts) ShowFileError(QString::fromStdString(text));
        throw;
    }
    keepBoards();
    const std::string damaged = DamagedBoardsText(result.Counts);
    if (!damaged.empty() && !messages.Texts.empty() && !result.Refused)
        messages.Texts.back() += "; " + damaged;
    for (const std::string& text : messages.Texts) ShowFileError(QString::fromStdString(text));
}

void TMainWindow::itmSaveDealsClick() {
    if (run_->Deals().Count() == 0) return;
    int fileType = -1;
    int firstBoard = SaveFirstBoard();
    TFileChooser chooser = DealsSaveChooser();
    chooser.FirstBoard = &firstBoard;
    const QString fileName = services_->ChooseFileToSaveWithType(this, chooser, fileType);
    if (fileName.isEmpty()) return;
    KeepSaveFirstBoard(firstBoard);
    DisplayDeal(-1);  // the boards without their own number follow the first board
    try {
        SaveDealsFile(fileName, fileType);
        dealsChooser_.Folder = FolderOfFile(fileName);
    } catch (const TFileError& error) {
        ShowFileError(QString::fromStdString(error.what()));
    }
}

TFileChooser TMainWindow::DealsSaveChooser() const {
    TFileChooser chooser = dealsChooser_;
    chooser.Filter = DealsFilter(true);
    return chooser;
}

void TMainWindow::SaveDealsFile(const QString& fileName, int fileType) {
    std::string name = fileName.toStdString();
    const TDealFormat& format = SaveFormat(name, fileType);
    // The chooser asked before replacing the name it gave, not one with an extension added.
    if (name != fileName.toStdString() && QFileInfo::exists(QString::fromStdString(name))) {
        services_->ShowMessage(this, QStringLiteral("Файл %1 уже существует: раздачи не сохранены")
                                         .arg(QString::fromStdString(name)));
        return;
    }
    // Each board names its own origin; an analysed one has par for its own
    // dealer and vulnerability.
    const int32_t count = Deals().Count();
    if (count == 0 || !FileDirExists(name)) return;
    WriteDealsFile(name, format,
                   TBoardsWithPar(TCollectionAsBoards(boards_, Deals(), SaveFirstBoard())));
    std::string saved = std::to_string(count) + " раздач(и) сохранены в файле " + name;
    if (&format == &DealsFileFormat() && boards_.HoldsOwnFacts())
        saved += "\nНомера сдач, сдающие, зоны и теги не сохраняются в файле раздач.";
    ShowMessage(saved);
}

int TMainWindow::SaveFirstBoard() const {
    const std::string text = settings_.Value(SaveKeys::Section, SaveKeys::FirstBoard).value_or("1");
    int value = 1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 1 ? value : 1;
}

void TMainWindow::KeepSaveFirstBoard(int firstBoard) {
    settings_.SetValue(SaveKeys::Section, SaveKeys::FirstBoard, std::to_string(firstBoard));
}

void TMainWindow::itmOpenConditionsClick() {
    const QString fileName = services_->ChooseFileToOpen(this, conditionsChooser_);
    if (fileName.isEmpty() || !QFileInfo::exists(fileName) || QFileInfo(fileName).isDir()) return;
    const TConditionsFileRead read = ReadConditionsFile(fileName);
    if (read.Outcome == TConditionsFileRead::Failed) {
        ShowFileError(read.Message);
        return;
    }
    if (read.Outcome == TConditionsFileRead::Refused) {
        services_->ShowMessage(this, read.Message);
        return;
    }
    c_.RichEdit->hide();
    c_.RichEdit->setPlainText(read.Lines.join(u'\n'));
    c_.RichEdit->show();
    conditionsChooser_.Folder = FolderOfFile(fileName);
}

void TMainWindow::itmSaveConditionsClick() {
    const QStringList lines = ConditionLines();
    if (lines.isEmpty()) return;
    const QString fileName = services_->ChooseFileToSave(this, conditionsChooser_);
    if (fileName.isEmpty() || !QFileInfo(fileName).absoluteDir().exists()) return;
    const QString failure = WriteWholeFile(fileName, FormatConditions(lines));
    if (!failure.isEmpty()) {
        ShowFileError(QDir::toNativeSeparators(fileName) + QStringLiteral(": ") + failure);
        return;
    }
    conditionsChooser_.Folder = FolderOfFile(fileName);
}

// The window's state kept in "generate.stp" beside the program between runs,
// and in "korvana.ini" what that file's layout has no place for.

QString TMainWindow::SetupFileName() const {
    return setupFolder_ + QStringLiteral("/generate.stp");
}

void TMainWindow::LoadSetup() {
    const QString setupFixedCards = LoadSetupFile();
    const QString settingsName = SettingsFileName(setupFolder_);
    TSettingsRead read = ReadSettingsFile(settingsName);
    if (!read.Failure.isEmpty()) {
        keepSettingsFile_ = true;  // what it holds would be lost when it is written back
        ShowFileError(FileFailure(settingsName, read.Failure));
    }
    settings_ = std::move(read.Settings);
    settingsText_ = std::move(read.Text);
    const QString settingsFixedCards =
        QString::fromStdString(settings_.Value(DealKeys::Section, DealKeys::Fixed).value_or(""));
    const bool fromSettings = !settingsFixedCards.trimmed().isEmpty();
    const TFixedCardsReading fixed =
        ReadFixedCards((fromSettings ? settingsFixedCards : setupFixedCards).toStdString());
    if (!fixed.Error.empty())
        ShowFileError(FileFailure(fromSettings ? settingsName : SetupFileName(),
                                  QString::fromStdString(fixed.Error)));
    SetFixedCards(fixed.Cards);
    c_.itmSecure->setChecked(settings_.Value(DealKeys::Section, DealKeys::Secure) == "1");
    seating_ = ReadSeating(settings_);
    DisplayDeal(-1);  // numbered from the first board korvana.ini keeps
}

QString TMainWindow::LoadSetupFile() {
    const TSetupFileRead read = ReadSetupInto(SetupFileName(), run_->Deals());
    keepSetupFile_ = read.KeepFile;
    if (!read.Failure.isEmpty()) ShowFileError(read.Failure);
    // A damaged file that was mended: the window opens as it always did.
    if (!read.Note.isEmpty()) services_->ShowNote(this, read.Note);
    if (!read.Opened) return {};  // the defaults stay
    const TSetupContent& content = read.Content;
    const TStateRecord& state = content.State;

    for (int seat = 1; seat <= 4; ++seat) SetSeatVisible(seat, state.SeatShown[seat - 1]);
    ApplyStateRecord(state, *this, c_, clientToFit_);

    dealsChooser_.Folder = content.DealsFolder;
    conditionsChooser_.Folder = content.ConditionsFolder;
    c_.RichEdit->setPlainText(content.ConditionLines.join(u'\n'));
    c_.RichEdit->moveCursor(QTextCursor::Start);

    LoadCompanion();
    if (run_->Deals().Count() > 0) {
        SetDealRange(1, run_->Deals().Count());
        ShowDealCount();
        DisplayDeal(-1);
    }
    return state.FixedCards;
}

QString TMainWindow::CompanionFileName() const {
    return setupFolder_ + QStringLiteral("/generate.brd");
}

// A companion that does not describe the setup file's deals (edited, or left
// from another session) is ignored, and the window says so once.
void TMainWindow::LoadCompanion() {
    const QString name = CompanionFileName();
    QString failure;
    try {
        std::optional<TCompanionRead> read = LoadCompanionFile(name.toStdString(), Deals());
        if (!read) return;
        if (read->Outcome == TCompanionRead::Read) {
            boards_ = std::move(read->Boards);
            return;
        }
        failure = read->Outcome == TCompanionRead::OtherDeals
                      ? QStringLiteral("описывает не те раздачи, что файл настроек")
                      : QStringLiteral("повреждён");
    } catch (const TFileError& error) {
        failure = QString::fromStdString(error.what());
    }
    services_->ShowNote(
        this, FileFailure(name, failure + QStringLiteral(": номера сдач, сдающие, зоны, теги "
                                                         "и происхождение раздач не "
                                                         "восстановлены.")));
}

TSetupContent TMainWindow::SetupContent(const std::string& fixedCards) const {
    TSetupContent content;
    content.State = StateOfWindow(*this, c_);
    content.State.FixedCards = QString::fromStdString(fixedCards);
    content.DealsFolder = dealsChooser_.Folder;
    content.ConditionsFolder = conditionsChooser_.Folder;
    content.ConditionLines = ConditionLines();
    return content;
}

void TMainWindow::SaveSetup() {
    if (!QDir(setupFolder_).exists()) return;
    QStringList failures;
    // The fixed cards go to korvana.ini, which is written only when its text
    // changes. When it cannot take them they follow the state record as older
    // versions wrote them, so they are not lost.
    const std::string fixedCards = fixedCards_.ToText();
    TSettings settings = settings_;
    if (fixedCards.empty())
        settings.Remove(DealKeys::Section, DealKeys::Fixed);
    else
        settings.SetValue(DealKeys::Section, DealKeys::Fixed, fixedCards);
    if (c_.itmSecure->isChecked())
        settings.SetValue(DealKeys::Section, DealKeys::Secure, "1");
    else
        settings.Remove(DealKeys::Section, DealKeys::Secure);
    bool settingsHoldCards = !keepSettingsFile_;
    const std::string settingsText = settings.Format();
    if (!keepSettingsFile_ && settingsText != settingsText_) {
        const QString settingsName = SettingsFileName(setupFolder_);
        const QString failure = WriteSettingsFile(settingsName, settings);
        if (failure.isEmpty()) {
            settings_ = std::move(settings);
            settingsText_ = settingsText;
        } else {
            settingsHoldCards = false;
            failures << FileFailure(settingsName, failure);
        }
    }
    if (!keepSetupFile_) {
        // A new file replaces the old one only once it is whole, so a failure
        // never destroys the state saved before. The deal lines go from the
        // collection straight to the file.
        const QString failure = WriteSetupFile(
            SetupFileName(), SetupContent(settingsHoldCards ? std::string() : fixedCards),
            run_->Deals());
        if (!failure.isEmpty()) failures << FileFailure(SetupFileName(), failure);
        // The boards' companion only beside the setup file whose deals it describes.
        try {
            if (failure.isEmpty())
                SaveCompanionFile(CompanionFileName().toStdString(), boards_, run_->Deals());
        } catch (const TFileError& error) {
            failures << QString::fromStdString(error.what());
        }
    }
    if (!failures.isEmpty()) ShowFileError(failures.join(u'\n'));
}

// What the command table's commands ask of the window.

TReportServices& TMainWindow::Printing() {
    if (TReportServices* given = services_->Printing()) return *given;
    if (!desktopReports_) desktopReports_ = std::make_unique<TDesktopReportServices>();
    return *desktopReports_;
}

std::vector<const TDeal*> TMainWindow::CollectionDeals() const {
    std::vector<const TDeal*> deals;
    for (int32_t i = 0; i < run_->Deals().Count(); ++i)
        if (const TDeal* deal = run_->Deals().GetDeal(i)) deals.push_back(deal);
    return deals;
}

bool TMainWindow::BeginJob(int64_t total,
                           const std::function<std::unique_ptr<TWorkerJob>()>& start) {
    if (state_ != TState::Idle || job_) return false;
    SetState(TState::Analysing);
    c_.lDealtTotal->setText(QStringLiteral("0/%1").arg(total));
    job_ = start();
    if (!job_) SetState(TState::Idle);
    return job_ != nullptr;
}

void TMainWindow::ShowJobProgress(int64_t done, int64_t total) {
    Later([this, done, total] {
        c_.lDealtTotal->setText(QStringLiteral("%1/%2").arg(done).arg(total));
    });
}

QString TMainWindow::JobProgressText() const { return c_.lDealtTotal->text(); }

void TMainWindow::Later(std::function<void()> then) {
    QMetaObject::invokeMethod(this, std::move(then), Qt::QueuedConnection);
}

void TMainWindow::EndJob() {
    job_.reset();  // its threads have ended: this only joins them
    SetState(TState::Idle);
}

std::vector<TBoard> TMainWindow::CollectionBoards(int64_t firstBoard) const {
    std::vector<TBoard> boards;
    boards.reserve(static_cast<std::size_t>(Deals().Count()));
    TBoardsWithPar(TCollectionAsBoards(boards_, Deals(), firstBoard))
        .ForEach([&boards](const TBoard& board) {
            boards.push_back(board);
            return true;
        });
    return boards;
}

bool TMainWindow::CollectionAnalysed() const {
    return Deals().Count() > 0 && boards_.AnalysedCount() == Deals().Count();
}

void TMainWindow::KeepAnalysis(std::vector<TDealAnalysis> results) {
    if (static_cast<int32_t>(results.size()) != Deals().Count()) return;
    boards_.KeepAnalysis(results);
    DisplayDeal(-1);  // its par
}

void TMainWindow::SetFixedCards(const TFixedCards& cards) {
    fixedCards_ = cards;
    if (cards.Empty()) {
        c_.lFixedCards->hide();
        return;
    }
    QStringList seats;
    for (int seat = 1; seat <= 4; ++seat)
        if (cards.Count(seat) > 0)
            seats
                << QStringLiteral("%1 %2").arg(QChar(SeatLetters[seat - 1])).arg(cards.Count(seat));
    c_.lFixedCards->setText(QStringLiteral("Закреплены карты: ") +
                            seats.join(QStringLiteral(", ")));
    c_.lFixedCards->setToolTip(QString::fromStdString(cards.ToText()));
    c_.lFixedCards->show();
}

void TMainWindow::SetSecureDealing(bool secure) {
    c_.seKeyValue->setEnabled(!secure && state_ == TState::Idle);
}

void TMainWindow::InsertCondition(const QString& text) {
    PutEditorCondition(*c_.RichEdit, text);
    raise();  // back to the editor, to go on writing
    activateWindow();
    c_.RichEdit->setFocus();
}
