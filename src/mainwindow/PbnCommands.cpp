// PBN files beside the deals file in the open and save deals commands. Saving
// follows the file type chosen in the save chooser; where no type says it
// ("Все файлы", or a chooser that does not tell), the name's extension does.
// Opening goes by the name: a ".pbn" file is read as PBN.
#include <QStringList>

#include "deals/DealCollection.h"
#include "deals/PbnFile.h"
#include "mainwindow/MainWindow.h"
#include "widgets/NumberField.h"

namespace {

// The pattern of an entry of a chooser's filter: "Раздачи PBN (*.pbn)" gives "*.pbn".
QString PatternOfType(const QString& filter, int fileType) {
    const QStringList types = filter.split(QStringLiteral(";;"));
    if (fileType < 0 || fileType >= types.size()) return {};
    return types[fileType].section(u'(', 1).section(u')', 0, 0).trimmed();
}

}  // namespace

void TMainWindow::LoadDealsFile(const QString& fileName) {
    const std::string name = fileName.toStdString();
    if (IsPbnFileName(name)) {
        LoadPbnFile(name, run_->Deals());  // shows how many deals were loaded and skipped
    } else {
        run_->Deals().LoadFromFile(name);
    }
}

void TMainWindow::SaveDealsFile(const QString& fileName, int fileType) {
    const std::string name = fileName.toStdString();
    const QString pattern = PatternOfType(dealsChooser_.Filter, fileType);
    const bool pbn = pattern == QStringLiteral("*.pbn") ||
                     (pattern != QStringLiteral("*.dls") && IsPbnFileName(name));
    if (pbn) {
        // The key value names the run that repeats these deals.
        SavePbnFile(name, run_->Deals(), seKeyValue->Value());
    } else {
        run_->Deals().SaveToFile(name);
    }
}
