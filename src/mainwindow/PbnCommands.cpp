// PBN and LIN files beside the deals file in the open and save deals commands.
// Saving follows the file type chosen in the save chooser; where no type says
// it ("Все файлы", or a chooser that does not tell), the name's extension does.
// Opening goes by the content: a file without the deals file's header is read
// as PBN. LIN is written only.
#include <QStringList>

#include "deals/AnyDealsFile.h"
#include "deals/DealCollection.h"
#include "deals/LinFile.h"
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
    // A PBN file shows how many deals were loaded and skipped.
    LoadDealsOrPbnFile(fileName.toStdString(), run_->Deals());
}

TFileChooser TMainWindow::DealsSaveChooser() const {
    TFileChooser chooser = dealsChooser_;
    chooser.Filter += QStringLiteral(";;Раздачи LIN (*.lin)");
    return chooser;
}

void TMainWindow::SaveDealsFile(const QString& fileName, int fileType) {
    const std::string name = fileName.toStdString();
    const QString pattern = PatternOfType(DealsSaveChooser().Filter, fileType);
    const bool untyped = pattern != QStringLiteral("*.dls") && pattern != QStringLiteral("*.pbn") &&
                         pattern != QStringLiteral("*.lin");
    if (pattern == QStringLiteral("*.pbn") || (untyped && IsPbnFileName(name))) {
        // The key value names the run that repeats these deals.
        SavePbnFile(name, run_->Deals(), seKeyValue->Value());
    } else if (pattern == QStringLiteral("*.lin") || (untyped && IsLinFileName(name))) {
        SaveLinFile(name, run_->Deals());
    } else {
        run_->Deals().SaveToFile(name);
    }
}
