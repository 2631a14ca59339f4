#include "ui/ModuleClickOutput.h"

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

OpenClickOutput ModuleClickOutput(const QString& folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("morvela_click"));
    return [path]() -> std::unique_ptr<ClickOutput> {
        // A QLibrary of its own for each open, as two lessons' sounds may
        // open at once; the module, once loaded, stays for the program's life.
        QLibrary library(path);
        if (!library.load())
            return nullptr;
        using NewFn = void* (*)();
        auto create = reinterpret_cast<NewFn>(library.resolve("morvela_click_new"));
        ModuleOutput::Entries e{
            reinterpret_cast<decltype(e.beat)>(library.resolve("morvela_click_beat")),
            reinterpret_cast<decltype(e.stop)>(library.resolve("morvela_click_stop")),
            reinterpret_cast<decltype(e.sounding)>(library.resolve("morvela_click_sounding")),
            reinterpret_cast<decltype(e.del)>(library.resolve("morvela_click_delete")),
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
