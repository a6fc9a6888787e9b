// How a session ends without losing anything: a second window over the same
// setup folder leaves the setup file to the first, and the window ended by
// SIGTERM or SIGHUP writes its setup file as on a normal close.
#include <signal.h>

#include <QFile>
#include <QProcess>
#include <QtTest>

#include "support/WindowFixture.h"

class SessionEndTest : public QObject {
    Q_OBJECT
private slots:
    void aSecondWindowLeavesTheSetupFileToTheFirst() {
        TWindowFixture fixture;
        auto first = fixture.Open();
        QVERIFY(fixture.services->messages.isEmpty());
        auto second = fixture.Open();
        QCOMPARE(fixture.services->messages.size(), 1);
        QVERIFY(fixture.services->messages.front().contains(QStringLiteral("уже открыта")));
        for (const TDeal& deal : DealsOfKey(3, 2)) second->Deals().Add(deal);
        second.reset();
        QVERIFY(!QFile::exists(fixture.SetupFile()));
        first.reset();
        QVERIFY(QFile::exists(fixture.SetupFile()));
        auto third = fixture.Open();  // the first window's lock went with it
        QCOMPARE(fixture.services->messages.size(), 1);
    }

    void endSignalsSaveTheSession() {
        for (int signal : {SIGTERM, SIGHUP}) {
            TTempFolder folder;
            // A copy of the program keeps its setup file beside it, in the folder.
            const QString program = folder.QtFile(QStringLiteral("korvana"));
            QVERIFY(QFile::copy(QStringLiteral(KORVANA_WINDOW_PATH), program));
            QProcess window;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            window.setProcessEnvironment(environment);
            window.start(program, {});
            QVERIFY(window.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.QtFile(QStringLiteral("korvana.lock"))),
                                     20000);
            QTest::qWait(300);  // into its event loop
            QVERIFY(!QFile::exists(folder.QtFile(QStringLiteral("generate.stp"))));
            ::kill(static_cast<pid_t>(window.processId()), signal);
            QVERIFY(window.waitForFinished(20000));
            QCOMPARE(window.exitStatus(), QProcess::NormalExit);
            QCOMPARE(window.exitCode(), 128 + signal);
            QVERIFY(QFile::exists(folder.QtFile(QStringLiteral("generate.stp"))));
        }
    }
};

QTEST_MAIN(SessionEndTest)
#include "SessionEndTest.moc"
