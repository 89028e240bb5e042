#include "driver.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/Xrandr.h>
#include <stdlib.h>

#include <cstring>
#include <sstream>

#include "support/finished_run.h"

namespace vqx {

Display* display() {
    static Display* const connection = XOpenDisplay(nullptr);
    return connection;
}

Box primary_monitor() {
    Display* d = display();
    int count = 0;
    XRRMonitorInfo* monitors = XRRGetMonitors(d, DefaultRootWindow(d), True, &count);
    Box primary{0, 0, DisplayWidth(d, DefaultScreen(d)), DisplayHeight(d, DefaultScreen(d))};
    for (int i = 0; i < count; ++i)
        if (monitors[i].primary)
            primary = {monitors[i].x, monitors[i].y, monitors[i].x + monitors[i].width,
                       monitors[i].y + monitors[i].height};
    XRRFreeMonitors(monitors);
    return primary;
}

vqtest::Pixels ScreenImage::capture(const Box& area) {
    XImage* x = XGetImage(display(), DefaultRootWindow(display()), area.left, area.top,
                          static_cast<unsigned>(area.width()), static_cast<unsigned>(area.height()),
                          AllPlanes, ZPixmap);
    if (x == nullptr) return {};
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(area.width()) * area.height());
    for (int y = 0; y < area.height(); ++y)
        for (int xx = 0; xx < area.width(); ++xx)
            pixels.push_back(static_cast<uint32_t>(XGetPixel(x, xx, y) & 0xFFFFFF));
    XDestroyImage(x);
    return Pixels({0, 0, area.width(), area.height()}, std::move(pixels));
}

ScreenImage ScreenImage::capture() {
    Display* d = display();
    return {capture({0, 0, DisplayWidth(d, DefaultScreen(d)), DisplayHeight(d, DefaultScreen(d))})};
}

bool ScreenImage::corners_black(const Box& area) const {
    return pixel(area.left, area.top) == kBlack && pixel(area.right - 1, area.top) == kBlack &&
           pixel(area.left, area.bottom - 1) == kBlack &&
           pixel(area.right - 1, area.bottom - 1) == kBlack;
}

TestWindow::TestWindow(Box where) : box_(where) {
    Display* d = display();
    XSetWindowAttributes attributes{};
    attributes.background_pixel = WhitePixel(d, DefaultScreen(d));
    attributes.override_redirect = True;
    attributes.event_mask = StructureNotifyMask;
    window_ = XCreateWindow(
        d, DefaultRootWindow(d), where.left, where.top, static_cast<unsigned>(where.width()),
        static_cast<unsigned>(where.height()), 0, CopyFromParent, InputOutput, CopyFromParent,
        CWBackPixel | CWOverrideRedirect | CWEventMask, &attributes);
    XMapWindow(d, window_);
    XEvent event{};
    XWindowEvent(d, window_, StructureNotifyMask, &event);
    while (event.type != MapNotify) XWindowEvent(d, window_, StructureNotifyMask, &event);
    XSync(d, False);
}

TestWindow::~TestWindow() {
    destroy();
}

void TestWindow::destroy() {
    if (window_ == None) return;
    XDestroyWindow(display(), window_);
    XSync(display(), False);
    window_ = None;
}

void TestWindow::resize(int width, int height) {
    XResizeWindow(display(), window_, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(display(), False);
    box_.right = box_.left + width;
    box_.bottom = box_.top + height;
}

std::string TestWindow::id_text() const {
    std::ostringstream text;
    text << "0x" << std::hex << window_;
    return text.str();
}

void set_resources(const char* text) {
    Display* d = display();
    const Window root = DefaultRootWindow(d);
    if (text == nullptr)
        XDeleteProperty(d, root, XA_RESOURCE_MANAGER);
    else
        XChangeProperty(d, root, XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text),
                        static_cast<int>(std::strlen(text)));
    XSync(d, False);
}

void whiten_root() {
    Display* d = display();
    const Window root = DefaultRootWindow(d);
    XSetWindowBackground(d, root, WhitePixel(d, DefaultScreen(d)));
    XClearWindow(d, root);
    XSync(d, False);
}

SaverHome::SaverHome(const std::optional<std::string>& settings_file) {
    char pattern[] = "/tmp/vq-x11-home-XXXXXX";
    if (mkdtemp(pattern) != nullptr) home_ = pattern;
    home_entries_ = vqtest::saver_home(home_, settings_file);
}

SaverHome::~SaverHome() {
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
}

namespace {

// The test's own environment but for a window named by a screen saver outside the test,
// with the program's `home` and `extra`.
std::vector<std::string> environment_in(std::vector<std::string> home,
                                        const std::vector<std::string>& extra) {
    std::vector<std::string> env = vqtest::own_environment();
    std::erase_if(
        env, [](const std::string& entry) { return entry.starts_with("XSCREENSAVER_WINDOW="); });
    home.insert(home.end(), extra.begin(), extra.end());
    return vqtest::with_entries(std::move(env), std::move(home));
}

std::vector<std::string> saver_command(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), VQ_SAVER_PATH);
    return arguments;
}

}  // namespace

Saver::Saver(std::vector<std::string> arguments, const std::vector<std::string>& environment,
             const std::optional<std::string>& settings_file)
    : SaverHome(settings_file),
      ChildProcess(saver_command(std::move(arguments)), environment_in(home_entries_, environment),
                   home_ / "stderr") {}

void press_key(const char* keysym_name) {
    Display* d = display();
    const KeyCode code = XKeysymToKeycode(d, XStringToKeysym(keysym_name));
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XTestFakeKeyEvent(d, code, False, CurrentTime);
    XSync(d, False);
}

void click(unsigned button) {
    Display* d = display();
    XTestFakeButtonEvent(d, button, True, CurrentTime);
    XTestFakeButtonEvent(d, button, False, CurrentTime);
    XSync(d, False);
}

void move_pointer(int x, int y) {
    Display* d = display();
    XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
    XSync(d, False);
}

void move_pointer_by(int dx, int dy) {
    Display* d = display();
    XTestFakeRelativeMotionEvent(d, dx, dy, CurrentTime);
    XSync(d, False);
}

bool pointer_hidden() {
    XFixesCursorImage* cursor = XFixesGetCursorImage(display());
    if (cursor == nullptr) return false;
    bool invisible = true;
    for (int i = 0; i < cursor->width * cursor->height; ++i)
        if ((cursor->pixels[i] >> 24) != 0) invisible = false;
    XFree(cursor);
    return invisible;
}

bool keyboard_held() {
    Display* d = display();
    const int status =
        XGrabKeyboard(d, DefaultRootWindow(d), False, GrabModeAsync, GrabModeAsync, CurrentTime);
    if (status == GrabSuccess) XUngrabKeyboard(d, CurrentTime);
    XSync(d, False);
    return status == AlreadyGrabbed;
}

std::optional<unsigned long> pixmap_bytes_of(pid_t pid) {
    Display* d = display();
    XResClientIdSpec all{0, XRES_CLIENT_ID_PID_MASK};
    long count = 0;
    XResClientIdValue* ids = nullptr;
    if (XResQueryClientIds(d, 1, &all, &count, &ids) != Success) return std::nullopt;
    std::optional<XID> client;
    for (long i = 0; i < count; ++i)
        if (XResGetClientPid(&ids[i]) == pid) client = ids[i].spec.client;
    XResClientIdsDestroy(count, ids);
    unsigned long bytes = 0;
    if (!client || !XResQueryClientPixmapBytes(d, *client, &bytes)) return std::nullopt;
    return bytes;
}

}  // namespace vqx

vqtest::FinishedRun vqtest::run_to_end(std::vector<std::string> arguments,
                                       std::vector<std::string> environment) {
    vqx::Saver saver(std::move(arguments), std::move(environment));
    const std::optional<int> status = saver.wait_for_exit(2 * kDeadline);
    return {status, saver.error_output()};
}
