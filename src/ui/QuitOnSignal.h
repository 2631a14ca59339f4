#pragma once

#include <QObject>

class QSocketNotifier;

namespace morvela {

// SIGTERM (the desktop logging out), SIGHUP (the terminal gone) and SIGINT
// (Ctrl+C) end the program as closing its menu does: every open window and
// message box unwinds, the lock is released and nothing more is saved than
// the windows save when they close. The program then exits with status 0.
// A second signal of the same kind while it ends ends it at once; a signal
// ignored when the program starts (nohup) stays ignored.
//
// The handler only writes the signal's number to a socket; the quit itself
// runs on the event loop, where Qt may be called.
class QuitOnSignal : public QObject {
    Q_OBJECT
public:
    QuitOnSignal();
    ~QuitOnSignal() override;

    // A signal has been taken: the event loops are ending. Start-up code
    // that runs before the main loop asks, so it does not start one anew.
    bool quitting() const { return m_signal != 0; }

private:
    void take();

    int m_fds[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
    int m_signal = 0;
};

} // namespace morvela
