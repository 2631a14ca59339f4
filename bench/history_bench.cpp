// Recording one finished attempt into the learner's history: the time of
// each record() on a fresh file, as the end of an attempt pays it.
//   history_bench [ATTEMPTS=1000]
// The record window's reading of an existing history (history_fill makes
// one): opening it, then each query once.
//   history_bench --queries FOLDER

#include "HistoryFixture.h"
#include "record/HistoryDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

int TimeQueries(const QString& folder)
{
    const QString path = QDir(folder).filePath(morvela::HistoryDatabase::fileName());
    int told = 0;
    morvela::HistoryDatabase db(path, [] { return QDateTime::currentDateTime(); }, [&](const QString&) { ++told; });
    QElapsedTimer timer;
    auto time = [&](const char* what, auto&& query) {
        timer.start();
        const auto n = query();
        std::printf("%-34s %8.2f ms  (%lld)\n", what, timer.nsecsElapsed() / 1e6, static_cast<long long>(n));
    };
    time("open + attemptCount()", [&] { return db.attemptCount(); });
    time("attemptCount()", [&] { return db.attemptCount(); });
    time("recent(100)", [&] { return db.recent(100).size(); });
    time("pageIds()", [&] { return db.pageIds().size(); });
    time("daily()", [&] { return db.daily().size(); });
    time("daily(\"01-\")", [&] { return db.daily(QStringLiteral("01-")).size(); });
    time("bestAttempt(\"F_sotsugyo\")", [&] {
        const auto best = db.bestAttempt(QStringLiteral("F_sotsugyo"));
        return best ? best->attempt.durationMs : -1;
    });
    time("keyTotals(200)", [&] { return db.keyTotals(200).size(); });
    const QString csv = QDir(folder).filePath(QStringLiteral("history_bench.csv"));
    time("exportCsv() (bytes)", [&] { return db.exportCsv(csv, nullptr) ? QFileInfo(csv).size() : -1; });
    QFile::remove(csv);
    std::printf("messages: %d\n", told);
    return told ? 1 : 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc > 2 && QByteArray(argv[1]) == "--queries")
        return TimeQueries(QString::fromLocal8Bit(argv[2]));
    const int attempts = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/history_bench-XXXXXX"));
    const QString path = QDir(folder.path()).filePath(morvela::HistoryDatabase::fileName());
    int told = 0;
    morvela::HistoryDatabase db(path, [] { return QDateTime::currentDateTime(); }, [&](const QString&) { ++told; });
    QRandomGenerator random(7);

    // The first record opens the file and makes its tables: timed apart.
    QElapsedTimer timer;
    timer.start();
    db.record(morvela::bench::RealisticAttempt(random, QDateTime::currentDateTime()));
    const double openMs = timer.nsecsElapsed() / 1e6;

    std::vector<double> ms;
    ms.reserve(size_t(attempts));
    for (int i = 0; i < attempts; ++i) {
        const morvela::AttemptRecord a = morvela::bench::RealisticAttempt(random, QDateTime::currentDateTime());
        timer.restart();
        db.record(a);
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * double(ms.size())))]; };
    std::printf("first record (opens the file): %.2f ms\n", openMs);
    std::printf("record one attempt, %d attempts: median %.3f ms, p95 %.3f ms, max %.3f ms\n", attempts, at(0.5),
                at(0.95), ms.back());
    std::printf("attempts in the file: %d, messages: %d\n", db.attemptCount(), told);
    return told ? 1 : 0;
}
