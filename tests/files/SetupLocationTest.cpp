// Where the setup file lives: beside the program when it can, otherwise in the
// user's configuration folder; never a folder where it cannot be written.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "files/SetupLocation.h"
#include "support/HostileMounts.h"

class TSetupLocationTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
    }

    void WritableProgramFolderKeepsTheFileBesideTheProgram() {
        QTemporaryDir program;
        QCOMPARE(ChooseSetupFolder(program.path()), program.path());
        QVERIFY(SetupFileWritable(program.path()));
        QVERIFY(QDir(program.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        QVERIFY(!QDir(UserSetupFolder()).exists());
    }

    void ReadOnlyProgramFolderUsesTheConfigurationFolder() {
        QTemporaryDir work;
        const QString program = work.path() + "/bin";
        THostileMounts mounts;
        if (!mounts.MountSmallDisk(program.toStdString(), 64) ||
            !THostileMounts::MakeReadOnly(program.toStdString()))
            QSKIP("mounting a small read-only disk is not allowed here");
        QVERIFY(!FolderTakesNewFiles(program));
        const QString chosen = ChooseSetupFolder(program);
        QCOMPARE(chosen, config_.path() + "/korvana");
        QVERIFY(QDir(chosen).exists());
        QVERIFY(SetupFileWritable(chosen));
    }

    // A portable copy whose setup file is already beside it keeps using it,
    // and the program can tell that it cannot write it back.
    void ExistingSetupFileStaysWhereItIs() {
        QTemporaryDir work;
        const QString program = work.path() + "/portable";
        THostileMounts mounts;
        if (!mounts.MountSmallDisk(program.toStdString(), 64))
            QSKIP("mounting a small disk is not allowed here");
        QFile file(program + "/generate.stp");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(ChooseSetupFolder(program), program);
        QVERIFY(SetupFileWritable(program));
        QVERIFY(THostileMounts::MakeReadOnly(program.toStdString()));
        QCOMPARE(ChooseSetupFolder(program), program);
        QVERIFY(!SetupFileWritable(program));
    }

private:
    QTemporaryDir config_;
};

QTEST_MAIN(TSetupLocationTest)
#include "SetupLocationTest.moc"
