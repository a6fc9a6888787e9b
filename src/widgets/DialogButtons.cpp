#include "widgets/DialogButtons.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>

QHBoxLayout* NewOkCancelRow(QWidget* dialog, QPushButton*& ok, QPushButton*& cancel) {
    const QStyle* style = dialog->style();
    ok = new QPushButton(style->standardIcon(QStyle::SP_DialogOkButton), "OK", dialog);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    cancel = new QPushButton(style->standardIcon(QStyle::SP_DialogCancelButton), "Отмена", dialog);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}
