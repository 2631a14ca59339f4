// The learner's history file as any bytes: opening it, every query of the
// record window, the CSV export and one more attempt never crash, whatever
// the file holds (a damaged file is kept aside and a fresh one started).

#include "record/HistoryDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace morvela;
    static int argc = 1;
    static char name[] = "fuzz_historydatabase";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir folder;

    QDir dir(folder.path());
    for (const QString& file : dir.entryList(QDir::Files | QDir::Hidden))
        dir.remove(file);
    const QString path = dir.filePath(HistoryDatabase::fileName());
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    {
        HistoryDatabase db(path, [] { return QDateTime(QDate(2026, 12, 11), QTime(9, 0)); }, [](const QString&) {});
        db.attemptCount();
        db.recent(50);
        db.pageIds();
        db.daily();
        db.daily(QStringLiteral("01-"));
        db.bestAttempt(QStringLiteral("F_welcome"));
        db.keyTotals(20);
        db.exportCsv(dir.filePath(QStringLiteral("record.csv")), nullptr);
        AttemptRecord a;
        a.screen = QStringLiteral("F_les1_1");
        a.pageId = QStringLiteral("01-01");
        a.durationMs = 1000;
        a.accepted = 5;
        a.keys = {{U'a', 3, 1}};
        db.record(a);
        db.recent(1);
    }
    return 0;
}
