// Save-kill benchmark: kills a process that saves over and over, at random
// moments, and counts what each kill left behind.
//
//   save_kill_bench [KILLS]
//
// For each save path (the progress file, the game's score file, a work file
// of the mock exam, the start-up repair of a damaged progress file) a child
// saves two different contents in turn without pause; the parent kills it
// with SIGKILL after a random 0-15 ms and reads the file: the old content
// whole, the new content whole, or torn (which must never happen). Stray
// temporary files and partial backups are counted too.

#include "core/GameScoreFile.h"
#include "core/ProgressFile.h"
#include "core/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

using namespace morvela;

namespace {

struct Tally {
    int oldWhole = 0, newWhole = 0, torn = 0, strays = 0, partialBackups = 0;
};

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs `save(n)` for n = 0, 1, 2... in a child until it is killed.
void killWhileSaving(const std::function<void(int)>& save, int maxDelayUs)
{
    const pid_t child = fork();
    if (child == 0) {
        for (int n = 0;; ++n)
            save(n);
    }
    usleep(useconds_t(QRandomGenerator::global()->bounded(maxDelayUs)));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

void report(const char* path, int kills, const Tally& t)
{
    std::printf("%-28s kills %4d  old whole %4d  new whole %4d  torn %d  stray temp files %d  partial backups %d\n",
                path, kills, t.oldWhole, t.newWhole, t.torn, t.strays, t.partialBackups);
}

int strayFiles(const QString& folder, const QStringList& expected)
{
    int strays = 0;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        strays += expected.contains(name) || name.endsWith(QLatin1String(".bak")) ? 0 : 1;
    return strays;
}

// Two contents saved in turn through `save`; each kill must leave one whole.
Tally alternating(const QString& name, const QByteArray& a, const QByteArray& b,
                  const std::function<void(const ProgramFolder&, bool)>& save, int kills)
{
    Tally t;
    for (int i = 0; i < kills; ++i) {
        QTemporaryDir dir;
        const ProgramFolder folder(dir.path());
        save(folder, false);
        killWhileSaving([&](int n) { save(folder, n % 2 == 0); }, 15000);
        const QByteArray now = read(dir.filePath(name));
        if (now == a)
            ++t.oldWhole;
        else if (now == b)
            ++t.newWhole;
        else
            ++t.torn;
        t.strays += strayFiles(dir.path(), {name});
    }
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    std::signal(SIGXFSZ, SIG_IGN);
    const int kills = argc > 1 ? std::max(1, atoi(argv[1])) : 100;

    ProgressRecord recordA, recordB;
    recordB.FurthestPage = QStringLiteral("05-03");
    recordB.BestSpeedTime = QStringLiteral("01分05");
    const QByteArray progressA = SerializeProgress(recordA), progressB = SerializeProgress(recordB);
    report("morvela.ini (SaveProgress)", kills,
           alternating(ProgressFileName, progressA, progressB,
                       [&](const ProgramFolder& f, bool b) { SaveProgress(f, b ? recordB : recordA, nullptr); }, kills));

    report("game.ini (SaveGameScore)", kills,
           alternating(GameScoreFileName, SerializeGameScore(100), SerializeGameScore(98765),
                       [](const ProgramFolder& f, bool b) { SaveGameScore(f, b ? 98765 : 100, nullptr); }, kills));

    const QByteArray workA(20000, 'a'), workB(24000, 'b');
    report("kentei.wk2 (work file)", kills,
           alternating(QStringLiteral("kentei.wk2"), workA, workB,
                       [&](const ProgramFolder& f, bool b) {
                           WriteFileAtomically(f.filePath(QStringLiteral("kentei.wk2")), b ? workB : workA, nullptr);
                       },
                       kills));

    // The start-up repair: a damaged file is backed up, then rewritten.
    Tally repair;
    const QByteArray damaged = progressB.left(progressB.size() / 2) + QByteArray(500, '\x81');
    for (int i = 0; i < kills; ++i) {
        QTemporaryDir dir;
        const QString ini = dir.filePath(ProgressFileName);
        QFile f(ini);
        f.open(QIODevice::WriteOnly);
        f.write(damaged);
        f.close();
        killWhileSaving([&](int n) {
            if (n > 0)
                _exit(0); // one repair per start
            ProgressRecord record;
            LoadProgress(ProgramFolder(dir.path()), record);
        }, 40000);
        const QByteArray now = read(ini);
        if (now == damaged)
            ++repair.oldWhole;
        else if (ParseProgress(now).damaged)
            ++repair.torn;
        else
            ++repair.newWhole;
        const QByteArray backup = read(ini + QStringLiteral(".bak"));
        if (QFile::exists(ini + QStringLiteral(".bak")) && backup != damaged)
            ++repair.partialBackups;
        // A rewritten file without its whole backup would have lost the old one.
        if (now != damaged && backup != damaged)
            ++repair.torn;
        repair.strays += strayFiles(dir.path(), {ProgressFileName});
    }
    report("morvela.ini (start-up repair)", kills, repair);
    return 0;
}
