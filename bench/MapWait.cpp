// Starts a program and waits until it maps its first top-level window.
// Prints the seconds from start to map and the program's resident set in
// KiB at that moment, then ends the program. Usage: MapWait PROGRAM [ARGS]
#include <X11/Xlib.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include <signal.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kTimeoutSeconds = 30;

long ResidentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

// True once a window that is not override-redirect maps below the root.
bool WaitForMap(Display* display, Window root)
{
    int fd = ConnectionNumber(display);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kTimeoutSeconds);
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect)
                return true;
        }
        auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero())
            return false;
        auto us = std::chrono::duration_cast<std::chrono::microseconds>(left).count();
        timeval timeout = { static_cast<time_t>(us / 1000000), static_cast<suseconds_t>(us % 1000000) };
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        if (select(fd + 1, &readable, nullptr, nullptr, &timeout) < 0 && errno != EINTR)
            return false;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGS]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no display\n");
        return 2;
    }
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    auto start = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    bool bMapped = child > 0 && WaitForMap(display, root);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    long rss = bMapped ? ResidentKiB(child) : -1;
    if (child > 0) {
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
    }
    XCloseDisplay(display);
    if (!bMapped) {
        std::fprintf(stderr, "%s mapped no window\n", argv[1]);
        return 1;
    }
    std::printf("%.6f %ld\n", seconds, rss);
    return 0;
}
