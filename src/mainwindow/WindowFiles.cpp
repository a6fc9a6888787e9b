#include "mainwindow/WindowFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QScreen>
#include <QStringList>
#include <QToolButton>
#include <algorithm>

#include "analysis/DoubleDummy.h"
#include "deals/DealFormats.h"
#include "files/RegularFile.h"
#include "files/SettingsFile.h"
#include "files/SettingsKeys.h"
#include "files/SetupFile.h"
#include "widgets/NumberField.h"

namespace {

// A restored size below this is no window anyone could use: the default stays.
constexpr int SmallestRestoredSide = 100;

// The pattern of an entry of a chooser's filter: "Раздачи PBN (*.pbn)" gives "*.pbn".
QString PatternOfEntry(const QString& entry) {
    return entry.section(u'(', 1).section(u')', 0, 0).trimmed();
}

// The pattern of the filter's entry at index fileType; empty when there is none.
QString PatternOfType(const QString& filter, int fileType) {
    const QStringList types = filter.split(QStringLiteral(";;"));
    if (fileType < 0 || fileType >= types.size()) return {};
    return PatternOfEntry(types[fileType]);
}

QString PatternOf(const TDealFormat& format) {
    return QStringLiteral("*") + QString::fromUtf8(format.Extension.data(),
                                                   static_cast<qsizetype>(format.Extension.size()));
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

QString FileFailure(const QString& fileName, const QString& reason) {
    return QDir::toNativeSeparators(fileName) + QStringLiteral(": ") + reason;
}

QString DealsFilter(bool saving) {
    // The deals file's entry, every file, every deals file, then the other formats.
    QStringList types;
    QStringList patterns;
    for (const TDealFormat& format : DealFormats()) {
        if (!saving && format.Read == nullptr) continue;
        types << QString::fromUtf8(format.Label.data(),
                                   static_cast<qsizetype>(format.Label.size())) +
                     QStringLiteral(" (") + PatternOf(format) + QStringLiteral(")");
        patterns << PatternOf(format);
        if (types.size() == 1) types << QStringLiteral("Все файлы (*)");
    }
    if (!saving)
        types.insert(
            2, QStringLiteral("Все файлы раздач (") + patterns.join(u' ') + QStringLiteral(")"));
    return types.join(QStringLiteral(";;"));
}

QString OpenDealsFilterEntry(const TSettings& settings) {
    namespace Keys = SettingsKeys::OpenDeals;
    const QStringList types = DealsFilter(false).split(QStringLiteral(";;"));
    const std::optional<std::string> kept = settings.Value(Keys::Section, Keys::Filter);
    for (const QString& type : types)
        if (kept && PatternOfEntry(type) == QString::fromStdString(*kept)) return type;
    return types.first();
}

void KeepOpenDealsFilterEntry(TSettings& settings, const QString& entry) {
    namespace Keys = SettingsKeys::OpenDeals;
    const QString pattern = PatternOfEntry(entry);
    if (!pattern.isEmpty()) settings.SetValue(Keys::Section, Keys::Filter, pattern.toStdString());
}

const TDealFormat& SaveFormat(std::string& name, int fileType) {
    if (const TDealFormat* named = DealFormatOfName(name)) return *named;
    const QString pattern = PatternOfType(DealsFilter(true), fileType);
    for (const TDealFormat& offered : DealFormats())
        if (PatternOf(offered) == pattern) {
            name += offered.Extension;
            return offered;
        }
    return DealsFileFormat();
}

void AddOwnPar(TBoard& board) {
    if (board.Analysis && board.Analysis->Solved && !board.Analysis->Par)
        AddPar(*board.Analysis, board.Dealer, board.Vulnerability);
}

void TBoardsWithPar::ForEach(const std::function<bool(const TBoard&)>& take) const {
    TBoard completed;
    boards_.ForEach([&](const TBoard& board) {
        if (!board.Analysis || !board.Analysis->Solved || board.Analysis->Par) return take(board);
        completed = board;
        AddOwnPar(completed);
        return take(completed);
    });
}

TSetupFileRead ReadSetupInto(const QString& fileName, TDeals& deals) {
    TSetupFileRead read;
    if (!QFileInfo::exists(fileName)) return read;
    QString reason;
    if (!QFileInfo(fileName).isDir() && !CheckRegularFile(fileName, reason)) {
        read.KeepFile = true;  // a pipe or a device is neither read nor written
        read.Failure = FileFailure(fileName, reason);
        return read;
    }
    QFile file(fileName);
    read.Opened = file.open(QIODevice::ReadOnly);
    QString failure = read.Opened ? QString() : file.errorString();
    // The deal lines go straight into the collection; what was read before a
    // read error is used.
    if (read.Opened) {
        read.Content = ReadSetupFile(file, deals, failure);
        file.close();
    }
    if (QFileInfo(fileName).isFile() && (!failure.isEmpty() || !read.Content.Whole)) {
        // What was not read would be lost when the state is written back.
        const QString aside = KeepAside(fileName);
        if (aside.isEmpty()) read.KeepFile = true;
        const QString note =
            aside.isEmpty()
                ? QStringLiteral("Файл настроек прочитан не полностью и не будет перезаписан.")
                : QStringLiteral("Прежний файл настроек сохранён под именем ") +
                      QDir::toNativeSeparators(aside);
        if (!failure.isEmpty())
            failure += u'\n' + note;
        else
            read.Note = FileFailure(fileName, note);
    }
    if (!failure.isEmpty()) read.Failure = FileFailure(fileName, failure);
    return read;
}

TStateRecord StateOfWindow(const QMainWindow& window, const TMainWindowControls& c) {
    TStateRecord state;
    for (int seat = 1; seat <= 4; ++seat)
        state.SeatShown[seat - 1] = c.tbSeats[seat - 1]->isChecked();
    state.KeyValue = c.seKeyValue->Value();
    state.Total = c.seTotal->Value();
    state.CurrentDeal = c.seCurrentDeal->Value();
    state.ColumnsCount = c.seColumnsCount->Value();
    state.WindowState = window.isMaximized() ? 2 : window.isMinimized() ? 1 : 0;
    const QRect bounds =
        state.WindowState == 0 ? QRect(window.pos(), window.size()) : window.normalGeometry();
    state.Left = bounds.left();
    state.Top = bounds.top();
    state.Width = bounds.width();
    state.Height = bounds.height();
    return state;
}

void ApplyStateRecord(const TStateRecord& state, QMainWindow& window, TMainWindowControls& c,
                      QSize& clientToFit) {
    c.seKeyValue->SetValue(state.KeyValue);
    c.seTotal->SetValue(state.Total);
    c.seCurrentDeal->SetValue(state.CurrentDeal);
    c.seColumnsCount->SetValue(state.ColumnsCount);

    const QScreen* screen = window.screen();
    const QSize screens = screen ? screen->availableVirtualSize() : QSize(4096, 4096);
    auto restored = [](bool has, int side, int largest, int fallback) {
        return has && side >= SmallestRestoredSide && side <= largest ? side : fallback;
    };
    const int width = restored(state.HasWidth, state.Width, screens.width(), -1);
    const int height = restored(state.HasHeight, state.Height, screens.height(), -1);
    if (width > 0) clientToFit.setWidth(-1);
    if (height > 0) clientToFit.setHeight(-1);
    window.resize(width > 0 ? width : window.width(), height > 0 ? height : window.height());
    const QRect area = screen ? screen->availableVirtualGeometry() : QRect(0, 0, 4096, 4096);
    window.move(OnScreen(state.Left, window.width(), area.left(), area.width()),
                OnScreen(state.Top, window.height(), area.top(), area.height()));
    if (state.WindowState == 2) window.setWindowState(Qt::WindowMaximized);
}
