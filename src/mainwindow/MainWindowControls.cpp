// The main window's controls: the client area, the menu bar with the command
// table's items in their places, the toolbar and the insertion menus.
#include "mainwindow/MainWindowControls.h"

#include <QAction>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <memory>
#include <optional>

#include "deals/BridgeTerms.h"
#include "dialogs/DialogCatalogue.h"
#include "language/FunctionTable.h"
#include "mainwindow/ToolbarImages.h"
#include "widgets/ErrorLabel.h"
#include "widgets/NumberField.h"

namespace {

// Client area of the designed window; the editor keeps this margin to its
// left, right and bottom edges.
constexpr int DesignClientWidth = 537;
constexpr int DesignClientHeight = 371;
constexpr int EditorMargin = 16;
constexpr int EditorTop = 266;
// Above and below the status bar's line of text.
constexpr int StatusPadding = 8;

QFont FontOf(const QStringList& families, int pixels, bool bold = false) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QLabel* PlacedLabel(QWidget* parent, const QString& text, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

TNumberField* PlacedField(QWidget* parent, int left, int top, int width, int value, int lowest,
                          int highest, int maxLength) {
    auto* field = new TNumberField(parent);
    field->setGeometry(left, top, width, 22);
    field->SetRange(lowest, highest);
    field->SetValue(value);
    field->SetMaxLength(maxLength);
    return field;
}

QFont HandFont() {
    return FontOf({"Courier New", "Liberation Mono", "DejaVu Sans Mono"}, 13, true);
}

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

// A menu item that inserts a word of the language; no caption is a separator.
struct TWordItem {
    const char* caption;
    const char* word;
};

constexpr TWordItem kOperatorItems[] = {
    {"Not", "Not"}, {"Or", "Or"}, {"And", "And"}, {},           {"+", "+"}, {"--", "-"},  {},
    {">", ">"},     {">=", ">="}, {"<", "<"},     {"<=", "<="}, {"=", "="}, {"<>", "<>"},
};

constexpr TWordItem kConstantItems[] = {
    {"North", "North"}, {"East", "East"},         {"South", "South"},   {"West", "West"},     {},
    {"Clubs", "Clubs"}, {"Diamonds", "Diamonds"}, {"Hearts", "Hearts"}, {"Spades", "Spades"},
};

void BuildMenus(QMainWindow& window, TMainWindowControls& c, const TAddCommands& addCommands) {
    QMenuBar* bar = window.menuBar();
    c.DealsMenu = bar->addMenu(QStringLiteral("Раздачи"));
    c.itmOpenDeals = MenuItem(c.DealsMenu, QStringLiteral("Открыть"),
                              QKeySequence(Qt::CTRL | Qt::Key_O), TToolbarImage::Open);
    c.itmSaveDeals = MenuItem(c.DealsMenu, QStringLiteral("Сохранить"),
                              QKeySequence(Qt::CTRL | Qt::Key_V), TToolbarImage::Save);
    c.itmPrintDeals = MenuItem(c.DealsMenu, QStringLiteral("Прсмотр/Печать"),
                               QKeySequence(Qt::CTRL | Qt::Key_P), TToolbarImage::Print);
    c.itmStatistics = MenuItem(c.DealsMenu, QStringLiteral("Статистика"),
                               QKeySequence(Qt::CTRL | Qt::Key_I), TToolbarImage::Statistics);
    addCommands(TCommandPlace::DealsReports, c.DealsMenu);
    c.DealsMenu->addSeparator();
    c.itmClear = MenuItem(c.DealsMenu, QStringLiteral("Очистить"),
                          QKeySequence(Qt::CTRL | Qt::Key_B), TToolbarImage::Clear);
    c.itmGenerate = MenuItem(c.DealsMenu, QStringLiteral("Сгенерировать"),
                             QKeySequence(Qt::CTRL | Qt::Key_G), TToolbarImage::Generate);
    addCommands(TCommandPlace::DealsRun, c.DealsMenu);
    c.DealsMenu->addSeparator();
    addCommands(TCommandPlace::DealsSecure, c.DealsMenu);

    c.ConditionsMenu = bar->addMenu(QStringLiteral("Условия"));
    c.itmOpenConditions =
        MenuItem(c.ConditionsMenu, QStringLiteral("Открыть"), QKeySequence(), TToolbarImage::Open);
    c.itmSaveConditions = MenuItem(c.ConditionsMenu, QStringLiteral("Сохранить"), QKeySequence(),
                                   TToolbarImage::Save);

    c.ViewMenu = bar->addMenu(QStringLiteral("Вид"));
    const QString seatCaptions[4] = {"N", "E", "S", "W"};
    const Qt::Key seatKeys[4] = {Qt::Key_N, Qt::Key_E, Qt::Key_S, Qt::Key_W};
    for (int seat = 1; seat <= 4; ++seat) {
        QAction* item = MenuItem(c.ViewMenu, seatCaptions[seat - 1],
                                 QKeySequence(Qt::CTRL | seatKeys[seat - 1]));
        item->setCheckable(true);
        item->setChecked(true);
        c.itmSeats[seat - 1] = item;
    }
    c.ViewMenu->addSeparator();
    c.itmDealInfo =
        MenuItem(c.ViewMenu, QStringLiteral("Сведения о раздаче..."), QKeySequence(Qt::Key_F3));

    c.AnalysisMenu = new QMenu(QStringLiteral("Анализ"), &window);
    bar->addMenu(c.AnalysisMenu);
    addCommands(TCommandPlace::Analysis, c.AnalysisMenu);
    c.AnalysisMenu->addSeparator();
    addCommands(TCommandPlace::Studies, c.AnalysisMenu);

    addCommands(TCommandPlace::MenuBar, nullptr);
    c.itmAbout = bar->addAction(QStringLiteral("?"));
    c.itmExit = bar->addAction(QStringLiteral("Выход"));
    c.itmExit->setShortcut(QKeySequence(Qt::Key_F12));
}

void BuildToolBar(QMainWindow& window, TMainWindowControls& c) {
    auto* bar = new QToolBar(window.centralWidget());
    c.ToolBar1 = bar;
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    bar->setGeometry(0, 0, window.width(), 29);

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
        QObject::connect(tool, &QToolButton::clicked, item, &QAction::trigger);
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

    c.tbOpenDeals = commandButton(TToolbarImage::Open, QStringLiteral("Загрузить раздачи из файла"),
                                  c.itmOpenDeals);
    c.tbSaveDeals = commandButton(TToolbarImage::Save, QStringLiteral("Сохранить раздачи в файле"),
                                  c.itmSaveDeals);
    c.tbPrintDeals =
        commandButton(TToolbarImage::Print, QStringLiteral("Печать раздач"), c.itmPrintDeals);
    c.ToolButton1 =
        commandButton(TToolbarImage::Statistics, QStringLiteral("Статистика"), c.itmStatistics);
    c.tbAnalyze = commandButton(
        TToolbarImage::DoubleDummy,
        QStringLiteral("Анализ в открытую: сколько взяток берёт каждая линия"), c.itmAnalyze);
    gap(8);
    c.tbClear =
        commandButton(TToolbarImage::Clear, QStringLiteral("Удалить текущие раздачи"), c.itmClear);
    c.tbGenerate = commandButton(TToolbarImage::Generate, QStringLiteral("Запустить генератор"),
                                 c.itmGenerate);
    c.tbFixedCards = commandButton(TToolbarImage::FixedCards,
                                   QStringLiteral("Закрепить карты за игроками"), c.itmFixedCards);
    gap(13);
    c.tbOpenConditions = commandButton(
        TToolbarImage::Open, QStringLiteral("Загрузить условия из файла"), c.itmOpenConditions);
    c.tnSaveConditions = commandButton(
        TToolbarImage::Save, QStringLiteral("Сохранить условия в файле"), c.itmSaveConditions);
    gap(8);
    c.tbInsertFunction =
        dropDown(TToolbarImage::Function, QStringLiteral("Вставить функцию"), c.FunctionMenu);
    c.tbOperator =
        dropDown(TToolbarImage::Operator, QStringLiteral("Вставить оператор"), c.OperatorMenu);
    c.tbConst =
        dropDown(TToolbarImage::Constant, QStringLiteral("Вставить константу"), c.ConstantMenu);
    gap(13);
    const TToolbarImage seatImages[4] = {TToolbarImage::North, TToolbarImage::East,
                                         TToolbarImage::South, TToolbarImage::West};
    const char* const seatNames[4] = {"tbNorth", "tbEast", "tbSouth", "tbWest"};
    for (int seat = 1; seat <= 4; ++seat) {
        QToolButton* toggle = button(seatImages[seat - 1], QString());
        toggle->setObjectName(QLatin1String(seatNames[seat - 1]));
        toggle->setCheckable(true);
        toggle->setChecked(true);
        c.tbSeats[seat - 1] = toggle;
    }
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

void BuildControls(QMainWindow& window, TMainWindowControls& c) {
    window.setWindowTitle(QStringLiteral("Korvana"));
    window.setWindowIcon(ToolbarImage(TToolbarImage::Generate));
    window.setFont(FontOf({"MS Sans Serif", "Liberation Sans", "DejaVu Sans"}, 11));
    auto* client = new QWidget(&window);
    client->setObjectName(QStringLiteral("Client"));
    window.setCentralWidget(client);

    const char* const seatLetters = SeatLetters;
    static const char* const suitLetters = "SHDC";
    const int lefts[4] = {95, 172, 95, 13};
    const int tops[4] = {45, 113, 189, 113};
    const int rowOffsets[4] = {0, 16, 31, 47};
    for (int seat = 0; seat < 4; ++seat)
        for (int suit = 0; suit < 4; ++suit) {
            auto* label = new QLabel(client);
            label->setObjectName(
                QStringLiteral("l%1%2").arg(seatLetters[seat]).arg(suitLetters[suit]));
            label->setGeometry(lefts[seat], tops[seat] + rowOffsets[suit], 76, 16);
            label->setFont(HandFont());
            c.HandLabels[seat][suit] = label;
        }
    c.Panel = new QFrame(client);
    c.Panel->setGeometry(96, 112, 70, 70);
    c.Panel->setAutoFillBackground(true);
    QPalette navy = c.Panel->palette();
    navy.setColor(QPalette::Window, QColor(0, 0, 128));
    c.Panel->setPalette(navy);
    // The board's facts on the table between the hands, as bridge diagrams show them.
    c.lBoardFacts = new QLabel(c.Panel);
    c.lBoardFacts->setObjectName(QStringLiteral("lBoardFacts"));
    c.lBoardFacts->setGeometry(2, 2, 66, 66);
    c.lBoardFacts->setAlignment(Qt::AlignCenter);
    c.lBoardFacts->setFont(FontOf({"MS Sans Serif", "Liberation Sans", "DejaVu Sans"}, 10));
    QPalette white = c.lBoardFacts->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    c.lBoardFacts->setPalette(white);

    auto* group = new QGroupBox(QStringLiteral("Параметры"), client);
    c.GroupBox1 = group;
    group->setGeometry(288, 48, 233, 161);
    PlacedLabel(group, QStringLiteral("Ключевое число"), 16, 24);
    c.seKeyValue = PlacedField(group, 120, 19, 57, 0, 0, 0, 5);
    PlacedLabel(group, QStringLiteral("Раздать"), 17, 61);
    c.seTotal = PlacedField(group, 64, 56, 65, 1, 1, 9999999, 7);
    c.btnStop = new QPushButton(ToolbarImage(TToolbarImage::Stop), QStringLiteral("STOP"), group);
    c.btnStop->setGeometry(145, 55, 75, 25);
    c.btnStop->hide();
    c.lDealtCaption = PlacedLabel(group, QStringLiteral("Всего сдано"), 16, 92);
    c.lDealtTotal = new QLabel(group);
    c.lDealtTotal->setGeometry(93, 92, 132, 13);
    PlacedLabel(group, QStringLiteral("Колонок при печати"), 16, 128);
    c.seColumnsCount = PlacedField(group, 128, 123, 33, 5, 1, 9, 1);

    PlacedLabel(client, QStringLiteral("Раздача"), 288, 224);
    c.seCurrentDeal = PlacedField(client, 336, 219, 65, 0, 0, 0, 7);
    c.seCurrentDeal->setToolTip(QStringLiteral("Ctrl-Up / Ctrl-Down"));
    PlacedLabel(client, QStringLiteral("из"), 411, 223);
    c.lTotal = new QLabel(client);
    c.lTotal->setGeometry(438, 223, 83, 13);
    // Red, between the deal number and the editor, while any card is fixed.
    c.lFixedCards = new QLabel(client);
    c.lFixedCards->setObjectName(QStringLiteral("lFixedCards"));
    c.lFixedCards->setGeometry(288, 245, 233, 16);
    PaintTextRed(c.lFixedCards);
    QFont bold = c.lFixedCards->font();
    bold.setBold(true);
    c.lFixedCards->setFont(bold);
    c.lFixedCards->hide();

    c.RichEdit = new QPlainTextEdit(client);
    c.RichEdit->setFont(FontOf({"Courier New", "Liberation Mono", "DejaVu Sans Mono"}, 13));
    c.RichEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    c.RichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    c.RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    c.RichEdit->setGeometry(EditorMargin, EditorTop, 505, 89);

    // The menu hints and the window's notes, a line high, below the client
    // area: the client area keeps its designed size above it.
    QStatusBar* status = window.statusBar();
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setMinimumHeight(status->fontMetrics().height() + StatusPadding);

    window.move(131, 134);
    window.resize(DesignClientWidth, DesignClientHeight + window.menuBar()->sizeHint().height() +
                                         status->sizeHint().height());
}

void BuildMenusAndToolBar(QMainWindow& window, TMainWindowControls& c,
                          const TAddCommands& addCommands) {
    BuildMenus(window, c, addCommands);
    BuildToolBar(window, c);
    // The toolbar's insertion menus, reachable from the keyboard through "Условия".
    c.ConditionsMenu->addSeparator();
    c.FunctionMenu->setTitle(QStringLiteral("Вставить функцию"));
    c.OperatorMenu->setTitle(QStringLiteral("Вставить оператор"));
    c.ConstantMenu->setTitle(QStringLiteral("Вставить константу"));
    for (QMenu* menu : {c.FunctionMenu, c.OperatorMenu, c.ConstantMenu})
        c.ConditionsMenu->addMenu(menu);
    QMenuBar* bar = window.menuBar();
    AssignMnemonics(bar->actions());
    for (const QAction* top : bar->actions())
        if (const QMenu* menu = top->menu()) AssignMnemonics(menu->actions());
    // A tab means nothing in a condition: Tab and Shift+Tab move on.
    c.RichEdit->setTabChangesFocus(true);
    // Each hand takes the focus at its first line; Enter there shows the deal information.
    for (const auto& hand : c.HandLabels) hand[0]->setFocusPolicy(Qt::StrongFocus);
}

void BuildEditingMenus(QWidget& window, TMainWindowControls& c,
                       const std::function<void(const QString& text)>& insert) {
    // Operator and constant items share one handler: a blank, the word, a blank.
    const auto addWords = [&](QMenu* menu, const auto& items) {
        for (const TWordItem& item : items) {
            if (!item.caption) {
                menu->addSeparator();
                continue;
            }
            const QString word = " " + QString(item.word) + " ";
            QObject::connect(menu->addAction(item.caption), &QAction::triggered, &window,
                             [insert, word] { insert(word); });
        }
    };
    addWords(c.OperatorMenu, kOperatorItems);
    addWords(c.ConstantMenu, kConstantItems);

    // Function items, one per function with a dialog, in the function table's
    // order and groups: the dialog, owned by the window, returns the call
    // text (empty when cancelled), which goes in as it is.
    const TFunctionRow* previous = nullptr;
    for (const TFunctionRow& function : FunctionTable()) {
        const TDialogMaker makeDialog = FunctionDialog(function.Name);
        if (makeDialog == nullptr) continue;
        if (previous != nullptr && previous->MenuGroup != function.MenuGroup)
            c.FunctionMenu->addSeparator();
        previous = &function;
        const QString caption = QString::fromUtf8(function.Name.data(), function.Name.size());
        QObject::connect(c.FunctionMenu->addAction(caption), &QAction::triggered, &window,
                         [&window, insert, makeDialog] {
                             const std::unique_ptr<TFunctionWindow> dialog = makeDialog(&window);
                             insert(dialog->Execute());
                         });
    }
}

void LayoutClientArea(const QWidget& client, TMainWindowControls& c) {
    c.RichEdit->setGeometry(EditorMargin, EditorTop, std::max(0, client.width() - 2 * EditorMargin),
                            std::max(0, client.height() - EditorTop - EditorMargin));
    c.ToolBar1->setGeometry(0, 0, client.width(), 29);
}
