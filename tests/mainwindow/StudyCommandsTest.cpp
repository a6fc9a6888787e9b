// The analysis menu's simulations: the dialogs refuse bad input with the
// language's message and caret, a run opens the report korvana-cli prints for
// the same deals and inputs, the inputs are kept, STOP starts no solver call.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QtTest>
#include <fstream>

#include "analysis/LeadSolver.h"
#include "cli/CliRunner.h"
#include "deals/FixedCards.h"
#include "deals/PbnFile.h"
#include "dialogs/StudyWindows.h"
#include "simulation/Tabulation.h"
#include "support/DialogDriver.h"
#include "support/WindowFixture.h"

namespace {

// Deals in which West always holds the same thirteen cards.
std::vector<TDeal> DealsWithWest(int count, uint32_t seed) {
    const TFixedCards fixed = ReadFixedCards("W:KQJ52.84.Q73.K95").Cards;
    std::vector<TDeal> deals(static_cast<std::size_t>(count));
    for (TDeal& deal : deals) deal.DealFromSeed(seed, fixed);
    return deals;
}

// The condition language's own message and position for an expression alone.
TStatus LanguageError(const std::string& expression) {
    TTabulation tabulation;
    return tabulation.Prepare({expression}, false);
}

// Clicks OK and checks that the dialog refused: nothing prepared, a message shown.
void ExpectRefused(TStudyWindow& dialog, const QString& part) {
    dialog.btnOk->click();
    QVERIFY(dialog.result() != QDialog::Accepted);
    QVERIFY(dialog.TakeStudy() == nullptr);
    QVERIFY2(dialog.lError->text().contains(part, Qt::CaseInsensitive),
             qPrintable(dialog.lError->text()));
}

}  // namespace

class StudyCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void variantsRefuseBadInput() {
        // A rule's condition: the language's message, the caret at its position
        // in the whole text (Cyrillic before it counts one character a letter).
        const QString condition = QStringLiteral("(HCP(N) >= 8) AND (SuitLength(N,H) >= 4");
        const QString text = QStringLiteral("Игра:\n3NT S\nСтейман:\n") + condition +
                             QStringLiteral(" => 4H N\n3NT S\n");
        const TStatus language = LanguageError(condition.toStdString());
        TVariantsWindow dialog;
        dialog.SetInputs(text, TVulnerability::Both);
        ExpectRefused(dialog, QString::fromStdString(language.Message()));
        QVERIFY(dialog.lError->text().startsWith(QStringLiteral("Вариант «Стейман», правило 1")));
        QCOMPARE(dialog.edVariants->textCursor().position(),
                 text.indexOf(condition) + language.Position());

        struct TCase {
            QString Text;
            QString Message;
            int Line;  // the caret's line from 0, or -1 when it does not move
        };
        const TCase cases[] = {
            {QStringLiteral("Игра:\n3NT S\nДругой:\n4Q N\n"), QStringLiteral("«4Q» — не контракт"),
             3},
            {QStringLiteral("Игра:\n3NT S\n"), QStringLiteral("хотя бы два варианта"), -1},
        };
        for (const TCase& c : cases) {
            dialog.SetInputs(c.Text, TVulnerability::None);
            ExpectRefused(dialog, c.Message);
            if (c.Line >= 0) QCOMPARE(dialog.edVariants->textCursor().blockNumber(), c.Line);
        }
    }

    void leadAndTabulationRefuseBadInput() {
        std::vector<TDeal> deals = DealsWithWest(2, 7);
        deals.push_back(DealsOfKey(3, 1)[0]);  // a third deal with another West
        TLeadWindow lead({&deals[0], &deals[1], &deals[2]});
        const std::pair<QString, QString> leadCases[] = {
            {QStringLiteral("3NT"), QStringLiteral("не указан разыгрывающий")},
            {QStringLiteral("PASS"), QStringLiteral("при пасе")},
            {QStringLiteral("3NT S"), QStringLiteral("в раздаче 3 у Запада")},
        };
        for (const auto& [contract, message] : leadCases) {
            lead.SetInputs(contract, TVulnerability::None);
            ExpectRefused(lead, message);
        }

        TTabulationWindow tabulation;
        const QString faulty = QStringLiteral("HCP(N) + Losers(S");
        const TStatus language = LanguageError(faulty.toStdString());
        tabulation.SetInputs({QStringLiteral("HCP(N)"), {}, faulty}, false);
        ExpectRefused(tabulation,
                      QStringLiteral("Выражение 3: ") + QString::fromStdString(language.Message()));
        QCOMPARE(tabulation.edExpressions[2]->cursorPosition(), language.Position());
        tabulation.SetInputs({QStringLiteral("HCP(N)"), QStringLiteral("HCP(S) > 10")}, true);
        ExpectRefused(tabulation, QStringLiteral("оба должны быть целыми"));
        tabulation.SetInputs({}, false);
        ExpectRefused(tabulation, QStringLiteral("хотя бы одно выражение"));
    }

    // Each command over the same deals gives the CLI's report, and the inputs
    // come back in the next window.
    void reportsEqualTheCli() {
        TWindowFixture fixture;
        const std::vector<TDeal> deals = DealsWithWest(3, 11);
        const std::string file = fixture.File("deals.pbn").toStdString();
        std::ofstream out(file);
        for (std::size_t i = 0; i < deals.size(); ++i)
            out << "[Board \"" << i + 1 << "\"]\n[Deal \"" << PbnDealValue(deals[i], 1)
                << "\"]\n\n";
        out.close();
        const QString variants =
            QStringLiteral("Игра:\n3NT S\nЧастичка:\n(HCP(N) + HCP(S)) >= 25 => 4S N\n2S N");
        std::ofstream(fixture.File("variants.txt").toStdString()) << variants.toStdString();
        struct TCase {
            QAction* TMainWindowControls::*Item;
            std::function<void(QDialog&)> Fill;
            std::vector<std::string> Cli;
        };
        const TCase cases[] = {
            {&TMainWindowControls::itmCompareVariants,
             [&](QDialog& d) {
                 static_cast<TVariantsWindow&>(d).SetInputs(variants, TVulnerability::Both);
             },
             {"simulate", "--variants", fixture.File("variants.txt").toStdString(), "--vul",
              "both"}},
            {&TMainWindowControls::itmLeads,
             [](QDialog& d) {
                 static_cast<TLeadWindow&>(d).SetInputs("3NT S", TVulnerability::None);
             },
             {"leads", "--contract", "3NT S"}},
            {&TMainWindowControls::itmTabulate,
             [](QDialog& d) {
                 static_cast<TTabulationWindow&>(d).SetInputs(
                     {"HCP(N) + HCP(S)", "Losers(S)", {}, "HCP(E) > 10"}, true);
             },
             {"tabulate", "--expression", "HCP(N) + HCP(S)", "--expression", "Losers(S)",
              "--expression", "HCP(E) > 10", "--cross"}},
        };
        for (int open = 0; open < 2; ++open) {  // the second window shows the inputs kept
            auto window = fixture.Open();
            if (open == 0)  // the setup file gives the second window the same deals
                for (const TDeal& deal : deals) window->Deals().Add(deal);
            for (const TCase& c : cases) {
                TReportReader reader;
                WhenDialogOpens([&](QDialog& dialog) {
                    if (open == 0) c.Fill(dialog);
                    ClickOk(dialog);
                });
                (window->Controls().*c.Item)->trigger();
                QTRY_VERIFY_WITH_TIMEOUT(reader.Report.Shown, 60000);
                std::vector<std::string> args = c.Cli;
                args.insert(args.end(), {"--from", file});
                const TCliRun cli = RunCli(fixture.Folder().toStdString(), args);
                QCOMPARE(cli.ExitCode, 0);
                QCOMPARE(reader.Report.Lines, AsQt(cli.OutLines()));
                QCOMPARE(window->Controls().lDealtTotal->text(), QStringLiteral("3/3"));
            }
        }
    }

    void stopStartsNoNewSolverCall() {
        TWindowFixture fixture;
        auto window = fixture.Open();
        TMainWindowControls& ui = window->Controls();
        constexpr int Deals = 30;
        for (const TDeal& deal : DealsWithWest(Deals, 5)) window->Deals().Add(deal);
        TReportReader reader;
        const int64_t before = LeadSolveCount();
        WhenDialogOpens([](QDialog& dialog) {
            dialog.findChild<QLineEdit*>("edContract")->setText(QStringLiteral("4H S"));
            ClickOk(dialog);
        });
        ui.itmLeads->trigger();
        QCOMPARE(window->State(), TMainWindow::TState::Analysing);
        QVERIFY(!ui.itmLeads->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(LeadSolveCount() > before, 30000);
        ui.btnStop->click();
        const int64_t atStop = LeadSolveCount();
        QTRY_VERIFY_WITH_TIMEOUT(reader.Report.Shown, 60000);
        // Only calls already past their check of the stop may have been made.
        QVERIFY(LeadSolveCount() - atStop <= 2);
        QVERIFY(LeadSolveCount() - before < Deals);
        const QString counted = ui.lDealtTotal->text().section(u'/', 0, 0);
        QVERIFY(reader.Report.Lines.join(u'\n').contains(QStringLiteral("раздач ") + counted));
        QCOMPARE(window->State(), TMainWindow::TState::Idle);
        QVERIFY(ui.itmLeads->isEnabled());
    }
};

QTEST_MAIN(StudyCommandsTest)
#include "StudyCommandsTest.moc"
