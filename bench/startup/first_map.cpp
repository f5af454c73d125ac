// Starts a program and prints the milliseconds from its launch to the X
// server's first map of one of its windows, then ends it.
//
// The listener watches the root window's children (no window manager runs on
// the private server the script starts), so the time is the server's own
// notice, not the guess of a polling window search.
//
//   first_map [--timeout SECONDS] PROGRAM [ARGUMENTS...]
//
// Exit status: 0 with the figure on standard output; 1 when no window was
// mapped in time or the program ended first (said on standard error).
#include <xcb/xcb.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double Now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void End(pid_t child)
{
    kill(child, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(child, nullptr, WNOHANG) == child)
            return;
        usleep(10000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

} // namespace

int main(int argc, char **argv)
{
    double timeoutMs = 10000;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--timeout") == 0) {
        timeoutMs = std::atof(argv[2]) * 1000;
        first = 3;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: first_map [--timeout SECONDS] PROGRAM [ARGUMENTS...]\n");
        return 2;
    }

    // Xvfb now and then resets a connection made just as another closes: try again.
    xcb_connection_t *x = xcb_connect(nullptr, nullptr);
    for (int i = 0; i < 50 && xcb_connection_has_error(x); ++i) {
        xcb_disconnect(x);
        usleep(20000);
        x = xcb_connect(nullptr, nullptr);
    }
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "first_map: cannot reach the X server (DISPLAY=%s)\n",
                     getenv("DISPLAY") ? getenv("DISPLAY") : "");
        return 1;
    }
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    // A round trip: the server has taken the mask before the program starts.
    free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));

    const double start = Now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("first_map: fork");
        return 1;
    }
    if (child == 0) {
        close(xcb_get_file_descriptor(x));
        execvp(argv[first], argv + first);
        std::fprintf(stderr, "first_map: cannot start %s: %s\n", argv[first], std::strerror(errno));
        _exit(127);
    }

    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    double mapped = -1;
    while (mapped < 0) {
        while (xcb_generic_event_t *e = xcb_poll_for_event(x)) {
            const bool map = (e->response_type & 0x7f) == XCB_MAP_NOTIFY;
            free(e);
            if (map) {
                mapped = Now();
                break;
            }
        }
        if (mapped >= 0)
            break;
        if (xcb_connection_has_error(x)) {
            std::fprintf(stderr, "first_map: lost the X server\n");
            End(child);
            return 1;
        }
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "first_map: %s ended before mapping a window\n", argv[first]);
            return 1;
        }
        const double left = start + timeoutMs - Now();
        if (left <= 0) {
            std::fprintf(stderr, "first_map: no window of %s mapped within %.0f s\n", argv[first], timeoutMs / 1000);
            End(child);
            return 1;
        }
        // Short waits so that a program that ends is noticed.
        poll(&fd, 1, left < 20 ? int(left) + 1 : 20);
    }
    std::printf("%.2f\n", mapped - start);
    End(child);
    xcb_disconnect(x);
    return 0;
}
