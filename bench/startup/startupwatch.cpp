// Starts a program again and again on an X display and measures, for each
// start, the time from exec to the first top-level window mapped on the
// screen and the peak memory the process reaches once it is up (VmHWM,
// read after it has been idle for a moment). Prints the medians.
//
//   startupwatch RUNS PROGRAM [ARGS...] [-- PROGRAM [ARGS...] ...]
//
// With several programs, the starts take turns, so that a change in the
// machine's load during the measurement falls on all of them alike, and the
// last line gives each one's times against the first's. DISPLAY must name a
// display.

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

struct Program {
    std::vector<char *> argv;
    std::vector<double> millis, megabytes;
};

// Starts the program once; returns false when the display went away.
bool measure(xcb_connection_t *c, Program &program)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(program.argv[0], program.argv.data());
        _exit(127);
    }
    bool mapped = false;
    while (!mapped) {
        xcb_generic_event_t *e = xcb_wait_for_event(c);
        if (!e)
            return false;
        if ((e->response_type & ~0x80) == XCB_MAP_NOTIFY) {
            auto *m = reinterpret_cast<xcb_map_notify_event_t *>(e);
            mapped = !m->override_redirect;
        }
        std::free(e);
    }
    const auto shown = std::chrono::steady_clock::now();
    program.millis.push_back(std::chrono::duration<double, std::milli>(shown - start).count());
    usleep(700 * 1000);
    program.megabytes.push_back(peakKilobytes(pid) / 1024.0);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    // Drain what the closed window sent.
    while (xcb_generic_event_t *e = xcb_poll_for_event(c))
        std::free(e);
    return true;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM [ARGS...] [-- PROGRAM [ARGS...] ...]\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::vector<Program> programs(1);
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            programs.emplace_back();
            continue;
        }
        programs.back().argv.push_back(argv[i]);
    }
    for (Program &p : programs) {
        if (p.argv.empty()) {
            std::fprintf(stderr, "a program is missing after --\n");
            return 2;
        }
        p.argv.push_back(nullptr);
    }
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    for (int run = 0; run < runs; ++run) {
        for (Program &p : programs) {
            if (!measure(c, p))
                return 1;
        }
    }
    for (const Program &p : programs) {
        std::printf("%s: median %.1f ms to the window mapped, median peak memory %.1f MB (%d runs)\n", p.argv[0],
                    median(p.millis), median(p.megabytes), runs);
    }
    for (size_t i = 1; i < programs.size(); ++i) {
        std::printf("%s against %s: %.2fx the time, %.2fx the memory\n", programs[i].argv[0], programs[0].argv[0],
                    median(programs[i].millis) / median(programs[0].millis),
                    median(programs[i].megabytes) / median(programs[0].megabytes));
    }
    xcb_disconnect(c);
    return 0;
}
