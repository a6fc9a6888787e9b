// Who deals and who is vulnerable on the boards runs deal, and dealing the
// last run again from the key it started from or from a secure run's secret.
#include <QString>
#include <algorithm>
#include <memory>
#include <vector>

#include "deals/Board.h"
#include "deals/BridgeTerms.h"
#include "deals/DealCollection.h"
#include "deals/RandomSource.h"
#include "dialogs/RepeatRunWindow.h"
#include "dialogs/SeatingWindow.h"
#include "engine/Generator.h"
#include "files/SettingsFile.h"
#include "files/SettingsKeys.h"
#include "language/Grammar.h"
#include "mainwindow/CommandHost.h"
#include "mainwindow/CommandJobs.h"
#include "mainwindow/CommandTable.h"
#include "mainwindow/PlatformServices.h"
#include "text/RussianCount.h"

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
    const std::optional<TSecretAnswer> answer =
        AskRunSecret(host.Parent(), CommandTitle(row),
                     *what + QStringLiteral("\nСекрет — 64 шестнадцатеричные цифры, как их "
                                            "показывает «Секрет последней раздачи...».\n"
                                            "Отложенный текст — тот, с которым сдан набор; "
                                            "без него пусто."));
    if (answer) host.RepeatSecureRun(answer->Secret, answer->Delayed);
}

namespace {

// A run that only deals: nothing to show until it has ended.
class TQuietRun : public TGeneratorOwner {
public:
    void ReportProgress(int32_t, int64_t) override {}
    void ShowDeal(int32_t) override {}
    void GenerationFinished(int32_t, int32_t) override {}
};

// What the check found: "верно: N сдач", or the first board that differs;
// nothing when the window's condition is refused (its message was shown).
std::optional<QString> VerifyBoards(TCommandHost& host, const std::vector<TBoard>& boards,
                                    int64_t first, const TSecretAnswer& answer) {
    if (answer.Commitment && SecretCommitment(answer.Secret) != *answer.Commitment)
        return QStringLiteral("Commitment не от этого секрета: набор сдан другим секретом.");
    const QString differs = answer.Delayed.empty()
                                ? QStringLiteral("Сдача %1 не совпадает с набором этого секрета.")
                                : QStringLiteral(
                                      "Сдача %1 не совпадает с набором этого секрета и "
                                      "отложенного текста.");
    int64_t last = first;
    for (const TBoard& board : boards) {
        if (board.Number < first || board.Number - first >= 9999999)
            return differs.arg(board.Number);
        last = std::max(last, board.Number);
    }
    TGeneratorInputs inputs;
    for (const QString& line : host.ConditionLines())
        inputs.ConditionLines.push_back(line.toStdString());
    const std::unique_ptr<TRuleList> rules = CreateConditionRules();
    inputs.Rules = rules.get();
    TRandomSource random;
    inputs.Source = &random;
    inputs.Secret =
        answer.Delayed.empty() ? answer.Secret : DelayedSecret(answer.Secret, answer.Delayed);
    inputs.RequestedTotal = static_cast<int32_t>(last - first + 1);
    inputs.FixedCards = host.FixedCards();
    TDeals dealt;
    TQuietRun owner;
    TGenerator generator(owner, dealt, inputs);
    if (!generator.PrepareCondition()) return std::nullopt;
    generator.Start();
    generator.Wait();
    for (const TBoard& board : boards) {
        const TDeal* again = dealt.GetDeal(static_cast<int32_t>(board.Number - first));
        if (again == nullptr || board.Deal.CardSets().Hands != again->CardSets().Hands)
            return differs.arg(board.Number);
    }
    const auto count = static_cast<int64_t>(boards.size());
    return QStringLiteral("верно: %1")
        .arg(QString::fromStdString(RussianCount(count, "сдача", "сдачи", "сдач")));
}

}  // namespace

void VerifySecretCommand(TCommandHost& host, const TCommandRow& row, bool) {
    if (!host.Idle()) return;
    const int64_t first = host.FirstBoard();
    const std::vector<TBoard> boards = host.CollectionBoards(first);
    if (boards.empty()) {
        host.Platform().ShowMessage(host.Parent(),
                                    QStringLiteral("В коллекции нет раздач: проверять нечего."));
        return;
    }
    const std::optional<TSecretAnswer> answer = AskRunSecret(
        host.Parent(), CommandTitle(row),
        QStringLiteral("Набор сдаётся заново по секрету (и отложенному тексту) с условием и "
                       "закреплёнными картами окна,\nи карты каждой сдачи коллекции "
                       "сравниваются со сдачей набора под тем же номером.\nCommitment, "
                       "опубликованный заранее, проверяется, если он дан."),
        true);
    if (!answer) return;
    if (const std::optional<QString> found = VerifyBoards(host, boards, first, *answer))
        host.Platform().ShowMessage(host.Parent(), *found);
}
