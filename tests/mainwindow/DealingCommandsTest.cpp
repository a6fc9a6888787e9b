// The dealer and vulnerability kept in korvana.ini; runs dealt again from a key or a secret.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

#include "dialogs/RepeatRunWindow.h"
#include "support/DialogDriver.h"
#include "support/WindowFixture.h"

class TDealingCommandsTest : public QObject {
    Q_OBJECT

    TWindowFixture fixture_;
    std::unique_ptr<TMainWindow>& window_ = fixture_.window;
    TMainWindowControls& Ui() { return window_->Controls(); }

    QAction* Item(const QString& caption) {
        for (QAction* item : Ui().DealsMenu->actions())
            if (item->text().remove(u'&') == caption) return item;
        return nullptr;
    }
    bool RunEnds() {
        return QTest::qWaitFor([this] { return window_->State() == TMainWindow::TState::Idle; });
    }
    // Types `text` into the repeat dialog of `caption` and presses OK; the
    // message of a refused text, and the field's text as the dialog opened.
    QString Repeat(const QString& caption, const QString& text, QString* shown = nullptr) {
        QString refused;
        WhenDialogOpens([&refused, text, shown](QDialog& dialog) {
            auto* field = dialog.findChild<QLineEdit*>("edValue");
            if (shown) *shown = field->text();
            field->setText(text);
            ClickOk(dialog);
            if (!dialog.isVisible()) return;
            refused = dialog.findChild<QLabel*>("lError")->text();
            dialog.reject();
        });
        Item(caption)->trigger();
        return RunEnds() ? refused : QStringLiteral("the run did not end");
    }

private slots:
    void init() { QVERIFY(fixture_.OpenShown()); }
    void cleanup() { fixture_.Renew(); }

    void KeysOfRuns() {
        QCOMPARE(ReadRunKey(" -2147483648 ").value_or(0), 2147483648u);
        QCOMPARE(ReadRunKey("4294967295").value_or(0), 4294967295u);
        for (const char* refused : {"4294967296", "-2147483649", "", "7x", "1.5"})
            QVERIFY2(!ReadRunKey(refused), refused);
    }

    // The key shown after a run deals it again with the run's condition and
    // count; runs after it go on from there, and the key field still repeats.
    void RepeatedRunDealsTheSameBoards() {
        const QString repeat = QStringLiteral("Повторить прогон...");
        Ui().seKeyValue->SetValue(2026);
        Ui().RichEdit->setPlainText(QStringLiteral("HCP(N) >= 12"));
        QVERIFY(DealAndWait(*window_, 3));
        QVERIFY(fixture_.services->notes.last().startsWith("Прогон повторяется с ключа 2026:"));
        QCOMPARE(Ui().lDealtTotal->toolTip(), fixture_.services->notes.last());
        const QStringList first = DealLines(window_->Deals());
        QVERIFY(DealAndWait(*window_, 3));
        const QStringList second = DealLines(window_->Deals(), 3);
        const QString secondKey = fixture_.services->notes.last().section(' ', 4, 4).chopped(1);
        window_->itmClearClick();
        Ui().seTotal->SetValue(1);  // the last run's count stands
        QVERIFY(Repeat(repeat, "4294967296").startsWith("Ключ прогона — целое число от"));
        QString shown;
        QCOMPARE(Repeat(repeat, QStringLiteral(" 2026 "), &shown), QString());
        QCOMPARE(shown, secondKey);
        QCOMPARE(DealLines(window_->Deals()), first);
        QVERIFY(DealAndWait(*window_, 3));
        QCOMPARE(DealLines(window_->Deals(), 3), second);
        QCOMPARE(Repeat(repeat, "0"), QString());  // exactly 0, not the clock
        QVERIFY(fixture_.services->notes.last().contains("с ключа 0:"));
        Ui().seKeyValue->SetValue(0);
        Ui().seKeyValue->SetValue(2026);
        QVERIFY(DealAndWait(*window_, 3));
        QCOMPARE(DealLines(window_->Deals(), 9), first);
    }

    // A secure set dealt again from its secret, the key field aside.
    void SecureSetDealtAgainFromItsSecret() {
        Ui().itmSecure->setChecked(true);
        QVERIFY(DealAndWait(*window_, 4));
        QVERIFY(fixture_.services->notes.last().startsWith("Надёжный прогон повторяется"));
        const QStringList dealt = DealLines(window_->Deals());
        Ui().itmShowSecret->trigger();
        const QString secret = QGuiApplication::clipboard()->text();
        // A new session, with no run to repeat: the window's condition and count are dealt.
        QVERIFY(fixture_.OpenShown());
        window_->itmClearClick();
        Ui().itmSecure->setChecked(false);
        Ui().seTotal->SetValue(4);
        const QString repeat = QStringLiteral("Повторить по секрету...");
        QVERIFY(Repeat(repeat, secret.left(60)).endsWith("а здесь их 60."));
        QVERIFY(Repeat(repeat, secret.left(63) + u'g').contains("«g» — не такая цифра"));
        QCOMPARE(Repeat(repeat, secret.left(32) + "\n " + secret.mid(32).toUpper()), QString());
        QCOMPARE(DealLines(window_->Deals()), dealt);
    }

    // A delayed text deals another set from the secret, and the collection
    // verifies against the secret, the text and the commitment shown.
    void DelayedSetVerifiedBySecretAndCommitment() {
        Ui().itmSecure->setChecked(true);
        QVERIFY(DealAndWait(*window_, 4));
        const QStringList plain = DealLines(window_->Deals());
        Ui().itmShowSecret->trigger();
        const QString secret = QGuiApplication::clipboard()->text();
        const QString commitment = QString::fromStdString(
            SecretText(SecretCommitment(ReadSecret(secret.toStdString()).value_or(TSecret{}))));
        QVERIFY(fixture_.services->messages.last().endsWith(commitment));
        window_->itmClearClick();
        const auto answer = [&](const QString& caption, const QString& delayed,
                                const QString& published) {
            WhenDialogOpens([=](QDialog& dialog) {
                dialog.findChild<QLineEdit*>("edValue")->setText(secret);
                dialog.findChild<QLineEdit*>("edDelayed")->setText(delayed);
                if (auto* field = dialog.findChild<QLineEdit*>("edCommitment"))
                    field->setText(published);
                ClickOk(dialog);
            });
            Item(caption)->trigger();
            return RunEnds();
        };
        QVERIFY(answer(QStringLiteral("Повторить по секрету..."), QStringLiteral("Лото 7"), {}));
        QVERIFY(DealLines(window_->Deals()) != plain);
        const QString cases[][3] = {{"Лото 7", commitment, "верно: 4 сдачи"},
                                    {"", "", "Сдача 1 не совпадает"},
                                    {"Лото 7", QString(64, u'f'), "Commitment не от этого"}};
        for (const auto& [delayed, published, said] : cases) {
            QVERIFY(answer(QStringLiteral("Проверить по секрету..."), delayed, published));
            QVERIFY2(fixture_.services->messages.last().startsWith(said),
                     qPrintable(fixture_.services->messages.last()));
        }
    }

    // The choice is the window's and korvana.ini's.
    void SeatingIsKeptInTheSettingsFile() {
        const auto choose = [this](const QString& dealer, const QString& vulnerability) {
            WhenDialogOpens([dealer, vulnerability](QDialog& dialog) {
                ChooseItem(dialog, "cmbDealer", dealer);
                ChooseItem(dialog, "cmbVulnerability", vulnerability);
                ClickOk(dialog);
            });
            Item(QStringLiteral("Сдающий и зона..."))->trigger();
        };
        choose(QStringLiteral("Юг"), QStringLiteral("обе"));
        QCOMPARE(window_->Seating(), (TSeatingChoice{3, "All"}));
        window_.reset();
        QVERIFY(ReadAll(fixture_.File("korvana.ini")).contains("Dealer=S\nVulnerability=All\n"));
        window_ = fixture_.Open();
        QCOMPARE(window_->Seating(), (TSeatingChoice{3, "All"}));
        choose(QStringLiteral("по порядку сдач"), QStringLiteral("СЮ"));
        window_.reset();
        QVERIFY(ReadAll(fixture_.File("korvana.ini")).contains("[Deal]\nVulnerability=NS\n"));
    }
};

QTEST_MAIN(TDealingCommandsTest)
#include "DealingCommandsTest.moc"
