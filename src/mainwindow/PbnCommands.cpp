// The deal files of the open and save deals commands, as the formats table
// lists them. Saving follows the file type chosen in the save chooser; where
// no type says it ("Все файлы", or a chooser that does not tell), the name's
// extension does. Opening goes by the content, whatever the file's name.
#include <QStringList>

#include "deals/DealCollection.h"
#include "deals/DealFormats.h"
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
    const std::string name = fileName.toStdString();
    const QString pattern = PatternOfType(DealsSaveChooser().Filter, fileType);
    const TDealFormat* chosen = nullptr;
    for (const TDealFormat& format : DealFormats())
        if (PatternOf(format) == pattern) chosen = &format;
    // The key value names the run that repeats these deals; deals of a secure
    // run name no key. A PBN file takes the analysis made of these deals.
    const int64_t key = seKeyValue->Value();
    ::SaveDealsFile(name, chosen != nullptr ? *chosen : DealFormatForWriting(name), run_->Deals(),
                    TDealtBy{key, key, secureDeals_}, KeptAnalysis());
}
