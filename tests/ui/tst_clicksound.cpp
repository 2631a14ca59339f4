// The metronome's click: one stream from open to close or the end of its
// owner, and the system beep wherever no click can sound.

#include "ui/ClickSound.h"
#include "core/ClickTrack.h"

#include <QDir>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace morvela;

namespace {

// Streams that record their clicks and whether they are still open.
struct Streams {
    struct Stream final : ClickOutput {
        Stream(Streams& s) : streams(s) { ++streams.open; }
        ~Stream() override { --streams.open; }
        bool beat(qint64 firstTickNs, qint64 beatNs) override
        {
            streams.beats << qMakePair(firstTickNs, beatNs);
            return streams.sounds;
        }
        void stop() override { ++streams.stops; }
        bool sounding() const override { return streams.sounds; }
        Streams& streams;
    };
    ClickSound::OpenOutput opener()
    {
        return [this]() -> std::unique_ptr<ClickOutput> {
            ++opened;
            return available ? std::make_unique<Stream>(*this) : nullptr;
        };
    }
    bool available = true;
    bool sounds = true;
    int opened = 0;
    int open = 0;
    QList<QPair<qint64, qint64>> beats;
    int stops = 0;
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

private:
    QTemporaryDir m_scratch;
};

void TestClickSound::initTestCase()
{
    // The click player's sound server is one that does not exist, so no
    // trial reaches a real sound device.
    QVERIFY(m_scratch.isValid());
    qputenv("PULSE_SERVER", "unix:" + m_scratch.filePath(QStringLiteral("no-server")).toLocal8Bit());
    qputenv("PULSE_RUNTIME_PATH", m_scratch.path().toLocal8Bit());
    qputenv("PIPEWIRE_REMOTE", m_scratch.filePath(QStringLiteral("no-pipewire")).toLocal8Bit());
}

void TestClickSound::oneStreamFromOpenToClose()
{
    Streams streams;
    int beeps = 0;
    ClickSound sound(streams.opener(), [&] { ++beeps; });
    sound.open(); // the lesson opens, before its first tick
    QCOMPARE(streams.open, 1);
    const qint64 before = ClickTrack::steadyNs();
    sound.startBeat(std::chrono::milliseconds(650));
    for (int i = 0; i < 3; ++i)
        sound.tick();
    QCOMPARE(streams.opened, 1); // no stream per tick
    // The stream has the beat, its first tick a beat from its start.
    QCOMPARE(streams.beats.size(), 1);
    QVERIFY(streams.beats[0].first - before >= 650'000'000);
    QVERIFY(streams.beats[0].first - ClickTrack::steadyNs() <= 650'000'000);
    QCOMPARE(streams.beats[0].second, 650'000'000);
    QCOMPARE(sound.clicks(), 3);
    QCOMPARE(beeps, 0);
    sound.stopBeat();
    QCOMPARE(streams.stops, 1);

    sound.close();
    QCOMPARE(streams.open, 0);
    sound.startBeat(std::chrono::milliseconds(500)); // a beat after closing opens a stream again
    QCOMPARE(streams.opened, 2);
    QCOMPARE(streams.open, 1);
    QCOMPARE(beeps, 0);
}

void TestClickSound::streamClosesWithItsOwner()
{
    Streams streams;
    auto* window = new QWidget;
    auto* sound = new ClickSound(streams.opener(), [] {}, window);
    sound->open();
    sound->startBeat(std::chrono::milliseconds(650));
    QCOMPARE(streams.open, 1);
    delete window;
    QCOMPARE(streams.open, 0);
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
    ClickSound sound(module.isEmpty() ? streams.opener() : ClickSound::moduleOutput(module), [&] { ++beeps; });
    sound.open();
    sound.startBeat(std::chrono::milliseconds(250));
    for (int i = 0; i < 3; ++i)
        sound.tick();
    QCOMPARE(beeps, 3);
    QCOMPARE(sound.clicks(), 3);
    QVERIFY(streams.opened <= 1); // a missing output is not sought on every tick
}

QTEST_MAIN(TestClickSound)
#include "tst_clicksound.moc"
