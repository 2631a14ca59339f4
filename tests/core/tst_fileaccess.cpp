// Only regular files are read or replaced: a FIFO, a device node or a
// folder in a file's place is never opened for reading (a FIFO would block)
// and never replaced (a device node would be destroyed); a symbolic link to
// a regular file is read and written through to its target.

#include "support/TestFolder.h"
#include "core/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace morvela;
using morvela::test::TestFolder;

namespace {

enum class Thing { Fifo, Device, Folder, LinkToFifo };

// Makes `thing` at `path`; false when this machine will not let us.
bool make(Thing thing, const QString& path, const TestFolder& folder)
{
    const QByteArray p = QFile::encodeName(path);
    switch (thing) {
    case Thing::Fifo:
        return mkfifo(p.constData(), 0600) == 0;
    case Thing::Device: // a scratch node like /dev/null, never a real one
        return mknod(p.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    case Thing::Folder:
        return QDir().mkdir(path);
    case Thing::LinkToFifo:
        return mkfifo(QFile::encodeName(folder.file(QStringLiteral("pipe"))).constData(), 0600) == 0
            && QFile::link(folder.file(QStringLiteral("pipe")), path);
    }
    return false;
}

mode_t typeAt(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

} // namespace

Q_DECLARE_METATYPE(Thing)

class TestFileAccess : public QObject {
    Q_OBJECT
private slots:
    void specialFilesAreLeftAlone_data();
    void specialFilesAreLeftAlone();
    void linkToARegularFileIsReadAndWrittenThrough();
};

void TestFileAccess::specialFilesAreLeftAlone_data()
{
    QTest::addColumn<Thing>("thing");
    QTest::newRow("FIFO") << Thing::Fifo;
    QTest::newRow("device node") << Thing::Device;
    QTest::newRow("folder") << Thing::Folder;
    QTest::newRow("link to a FIFO") << Thing::LinkToFifo;
}

void TestFileAccess::specialFilesAreLeftAlone()
{
    QFETCH(Thing, thing);
    TestFolder folder;
    const QString path = folder.file(QStringLiteral("morvela.ini"));
    if (!make(thing, path, folder))
        QSKIP("this machine does not let the test make it");
    const mode_t before = typeAt(path);

    const ProgramFolder programFolder(folder.path());
    QVERIFY(!programFolder.has(QStringLiteral("MORVELA.INI")));
    QCOMPARE(programFolder.findOther(QStringLiteral("Morvela.ini")), path);

    // Returns at once (a FIFO opened for reading would wait for a writer).
    const ReadResult read = ReadSmallFile(path, 1024);
    QVERIFY(!read.ok);
    QCOMPARE(read.error, NotARegularFileReason);
    QVERIFY(!ReadFileStart(path, 1024).ok);

    QString error;
    QVERIFY(!WriteFileAtomically(path, "replaced\r\n", &error));
    QCOMPARE(error, NotARegularFileReason);
    QCOMPARE(typeAt(path), before); // still what it was
    QVERIFY(QFileInfo(path).isSymLink() == (thing == Thing::LinkToFifo));
}

void TestFileAccess::linkToARegularFileIsReadAndWrittenThrough()
{
    TestFolder folder;
    QDir(folder.path()).mkdir(QStringLiteral("elsewhere"));
    const QString target = folder.file(QStringLiteral("elsewhere/real.ini"));
    const QString link = folder.file(QStringLiteral("morvela.ini"));
    folder.write(QStringLiteral("elsewhere/real.ini"), "old\r\n");
    QVERIFY(QFile::link(target, link));

    QVERIFY(ProgramFolder(folder.path()).has(QStringLiteral("morvela.ini")));
    QCOMPARE(ReadSmallFile(link, 1024).bytes, QByteArray("old\r\n"));
    QString error;
    QVERIFY2(WriteFileAtomically(link, "new\r\n", &error), qPrintable(error));
    QVERIFY(QFileInfo(link).isSymLink()); // the link stays a link
    QCOMPARE(folder.read(QStringLiteral("elsewhere/real.ini")), QByteArray("new\r\n"));
    QCOMPARE(QDir(folder.file(QStringLiteral("elsewhere"))).entryList(QDir::Files), QStringList{"real.ini"});
}

QTEST_GUILESS_MAIN(TestFileAccess)
#include "tst_fileaccess.moc"
