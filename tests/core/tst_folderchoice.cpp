// Where the program reads its bundled data and writes the learner's files:
// beside itself when it runs from a folder of its own, in the learner's
// data folder when installed or unable to write there; and what it carries
// over into the learner's data folder.

#include "support/TestFolder.h"
#include "core/FolderChoice.h"

#include <QTest>

using namespace morvela;
using morvela::test::TestFolder;

class TestFolderChoice : public QObject {
    Q_OBJECT
private slots:
    void choice_data();
    void choice();
    void recordsAreCarriedOverAndNeverReplaced();
    void unmakeableDataFolderLeavesTheFilesBesideTheProgram();
    void executableFolderIsTheSystemsAnswer();
};

void TestFolderChoice::choice_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("userData");
    QTest::addColumn<QString>("expectedUser");

    const QString home = QStringLiteral("/home/a/.local/share/morvela");
    QTest::newRow("build folder or unpacked copy") << true << false << home << QStringLiteral("/opt/m");
    QTest::newRow("read-only folder") << false << false << home << home;
    QTest::newRow("installed, writable (root, home prefix)") << true << true << home << home;
    QTest::newRow("installed, read-only") << false << true << home << home;
    QTest::newRow("no data folder of the learner's") << false << true << QString() << QStringLiteral("/opt/m");
}

void TestFolderChoice::choice()
{
    QFETCH(bool, writable);
    QFETCH(bool, installed);
    QFETCH(QString, userData);
    QFETCH(QString, expectedUser);

    const ProgramFolders folders = ChooseFolders({QStringLiteral("/opt/m"), writable, installed, userData});
    QCOMPARE(folders.data, QStringLiteral("/opt/m"));
    QCOMPARE(folders.user, expectedUser);
}

void TestFolderChoice::recordsAreCarriedOverAndNeverReplaced()
{
    TestFolder program;
    program.write(QStringLiteral("MORVELA.INI"), "old progress\r\n");
    TestFolder home(false);
    const QString user = home.file(QStringLiteral("share/morvela"));
    ProgramFolders folders{program.path(), user};
    const QStringList records{QStringLiteral("morvela.ini"), QStringLiteral("game.ini")};

    QVERIFY(MakeUserFolder(folders));
    QCOMPARE(CarryOverRecords(folders, records), QStringList{QStringLiteral("morvela.ini")});
    QCOMPARE(home.read(QStringLiteral("share/morvela/morvela.ini")), QByteArray("old progress\r\n"));
    QCOMPARE(program.read(QStringLiteral("MORVELA.INI")), QByteArray("old progress\r\n"));

    // Once the learner's folder has a file, it is theirs: never replaced.
    program.write(QStringLiteral("MORVELA.INI"), "older copy\r\n");
    QVERIFY(CarryOverRecords(folders, records).isEmpty());
    QCOMPARE(home.read(QStringLiteral("share/morvela/morvela.ini")), QByteArray("old progress\r\n"));

    // Run from its own folder, nothing moves.
    QVERIFY(CarryOverRecords({program.path(), program.path()}, records).isEmpty());
}

void TestFolderChoice::unmakeableDataFolderLeavesTheFilesBesideTheProgram()
{
    TestFolder program;
    TestFolder home(false);
    home.write(QStringLiteral("share"), "a file where a folder should be"); // no folder can be made in it
    const QString user = home.file(QStringLiteral("share/morvela"));
    ProgramFolders folders{program.path(), user};
    QString notice;
    QVERIFY(!MakeUserFolder(folders, &notice));
    QCOMPARE(folders.data, program.path());
    QCOMPARE(folders.user, program.path()); // read where they lie
    QVERIFY2(notice.contains(user), qPrintable(notice)); // where the progress would have gone
    QVERIFY2(notice.contains(program.path()), qPrintable(notice));
    QVERIFY2(notice.contains(QStringLiteral("フォルダではないもの")), qPrintable(notice));
}

void TestFolderChoice::executableFolderIsTheSystemsAnswer()
{
    QString reason;
    QCOMPARE(ExecutableFolder(&reason), QCoreApplication::applicationDirPath());
    QVERIFY(reason.isEmpty());
}

QTEST_GUILESS_MAIN(TestFolderChoice)
#include "tst_folderchoice.moc"
