// LoadSetup and SaveSetup: the main window's state kept in "generate.stp"
// beside the program between runs, and in "korvana.ini" what that file's
// layout has no place for.
#include "files/SetupFile.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolButton>
#include <algorithm>

#include "deals/DealCollection.h"
#include "files/RegularFile.h"
#include "mainwindow/MainWindow.h"
#include "widgets/NumberField.h"

namespace {
// Where korvana.ini keeps the fixed cards, as their text (TFixedCards::ToText).
constexpr std::string_view FixedCardsSection = "Deal";
constexpr std::string_view FixedCardsKey = "Fixed";
constexpr std::string_view SecureKey = "Secure";  // "1" while runs deal securely

// A restored size below this is no window anyone could use: the default stays.
constexpr int SmallestRestoredSide = 100;

QString FileFailure(const QString& fileName, const QString& reason) {
    return QDir::toNativeSeparators(fileName) + QStringLiteral(": ") + reason;
}

// Keeps a setup file that was not read whole under a free name beside it,
// before a new one takes its place: a copy, or the file itself renamed when it
// cannot be read. The name kept, or an empty text when it could not be kept.
QString KeepAside(const QString& fileName) {
    for (int number = 1; number < 100; ++number) {
        const QString aside =
            fileName + QStringLiteral(".bak") + (number == 1 ? QString() : QString::number(number));
        if (QFileInfo::exists(aside) || QFileInfo(aside).isSymLink()) continue;
        if (QFile::copy(fileName, aside) || QFile::rename(fileName, aside)) return aside;
        return {};
    }
    return {};
}

// Where a window of `length` starting at `start` lies wholly inside the area,
// if it fits; else at the area's start.
int OnScreen(int start, int length, int areaStart, int areaLength) {
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}
}  // namespace

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
        QString::fromStdString(settings_.Value(FixedCardsSection, FixedCardsKey).value_or(""));
    const bool fromSettings = !settingsFixedCards.trimmed().isEmpty();
    const TFixedCardsReading fixed =
        ReadFixedCards((fromSettings ? settingsFixedCards : setupFixedCards).toStdString());
    if (!fixed.Error.empty())
        ShowFileError(FileFailure(fromSettings ? settingsName : SetupFileName(),
                                  QString::fromStdString(fixed.Error)));
    SetFixedCards(fixed.Cards);
    itmSecure->setChecked(settings_.Value(FixedCardsSection, SecureKey) == "1");
}

QString TMainWindow::LoadSetupFile() {
    const QString fileName = SetupFileName();
    if (!QFileInfo::exists(fileName)) return {};
    QString reason;
    if (!QFileInfo(fileName).isDir() && !CheckRegularFile(fileName, reason)) {
        keepSetupFile_ = true;  // a pipe or a device is neither read nor written
        ShowFileError(FileFailure(fileName, reason));
        return {};
    }
    QFile file(fileName);
    const bool opened = file.open(QIODevice::ReadOnly);
    QString failure = opened ? QString() : file.errorString();
    // The deal lines go straight into the collection; what was read before a
    // read error is used.
    TSetupContent content;
    if (opened) {
        content = ReadSetupFile(file, run_->Deals(), failure);
        file.close();
    }
    if (QFileInfo(fileName).isFile() && (!failure.isEmpty() || !content.Whole)) {
        // What was not read would be lost when the state is written back.
        const QString aside = KeepAside(fileName);
        if (aside.isEmpty()) keepSetupFile_ = true;
        const QString note =
            aside.isEmpty()
                ? QStringLiteral("Файл настроек прочитан не полностью и не будет перезаписан.")
                : QStringLiteral("Прежний файл настроек сохранён под именем ") +
                      QDir::toNativeSeparators(aside);
        if (!failure.isEmpty())
            failure += u'\n' + note;
        else
            qWarning("%s", qPrintable(note));  // a damaged file: the window opens as it always did
    }
    if (!failure.isEmpty()) ShowFileError(FileFailure(fileName, failure));
    if (!opened) return {};  // the defaults stay
    const TStateRecord& state = content.State;

    for (int seat = 1; seat <= 4; ++seat) {
        const bool shown = state.SeatShown[seat - 1];
        tbSeats[seat - 1]->setChecked(shown);
        itmSeats[seat - 1]->setChecked(shown);
        SetSeatVisible(seat, shown);
    }
    seKeyValue->SetValue(state.KeyValue);
    seTotal->SetValue(state.Total);
    seCurrentDeal->SetValue(state.CurrentDeal);
    seColumnsCount->SetValue(state.ColumnsCount);

    // A size that is missing, tiny or larger than the screens could hold (a
    // damaged file) keeps the default of that side.
    const QSize screens = screen() ? screen()->availableVirtualSize() : QSize(4096, 4096);
    auto restored = [](bool has, int side, int largest, int fallback) {
        return has && side >= SmallestRestoredSide && side <= largest ? side : fallback;
    };
    const int restoredWidth = restored(state.HasWidth, state.Width, screens.width(), -1);
    const int restoredHeight = restored(state.HasHeight, state.Height, screens.height(), -1);
    if (restoredWidth > 0) clientToFit_.setWidth(-1);
    if (restoredHeight > 0) clientToFit_.setHeight(-1);
    resize(restoredWidth > 0 ? restoredWidth : width(),
           restoredHeight > 0 ? restoredHeight : height());
    // A position off every screen (another monitor, a damaged file) comes back on.
    const QRect area = screen() ? screen()->availableVirtualGeometry() : QRect(0, 0, 4096, 4096);
    move(OnScreen(state.Left, width(), area.left(), area.width()),
         OnScreen(state.Top, height(), area.top(), area.height()));
    if (state.WindowState == 2) setWindowState(Qt::WindowMaximized);

    dealsChooser_.Folder = content.DealsFolder;
    conditionsChooser_.Folder = content.ConditionsFolder;
    RichEdit->setPlainText(content.ConditionLines.join(u'\n'));
    RichEdit->moveCursor(QTextCursor::Start);

    if (run_->Deals().Count() > 0) {
        SetDealRange(1, run_->Deals().Count());
        ShowDealCount();
        DisplayDeal(-1);
    }
    return state.FixedCards;
}

TSetupContent TMainWindow::SetupContent(const std::string& fixedCards) const {
    TSetupContent content;
    TStateRecord& state = content.State;
    for (int seat = 1; seat <= 4; ++seat) state.SeatShown[seat - 1] = SeatShown(seat);
    state.KeyValue = seKeyValue->Value();
    state.Total = seTotal->Value();
    state.CurrentDeal = seCurrentDeal->Value();
    state.ColumnsCount = seColumnsCount->Value();
    state.WindowState = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    // A maximised or minimised window keeps the bounds it returns to.
    const QRect bounds = state.WindowState == 0 ? QRect(pos(), size()) : normalGeometry();
    state.Left = bounds.left();
    state.Top = bounds.top();
    state.Width = bounds.width();
    state.Height = bounds.height();
    state.FixedCards = QString::fromStdString(fixedCards);
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
        settings.Remove(FixedCardsSection, FixedCardsKey);
    else
        settings.SetValue(FixedCardsSection, FixedCardsKey, fixedCards);
    if (itmSecure->isChecked())
        settings.SetValue(FixedCardsSection, SecureKey, "1");
    else
        settings.Remove(FixedCardsSection, SecureKey);
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
    }
    if (!failures.isEmpty()) ShowFileError(failures.join(u'\n'));
}
