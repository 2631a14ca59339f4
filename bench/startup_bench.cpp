// Start-up benchmark: time from process start to the first window being
// mapped on the X server, and resident memory once it shows, for Morvela and
// for a bare Qt window, alternating the two; median of the runs.
//
//   startup_bench MORVELA_PROGRAM BARE_WINDOW_PROGRAM [RUNS]
//
// Run it under Xvfb (no window manager: top-level windows map directly).

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Sample {
    double ms;
    long rssKiB;
};

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 16, '\n');
    }
    return -1;
}

Sample measure(xcb_connection_t* x, xcb_window_t root, const std::string& program)
{
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);
    while (xcb_generic_event_t* stale = xcb_poll_for_event(x))
        free(stale);

    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    double ms = -1;
    while (xcb_generic_event_t* e = xcb_wait_for_event(x)) {
        const bool mapped = (e->response_type & 0x7f) == XCB_MAP_NOTIFY;
        free(e);
        if (mapped) {
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            break;
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // let it settle
    const long rss = residentKiB(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return {ms, rss};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s MORVELA BARE_WINDOW [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;

    const std::string programs[2] = {argv[1], argv[2]};
    measure(x, root, programs[0]); // a first start creates the files; not counted
    measure(x, root, programs[1]);
    std::vector<double> ms[2], mib[2];
    for (int run = 0; run < runs; ++run) {
        for (int which = 0; which < 2; ++which) {
            const Sample s = measure(x, root, programs[which]);
            ms[which].push_back(s.ms);
            mib[which].push_back(s.rssKiB / 1024.0);
        }
    }
    const char* names[2] = {"morvela", "bare Qt window"};
    for (int which = 0; which < 2; ++which)
        std::printf("%-15s map %7.1f ms   RSS %6.1f MiB   (median of %d)\n", names[which], median(ms[which]),
                    median(mib[which]), runs);
    std::printf("ratio           map %7.2f x     RSS %+6.1f MiB\n", median(ms[0]) / median(ms[1]),
                median(mib[0]) - median(mib[1]));
    xcb_disconnect(x);
    return 0;
}
