#include "mainwindow/CommandTable.h"

#include <QString>

#include "files/SettingsKeys.h"
#include "mainwindow/CommandJobs.h"

namespace {

using enum TCommandPlace;

const TCommandRow Rows[] = {
    {"itmHandout", "Раздаточный материал...", Qt::CTRL | Qt::Key_H, DealsReports, std::nullopt,
     SettingsKeys::Handout::Section, nullptr, HandoutCommand},
    {"itmFixedCards", "Закрепить карты...", Qt::CTRL | Qt::Key_K, DealsRun,
     TToolbarImage::FixedCards, SettingsKeys::Deal::Section, nullptr, FixedCardsCommand},
    {"itmSeating", "Сдающий и зона...", QKeyCombination(), DealsRun, std::nullopt,
     SettingsKeys::Deal::Section, nullptr, SeatingCommand, false,
     "Сдающий и зона в раздачах генератора: по порядку сдач или одни для всех раздач"},
    {"itmRepeatRun", "Повторить прогон...", Qt::CTRL | Qt::Key_R, DealsRun, std::nullopt, "",
     nullptr, RepeatRunCommand, false,
     "Повторить прогон: условие и число раздач последнего прогона с его ключа или с другого"},
    {"itmSecure", "Надёжная раздача", Qt::CTRL | Qt::SHIFT | Qt::Key_G, DealsSecure, std::nullopt,
     SettingsKeys::Deal::Section, nullptr, SecureDealingCommand, true,
     "Руки нельзя вычислить по одной; поле «Ключевое число» не используется"},
    {"itmShowSecret", "Секрет последней раздачи...", Qt::CTRL | Qt::SHIFT | Qt::Key_C, DealsSecure,
     std::nullopt, "", nullptr, ShowSecretCommand},
    {"itmRepeatSecret", "Повторить по секрету...", Qt::CTRL | Qt::SHIFT | Qt::Key_R, DealsSecure,
     std::nullopt, "", nullptr, RepeatSecureRunCommand, false,
     "Повторить по секрету надёжную раздачу: условие и число раздач последнего прогона"},
    {"itmVerifySecret", "Проверить по секрету...", QKeyCombination(), DealsSecure, std::nullopt, "",
     nullptr, VerifySecretCommand, false,
     "Проверить коллекцию по секрету: сдать набор заново с условием и закреплёнными картами "
     "окна и сравнить сдачи"},
    {"itmAnalyze", "Анализ в открытую", Qt::CTRL | Qt::Key_D, Analysis, TToolbarImage::DoubleDummy,
     "", nullptr, AnalyseCommand},
    {"itmCompareVariants", "Сравнение вариантов...", QKeyCombination(Qt::Key_F5), Studies,
     std::nullopt, SettingsKeys::Simulation::Section, AskVariants, RunStudyCommand},
    {"itmLeads", "Первый ход...", QKeyCombination(Qt::Key_F6), Studies, std::nullopt,
     SettingsKeys::Simulation::Section, AskLead, RunStudyCommand},
    {"itmTabulate", "Распределение...", QKeyCombination(Qt::Key_F7), Studies, std::nullopt,
     SettingsKeys::Simulation::Section, AskTabulation, RunStudyCommand},
    {"itmHelp", "Справка", QKeyCombination(Qt::Key_F1), MenuBar, std::nullopt, "", nullptr,
     HelpCommand},
};

}  // namespace

std::span<const TCommandRow> CommandTable() { return Rows; }

QString CommandTitle(const TCommandRow& row) {
    QString title = QString::fromUtf8(row.Caption);
    if (title.endsWith(QStringLiteral("..."))) title.chop(3);
    return title;
}
