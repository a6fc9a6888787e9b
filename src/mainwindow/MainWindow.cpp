#include "mainwindow/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QToolButton>

#include "deals/DealFormats.h"
#include "files/SetupLocation.h"
#include "mainwindow/AboutBox.h"
#include "mainwindow/HelpWindow.h"
#include "mainwindow/RunMonitor.h"
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

}  // namespace

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
    BuildControls();
    BuildMenus();
    BuildAnalysisMenu();
    BuildToolBar();
    BuildEditingMenus();
    BuildKeyboardAccess();
    ConnectControls();
    LoadSetup();
    run_->Random().SetSeed(seKeyValue->Value());
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

void TMainWindow::BuildControls() {
    setWindowTitle(QStringLiteral("Korvana"));
    setWindowIcon(ToolbarImage(TToolbarImage::Generate));
    setFont(FontOf({"MS Sans Serif", "Liberation Sans", "DejaVu Sans"}, 11));
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    setCentralWidget(client);
    client->installEventFilter(this);

    static const char* const seatLetters = "NESW";
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
            HandLabels[seat][suit] = label;
        }
    Panel = new QFrame(client);
    Panel->setGeometry(96, 112, 70, 70);
    Panel->setAutoFillBackground(true);
    QPalette navy = Panel->palette();
    navy.setColor(QPalette::Window, QColor(0, 0, 128));
    Panel->setPalette(navy);

    auto* group = new QGroupBox(QStringLiteral("Параметры"), client);
    GroupBox1 = group;
    group->setGeometry(288, 48, 233, 161);
    PlacedLabel(group, QStringLiteral("Ключевое число"), 16, 24);
    seKeyValue = PlacedField(group, 120, 19, 57, 0, 0, 0, 5);
    PlacedLabel(group, QStringLiteral("Раздать"), 17, 61);
    seTotal = PlacedField(group, 64, 56, 65, 1, 1, 9999999, 7);
    btnStop = new QPushButton(ToolbarImage(TToolbarImage::Stop), QStringLiteral("STOP"), group);
    btnStop->setGeometry(145, 55, 75, 25);
    btnStop->hide();
    lDealtCaption = PlacedLabel(group, QStringLiteral("Всего сдано"), 16, 92);
    lDealtTotal = new QLabel(group);
    lDealtTotal->setGeometry(93, 92, 132, 13);
    PlacedLabel(group, QStringLiteral("Колонок при печати"), 16, 128);
    seColumnsCount = PlacedField(group, 128, 123, 33, 5, 1, 9, 1);

    PlacedLabel(client, QStringLiteral("Раздача"), 288, 224);
    seCurrentDeal = PlacedField(client, 336, 219, 65, 0, 0, 0, 7);
    seCurrentDeal->setToolTip(QStringLiteral("Ctrl-Up / Ctrl-Down"));
    PlacedLabel(client, QStringLiteral("из"), 411, 223);
    lTotal = new QLabel(client);
    lTotal->setGeometry(438, 223, 83, 13);
    // Red, between the deal number and the editor, while any card is fixed.
    lFixedCards = new QLabel(client);
    lFixedCards->setObjectName(QStringLiteral("lFixedCards"));
    lFixedCards->setGeometry(288, 245, 233, 16);
    PaintTextRed(lFixedCards);
    QFont bold = lFixedCards->font();
    bold.setBold(true);
    lFixedCards->setFont(bold);
    lFixedCards->hide();

    RichEdit = new QPlainTextEdit(client);
    RichEdit->setFont(FontOf({"Courier New", "Liberation Mono", "DejaVu Sans Mono"}, 13));
    RichEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit->setGeometry(EditorMargin, EditorTop, 505, 89);

    move(131, 134);
    resize(DesignClientWidth, DesignClientHeight + menuBar()->sizeHint().height());
}

void TMainWindow::ConnectControls() {
    connect(seCurrentDeal, &TNumberField::Changed, this, &TMainWindow::seCurrentDealChange);
    connect(seKeyValue, &TNumberField::Changed, this, &TMainWindow::seKeyValueChange);
    connect(seColumnsCount, &TNumberField::Changed, this, &TMainWindow::seKeyValueChange);
    connect(btnStop, &QPushButton::clicked, this, &TMainWindow::btnStopClick);
    connect(monitor_, &TRunMonitor::Progress, this, &TMainWindow::ShowProgress);
    connect(monitor_, &TRunMonitor::DealShown, this, &TMainWindow::DisplayDeal);
    connect(monitor_, &TRunMonitor::Finished, this, &TMainWindow::FinishRun);
}

// The editor is anchored to all four sides of the client area.
void TMainWindow::LayoutEditor() {
    const QWidget* client = centralWidget();
    RichEdit->setGeometry(EditorMargin, EditorTop, std::max(0, client->width() - 2 * EditorMargin),
                          std::max(0, client->height() - EditorTop - EditorMargin));
    ToolBar1->setGeometry(0, 0, client->width(), 29);
}

QStringList TMainWindow::ConditionLines() const {
    // The raw text keeps a no-break space as it was typed or read (the plain
    // text would turn it into a blank, which the condition reads differently).
    QString text = RichEdit->document()->toRawText();
    if (text.isEmpty()) return {};
    text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    return text.split(u'\n');
}

bool TMainWindow::SeatShown(int seat) const {
    return seat >= 1 && seat <= 4 && tbSeats[seat - 1]->isChecked();
}

QString TMainWindow::SetupFileName() const {
    return setupFolder_ + QStringLiteral("/generate.stp");
}

void TMainWindow::itmAboutClick() { aboutBox_->exec(); }

void TMainWindow::itmHelpClick() {
    if (helpWindow_ == nullptr)
        helpWindow_ = new THelpWindow(
            [this](const QString& condition) {
                InsertConditionText(condition);
                raise();  // back to the editor, to go on writing
                activateWindow();
                RichEdit->setFocus();
            },
            this);
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

void TMainWindow::itmExitClick() { close(); }

void TMainWindow::closeEvent(QCloseEvent* event) {
    // A run does not outlive the window: ask it to stop now; the destructor waits.
    btnStopClick();
    QMainWindow::closeEvent(event);
}
