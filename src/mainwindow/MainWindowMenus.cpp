// The menu bar and the toolbar of the main window.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSet>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

#include "mainwindow/MainWindow.h"
#include "mainwindow/ToolbarImages.h"
#include "widgets/NumberField.h"

namespace {

QAction* MenuItem(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                  std::optional<TToolbarImage> image = std::nullopt) {
    QAction* action = menu->addAction(caption);
    action->setShortcut(shortcut);
    if (image) action->setIcon(ToolbarImage(*image));
    return action;
}

bool IsWordStart(const QString& text, qsizetype i) {
    return text[i].isLetterOrNumber() && (i == 0 || !text[i - 1].isLetterOrNumber());
}

}  // namespace

void AssignMnemonics(const QList<QAction*>& actions) {
    QSet<QChar> used;
    for (const QAction* action : actions) {
        const QString text = action->text();
        const qsizetype amp = text.indexOf(u'&');
        if (amp >= 0 && amp + 1 < text.size()) used.insert(text[amp + 1].toLower());
    }
    for (QAction* action : actions) {
        const QString text = action->text();
        if (action->isSeparator() || text.isEmpty() || text.contains(u'&')) continue;
        qsizetype chosen = -1;
        const auto pick = [&](auto&& fits) {
            for (qsizetype i = 0; chosen < 0 && i < text.size(); ++i)
                if (fits(i) && !used.contains(text[i].toLower())) chosen = i;
        };
        pick([&](qsizetype i) { return IsWordStart(text, i); });
        pick([&](qsizetype i) { return text[i].isLetterOrNumber(); });
        pick([&](qsizetype i) { return text.size() == 1 && i == 0; });  // "?"
        if (chosen < 0) continue;
        used.insert(text[chosen].toLower());
        action->setText(text.left(chosen) + u'&' + text.mid(chosen));
    }
}

void TMainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    DealsMenu = bar->addMenu(QStringLiteral("Раздачи"));
    itmOpenDeals = MenuItem(DealsMenu, QStringLiteral("Открыть"),
                            QKeySequence(Qt::CTRL | Qt::Key_O), TToolbarImage::Open);
    itmSaveDeals = MenuItem(DealsMenu, QStringLiteral("Сохранить"),
                            QKeySequence(Qt::CTRL | Qt::Key_V), TToolbarImage::Save);
    itmPrintDeals = MenuItem(DealsMenu, QStringLiteral("Прсмотр/Печать"),
                             QKeySequence(Qt::CTRL | Qt::Key_P), TToolbarImage::Print);
    itmStatistics = MenuItem(DealsMenu, QStringLiteral("Статистика"),
                             QKeySequence(Qt::CTRL | Qt::Key_I), TToolbarImage::Statistics);
    itmAnalyze = MenuItem(DealsMenu, QStringLiteral("Анализ в открытую"),
                          QKeySequence(Qt::CTRL | Qt::Key_D), TToolbarImage::DoubleDummy);
    itmHandout = MenuItem(DealsMenu, QStringLiteral("Раздаточный материал..."),
                          QKeySequence(Qt::CTRL | Qt::Key_H));
    DealsMenu->addSeparator();
    itmClear = MenuItem(DealsMenu, QStringLiteral("Очистить"), QKeySequence(Qt::CTRL | Qt::Key_B),
                        TToolbarImage::Clear);
    itmGenerate = MenuItem(DealsMenu, QStringLiteral("Сгенерировать"),
                           QKeySequence(Qt::CTRL | Qt::Key_G), TToolbarImage::Generate);
    itmFixedCards = MenuItem(DealsMenu, QStringLiteral("Закрепить карты..."),
                             QKeySequence(Qt::CTRL | Qt::Key_K), TToolbarImage::FixedCards);
    DealsMenu->addSeparator();
    itmSecure = MenuItem(DealsMenu, QStringLiteral("Надёжная раздача"),
                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G));
    itmSecure->setCheckable(true);
    itmSecure->setStatusTip(
        QStringLiteral("Раздачи из надёжного источника: их нельзя вычислить по одной руке, "
                       "поле «Ключ» не используется"));
    itmShowSecret = MenuItem(DealsMenu, QStringLiteral("Секрет последней раздачи..."),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    itmShowSecret->setEnabled(false);

    ConditionsMenu = bar->addMenu(QStringLiteral("Условия"));
    itmOpenConditions =
        MenuItem(ConditionsMenu, QStringLiteral("Открыть"), QKeySequence(), TToolbarImage::Open);
    itmSaveConditions =
        MenuItem(ConditionsMenu, QStringLiteral("Сохранить"), QKeySequence(), TToolbarImage::Save);

    ViewMenu = bar->addMenu(QStringLiteral("Вид"));
    const QString seatCaptions[4] = {"N", "E", "S", "W"};
    const Qt::Key seatKeys[4] = {Qt::Key_N, Qt::Key_E, Qt::Key_S, Qt::Key_W};
    for (int seat = 1; seat <= 4; ++seat) {
        QAction* item =
            MenuItem(ViewMenu, seatCaptions[seat - 1], QKeySequence(Qt::CTRL | seatKeys[seat - 1]));
        item->setCheckable(true);
        item->setChecked(true);
        itmSeats[seat - 1] = item;
        connect(item, &QAction::triggered, this,
                [this, seat](bool checked) { SetSeatVisible(seat, checked); });
    }
    ViewMenu->addSeparator();
    itmDealInfo =
        MenuItem(ViewMenu, QStringLiteral("Сведения о раздаче..."), QKeySequence(Qt::Key_F3));
    connect(itmDealInfo, &QAction::triggered, this, [this] {
        const int focused = SeatOfHandLabel(QApplication::focusWidget());
        ShowHandInfo(focused != 0 ? focused : 1);
    });

    itmHelp = bar->addAction(QStringLiteral("Справка"));
    itmHelp->setShortcut(QKeySequence(Qt::Key_F1));
    itmAbout = bar->addAction(QStringLiteral("?"));
    itmExit = bar->addAction(QStringLiteral("Выход"));
    itmExit->setShortcut(QKeySequence(Qt::Key_F12));

    connect(itmOpenDeals, &QAction::triggered, this, &TMainWindow::itmOpenDealsClick);
    connect(itmSaveDeals, &QAction::triggered, this, &TMainWindow::itmSaveDealsClick);
    connect(itmPrintDeals, &QAction::triggered, this, &TMainWindow::itmPrintDealsClick);
    connect(itmStatistics, &QAction::triggered, this, &TMainWindow::itmStatClick);
    connect(itmAnalyze, &QAction::triggered, this, &TMainWindow::itmAnalyzeClick);
    connect(itmHandout, &QAction::triggered, this, &TMainWindow::itmHandoutClick);
    connect(itmClear, &QAction::triggered, this, &TMainWindow::itmClearClick);
    connect(itmGenerate, &QAction::triggered, this, &TMainWindow::itmGenerateClick);
    connect(itmFixedCards, &QAction::triggered, this, &TMainWindow::itmFixedCardsClick);
    connect(itmSecure, &QAction::toggled, this,
            [this](bool secure) { seKeyValue->setEnabled(!secure && state_ == TState::Idle); });
    connect(itmShowSecret, &QAction::triggered, this, &TMainWindow::itmShowSecretClick);
    connect(itmOpenConditions, &QAction::triggered, this, &TMainWindow::itmOpenConditionsClick);
    connect(itmSaveConditions, &QAction::triggered, this, &TMainWindow::itmSaveConditionsClick);
    connect(itmHelp, &QAction::triggered, this, &TMainWindow::itmHelpClick);
    connect(itmAbout, &QAction::triggered, this, &TMainWindow::itmAboutClick);
    connect(itmExit, &QAction::triggered, this, &TMainWindow::itmExitClick);
}

void TMainWindow::BuildKeyboardAccess() {
    // The toolbar's insertion menus, reachable from the keyboard through "Условия".
    ConditionsMenu->addSeparator();
    FunctionMenu->setTitle(QStringLiteral("Вставить функцию"));
    OperatorMenu->setTitle(QStringLiteral("Вставить оператор"));
    ConstantMenu->setTitle(QStringLiteral("Вставить константу"));
    for (QMenu* menu : {FunctionMenu, OperatorMenu, ConstantMenu}) ConditionsMenu->addMenu(menu);
    AssignMnemonics(menuBar()->actions());
    for (const QAction* top : menuBar()->actions())
        if (const QMenu* menu = top->menu()) AssignMnemonics(menu->actions());
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, &TMainWindow::OpenFirstMenu);
    // A tab means nothing in a condition: Tab and Shift+Tab move on.
    RichEdit->setTabChangesFocus(true);
    // Each hand takes the focus at its first line; Enter there shows the deal information.
    for (const auto& hand : HandLabels) hand[0]->setFocusPolicy(Qt::StrongFocus);
}

void TMainWindow::OpenFirstMenu() {
    if (menuBar()->actions().isEmpty()) return;
    menuBar()->setFocus(Qt::ShortcutFocusReason);
    menuBar()->setActiveAction(menuBar()->actions().first());
}

void TMainWindow::BuildToolBar() {
    auto* bar = new QToolBar(centralWidget());
    ToolBar1 = bar;
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    bar->setGeometry(0, 0, width(), 29);

    auto button = [bar](TToolbarImage image, const QString& tooltip) {
        auto* tool = new QToolButton(bar);
        tool->setIcon(ToolbarImage(image));
        tool->setToolTip(tooltip);
        tool->setAutoRaise(true);
        bar->addWidget(tool);
        return tool;
    };
    auto commandButton = [&](TToolbarImage image, const QString& tooltip, QAction* item) {
        QToolButton* tool = button(image, tooltip);
        connect(tool, &QToolButton::clicked, item, &QAction::trigger);
        return tool;
    };
    auto gap = [bar](int width) {
        auto* spacer = new QWidget(bar);
        spacer->setFixedWidth(width);
        bar->addWidget(spacer);
    };
    auto dropDown = [&](TToolbarImage image, const QString& tooltip, QMenu*& menu) {
        QToolButton* tool = button(image, tooltip);
        menu = new QMenu(tool);
        tool->setMenu(menu);
        tool->setPopupMode(QToolButton::InstantPopup);
        return tool;
    };

    tbOpenDeals = commandButton(TToolbarImage::Open, QStringLiteral("Загрузить раздачи из файла"),
                                itmOpenDeals);
    tbSaveDeals = commandButton(TToolbarImage::Save, QStringLiteral("Сохранить раздачи в файле"),
                                itmSaveDeals);
    tbPrintDeals =
        commandButton(TToolbarImage::Print, QStringLiteral("Печать раздач"), itmPrintDeals);
    ToolButton1 =
        commandButton(TToolbarImage::Statistics, QStringLiteral("Статистика"), itmStatistics);
    tbAnalyze = commandButton(
        TToolbarImage::DoubleDummy,
        QStringLiteral("Анализ в открытую: сколько взяток берёт каждая линия"), itmAnalyze);
    gap(8);
    tbClear =
        commandButton(TToolbarImage::Clear, QStringLiteral("Удалить текущие раздачи"), itmClear);
    tbGenerate =
        commandButton(TToolbarImage::Generate, QStringLiteral("Запустить генератор"), itmGenerate);
    tbFixedCards = commandButton(TToolbarImage::FixedCards,
                                 QStringLiteral("Закрепить карты за игроками"), itmFixedCards);
    gap(13);
    tbOpenConditions = commandButton(
        TToolbarImage::Open, QStringLiteral("Загрузить условия из файла"), itmOpenConditions);
    tnSaveConditions = commandButton(
        TToolbarImage::Save, QStringLiteral("Сохранить условия в файле"), itmSaveConditions);
    gap(8);
    tbInsertFunction =
        dropDown(TToolbarImage::Function, QStringLiteral("Вставить функцию"), FunctionMenu);
    tbOperator =
        dropDown(TToolbarImage::Operator, QStringLiteral("Вставить оператор"), OperatorMenu);
    tbConst = dropDown(TToolbarImage::Constant, QStringLiteral("Вставить константу"), ConstantMenu);
    gap(13);
    const TToolbarImage seatImages[4] = {TToolbarImage::North, TToolbarImage::East,
                                         TToolbarImage::South, TToolbarImage::West};
    const char* const seatNames[4] = {"tbNorth", "tbEast", "tbSouth", "tbWest"};
    for (int seat = 1; seat <= 4; ++seat) {
        QToolButton* toggle = button(seatImages[seat - 1], QString());
        toggle->setObjectName(QLatin1String(seatNames[seat - 1]));
        toggle->setCheckable(true);
        toggle->setChecked(true);
        tbSeats[seat - 1] = toggle;
        connect(toggle, &QToolButton::clicked, this,
                [this, seat](bool pressed) { SetSeatVisible(seat, pressed); });
    }
}
