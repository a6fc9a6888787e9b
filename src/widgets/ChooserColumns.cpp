#include "widgets/ChooserColumns.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

void FitChooserColumns(QFileDialog& dialog) {
    auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!details) return;
    QHeaderView* header = details->header();
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(header->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    // Room for a name beside the other columns.
    dialog.resize(dialog.size().expandedTo(QSize(760, 460)));
}
