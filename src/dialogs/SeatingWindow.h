#pragma once
// Who deals and who is vulnerable on the boards a run deals: each follows the
// rotation from the board's number, or is one seat or one vulnerability for
// every board.
#include <QDialog>
#include <optional>

#include "deals/Board.h"

class QComboBox;
class QPushButton;

class TSeatingWindow : public QDialog {
    Q_OBJECT
public:
    explicit TSeatingWindow(QWidget* owner = nullptr);

    // Shows `current` and runs the dialog modally: the choice made when the
    // user pressed OK, nothing after Cancel, Esc or the close box.
    std::optional<TSeatingChoice> Execute(const TSeatingChoice& current);

    QComboBox* cmbDealer = nullptr;         // the rotation, then North .. West
    QComboBox* cmbVulnerability = nullptr;  // the rotation, then None, NS, EW, All
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};
