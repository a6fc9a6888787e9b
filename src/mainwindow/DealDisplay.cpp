// The display of one deal, the seat toggles, navigation with Ctrl+Up and
// Ctrl+Down, the double-click on a seat's hand, and the window's key preview.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolButton>

#include "deals/DealCollection.h"
#include "mainwindow/MainWindow.h"
#include "reports/windows/DealInfo.h"
#include "text/StringFunctions.h"
#include "widgets/NumberField.h"

void TMainWindow::ShowDeal(int32_t index) { DisplayDeal(index); }

// A hidden seat's labels are emptied rather than left as they were, so the
// labels never hold a hand of another deal than the one on display.
void TMainWindow::DisplayDeal(int index) {
    if (index == -1) index = seCurrentDeal->Value() - 1;
    TDeal* deal = run_->Deals().GetDeal(index);
    for (int seat = 1; seat <= 4; ++seat) {
        auto& labels = HandLabels[seat - 1];
        if (!deal || !SeatShown(seat)) {
            for (QLabel* label : labels) label->clear();
            continue;
        }
        // SuitTexts gives clubs, diamonds, hearts, spades; the labels run from spades.
        const auto texts = deal->Hand(seat).SuitTexts();
        for (int suit = 0; suit < 4; ++suit)
            labels[suit]->setText(QString::fromStdString(texts[3 - suit]));
    }
}

// The one path for every way of showing or hiding a seat: the toolbar toggle
// and the menu item are set first, then the labels, then the current deal.
void TMainWindow::SetSeatVisible(int seat, bool visible) {
    if (seat < 1 || seat > 4) return;
    tbSeats[seat - 1]->setChecked(visible);
    itmSeats[seat - 1]->setChecked(visible);
    for (QLabel* label : HandLabels[seat - 1]) label->setVisible(visible);
    DisplayDeal(-1);
}

void TMainWindow::seCurrentDealChange() { DisplayDeal(-1); }

void TMainWindow::seKeyValueChange() { run_->Random().SetSeed(seKeyValue->Value()); }

void TMainWindow::SetDealRange(int lowest, int highest) {
    seCurrentDeal->SetRange(lowest, highest);
}

void TMainWindow::ShowDealCount() { lTotal->setText(QString::number(run_->Deals().Count())); }

// Ctrl+Up and Ctrl+Down step through the deals with wrap-around; Shift or Alt
// held as well change nothing. The key is consumed whether or not anything moved.
bool TMainWindow::FormKeyDown(QKeyEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) return false;
    if (event->key() != Qt::Key_Up && event->key() != Qt::Key_Down) return false;
    const int highest = seCurrentDeal->Highest();
    const int value = seCurrentDeal->Value();
    if (highest > 0) {
        if (event->key() == Qt::Key_Up)
            seCurrentDeal->SetValue(value < highest ? value + 1 : 1);
        else
            seCurrentDeal->SetValue(value > 1 ? value - 1 : highest);
    }
    return true;
}

bool TMainWindow::IsMenuShortcut(const QKeyEvent* event) const {
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() &
        (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    const QKeySequence pressed(QKeyCombination(modifiers, Qt::Key(event->key())));
    QList<QAction*> actions = menuBar()->actions();
    for (const QAction* top : menuBar()->actions())
        if (const QMenu* menu = top->menu()) actions += menu->actions();
    for (const QAction* action : actions)
        if (!action->shortcut().isEmpty() && action->shortcut() == pressed) return true;
    return false;
}

int TMainWindow::SeatOfHandLabel(QObject* object) const {
    for (int seat = 1; seat <= 4; ++seat)
        for (const QLabel* label : HandLabels[seat - 1])
            if (label == object) return seat;
    return 0;
}

void TMainWindow::ShowHandInfo(int seat) {
    TDeal* deal = run_->Deals().GetDeal(seCurrentDeal->Value() - 1);
    if (!deal) return;
    const QLabel* spades = HandLabels[seat - 1][0];
    TDealInfo info(this);
    info.ShowDealTable(*deal, int64_t{seCurrentDeal->Value()});
    info.ShowHand(deal->Hand(seat), QString::fromStdString(SeatName(seat)),
                  x() + spades->x() + spades->width(), y() + spades->y());
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Resize:
            if (watched == centralWidget()) LayoutEditor();
            break;
        case QEvent::Show:
            if (watched == this) FitClientArea();
            break;
        case QEvent::KeyRelease:
            // Alt pressed and released alone opens the first menu, where the
            // style does not do so itself.
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt && altAlone_ &&
                watched == QApplication::focusWidget() &&
                static_cast<QWidget*>(watched)->window() == this && !menuBar()->activeAction() &&
                !style()->styleHint(QStyle::SH_MenuBar_AltKeyNavigation, nullptr, this)) {
                altAlone_ = false;
                OpenFirstMenu();
                return true;
            }
            break;
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress: {
            // Key preview: the window's keys never reach the focused control.
            auto* widget = qobject_cast<QWidget*>(watched);
            if (!widget || widget->window() != this) break;
            auto* key = static_cast<QKeyEvent*>(event);
            if (event->type() == QEvent::KeyPress) {
                if (watched == QApplication::focusWidget())
                    altAlone_ = key->key() == Qt::Key_Alt && !key->isAutoRepeat();
                const int seat = SeatOfHandLabel(watched);
                if (seat != 0 && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
                    ShowHandInfo(seat);
                    return true;
                }
            }
            const bool navigation = (key->modifiers() & Qt::ControlModifier) &&
                                    (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down);
            if (!navigation && !IsMenuShortcut(key)) break;
            if (event->type() == QEvent::ShortcutOverride) {
                event->ignore();  // let the window's shortcuts have it
                return true;
            }
            if (navigation) FormKeyDown(key);
            return true;  // a disabled menu shortcut: swallowed
        }
        case QEvent::MouseButtonDblClick:
            if (const int seat = SeatOfHandLabel(watched)) {
                ShowHandInfo(seat);
                return true;
            }
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}
