#include "widgets/ChooserColumns.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QListView>
#include <QSplitter>
#include <QTimer>
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
    // The places at the left as wide as their names, once the chooser is
    // shown and its splitter has sizes.
    auto* places = dialog.findChild<QListView*>(QStringLiteral("sidebar"));
    auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter"));
    if (!places || !splitter || splitter->count() != 2) return;
    QTimer::singleShot(0, splitter, [places, splitter] {
        const int wanted = places->sizeHintForColumn(0) + 2 * places->frameWidth() + 8;
        const QList<int> sizes = splitter->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        if (sizes.value(0) < wanted && total > 2 * wanted)
            splitter->setSizes({wanted, total - wanted});
    });
}
