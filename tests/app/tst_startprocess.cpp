// The built program, started as a learner starts it: the first run creates
// its files; a second start while it runs ends at once without a window.

#include "support/TestFolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <sys/resource.h>

using morvela::test::TestFolder;

class TestStartProcess : public QObject {
    Q_OBJECT
private slots:
    void secondStartEndsAtOnce();
    void fileSizeLimitDoesNotKillTheProgram();
};

void TestStartProcess::secondStartEndsAtOnce()
{
    TestFolder folder;
    const QString program = folder.file(QStringLiteral("morvela"));
    QVERIFY(QFile::copy(QStringLiteral(MORVELA_BINARY), program));

    QProcess first;
    first.start(program, {});
    QVERIFY(first.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    while (!folder.exists(QStringLiteral("game.ini")) && waited.elapsed() < 20000)
        QTest::qWait(50);
    QVERIFY2(folder.exists(QStringLiteral("morvela.ini")), "the first run did not create its progress file");

    QProcess second;
    second.start(program, {});
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    first.kill();
    first.waitForFinished();
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

QTEST_GUILESS_MAIN(TestStartProcess)
#include "tst_startprocess.moc"
