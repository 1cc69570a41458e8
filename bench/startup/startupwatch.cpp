// Starts a program again and again on an X display and measures, for each
// start, the time from exec to the first top-level window mapped on the
// screen and the peak memory the process reaches once it is up (VmHWM,
// read after it has been idle for a moment). Prints the medians.
//
//   startupwatch RUNS PROGRAM [ARGS...]   (DISPLAY must name a display)

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long peakKilobytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    std::vector<double> millis, megabytes;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            execv(argv[2], argv + 2);
            _exit(127);
        }
        bool mapped = false;
        while (!mapped) {
            xcb_generic_event_t *e = xcb_wait_for_event(c);
            if (!e)
                return 1;
            if ((e->response_type & ~0x80) == XCB_MAP_NOTIFY) {
                auto *m = reinterpret_cast<xcb_map_notify_event_t *>(e);
                mapped = !m->override_redirect;
            }
            std::free(e);
        }
        const auto shown = std::chrono::steady_clock::now();
        millis.push_back(std::chrono::duration<double, std::milli>(shown - start).count());
        usleep(700 * 1000);
        megabytes.push_back(peakKilobytes(pid) / 1024.0);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        // Drain what the closed window sent.
        while (xcb_generic_event_t *e = xcb_poll_for_event(c))
            std::free(e);
    }
    std::printf("%s: median %.1f ms to the window mapped, median peak memory %.1f MB (%d runs)\n", argv[2],
                median(millis), median(megabytes), runs);
    xcb_disconnect(c);
    return 0;
}
