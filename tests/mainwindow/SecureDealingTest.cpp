// The deals menu's "Надёжная раздача": runs that deal from a new secret and
// read neither the key field nor the clock, the secret shown and copied, files
// that name no key, and the setting kept in korvana.ini.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>

#include "deals/SecureSource.h"
#include "support/WindowFixture.h"
#include "widgets/NumberField.h"

namespace {
constexpr int RunTimeout = 20000;
}  // namespace

class TSecureDealingTest : public QObject {
    Q_OBJECT

    TWindowFixture fixture_;
    std::unique_ptr<TMainWindow>& window_ = fixture_.window;

    QStringList Generate(int count) {
        const int before = window_->Deals().Count();
        window_->seTotal->SetValue(count);
        window_->itmGenerateClick();
        [&] {
            QTRY_VERIFY_WITH_TIMEOUT(window_->State() == TMainWindow::TState::Idle, RunTimeout);
        }();
        return DealLines(window_->Deals(), before);
    }

private slots:
    void init() { QVERIFY(fixture_.OpenShown()); }
    void cleanup() { fixture_.Renew(); }

    // The key field's seed stays as it was, each run has a secret of its own,
    // and the deals shown are exactly those of the secret shown.
    void secureRunsDealFromTheSecretAlone() {
        window_->seKeyValue->SetValue(1);
        const uint32_t keySeed = window_->Run().Random().Seed();
        window_->itmSecure->setChecked(true);
        QVERIFY(!window_->seKeyValue->isEnabled());
        QStringList secrets;
        QStringList runs;
        for (int run = 0; run < 2; ++run) {
            const QStringList dealt = Generate(5);
            QCOMPARE(dealt.size(), 5);
            QCOMPARE(window_->Run().Random().Seed(), keySeed);
            QVERIFY(window_->itmShowSecret->isEnabled());
            window_->itmShowSecret->trigger();
            const QString secret = QGuiApplication::clipboard()->text();
            QVERIFY(fixture_.services->messages.last().contains(secret));
            const std::optional<TSecret> read = ReadSecret(secret.toStdString());
            QVERIFY(read.has_value());
            TSecureDealer dealer(*read);
            for (uint64_t index = 0; index < 5; ++index) {
                TCardSets sets;
                dealer.Deal(index, TFixedCards(), sets);
                TDeal deal;
                deal.SetCardSets(sets);
                QCOMPARE(dealt[static_cast<qsizetype>(index)],
                         QString::fromStdString(deal.ToText()));
            }
            secrets << secret;
            runs << dealt.join(u'|');
        }
        QVERIFY(secrets[0] != secrets[1]);
        QVERIFY(runs[0] != runs[1]);
        QVERIFY(runs[0] != DealLines(DealsOfKey(1, 5)).join(u'|'));
    }

    // A PBN file of a secure set says "secure" and names no key; once the
    // collection is cleared a key's run names its key again.
    void filesOfASecureSetNameNoKey() {
        window_->seKeyValue->SetValue(7);
        window_->itmSecure->setChecked(true);
        Generate(2);
        const QString pbn = fixture_.File("set.pbn");
        fixture_.services->answers = {pbn};
        window_->itmSaveDealsClick();
        const QByteArray secure = ReadAll(pbn);
        QCOMPARE(secure.count("[Generator \"Korvana, secure\"]"), 2);
        QVERIFY(!secure.contains("key value"));

        window_->itmClearClick();
        window_->itmSecure->setChecked(false);
        Generate(1);
        fixture_.services->answers = {pbn};
        window_->itmSaveDealsClick();
        QVERIFY(ReadAll(pbn).contains("[Generator \"Korvana, key value 7\"]"));
    }

    // Off at first; kept in korvana.ini.
    void itemIsOffAtFirstAndKeptInTheSettingsFile() {
        QVERIFY(!window_->itmSecure->isChecked() && !window_->itmShowSecret->isEnabled());
        const QString settings = fixture_.File("korvana.ini");
        for (const bool secure : {true, false}) {
            window_->itmSecure->setChecked(secure);
            window_.reset();
            QCOMPARE(ReadAll(settings).contains("Secure=1\n"), secure);
            window_ = fixture_.Open();
            QCOMPARE(window_->itmSecure->isChecked(), secure);
            QCOMPARE(window_->seKeyValue->isEnabled(), !secure);
        }
    }
};

QTEST_MAIN(TSecureDealingTest)
#include "SecureDealingTest.moc"
