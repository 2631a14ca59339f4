#pragma once

#include <QLockFile>
#include <QString>

#include <future>
#include <memory>

namespace morvela {

// One run of the program per program folder at a time, so the progress file
// has one writer. The lock lies in the program folder; a lock left by a run
// that crashed, or one that names no program, is taken over. Where the
// folder takes no lock, it goes to the temporary folder under a name made
// from the program folder. Only a live other copy refuses a start.
//
// Making the lock file waits until it is on the disk (tens of milliseconds
// on a busy disk), so the lock is taken on a thread of its own while
// start-up goes on; acquired() waits for it. Nothing may be written to the
// program's files before acquired() has answered true.
class SingleInstance {
public:
    explicit SingleInstance(const QString& programFolder);
    ~SingleInstance();
    bool acquired();

private:
    bool take(const QString& programFolder);

    std::unique_ptr<QLockFile> m_lock;
    std::future<bool> m_taking; // after m_lock: done before the lock goes
    bool m_acquired = false;
};

} // namespace morvela
