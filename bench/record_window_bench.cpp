// The record window over a large record: the time from opening it to its
// first picture (built, filled from the database, laid out and painted
// whole), the first opening and the median of the openings after it.
//
//   history_fill FOLDER 100000
//   record_window_bench FOLDER/morvela-history.sqlite [OPENINGS=11] [PICTURE.png [dark]]
//
// PICTURE.png keeps the last picture, to look at (in a dark palette too).
//
// Runs offscreen; the painting is QWidget::grab, the same drawing a
// screen gets. Wall time and the process's CPU time, since the machine
// may be busy with others.

#include "record/HistoryDatabase.h"
#include "record/LearnerRecord.h"
#include "record/RecordWindow.h"
#include "support/Harness.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPalette>

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

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: record_window_bench DATABASE [OPENINGS=11] (history_fill makes one)\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int openings = std::max(2, argc > 2 ? std::atoi(argv[2]) : 11);
    const QString picturePath = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    if (argc > 4 && QByteArray(argv[4]) == "dark") {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
        dark.setColor(QPalette::WindowText, QColor(0xE8, 0xE8, 0xE8));
        dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::AlternateBase, QColor(0x2A, 0x2A, 0x2A));
        dark.setColor(QPalette::Text, QColor(0xE8, 0xE8, 0xE8));
        dark.setColor(QPalette::Button, QColor(0x38, 0x38, 0x38));
        dark.setColor(QPalette::ButtonText, QColor(0xE8, 0xE8, 0xE8));
        dark.setColor(QPalette::Highlight, QColor(0x4A, 0x90, 0xD9));
        dark.setColor(QPalette::Mid, QColor(0x60, 0x60, 0x60));
        dark.setColor(QPalette::Midlight, QColor(0x48, 0x48, 0x48));
        QApplication::setPalette(dark);
    }
    if (!QFileInfo::exists(path)) {
        std::fprintf(stderr, "%s: no such database (history_fill makes one)\n", argv[1]);
        return 2;
    }
    HistoryDatabase db(path, [] { return QDateTime::currentDateTime(); },
                       [](const QString& m) { std::fprintf(stderr, "%s\n", qPrintable(m)); });

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
        db.bestAttempt(QStringLiteral("F_welcome"));
        db.bestAttempt(QStringLiteral("F_les9_1"));
        lap("bestAttempt x2");
        db.keyTotals(RecordWindow::RecentAttemptsForKeys);
        lap("keyTotals(100)");
        db.recent(200);
        lap("recent(200)");
    }
    test::Harness h;
    // The real keyboard picture, as the program shows it.
    QFile::remove(h.folder.file(QStringLiteral("Keyboard.bmp")));
    if (!QFile::copy(QStringLiteral(MORVELA_PROGRAM_DIR "/Keyboard.bmp"), h.folder.file(QStringLiteral("Keyboard.bmp"))))
        return 1;
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
        if (i == openings - 1 && !picturePath.isEmpty())
            picture.save(picturePath);
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
