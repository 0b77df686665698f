// Every display test process starts by waiting until the suite's X server takes connections:
// the library it draws with ends the process at once when its first connection is refused, and
// under a full suite the server has been seen to refuse one for a moment. A server that never
// answers still fails the test, after ten seconds.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

const bool displayReady = [] {
    if (!std::getenv("DISPLAY")) return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr)) {
            XCloseDisplay(display);
            if (attempt > 0) std::fprintf(stderr, "The X display answered after %d refusals\n", attempt);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}();

} // namespace
