// The benchmark's baseline on X11: the least an xscreensaver hack can do. It draws on the
// window xscreensaver names in XSCREENSAVER_WINDOW, or else on the root window, keeps a timer
// of its own from the event loop's timeouts, and with "blit" moves a 124 x 152 greyscale
// picture one pixel along and copies it from a server-side pixmap onto the window at every
// tick ("xlib_probe 25 blit"); without it the ticks do nothing ("xlib_probe 25"). Ticks are
// logged like the saver's (see platform/linux/tick_log.h). Runs until it is ended from outside.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/linux/tick_log.h"

namespace {

constexpr int kPictureWidth = 124;
constexpr int kPictureHeight = 152;

std::int64_t now_us() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_RAW, &now);
    return std::int64_t{now.tv_sec} * 1000000 + now.tv_nsec / 1000;
}

struct Options {
    int interval_ms = 25;
    bool blit = false;
};

// "INTERVAL [blit]"; an interval that is not a number from 1 to 60000 falls back to 25 ms.
Options parse_options(int argc, char** argv) {
    Options options;
    if (argc > 1) {
        char* end = nullptr;
        const long interval = std::strtol(argv[1], &end, 10);
        if (*end == '\0' && interval >= 1 && interval <= 60000)
            options.interval_ms = static_cast<int>(interval);
    }
    options.blit = argc > 2 && std::strcmp(argv[2], "blit") == 0;
    return options;
}

Window target_window(Display* display) {
    const char* named = std::getenv("XSCREENSAVER_WINDOW");
    if (named != nullptr) {
        char* end = nullptr;
        const unsigned long id = std::strtoul(named, &end, 0);
        if (end != named && *end == '\0' && id != 0) return id;
    }
    return DefaultRootWindow(display);
}

// The picture as a pixmap of the window's depth: greys like the saver's pictures, with a
// black frame one pixel wide so that a one-pixel move leaves no trail.
Pixmap make_picture(Display* display, Window window, const XWindowAttributes& attributes) {
    XImage* image = XCreateImage(display, attributes.visual, attributes.depth, ZPixmap, 0, nullptr,
                                 kPictureWidth, kPictureHeight, 32, 0);
    if (image == nullptr) return None;
    std::vector<char> bits(static_cast<std::size_t>(image->bytes_per_line) * kPictureHeight);
    image->data = bits.data();
    for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < kPictureWidth; ++x) {
            const bool frame =
                x == 0 || y == 0 || x == kPictureWidth - 1 || y == kPictureHeight - 1;
            const unsigned long grey = frame ? 0 : 64 + (x + y) % 160;
            XPutPixel(image, x, y, grey << 16 | grey << 8 | grey);
        }
    const Pixmap picture =
        XCreatePixmap(display, window, kPictureWidth, kPictureHeight, attributes.depth);
    GC gc = XCreateGC(display, picture, 0, nullptr);
    XPutImage(display, picture, gc, image, 0, 0, 0, 0, kPictureWidth, kPictureHeight);
    XFreeGC(display, gc);
    image->data = nullptr;  // the vector owns the bits
    XDestroyImage(image);
    return picture;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse_options(argc, argv);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;
    const Window window = target_window(display);
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0) return 1;
    XSetWindowBackground(display, window, BlackPixel(display, DefaultScreen(display)));
    XClearWindow(display, window);
    const Pixmap picture = options.blit ? make_picture(display, window, attributes) : None;
    GC gc = XCreateGC(display, window, 0, nullptr);
    XSetGraphicsExposures(display, gc, False);  // no NoExpose event, and no wake-up, per copy

    TickLog tick_log;
    int x = 0;
    int step = 1;
    const std::int64_t interval_us = std::int64_t{options.interval_ms} * 1000;
    std::int64_t next = now_us() + interval_us;
    for (;;) {
        XFlush(display);
        const std::int64_t wait_us = next - now_us();
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        if (wait_us > 0 && poll(&connection, 1, static_cast<int>((wait_us + 999) / 1000)) < 0)
            continue;
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
        }
        const std::int64_t now = now_us();
        if (now < next) continue;
        // Like a window timer: the ticks keep their phase, and those missed while the program
        // was late are dropped rather than delivered in a burst.
        next += interval_us;
        if (next <= now) next += ((now - next) / interval_us + 1) * interval_us;
        tick_log.tick();
        if (picture == None) continue;
        if (x + step < 0 || x + step > attributes.width - kPictureWidth) step = -step;
        x += step;
        XCopyArea(display, picture, window, gc, 0, 0, kPictureWidth, kPictureHeight, x,
                  (attributes.height - kPictureHeight) / 2);
    }
}
