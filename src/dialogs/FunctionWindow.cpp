#include "dialogs/FunctionWindow.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "widgets/DialogButtons.h"
#include "widgets/NumberField.h"
#include "widgets/TabOrder.h"

TFunctionWindow::TFunctionWindow(QWidget* owner, const QString& description)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint) {
    lDescription = new QLabel(description, this);
    lDescription->setObjectName("lDescription");
    QFont descriptionFont = lDescription->font();
    descriptionFont.setBold(true);
    descriptionFont.setItalic(true);
    descriptionFont.setPointSizeF(descriptionFont.pointSizeF() + 2);
    lDescription->setFont(descriptionFont);

    rows_ = new QFormLayout;
    rows_->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    cmbSeat = NewList("cmbSeat", {"North", "East", "South", "West"});
    lSeat = AddRow("lSeat", "Позиция", cmbSeat);

    // Enter anywhere but on Cancel confirms; Esc cancels (QDialog's own).
    QHBoxLayout* buttons = NewOkCancelRow(this, btnOk, btnCancel);
    connect(btnOk, &QPushButton::clicked, this, &TFunctionWindow::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TFunctionWindow::btnCancelClick);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lDescription);
    layout->addLayout(rows_);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString TFunctionWindow::Execute(const QString& name) {
    if (QWidget* owner = parentWidget()) move(owner->window()->pos() + QPoint(100, 30));
    setWindowTitle(name);
    result_.clear();
    cmbSeat->setCurrentIndex(0);
    // Every dialog has added its rows by now: Tab goes down the rows, then to
    // OK and Cancel.
    OrderTabsAsLaidOut(this);
    cmbSeat->setFocus();
    exec();
    return result_;
}

QString TFunctionWindow::Seat() const { return cmbSeat->currentText(); }

QStringList TFunctionWindow::SuitWords() { return {"Clubs", "Diamonds", "Hearts", "Spades"}; }

QLabel* TFunctionWindow::AddNote(const char* name, const QString& text) {
    auto* note = new QLabel(text, this);
    note->setObjectName(name);
    rows_->insertRow(0, note);
    return note;
}

QLabel* TFunctionWindow::AddRow(const char* labelName, const QString& labelText, QWidget* control,
                                int row) {
    auto* label = new QLabel(labelText, this);
    label->setObjectName(labelName);
    label->setBuddy(control);
    rows_->insertRow(row, label, control);
    return label;
}

QComboBox* TFunctionWindow::NewList(const char* name, const QStringList& items) {
    auto* list = new QComboBox(this);
    list->setObjectName(name);
    list->setEditable(false);
    list->addItems(items);
    return list;
}

TNumberField* TFunctionWindow::NewNumberField(const char* name, int lowest, int highest,
                                              int maxChars, int value) {
    auto* field = new TNumberField(this);
    field->setObjectName(name);
    field->SetRange(lowest, highest);
    field->SetMaxLength(maxChars);
    field->SetValue(value);
    // Room for the widest text plus a sign, and the arrows.
    const int textWidth = field->fontMetrics().horizontalAdvance(QString(maxChars + 1, u'0'));
    field->setFixedWidth(textWidth + field->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16);
    return field;
}

int TFunctionWindow::ValueOf(TNumberField* field) {
    field->SetValue(field->Value());
    return field->Value();
}

void TFunctionWindow::btnOkClick() {
    // The button takes the focus, so a field being edited clamps its value first.
    btnOk->setFocus();
    result_ = CallText();
    accept();
}

void TFunctionWindow::btnCancelClick() { reject(); }
