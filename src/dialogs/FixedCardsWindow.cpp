#include "dialogs/FixedCardsWindow.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "deals/BridgeTerms.h"
#include "widgets/DialogButtons.h"
#include "widgets/ScreenFit.h"

TFixedCardsWindow::TFixedCardsWindow(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Закреплённые карты"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    auto* description = new QLabel(
        QStringLiteral("Эти карты игроки получат в каждой раздаче, остальные сдаются случайно.\n"
                       "Рука — пики.червы.бубны.трефы, например AKQJ.K.. (10 — T или 10)."),
        this);
    description->setObjectName(QStringLiteral("lDescription"));
    layout->addWidget(description);

    auto* rows = new QFormLayout;
    const QString seatNames[4] = {QStringLiteral("Север"), QStringLiteral("Восток"),
                                  QStringLiteral("Юг"), QStringLiteral("Запад")};
    const char* const fieldNames[4] = {"edNorth", "edEast", "edSouth", "edWest"};
    for (int seat = 0; seat < 4; ++seat) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QLatin1String(fieldNames[seat]));
        rows->addRow(seatNames[seat] + QStringLiteral(" (") + QChar(SeatLetters[seat]) + u')',
                     field);
        edSeats[static_cast<std::size_t>(seat)] = field;
    }
    edPbn = new QLineEdit(this);
    edPbn->setObjectName(QStringLiteral("edPbn"));
    edPbn->setPlaceholderText(QStringLiteral("N:AKQJ.K.. - ..A2. -"));
    rows->addRow(QStringLiteral("Или строкой PBN"), edPbn);
    layout->addLayout(rows);

    lError = new TErrorLabel(this);
    layout->addWidget(lError);

    btnClear = new QPushButton(QStringLiteral("Очистить"), this);
    btnClear->setObjectName(QStringLiteral("btnClear"));
    btnClear->setToolTip(QStringLiteral("Стереть карты во всех полях"));
    btnClear->setAutoDefault(false);
    QHBoxLayout* buttons = NewOkCancelRow(this, btnOk, btnCancel);
    btnCancel->setAutoDefault(false);
    buttons->insertWidget(0, btnClear);
    layout->addLayout(buttons);

    connect(btnOk, &QPushButton::clicked, this, &TFixedCardsWindow::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnClear, &QPushButton::clicked, this, &TFixedCardsWindow::btnClearClick);
    setMinimumWidth(460);
}

std::optional<TFixedCards> TFixedCardsWindow::Execute(const TFixedCards& current) {
    for (int seat = 1; seat <= 4; ++seat)
        edSeats[static_cast<std::size_t>(seat - 1)]->setText(
            QString::fromStdString(current.HandText(seat)));
    edPbn->clear();
    lError->hide();
    edSeats[0]->setFocus();
    // Beside its owner, as the function dialogs open, so that the deal stays in view.
    if (QWidget* owner = parentWidget()) move(owner->pos() + QPoint(100, 30));
    FitIntoScreen(this);
    if (exec() != QDialog::Accepted) return std::nullopt;
    return result_;
}

QString TFixedCardsWindow::FieldsText() const {
    QString text = edPbn->text().trimmed();
    for (int seat = 0; seat < 4; ++seat) {
        const QString hand = edSeats[static_cast<std::size_t>(seat)]->text().trimmed();
        if (hand.isEmpty()) continue;
        if (!text.isEmpty()) text += u' ';
        text += QChar(SeatLetters[seat]) + QStringLiteral(":") + hand;
    }
    return text;
}

void TFixedCardsWindow::btnOkClick() {
    const TFixedCardsReading reading = ReadFixedCards(FieldsText().toStdString());
    if (!reading.Error.empty()) {
        lError->ShowMessage(QString::fromStdString(reading.Error));
        return;
    }
    result_ = reading.Cards;
    accept();
}

void TFixedCardsWindow::btnClearClick() {
    for (QLineEdit* field : edSeats) field->clear();
    edPbn->clear();
    lError->hide();
}
