#include "mainwindow/WindowFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

#include "analysis/DoubleDummy.h"
#include "deals/DealFormats.h"
#include "files/RegularFile.h"
#include "files/SetupFile.h"

namespace {

// A restored size below this is no window anyone could use: the default stays.
constexpr int SmallestRestoredSide = 100;

// The pattern of an entry of a chooser's filter: "Раздачи PBN (*.pbn)" gives "*.pbn".
QString PatternOfType(const QString& filter, int fileType) {
    const QStringList types = filter.split(QStringLiteral(";;"));
    if (fileType < 0 || fileType >= types.size()) return {};
    return types[fileType].section(u'(', 1).section(u')', 0, 0).trimmed();
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
    // The deals file's entry, every file, then the other formats.
    QStringList types;
    for (const TDealFormat& format : DealFormats()) {
        if (!saving && format.Read == nullptr) continue;
        types << QString::fromUtf8(format.Label.data(),
                                   static_cast<qsizetype>(format.Label.size())) +
                     QStringLiteral(" (") + PatternOf(format) + QStringLiteral(")");
        if (types.size() == 1) types << QStringLiteral("Все файлы (*)");
    }
    return types.join(QStringLiteral(";;"));
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

std::vector<TDealAnalysis> AnalysisOfBoards(std::span<const TDealAnalysis> kept,
                                            int64_t firstBoard) {
    std::vector<TDealAnalysis> analyses(kept.begin(), kept.end());
    if (firstBoard == 1) return analyses;
    for (std::size_t i = 0; i < analyses.size(); ++i) {
        if (!analyses[i].Solved) continue;
        const int64_t board = firstBoard + static_cast<int64_t>(i);
        analyses[i].Par.reset();
        AddBoardPar(analyses[i], board);
    }
    return analyses;
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

QSize RestoredSize(const TStateRecord& state, QSize current, QSize screens, bool& keptWidth,
                   bool& keptHeight) {
    auto restored = [](bool has, int side, int largest, int fallback) {
        return has && side >= SmallestRestoredSide && side <= largest ? side : fallback;
    };
    const int width = restored(state.HasWidth, state.Width, screens.width(), -1);
    const int height = restored(state.HasHeight, state.Height, screens.height(), -1);
    keptWidth = width <= 0;
    keptHeight = height <= 0;
    return QSize(width > 0 ? width : current.width(), height > 0 ? height : current.height());
}

QPoint OnScreen(QPoint place, QSize size, QRect area) {
    return QPoint(OnScreen(place.x(), size.width(), area.left(), area.width()),
                  OnScreen(place.y(), size.height(), area.top(), area.height()));
}
