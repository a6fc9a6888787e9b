#include "reports/windows/HandoutDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <charconv>

#include "deals/BridgeTerms.h"
#include "files/SettingsFile.h"
#include "files/SettingsKeys.h"

namespace {

namespace Keys = SettingsKeys::Handout;
constexpr std::string_view kSection = Keys::Section;
constexpr int kPerPage[] = {1, 2, 4, 6, 9};

int NumberOr(const TSettings& settings, std::string_view key, int fallback) {
    const std::optional<std::string> text = settings.Value(kSection, key);
    int value = fallback;
    if (text && std::from_chars(text->data(), text->data() + text->size(), value).ec != std::errc())
        return fallback;
    return value;
}

}  // namespace

THandoutChoice ReadHandoutChoice(const TSettings& settings) {
    THandoutChoice choice;
    THandoutOptions& options = choice.Options;
    options.PerPage = HandoutPerPage(NumberOr(settings, Keys::PerPage, 4));
    options.Analysis = NumberOr(settings, Keys::Analysis, 0) != 0;
    const std::string seats =
        settings.Value(kSection, Keys::Seats).value_or(std::string(SeatLetters));
    for (std::size_t seat = 0; seat < 4; ++seat)
        options.Seats[seat] = seats.find(SeatLetters[seat]) != std::string::npos;
    options.Cards = settings.Value(kSection, Keys::Cards).value_or("ru") == "en"
                        ? THandoutCards::English
                        : THandoutCards::Russian;
    options.Paper = settings.Value(kSection, Keys::Paper).value_or("a4") == "letter"
                        ? THandoutPaper::Letter
                        : THandoutPaper::A4;
    options.Title = settings.Value(kSection, Keys::Title).value_or("");
    choice.FirstBoard = std::max(1, NumberOr(settings, Keys::FirstBoard, 1));
    return choice;
}

void WriteHandoutChoice(TSettings& settings, const THandoutChoice& choice) {
    const THandoutOptions& options = choice.Options;
    settings.SetValue(kSection, Keys::PerPage, std::to_string(options.PerPage));
    settings.SetValue(kSection, Keys::Analysis, options.Analysis ? "1" : "0");
    std::string seats;
    for (std::size_t seat = 0; seat < 4; ++seat)
        if (options.Seats[seat]) seats += SeatLetters[seat];
    settings.SetValue(kSection, Keys::Seats, seats);
    settings.SetValue(kSection, Keys::Cards, options.Cards == THandoutCards::English ? "en" : "ru");
    settings.SetValue(kSection, Keys::Paper,
                      options.Paper == THandoutPaper::Letter ? "letter" : "a4");
    settings.SetValue(kSection, Keys::Title, options.Title);
    settings.SetValue(kSection, Keys::FirstBoard, std::to_string(choice.FirstBoard));
}

THandoutDialog::THandoutDialog(const THandoutChoice& choice, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Раздаточный материал"));
    auto* form = new QFormLayout(this);

    edTitle = new QLineEdit(QString::fromStdString(choice.Options.Title), this);
    edTitle->setPlaceholderText(QStringLiteral("например: Занятие 5, контракты на пиках"));
    form->addRow(QStringLiteral("Заголовок:"), edTitle);

    cbPerPage = new QComboBox(this);
    for (const int count : kPerPage) {
        cbPerPage->addItem(QString::number(count), count);
        if (count == choice.Options.PerPage) cbPerPage->setCurrentIndex(cbPerPage->count() - 1);
    }
    form->addRow(QStringLiteral("Сдач на странице:"), cbPerPage);

    auto* seats = new QHBoxLayout;
    const QString seatNames[4] = {QStringLiteral("Север"), QStringLiteral("Восток"),
                                  QStringLiteral("Юг"), QStringLiteral("Запад")};
    for (std::size_t seat = 0; seat < 4; ++seat) {
        chSeats[seat] = new QCheckBox(seatNames[seat], this);
        chSeats[seat]->setChecked(choice.Options.Seats[seat]);
        seats->addWidget(chSeats[seat]);
    }
    form->addRow(QStringLiteral("Показать руки:"), seats);

    chAnalysis = new QCheckBox(QStringLiteral("Таблица взяток в открытую и пар"), this);
    chAnalysis->setChecked(choice.Options.Analysis);
    form->addRow(QString(), chAnalysis);

    cbCards = new QComboBox(this);
    cbCards->addItem(QStringLiteral("Т К Д В 10"));
    cbCards->addItem(QStringLiteral("A K Q J T"));
    cbCards->setCurrentIndex(choice.Options.Cards == THandoutCards::English ? 1 : 0);
    form->addRow(QStringLiteral("Обозначения карт:"), cbCards);

    cbPaper = new QComboBox(this);
    cbPaper->addItem(QStringLiteral("A4"));
    cbPaper->addItem(QStringLiteral("Letter"));
    cbPaper->setCurrentIndex(choice.Options.Paper == THandoutPaper::Letter ? 1 : 0);
    form->addRow(QStringLiteral("Бумага:"), cbPaper);

    seFirstBoard = new QSpinBox(this);
    seFirstBoard->setRange(1, 9999);
    seFirstBoard->setValue(choice.FirstBoard);
    form->addRow(QStringLiteral("Первая сдача:"), seFirstBoard);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

THandoutChoice THandoutDialog::Choice() const {
    THandoutChoice choice;
    THandoutOptions& options = choice.Options;
    options.PerPage = cbPerPage->currentData().toInt();
    options.Analysis = chAnalysis->isChecked();
    for (std::size_t seat = 0; seat < 4; ++seat) options.Seats[seat] = chSeats[seat]->isChecked();
    options.Cards = cbCards->currentIndex() == 1 ? THandoutCards::English : THandoutCards::Russian;
    options.Paper = cbPaper->currentIndex() == 1 ? THandoutPaper::Letter : THandoutPaper::A4;
    options.Title = edTitle->text().toStdString();
    choice.FirstBoard = seFirstBoard->value();
    return choice;
}
