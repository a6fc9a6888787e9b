// The deal files of the open and save deals commands, as the formats table
// lists them. Saving follows the typed name's extension when it is one of the
// formats'; otherwise the chosen file type's extension is added to the name
// (none for "Все файлы", or a chooser that does not tell: a deals file of that
// name). Opening goes by the content, whatever the file's name.
#include <QFileInfo>
#include <QStringList>
#include <charconv>

#include "analysis/DoubleDummy.h"
#include "deals/DealCollection.h"
#include "deals/DealFormats.h"
#include "files/SettingsFile.h"
#include "mainwindow/MainWindow.h"
#include "widgets/NumberField.h"

namespace {

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

constexpr std::string_view SaveSection = "SaveDeals";
constexpr std::string_view FirstBoardKey = "FirstBoard";

// The kept analysis with par for the dealer and vulnerability of the boards
// numbered from firstBoard (the kept par is that of boards from 1).
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

}  // namespace

QString TMainWindow::DealsFilter(bool saving) {
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

void TMainWindow::LoadDealsFile(const QString& fileName) {
    // A PBN file shows how many deals were loaded and skipped.
    LoadAnyDealsFile(fileName.toStdString(), run_->Deals());
}

TFileChooser TMainWindow::DealsSaveChooser() const {
    TFileChooser chooser = dealsChooser_;
    chooser.Filter = DealsFilter(true);
    return chooser;
}

void TMainWindow::SaveDealsFile(const QString& fileName, int fileType) {
    std::string name = fileName.toStdString();
    const TDealFormat* format = DealFormatOfName(name);
    if (format == nullptr) {
        const QString pattern = PatternOfType(DealsSaveChooser().Filter, fileType);
        for (const TDealFormat& offered : DealFormats())
            if (PatternOf(offered) == pattern) format = &offered;
        if (format == nullptr) {
            format = &DealsFileFormat();
        } else {
            name += format->Extension;
            // The chooser asked before replacing the name it gave, not this one.
            if (QFileInfo::exists(QString::fromStdString(name))) {
                services_->ShowMessage(this, QStringLiteral("Файл %1 уже существует: раздачи "
                                                            "не сохранены")
                                                 .arg(QString::fromStdString(name)));
                return;
            }
        }
    }
    // The key value names the run that repeats these deals: the seed it started
    // from, which a run after Clear takes over from the run before, as the
    // signed number a key is. Deals of a secure run name no key. A PBN file
    // takes the analysis made of these deals.
    const int64_t key =
        firstRunSeed_ ? static_cast<int32_t>(*firstRunSeed_) : int64_t{seKeyValue->Value()};
    const int firstBoard = SaveFirstBoard();
    ::SaveDealsFile(name, *format, run_->Deals(), TDealtBy{key, key, secureDeals_},
                    AnalysisOfBoards(KeptAnalysis(), firstBoard), firstBoard);
}

int TMainWindow::SaveFirstBoard() const {
    const std::string text = settings_.Value(SaveSection, FirstBoardKey).value_or("1");
    int value = 1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 1 ? value : 1;
}

void TMainWindow::KeepSaveFirstBoard(int firstBoard) {
    settings_.SetValue(SaveSection, FirstBoardKey, std::to_string(firstBoard));
}
