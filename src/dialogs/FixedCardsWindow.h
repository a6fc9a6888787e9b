#pragma once
// The fixed-cards dialog: one field per seat in the usual hand notation
// ("AKQJ.K.." spades first) and one for a whole PBN deal line. OK reads them
// all; a fault keeps the dialog open with its message under the fields.
#include <QDialog>
#include <array>
#include <optional>

#include "deals/FixedCards.h"
#include "widgets/ErrorLabel.h"

class QLineEdit;
class QPushButton;

class TFixedCardsWindow : public QDialog {
    Q_OBJECT
public:
    explicit TFixedCardsWindow(QWidget* owner = nullptr);

    // Shows `current` in the seat fields and runs the dialog modally: the cards
    // read when the user pressed OK, nothing after Cancel, Esc or the close box.
    std::optional<TFixedCards> Execute(const TFixedCards& current);

    // The text the fields make, as ReadFixedCards reads it: the PBN line first,
    // then each filled seat field after its seat letter.
    QString FieldsText() const;

    std::array<QLineEdit*, 4> edSeats{};  // edNorth, edEast, edSouth, edWest
    QLineEdit* edPbn = nullptr;
    TErrorLabel* lError = nullptr;
    QPushButton* btnClear = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    void btnOkClick();
    void btnClearClick();

    TFixedCards result_;
};
