// Makes a learner's history of many realistic attempts, one a few minutes
// apart over the days before now, for benchmarks of the record window and
// the fuzzer's seeds:
//   history_fill FOLDER [ATTEMPTS=100000] [SEED=1]
// writes FOLDER/morvela-history.sqlite (an existing one is added to) and
// prints its size.

#include "HistoryFixture.h"
#include "record/HistoryDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: history_fill FOLDER [ATTEMPTS=100000] [SEED=1]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int attempts = argc > 2 ? atoi(argv[2]) : 100000;
    const quint32 seed = argc > 3 ? quint32(atoi(argv[3])) : 1;
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(morvela::HistoryDatabase::fileName());
    QElapsedTimer timer;
    timer.start();
    {
        int told = 0;
        morvela::HistoryDatabase db(path, [] { return QDateTime::currentDateTime(); }, [&](const QString& m) {
            std::fprintf(stderr, "%s\n", qPrintable(m));
            ++told;
        });
        QRandomGenerator random(seed);
        // Oldest first, about 4 minutes apart.
        QDateTime when = QDateTime::currentDateTime().addSecs(-qint64(attempts) * 240);
        for (int i = 0; i < attempts && !told; ++i) {
            when = when.addSecs(60 + random.bounded(360));
            db.record(morvela::bench::RealisticAttempt(random, when));
        }
        if (told)
            return 1;
    } // closed: the log is folded into the file
    std::printf("%d attempts in %s: %lld bytes (%.1f MB), made in %.1f s\n", attempts, qPrintable(path),
                QFileInfo(path).size(), QFileInfo(path).size() / 1048576.0, timer.elapsed() / 1000.0);
    return 0;
}
