#include "ui/QuitOnSignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace morvela {

namespace {

constexpr std::array kQuitSignals{SIGTERM, SIGHUP, SIGINT};

// The one thing a signal handler may reach: the socket it writes to.
volatile std::sig_atomic_t g_wakeFd = -1;

extern "C" void wakeOnSignal(int signal)
{
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_wakeFd, &number, 1);
    errno = saved;
}

} // namespace

QuitOnSignal::QuitOnSignal()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, m_fds) != 0)
        return; // the signals keep their default: better than no start at all
    g_wakeFd = m_fds[1];
    m_notifier = new QSocketNotifier(m_fds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitOnSignal::take);

    struct sigaction action {};
    action.sa_handler = wakeOnSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls go on; the next signal of the kind is the
    // default one, for a program that does not end in time.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int signal : kQuitSignals) {
        // One ignored from the start stays ignored: the program runs under
        // nohup, or as a job a shell started in the background.
        struct sigaction before {};
        if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signal, &action, nullptr);
    }
}

QuitOnSignal::~QuitOnSignal()
{
    if (m_fds[0] < 0)
        return;
    for (int signal : kQuitSignals) {
        struct sigaction now {};
        if (::sigaction(signal, nullptr, &now) == 0 && now.sa_handler == wakeOnSignal)
            std::signal(signal, SIG_DFL);
    }
    g_wakeFd = -1;
    ::close(m_fds[0]);
    ::close(m_fds[1]);
}

void QuitOnSignal::take()
{
    unsigned char number = 0;
    while (::read(m_fds[0], &number, 1) == 1)
        m_signal = number;
    if (m_signal == 0)
        return;
    // Unlike quit(), exit() ends every event loop at once, the modal ones
    // included, and no window can refuse; each exec() returns, its window
    // is taken down by its owner, and the main loop returns the status.
    m_notifier->setEnabled(false);
    QCoreApplication::exit(0);
}

} // namespace morvela
