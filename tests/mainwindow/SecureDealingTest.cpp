// The deals menu's "Надёжная раздача": runs that deal from a new secret and
// read neither the key field nor the clock, the secret shown and copied, files
// that name no key, and the setting kept in korvana.ini.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

#include "deals/SecureSource.h"
#include "support/WindowFixture.h"
#include "widgets/NumberField.h"

class TSecureDealingTest : public QObject {
    Q_OBJECT

    TWindowFixture fixture_;
    std::unique_ptr<TMainWindow>& window_ = fixture_.window;
    TMainWindowControls& Ui() { return window_->Controls(); }

private slots:
    void init() { QVERIFY(fixture_.OpenShown()); }
    void cleanup() { fixture_.Renew(); }

    // The key field's seed stays as it was, and the deals are exactly those
    // of the secret shown and copied.
    void secureRunsDealFromTheSecretAlone() {
        Ui().seKeyValue->SetValue(1);
        const uint32_t keySeed = window_->Run().Random().Seed();
        Ui().itmSecure->setChecked(true);
        QVERIFY(!Ui().seKeyValue->isEnabled());
        QVERIFY(DealAndWait(*window_, 5));
        QCOMPARE(window_->Run().Random().Seed(), keySeed);
        Ui().itmShowSecret->trigger();
        const QString secret = QGuiApplication::clipboard()->text();
        QVERIFY(fixture_.services->messages.last().contains(secret));
        const std::optional<TSecret> read = ReadSecret(secret.toStdString());
        QVERIFY(read.has_value());
        TSecureDealer dealer(*read);
        QStringList expected;
        for (uint64_t index = 0; index < 5; ++index) {
            TCardSets sets;
            dealer.Deal(index, TFixedCards(), sets);
            TDeal deal;
            deal.SetCardSets(sets);
            expected << QString::fromStdString(deal.ToText());
        }
        QCOMPARE(DealLines(window_->Deals()), expected);
    }

    // A PBN file of a secure set says "secure" and names no key; once the
    // collection is cleared a key's run names its key again.
    void filesOfASecureSetNameNoKey() {
        Ui().seKeyValue->SetValue(7);
        Ui().itmSecure->setChecked(true);
        QVERIFY(DealAndWait(*window_, 2));
        const QString pbn = fixture_.File("set.pbn");
        fixture_.services->answers = {pbn};
        window_->itmSaveDealsClick();
        const QByteArray secure = ReadAll(pbn);
        QCOMPARE(secure.count("[Generator \"Korvana, secure\"]"), 2);
        QVERIFY(!secure.contains("key value"));

        window_->itmClearClick();
        Ui().itmSecure->setChecked(false);
        QVERIFY(DealAndWait(*window_, 1));
        fixture_.services->answers = {pbn};
        window_->itmSaveDealsClick();
        QVERIFY(ReadAll(pbn).contains("[Generator \"Korvana, key value 7\"]"));
    }

    // Off at first; kept in korvana.ini.
    void itemIsOffAtFirstAndKeptInTheSettingsFile() {
        QVERIFY(!Ui().itmSecure->isChecked() && !Ui().itmShowSecret->isEnabled());
        const QString settings = fixture_.File("korvana.ini");
        for (const bool secure : {true, false}) {
            Ui().itmSecure->setChecked(secure);
            window_.reset();
            QCOMPARE(ReadAll(settings).contains("Secure=1\n"), secure);
            window_ = fixture_.Open();
            QCOMPARE(Ui().itmSecure->isChecked(), secure);
            QCOMPARE(Ui().seKeyValue->isEnabled(), !secure);
        }
    }
};

QTEST_MAIN(TSecureDealingTest)
#include "SecureDealingTest.moc"
