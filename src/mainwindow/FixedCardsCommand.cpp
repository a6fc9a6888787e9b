// The fixed-cards command and the mark that shows fixed cards in the window.
#include <QLabel>

#include "dialogs/FixedCardsWindow.h"
#include "mainwindow/MainWindow.h"

void TMainWindow::itmFixedCardsClick() {
    if (state_ != TState::Idle) return;
    TFixedCardsWindow dialog(this);
    if (const std::optional<TFixedCards> cards = dialog.Execute(fixedCards_)) SetFixedCards(*cards);
}

void TMainWindow::SetFixedCards(const TFixedCards& cards) {
    fixedCards_ = cards;
    if (cards.Empty()) {
        lFixedCards->hide();
        return;
    }
    QStringList seats;
    for (int seat = 1; seat <= 4; ++seat)
        if (cards.Count(seat) > 0)
            seats << QStringLiteral("%1 %2").arg(QChar("NESW"[seat - 1])).arg(cards.Count(seat));
    lFixedCards->setText(QStringLiteral("Закреплены карты: ") + seats.join(QStringLiteral(", ")));
    lFixedCards->setToolTip(QString::fromStdString(cards.ToText()));
    lFixedCards->show();
}
