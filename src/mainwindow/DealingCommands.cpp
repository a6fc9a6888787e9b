// Who deals and who is vulnerable on the boards runs deal, and dealing the
// last run again from the key it started from or from a secure run's secret.
#include <QString>

#include "deals/Board.h"
#include "deals/BridgeTerms.h"
#include "dialogs/RepeatRunWindow.h"
#include "dialogs/SeatingWindow.h"
#include "files/SettingsFile.h"
#include "files/SettingsKeys.h"
#include "mainwindow/CommandHost.h"
#include "mainwindow/CommandJobs.h"
#include "mainwindow/CommandTable.h"
#include "mainwindow/PlatformServices.h"

namespace Keys = SettingsKeys::Deal;

TSeatingChoice ReadSeating(const TSettings& settings) {
    TSeatingChoice seating;
    const std::string dealer = settings.Value(Keys::Section, Keys::Dealer).value_or("");
    if (dealer.size() == 1 && SeatOfLetter(dealer[0]) != 0)
        seating.Dealer = SeatOfLetter(dealer[0]);
    const std::string vulnerability =
        settings.Value(Keys::Section, Keys::Vulnerability).value_or("");
    for (const char* known : {"None", "NS", "EW", "All"})
        if (vulnerability == known) seating.Vulnerability = vulnerability;
    return seating;
}

void KeepSeating(TSettings& settings, const TSeatingChoice& seating) {
    if (seating.Dealer)
        settings.SetValue(Keys::Section, Keys::Dealer, SeatChar(*seating.Dealer));
    else
        settings.Remove(Keys::Section, Keys::Dealer);
    if (seating.Vulnerability)
        settings.SetValue(Keys::Section, Keys::Vulnerability, *seating.Vulnerability);
    else
        settings.Remove(Keys::Section, Keys::Vulnerability);
}

void SeatingCommand(TCommandHost& host, const TCommandRow&, bool) {
    if (!host.Idle()) return;
    TSeatingWindow dialog(host.Parent());
    if (const std::optional<TSeatingChoice> choice = dialog.Execute(host.Seating())) {
        KeepSeating(host.Settings(), *choice);
        host.SetSeating(*choice);
    }
}

namespace {

// What a repeat deals: the last run's condition, count and fixed cards, or
// the window's own before the first run (a key or secret kept from before).
std::optional<QString> WhatIsRepeated(TCommandHost& host) {
    if (!host.Idle()) return std::nullopt;
    if (host.LastRunTotal() == 0)
        return QStringLiteral(
            "Прогона в этом сеансе ещё не было: сдаются условие, число раздач и "
            "закреплённые карты из окна.");
    return QStringLiteral(
               "Условие, число раздач (%1) и закреплённые карты — как в последнем "
               "прогоне.")
        .arg(host.LastRunTotal());
}

}  // namespace

void RepeatRunCommand(TCommandHost& host, const TCommandRow& row, bool) {
    const std::optional<QString> what = WhatIsRepeated(host);
    if (!what) return;
    const std::optional<uint32_t> seed =
        AskRunKey(host.Parent(), CommandTitle(row),
                  *what + QStringLiteral("\nКлюч прогона — число, с которого он начался: его "
                                         "называют строка состояния\nпосле прогона и подсказка "
                                         "у «Всего сдано», а в файле PBN — тег Generator."),
                  host.LastRunKey());
    if (seed) host.RepeatRun(*seed);
}

void RepeatSecureRunCommand(TCommandHost& host, const TCommandRow& row, bool) {
    const std::optional<QString> what = WhatIsRepeated(host);
    if (!what) return;
    const std::optional<TSecret> secret =
        AskRunSecret(host.Parent(), CommandTitle(row),
                     *what + QStringLiteral("\nСекрет — 64 шестнадцатеричные цифры, как их "
                                            "показывает «Секрет последней раздачи...»."));
    if (secret) host.RepeatSecureRun(*secret);
}
