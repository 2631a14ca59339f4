// The built program, started as a learner starts it: the first run creates
// its files (beside it, or in the learner's data folder when installed); a
// second start while it runs ends at once without a window.

#include "support/TestFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <sys/resource.h>

using morvela::test::TestFolder;

namespace {

// Starts `program` with `env`, waits until its first start-up has made its
// files in `files`, then checks that a second start ends at once while the
// first runs on.
void firstRunsAloneAndWritesIn(const QString& program, const QProcessEnvironment& env, const QDir& files)
{
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(program, {});
    QVERIFY(first.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(files.filePath(QStringLiteral("game.ini"))) && waited.elapsed() < 20000)
        QTest::qWait(50);
    QVERIFY2(QFile::exists(files.filePath(QStringLiteral("morvela.ini"))),
             "the first run did not create its progress file within 20 s");

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(program, {});
    QVERIFY2(second.waitForFinished(10000), "the second start did not end within 10 s");
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    first.kill();
    first.waitForFinished();
}

} // namespace

class TestStartProcess : public QObject {
    Q_OBJECT
private slots:
    void secondStartEndsAtOnce();
    void installedCopyWritesInTheLearnersDataFolder();
    void fileSizeLimitDoesNotKillTheProgram();
    void startKeepsTheLearnersFiles();
};

void TestStartProcess::secondStartEndsAtOnce()
{
    TestFolder folder;
    const QString program = folder.file(QStringLiteral("morvela"));
    QVERIFY(QFile::copy(QStringLiteral(MORVELA_BINARY), program));
    firstRunsAloneAndWritesIn(program, QProcessEnvironment::systemEnvironment(), QDir(folder.path()));
}

void TestStartProcess::installedCopyWritesInTheLearnersDataFolder()
{
    TestFolder folder;
    const QString program = folder.file(QStringLiteral("morvela"));
    QVERIFY(QFile::copy(QStringLiteral(MORVELA_BINARY), program));
    folder.write(QStringLiteral("morvela.installed"), "installed\n");
    TestFolder home(false);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());

    firstRunsAloneAndWritesIn(program, env, QDir(home.file(QStringLiteral("morvela"))));
    QVERIFY(!folder.exists(QStringLiteral("morvela.ini")));
    QVERIFY(!folder.exists(QStringLiteral("game.ini")));
    QVERIFY(!folder.exists(QStringLiteral("morvela.lock")));
}

void TestStartProcess::fileSizeLimitDoesNotKillTheProgram()
{
    TestFolder folder;
    const QString program = folder.file(QStringLiteral("morvela"));
    QVERIFY(QFile::copy(QStringLiteral(MORVELA_BINARY), program));

    // No file may grow at all: the lock and the first save fail with EFBIG
    // and the program says so, instead of dying of SIGXFSZ.
    QProcess run;
    run.setChildProcessModifier([] {
        rlimit none{0, 0};
        setrlimit(RLIMIT_FSIZE, &none);
    });
    run.start(program, {});
    QVERIFY(run.waitForStarted());
    QVERIFY2(!run.waitForFinished(3000), "the program ended under a file-size limit");
    QCOMPARE(run.state(), QProcess::Running); // showing why it cannot save
    run.kill();
    run.waitForFinished();
}

void TestStartProcess::startKeepsTheLearnersFiles()
{
    TestFolder folder;
    const QString program = folder.file(QStringLiteral("morvela"));
    QVERIFY(QFile::copy(QStringLiteral(MORVELA_BINARY), program));
    // The learner's own copies, named like what an earlier version left.
    const QStringList learners{QStringLiteral("morvela.ini.backup"), QStringLiteral("kentei.wk2.saved1"),
                               QStringLiteral("game.ini.Ab12Cd")};
    for (const QString& name : learners)
        folder.write(name, "the learner's");
    // What a save killed while it wrote leaves: the program's own.
    const QString leftover = QStringLiteral(".morvela-saving-morvela.ini.tmp.Ab12Cd");
    folder.write(leftover, "half a save");

    QProcess run;
    run.start(program, {});
    QVERIFY(run.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    while (!folder.exists(QStringLiteral("game.ini")) && waited.elapsed() < 20000)
        QTest::qWait(50);
    QVERIFY2(folder.exists(QStringLiteral("game.ini")), "the program did not start within 20 s");
    run.kill();
    run.waitForFinished();
    for (const QString& name : learners)
        QVERIFY2(folder.read(name) == "the learner's", qPrintable(name));
    QVERIFY(!folder.exists(leftover));
}

QTEST_GUILESS_MAIN(TestStartProcess)
#include "tst_startprocess.moc"
