// The built program, started as a learner starts it: the first run creates
// its files (beside it, or in the learner's data folder when installed); a
// second start while it runs ends at once without a window; a signal ends
// it as closing its menu does; without a desktop it says so.

#include "support/TestFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>
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

// The program in a program folder of its own, offscreen, with the menu
// driver (tests/app/menudriver) loaded into it.
struct DrivenRun {
    TestFolder folder;
    TestFolder elsewhere{false};
    QProcess process;

    // Starts it, the driver pressing `button` on the menu, and waits until
    // what that opened shows with its event loop running.
    void start(const QString& button)
    {
        const QString program = folder.file(QStringLiteral("morvela"));
        QVERIFY(QFile::copy(QStringLiteral(MORVELA_BINARY), program));
        const QString ready = elsewhere.file(QStringLiteral("ready"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(MORVELA_TEST_PLUGINS));
        env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("morvelamenudriver:") + button);
        env.insert(QStringLiteral("MORVELA_DRIVER_READY"), ready);
        process.setProcessEnvironment(env);
        process.start(program, {});
        QVERIFY(process.waitForStarted());
        QElapsedTimer waited;
        waited.start();
        while (!QFile::exists(ready) && process.state() == QProcess::Running && waited.elapsed() < 20000)
            QTest::qWait(20);
        QVERIFY2(QFile::exists(ready), "the menu (and the window it opens) did not show within 20 s");
    }
};

} // namespace

class TestStartProcess : public QObject {
    Q_OBJECT
private slots:
    void secondStartEndsAtOnce();
    void installedCopyWritesInTheLearnersDataFolder();
    void fileSizeLimitDoesNotKillTheProgram();
    void startKeepsTheLearnersFiles();
    void signalEndsTheProgramAsClosingItDoes_data();
    void signalEndsTheProgramAsClosingItDoes();
    void signalIgnoredFromTheStartStaysIgnored();
    void noDesktopSessionIsSaidInOneLine_data();
    void noDesktopSessionIsSaidInOneLine();
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

void TestStartProcess::signalEndsTheProgramAsClosingItDoes_data()
{
    QTest::addColumn<int>("signal");
    // Pressed on the menu first; "" = idle; "startup" = the menu not yet
    // shown behind a message of start-up.
    QTest::addColumn<QString>("button");
    const std::pair<const char*, QString> open[] = {
        {"idle on the menu", QString()},
        {"Lesson 0's window open", QStringLiteral("Command1")},
        {"a gate's message box open", QStringLiteral("Command3")},
        {"start-up's repair notice open", QStringLiteral("startup")},
    };
    for (const auto& [name, button] : open) {
        QTest::addRow("SIGTERM, %s", name) << SIGTERM << button;
        QTest::addRow("SIGHUP, %s", name) << SIGHUP << button;
        QTest::addRow("SIGINT, %s", name) << SIGINT << button;
    }
}

void TestStartProcess::signalEndsTheProgramAsClosingItDoes()
{
    QFETCH(int, signal);
    QFETCH(QString, button);
    DrivenRun run;
    if (button == QLatin1String("startup"))
        run.folder.write(QStringLiteral("game.ini"), QByteArray(1, '\0')); // repaired, and said so
    run.start(button);
    if (QTest::currentTestFailed())
        return;

    const QDir dir(run.folder.path());
    QStringList files = dir.entryList(QDir::Files | QDir::Hidden);
    QVERIFY(files.removeOne(QStringLiteral("morvela.lock")));
    const QByteArray progress = run.folder.read(QStringLiteral("morvela.ini"));
    const QByteArray score = run.folder.read(QStringLiteral("game.ini"));
    QVERIFY(!progress.isEmpty());

    QCOMPARE(::kill(pid_t(run.process.processId()), signal), 0);
    QVERIFY2(run.process.waitForFinished(10000), "the program did not end within 10 s of the signal");
    QCOMPARE(run.process.exitStatus(), QProcess::NormalExit); // not killed by the signal
    QCOMPARE(run.process.exitCode(), 0);
    // The lock released, nothing left behind, nothing saved.
    QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden), files);
    QCOMPARE(run.folder.read(QStringLiteral("morvela.ini")), progress);
    QCOMPARE(run.folder.read(QStringLiteral("game.ini")), score);
}

void TestStartProcess::signalIgnoredFromTheStartStaysIgnored()
{
    // As under nohup: the terminal's hang-up leaves the program running.
    DrivenRun run;
    run.process.setChildProcessModifier([] { std::signal(SIGHUP, SIG_IGN); });
    run.start(QString());
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(::kill(pid_t(run.process.processId()), SIGHUP), 0);
    QVERIFY2(!run.process.waitForFinished(500), "the program ended on an ignored SIGHUP");
    QCOMPARE(::kill(pid_t(run.process.processId()), SIGTERM), 0);
    QVERIFY(run.process.waitForFinished(10000));
    QCOMPARE(run.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.process.exitCode(), 0);
}

void TestStartProcess::noDesktopSessionIsSaidInOneLine_data()
{
    QTest::addColumn<QString>("platform"); // "" = unset
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("said");
    QTest::newRow("no display named") << QString() << QString()
                                      << QStringLiteral("デスクトップのセッションが見つかりません");
    QTest::newRow("X named, no display") << QStringLiteral("xcb") << QString()
                                         << QStringLiteral("デスクトップのセッションに接続できません");
    QTest::newRow("a display that is not there") << QString() << QStringLiteral(":64999")
                                                 << QStringLiteral("デスクトップのセッションに接続できません");
}

void TestStartProcess::noDesktopSessionIsSaidInOneLine()
{
    QFETCH(QString, platform);
    QFETCH(QString, display);
    QFETCH(QString, said);
    TestFolder folder;
    const QString program = folder.file(QStringLiteral("morvela"));
    QVERIFY(QFile::copy(QStringLiteral(MORVELA_BINARY), program));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"})
        env.remove(QString::fromLatin1(name));
    if (!platform.isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    if (!display.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), display);

    QProcess run;
    run.setProcessEnvironment(env);
    run.start(program, {});
    QVERIFY2(run.waitForFinished(10000), "the program did not end within 10 s");
    QCOMPARE(run.exitStatus(), QProcess::NormalExit); // no abort
    QCOMPARE(run.exitCode(), 1);
    const QStringList lines = QString::fromUtf8(run.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty());
    if (platform.isEmpty() && display.isEmpty())
        QCOMPARE(lines.size(), 1); // Qt is not even asked
    QVERIFY2(lines.last().contains(said), qPrintable(lines.last()));
    QVERIFY2(!lines.join(QLatin1Char(' ')).contains(QLatin1String("Reinstalling")), qPrintable(lines.join(QLatin1Char('\n'))));
    QVERIFY(!folder.exists(QStringLiteral("morvela.ini"))); // nothing started
}

QTEST_GUILESS_MAIN(TestStartProcess)
#include "tst_startprocess.moc"
