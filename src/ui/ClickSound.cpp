#include "ui/ClickSound.h"

#include "ui/ClickTrack.h"
#include "ui/MessageService.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace morvela {

namespace {

// A stream of the click player module, through its C entry points.
class ModuleOutput final : public ClickOutput {
public:
    using PlayFn = bool (*)(void*, qint64);
    using DeleteFn = void (*)(void*);
    ModuleOutput(void* player, PlayFn play, DeleteFn del) : m_player(player), m_play(play), m_delete(del) {}
    ~ModuleOutput() override { m_delete(m_player); }
    bool click(qint64 tickNs) override { return m_play(m_player, tickNs); }

private:
    void* m_player;
    PlayFn m_play;
    DeleteFn m_delete;
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

void ClickSound::play()
{
    sound(ClickTrack::steadyNs());
}

void ClickSound::play(std::chrono::milliseconds beat)
{
    sound(m_grid.due(ClickTrack::steadyNs(), std::chrono::nanoseconds(beat).count()));
}

void ClickSound::sound(qint64 tickNs)
{
    ++m_clicks;
    open();
    if (m_output && m_output->click(tickNs))
        return;
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
        auto play = reinterpret_cast<ModuleOutput::PlayFn>(library->resolve("morvela_click_play"));
        auto del = reinterpret_cast<ModuleOutput::DeleteFn>(library->resolve("morvela_click_delete"));
        if (!create || !play || !del)
            return nullptr;
        void* player = create();
        if (!player)
            return nullptr;
        return std::make_unique<ModuleOutput>(player, play, del);
    };
}

} // namespace morvela
