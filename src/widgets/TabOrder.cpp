#include "widgets/TabOrder.h"

#include <QFormLayout>
#include <QLayout>
#include <QList>
#include <QWidget>

namespace {

void CollectLayout(const QLayout* layout, QList<QWidget*>& controls);

void CollectItem(QLayoutItem* item, QList<QWidget*>& controls) {
    if (!item) return;
    if (QLayout* inner = item->layout()) {
        CollectLayout(inner, controls);
        return;
    }
    QWidget* widget = item->widget();
    if (!widget) return;
    if (widget->focusPolicy() & Qt::TabFocus) controls.append(widget);
    if (widget->layout()) CollectLayout(widget->layout(), controls);
}

void CollectLayout(const QLayout* layout, QList<QWidget*>& controls) {
    // A form layout keeps its items in the order they were added, which need
    // not be the order of its rows.
    if (const auto* form = qobject_cast<const QFormLayout*>(layout)) {
        for (int row = 0; row < form->rowCount(); ++row)
            for (const QFormLayout::ItemRole role :
                 {QFormLayout::LabelRole, QFormLayout::FieldRole, QFormLayout::SpanningRole})
                CollectItem(form->itemAt(row, role), controls);
        return;
    }
    for (int index = 0; index < layout->count(); ++index)
        CollectItem(layout->itemAt(index), controls);
}

}  // namespace

void OrderTabsAsLaidOut(QWidget* window) {
    if (!window || !window->layout()) return;
    QList<QWidget*> controls;
    CollectLayout(window->layout(), controls);
    for (qsizetype i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls[i - 1], controls[i]);
}
