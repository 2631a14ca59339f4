// The metronome's click: one stream from open to close or the end of its
// owner, opened and closed without ever holding up the interface, and the
// system beep wherever and whenever no click sounds.

#include "ui/ClickSound.h"
#include "ui/ModuleClickOutput.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QLibrary>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <atomic>
#include <mutex>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace morvela;

namespace {

constexpr qint64 Ms = 1'000'000;
// Far beyond any call that does not wait on the sound server, far below the
// half minute a silent server holds a caller that waits on it.
constexpr qint64 PromptMs = 5000;

// Streams that record their clicks and whether they are still open. The
// opener can be held, as a sound server that has not answered yet holds it.
struct Streams {
    struct Stream final : ClickOutput {
        Stream(Streams& s) : streams(s) { ++streams.open; }
        ~Stream() override { --streams.open; }
        bool beat(qint64 firstTickNs, qint64 beatNs) override
        {
            std::lock_guard lock(streams.mutex);
            streams.beats << qMakePair(firstTickNs, beatNs);
            return streams.sounds;
        }
        void stop() override { ++streams.stops; }
        bool sounding() const override { return streams.sounds; }
        Streams& streams;
    };

    // Counts the opens of `inner` and those that have ended.
    OpenClickOutput counting(OpenClickOutput inner)
    {
        return [this, inner]() -> std::unique_ptr<ClickOutput> {
            ++opened;
            std::unique_ptr<ClickOutput> output = inner();
            ++settled;
            return output;
        };
    }
    OpenClickOutput opener()
    {
        return counting([this]() -> std::unique_ptr<ClickOutput> {
            if (held)
                answer.tryAcquire(1, 10 * PromptMs); // a server that answers at last
            return available ? std::make_unique<Stream>(*this) : nullptr;
        });
    }
    QList<QPair<qint64, qint64>> beatsGiven()
    {
        std::lock_guard lock(mutex);
        return beats;
    }

    bool available = true;
    std::atomic<bool> sounds = true;
    bool held = false;
    QSemaphore answer; // released: the held opener goes on
    std::atomic<int> opened = 0;
    std::atomic<int> settled = 0;
    std::atomic<int> open = 0;
    std::atomic<int> stops = 0;
    std::mutex mutex;
    QList<QPair<qint64, qint64>> beats;

    // A sound closes its stream on its own thread after the sound itself is
    // gone, and these streams live on a test's stack: a test ends only once
    // every opener has returned and every stream is closed.
    ~Streams()
    {
        answer.release(1000);
        QDeadlineTimer deadline(10 * PromptMs);
        while ((settled.load() < opened.load() || open.load() > 0) && !deadline.hasExpired())
            QTest::qWait(5);
    }
};

// A sound server that takes every connection and never answers. Its sockets
// stay open until the test ends, so a click player still waiting on it
// never sees it go.
class SilentSoundServer {
public:
    bool listen(const QString& path)
    {
        m_fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        if (m_fd < 0 || size_t(name.size()) >= sizeof address.sun_path)
            return false;
        qstrcpy(address.sun_path, name.constData());
        return ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(m_fd, 16) == 0;
    }

private:
    int m_fd = -1; // connections are made in its queue, and never read
};

} // namespace

class TestClickSound : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void oneStreamFromOpenToClose();
    void streamClosesWithItsOwner();
    void beepStandsIn_data();
    void beepStandsIn();
    void beepUntilTheStreamIsReady();
    void closingNeverWaits_data();
    void closingNeverWaits();
    void silentSoundServerHoldsNothing();

private:
    QTemporaryDir m_scratch;
    QString m_serverPath;
};

void TestClickSound::initTestCase()
{
    // The click player's sound server is one of the test's own: none, until
    // a silent one listens there; no trial reaches a real sound device.
    QVERIFY(m_scratch.isValid());
    m_serverPath = m_scratch.filePath(QStringLiteral("sound-server"));
    qputenv("PULSE_SERVER", "unix:" + m_serverPath.toLocal8Bit());
    qputenv("PULSE_RUNTIME_PATH", m_scratch.path().toLocal8Bit());
    qputenv("PIPEWIRE_REMOTE", m_scratch.filePath(QStringLiteral("no-pipewire")).toLocal8Bit());
}

void TestClickSound::oneStreamFromOpenToClose()
{
    Streams streams;
    int beeps = 0;
    ClickSound sound(streams.opener(), [&] { ++beeps; });
    sound.open(); // the lesson opens, before its first tick
    QTRY_COMPARE(streams.open.load(), 1);
    const qint64 before = SteadyBeatClock().nowNs();
    sound.startBeat(std::chrono::milliseconds(650));
    const qint64 after = SteadyBeatClock().nowNs();
    // The stream has the beat, its first tick a beat from its start.
    QTRY_COMPARE(streams.beatsGiven().size(), 1);
    const auto beat = streams.beatsGiven().first();
    QVERIFY(beat.first >= before + 650 * Ms && beat.first <= after + 650 * Ms);
    QCOMPARE(beat.second, 650 * Ms);
    for (int i = 0; i < 3; ++i)
        sound.tick();
    QCOMPARE(streams.opened.load(), 1); // no stream per tick
    QCOMPARE(sound.clicks(), 3);
    QCOMPARE(beeps, 0);
    sound.stopBeat();
    QTRY_COMPARE(streams.stops.load(), 1);

    sound.close();
    QTRY_COMPARE(streams.open.load(), 0);
    sound.startBeat(std::chrono::milliseconds(500)); // a beat after closing opens a stream again
    QTRY_COMPARE(streams.beatsGiven().size(), 2);
    QCOMPARE(streams.opened.load(), 2);
    QCOMPARE(streams.open.load(), 1);
    sound.tick();
    QCOMPARE(beeps, 0);
}

void TestClickSound::streamClosesWithItsOwner()
{
    Streams streams;
    auto* window = new QWidget;
    auto* sound = new ClickSound(streams.opener(), [] {}, window);
    sound->open();
    sound->startBeat(std::chrono::milliseconds(650));
    QTRY_COMPARE(streams.open.load(), 1);
    delete window;
    QTRY_COMPARE(streams.open.load(), 0);
}

void TestClickSound::beepStandsIn_data()
{
    QTest::addColumn<QString>("module"); // folder of the real click player, or none
    QTest::addColumn<bool>("available");
    QTest::addColumn<bool>("sounds");
    QTest::newRow("no audio output") << QStringLiteral(MORVELA_CLICK_MODULE_DIR) << true << true;
    QTest::newRow("no click player") << m_scratch.path() << true << true;
    QTest::newRow("the stream cannot open") << QString() << false << true;
    QTest::newRow("the stream stops sounding") << QString() << true << false;
}

void TestClickSound::beepStandsIn()
{
    QFETCH(QString, module);
    QFETCH(bool, available);
    QFETCH(bool, sounds);
    Streams streams;
    streams.available = available;
    streams.sounds = sounds;
    if (module == QStringLiteral(MORVELA_CLICK_MODULE_DIR)) // the player itself finds no output
        QVERIFY(QLibrary(QDir(module).filePath(QStringLiteral("morvela_click"))).load());
    int beeps = 0;
    ClickSound sound(module.isEmpty() ? streams.opener() : streams.counting(ModuleClickOutput(module)),
                     [&] { ++beeps; });
    sound.open();
    sound.startBeat(std::chrono::milliseconds(250));
    // The opening has ended (loading the player may be slow on a busy machine).
    QTRY_COMPARE_WITH_TIMEOUT(streams.settled.load(), 1, 30'000);
    for (int i = 0; i < 3; ++i)
        sound.tick();
    QCOMPARE(beeps, 3);
    QCOMPARE(sound.clicks(), 3);
    QCOMPARE(streams.opened.load(), 1); // a missing output is not sought on every tick
}

void TestClickSound::beepUntilTheStreamIsReady()
{
    // A sound server slow to answer: the lesson goes on with the beep, and
    // the clicks take over once the stream has the beat.
    Streams streams;
    streams.held = true;
    int beeps = 0;
    ClickSound sound(streams.opener(), [&] { ++beeps; });
    QElapsedTimer bound;
    bound.start();
    sound.open();
    sound.startBeat(std::chrono::milliseconds(400));
    for (int i = 0; i < 3; ++i)
        sound.tick();
    QVERIFY(bound.elapsed() < PromptMs);
    QCOMPARE(beeps, 3);
    QTRY_COMPARE(streams.opened.load(), 1); // and waits for the server

    streams.answer.release();
    QTRY_COMPARE(streams.beatsGiven().size(), 1);
    sound.tick();
    QCOMPARE(beeps, 3);
    QCOMPARE(sound.clicks(), 4);
}

void TestClickSound::closingNeverWaits_data()
{
    QTest::addColumn<bool>("ownerEnds"); // the lesson window goes, or only closes the sound
    QTest::newRow("closed") << false;
    QTest::newRow("owner destroyed") << true;
}

void TestClickSound::closingNeverWaits()
{
    // The lesson ends while the sound server has not answered: nothing
    // waits for it, and the stream it opens at last is closed at once,
    // without the beat that was meant for the lesson.
    QFETCH(bool, ownerEnds);
    Streams streams;
    streams.held = true;
    auto* window = new QWidget;
    auto* sound = new ClickSound(streams.opener(), [] {}, window);
    QElapsedTimer bound;
    bound.start();
    sound->open();
    sound->startBeat(std::chrono::milliseconds(400));
    if (ownerEnds)
        delete window;
    else
        sound->close();
    QVERIFY(bound.elapsed() < PromptMs);

    streams.answer.release();
    QTRY_COMPARE(streams.settled.load(), 1);
    QTRY_COMPARE(streams.open.load(), 0);
    QVERIFY(streams.beatsGiven().isEmpty());
    if (!ownerEnds)
        delete window;
}

void TestClickSound::silentSoundServerHoldsNothing()
{
    // The real click player against a sound server that takes the
    // connection and never answers: the lesson's sound opens, beats, ticks
    // and closes at once, with the beep at every tick.
    SilentSoundServer server;
    QVERIFY(server.listen(m_serverPath));
    int beeps = 0;
    QElapsedTimer bound;
    bound.start();
    {
        ClickSound sound(ModuleClickOutput(QStringLiteral(MORVELA_CLICK_MODULE_DIR)), [&] { ++beeps; });
        sound.open();
        sound.startBeat(std::chrono::milliseconds(250));
        for (int i = 0; i < 3; ++i) {
            QTest::qWait(250);
            sound.tick();
        }
        sound.stopBeat();
        sound.close();
        sound.startBeat(std::chrono::milliseconds(250)); // the next page's beat, again without waiting
        sound.tick();
    }
    QVERIFY(bound.elapsed() < PromptMs);
    QCOMPARE(beeps, 4);
}

QTEST_MAIN(TestClickSound)
#include "tst_clicksound.moc"
