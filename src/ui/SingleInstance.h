#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace morvela {

// One run of the program per program folder at a time, so the progress file
// has one writer. The lock lies in the program folder; a lock left by a run
// that crashed, or one that names no program, is taken over. Where the
// folder takes no lock, it goes to the temporary folder under a name made
// from the program folder. Only a live other copy refuses a start.
class SingleInstance {
public:
    explicit SingleInstance(const QString& programFolder);
    bool acquired() const { return m_acquired; }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_acquired = false;
};

} // namespace morvela
