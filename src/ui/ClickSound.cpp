#include "ui/ClickSound.h"

#include "core/ClickTrack.h"
#include "ui/MessageService.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace morvela {

namespace {

// A stream of the click player module, through its C entry points.
class ModuleOutput final : public ClickOutput {
public:
    struct Entries {
        bool (*beat)(void*, qint64, qint64);
        void (*stop)(void*);
        bool (*sounding)(void*);
        void (*del)(void*);
    };
    ModuleOutput(void* player, Entries e) : m_player(player), m_e(e) {}
    ~ModuleOutput() override { m_e.del(m_player); }
    bool beat(qint64 firstTickNs, qint64 beatNs) override { return m_e.beat(m_player, firstTickNs, beatNs); }
    void stop() override { m_e.stop(m_player); }
    bool sounding() const override { return m_e.sounding(m_player); }

private:
    void* m_player;
    Entries m_e;
};

} // namespace

ClickSound::ClickSound(MessageService& messages, QObject* parent)
    : ClickSound(moduleOutput(QCoreApplication::applicationDirPath()), [&messages] { messages.beep(); }, parent)
{
}

ClickSound::ClickSound(OpenOutput openOutput, std::function<void()> beep, QObject* parent)
    : QObject(parent), m_openOutput(std::move(openOutput)), m_beep(std::move(beep))
{
}

ClickSound::~ClickSound() = default;

void ClickSound::open()
{
    if (m_output || m_tried)
        return;
    m_tried = true;
    m_output = m_openOutput();
}

void ClickSound::close()
{
    m_output.reset();
    m_tried = false;
}

void ClickSound::startBeat(std::chrono::milliseconds beat)
{
    open();
    const qint64 beatNs = std::chrono::nanoseconds(beat).count();
    if (m_output)
        m_output->beat(ClickTrack::steadyNs() + beatNs, beatNs);
}

void ClickSound::stopBeat()
{
    if (m_output)
        m_output->stop();
}

void ClickSound::tick()
{
    ++m_clicks;
    if (!m_output || !m_output->sounding())
        m_beep();
}

ClickSound::OpenOutput ClickSound::moduleOutput(const QString& folder)
{
    auto library = std::make_shared<QLibrary>(QDir(folder).filePath(QStringLiteral("morvela_click")));
    return [library]() -> std::unique_ptr<ClickOutput> {
        if (!library->load())
            return nullptr;
        using NewFn = void* (*)();
        auto create = reinterpret_cast<NewFn>(library->resolve("morvela_click_new"));
        ModuleOutput::Entries e{
            reinterpret_cast<decltype(e.beat)>(library->resolve("morvela_click_beat")),
            reinterpret_cast<decltype(e.stop)>(library->resolve("morvela_click_stop")),
            reinterpret_cast<decltype(e.sounding)>(library->resolve("morvela_click_sounding")),
            reinterpret_cast<decltype(e.del)>(library->resolve("morvela_click_delete")),
        };
        if (!create || !e.beat || !e.stop || !e.sounding || !e.del)
            return nullptr;
        void* player = create();
        if (!player)
            return nullptr;
        return std::make_unique<ModuleOutput>(player, e);
    };
}

} // namespace morvela
