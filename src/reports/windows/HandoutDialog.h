#pragma once
// The handout dialog: what goes on the pages (deals a page, the table and par,
// the hands drawn, card letters, paper, title) and the first board's number.
// It only gathers the choice; the caller makes the handout. The choice is kept
// in korvana.ini between sessions.
#include <QDialog>

#include "reports/Handout.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class TSettings;

struct THandoutChoice {
    THandoutOptions Options;
    int32_t FirstBoard = 1;  // the number of the collection's first deal
};

// The choice kept in the settings, the defaults where a key is missing or unreadable.
THandoutChoice ReadHandoutChoice(const TSettings& settings);
void WriteHandoutChoice(TSettings& settings, const THandoutChoice& choice);

class THandoutDialog : public QDialog {
public:
    explicit THandoutDialog(const THandoutChoice& choice, QWidget* parent = nullptr);
    THandoutChoice Choice() const;

    QComboBox* cbPerPage = nullptr;
    QCheckBox* chAnalysis = nullptr;
    QCheckBox* chSeats[4] = {};
    QComboBox* cbCards = nullptr;
    QComboBox* cbPaper = nullptr;
    QLineEdit* edTitle = nullptr;
    QSpinBox* seFirstBoard = nullptr;
};
