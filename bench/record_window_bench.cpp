// The record window over a large record: the time from opening it to its
// first picture (built, filled from the database, laid out and painted
// whole), the first opening and the median of the openings after it.
//
//   record_window_bench DATABASE [ATTEMPTS] [OPENINGS]
//
// DATABASE is filled with ATTEMPTS (100,000) realistic attempts first
// when it does not exist yet. Runs offscreen; the painting is QWidget::grab,
// the same drawing a screen gets.

#include "record/HistoryDatabase.h"
#include "record/LearnerRecord.h"
#include "record/RecordWindow.h"
#include "support/Harness.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace morvela;

namespace {

double CpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void Fill(HistoryDatabase& db, int attempts)
{
    // A learner over a year: the course's pages, the practice page and the
    // game, each with the keys of its line.
    const QStringList pages{QStringLiteral("01-01"), QStringLiteral("01-03"), QStringLiteral("02-02"),
                            QStringLiteral("03-05"), QStringLiteral("04-01"), QStringLiteral("05-04"),
                            QStringLiteral("07-02"), QStringLiteral("苦手キー練習")};
    const QString keys = QStringLiteral("asdfghjkl;qwertyuiopzxcvbnm,. ");
    const QDateTime start(QDate(2025, 12, 11), QTime(9, 0));
    quint32 r = 12345;
    auto next = [&r] { return r = r * 1664525u + 1013904223u, r >> 8; };
    for (int i = 0; i < attempts; ++i) {
        AttemptRecord a;
        a.endedAt = start.addSecs(qint64(i) * 365 * 24 * 3600 / attempts);
        a.pageId = pages[i % pages.size()];
        a.screen = a.pageId == pages.last() ? QStringLiteral("F_nigate") : QStringLiteral("F_les1_1");
        a.accepted = 64;
        a.misses = int(next() % 6);
        a.durationMs = 30000 + next() % 40000;
        a.level = 1 + int(next() % 5);
        a.tempoMs = 500;
        a.outcome = a.misses < 4 ? QStringLiteral("合格") : QStringLiteral("不合格");
        for (int k = 0; k < 12; ++k)
            a.keys.append({keys.at((i + k * 7) % keys.size()).unicode(), 5 + int(next() % 5), int(next() % 2)});
        db.record(a);
        if (i % 10000 == 9999)
            std::fprintf(stderr, "%d attempts\n", i + 1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: record_window_bench DATABASE [ATTEMPTS] [OPENINGS]\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int attempts = argc > 2 ? std::atoi(argv[2]) : 100000;
    const int openings = argc > 3 ? std::atoi(argv[3]) : 11;
    const bool fill = !QFileInfo::exists(path);
    HistoryDatabase db(path, [] { return QDateTime::currentDateTime(); },
                       [](const QString& m) { std::fprintf(stderr, "%s\n", qPrintable(m)); });
    if (fill)
        Fill(db, attempts);

    // The database is opened (and checked) on its first use; then each
    // query the window makes, once.
    {
        QElapsedTimer t;
        t.start();
        auto lap = [&t](const char* what) {
            std::printf("  %-28s %7.1f ms\n", what, t.nsecsElapsed() / 1e6);
            t.restart();
        };
        db.attemptCount();
        lap("opening the database");
        db.attemptCount();
        lap("attemptCount");
        db.pageIds();
        lap("pageIds");
        db.daily();
        lap("daily (whole course)");
        db.bestTimeMs(QStringLiteral("F_welcome"));
        db.bestTimeMs(QStringLiteral("F_les9_1"));
        lap("bestTimeMs x2");
        db.keyTotals(RecordWindow::RecentAttemptsForKeys);
        lap("keyTotals(100)");
        db.recent(200);
        lap("recent(200)");
    }
    test::Harness h;
    HistoryRecord record(db);
    QList<double> times, cpuTimes;
    for (int i = 0; i < openings; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = CpuMs();
        RecordWindow window(h.ctx, record, {});
        window.Form_Load();
        window.show();
        const QPixmap picture = window.grab();
        times.append(timer.nsecsElapsed() / 1e6);
        cpuTimes.append(CpuMs() - cpuStart);
        if (picture.isNull())
            return 1;
    }
    const double first = times.takeFirst(), firstCpu = cpuTimes.takeFirst();
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    auto median = [](const QList<double>& v) { return v.isEmpty() ? 0.0 : v[v.size() / 2]; };
    std::printf("%d attempts in %s (%.1f MiB)\n", db.attemptCount(), qPrintable(path),
                QFileInfo(path).size() / 1048576.0);
    std::printf("window opened to its first picture: first %.1f ms (%.1f ms CPU), then median %.1f ms "
                "(%.1f ms CPU) of %lld\n",
                first, firstCpu, median(times), median(cpuTimes), qlonglong(times.size()));
    return 0;
}
