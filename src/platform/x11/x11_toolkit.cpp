#include "platform/x11/x11_toolkit.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/x11/x11_form_peer.h"
#include "platform/x11/x11_picture.h"
#include "platform/x11/x11_text.h"
#include "platform/x11/x11_timer_peer.h"
#include "platform/x11/xlib.h"
#include "toolkit/form.h"
#include "toolkit/text_rules.h"
#include "toolkit/timer.h"

namespace x11 {
namespace {

// The toolkit the error handler reports to: Xlib's handler is a plain function.
X11Toolkit* g_toolkit = nullptr;

// Xlib's own handler would end the program at the first error, whatever it was.
int on_x_error(Display*, XErrorEvent* error) {
    if (g_toolkit != nullptr) g_toolkit->x_error(*error);
    return 0;
}

// Tries to take the keyboard often while the window appears, and then, while another program
// holds it (an open menu), at a calm pace for as long as the saver runs.
constexpr auto kKeyboardSettling = std::chrono::seconds(3);
constexpr auto kKeyboardRetryWhileSettling = std::chrono::milliseconds(50);
constexpr auto kKeyboardRetry = std::chrono::milliseconds(250);

// Xft.dpi from the resource database, as desktop environments set it; else 96.
int read_dpi(Display* display) {
    int dpi = 96;
    const char* resources = XResourceManagerString(display);
    if (resources == nullptr) return dpi;
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    if (database == nullptr) return dpi;
    char* type = nullptr;
    XrmValue value{};
    if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr != nullptr) {
        const double read = std::atof(value.addr);
        if (read >= 24 && read <= 1000) dpi = static_cast<int>(std::lround(read));
    }
    XrmDestroyDatabase(database);
    return dpi;
}

// The monitors in X screen coordinates: RandR 1.5's, else Xinerama's, else the screen.
std::vector<tk::Monitor> x_monitors(Display* display, Window root, int screen_number) {
    std::vector<tk::Monitor> found;
    int event_base = 0;
    int error_base = 0;
    int major = 0;
    int minor = 0;
    if (XRRQueryExtension(display, &event_base, &error_base) &&
        XRRQueryVersion(display, &major, &minor) && (major > 1 || (major == 1 && minor >= 5))) {
        int count = 0;
        if (XRRMonitorInfo* monitors = XRRGetMonitors(display, root, True, &count)) {
            for (int i = 0; i < count; ++i) {
                const XRRMonitorInfo& m = monitors[i];
                if (m.width > 0 && m.height > 0)
                    found.push_back({m.x, m.y, m.width, m.height, m.primary != 0});
            }
            XRRFreeMonitors(monitors);
        }
    }
    if (found.empty() && XineramaQueryExtension(display, &event_base, &error_base) &&
        XineramaIsActive(display)) {
        int count = 0;
        if (XineramaScreenInfo* screens = XineramaQueryScreens(display, &count)) {
            for (int i = 0; i < count; ++i)
                found.push_back({screens[i].x_org, screens[i].y_org, screens[i].width,
                                 screens[i].height, i == 0});
            XFree(screens);
        }
    }
    if (found.empty())
        found.push_back({0, 0, DisplayWidth(display, screen_number),
                         DisplayHeight(display, screen_number), true});
    // Without a primary, the one at the screen's origin is, or else the first.
    if (std::none_of(found.begin(), found.end(), [](const tk::Monitor& m) { return m.primary; })) {
        auto at_origin = std::find_if(found.begin(), found.end(), [](const tk::Monitor& m) {
            return m.left == 0 && m.top == 0;
        });
        (at_origin != found.end() ? *at_origin : found.front()).primary = true;
    }
    return found;
}

unsigned long channel(unsigned value8, unsigned long mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const unsigned long bits_mask = mask >> shift;
    const int bits = std::popcount(bits_mask);
    const unsigned long value =
        bits >= 8 ? static_cast<unsigned long>(value8) << (bits - 8) : value8 >> (8 - bits);
    return (value & bits_mask) << shift;
}

}  // namespace

X11Toolkit::X11Toolkit(Display* connection, Target target, tk::SettingsStore& settings,
                       int signal_fd)
    : connection_(connection),
      display_(connection),
      target_(target),
      settings_(settings),
      signal_fd_(signal_fd) {
    g_toolkit = this;
    XSetErrorHandler(on_x_error);
    screen_number_ = DefaultScreen(display_);
    if (target_.placement == Placement::GivenWindow) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, target_.window, &attributes) ||
            attributes.c_class != InputOutput) {
            g_toolkit = nullptr;
            char id[32];
            std::snprintf(id, sizeof id, "0x%lx", target_.window);
            throw std::runtime_error(std::string("no window to draw into: ") + id);
        }
        screen_number_ = XScreenNumberOfScreen(attributes.screen);
        root_ = attributes.root;
        visual_ = attributes.visual;
        depth_ = attributes.depth;
        colormap_ = attributes.colormap != None ? attributes.colormap
                                                : DefaultColormap(display_, screen_number_);
        screen_.width_px = std::max(1, attributes.width);
        screen_.height_px = std::max(1, attributes.height);
        // A window smaller than the monitor holding it (a settings panel's preview) shows a
        // miniature of that monitor; one of its size stays the screen, one to one.
        Window child = None;
        int x = 0;
        int y = 0;
        XTranslateCoordinates(display_, target_.window, root_, attributes.width / 2,
                              attributes.height / 2, &x, &y, &child);
        for (const tk::Monitor& monitor : x_monitors(display_, root_, screen_number_)) {
            const bool holds = x >= monitor.left && x < monitor.left + monitor.width &&
                               y >= monitor.top && y < monitor.top + monitor.height;
            if (holds && (attributes.width < monitor.width || attributes.height < monitor.height)) {
                screen_.width_px = monitor.width;
                screen_.height_px = monitor.height;
                given_miniature_ = true;
                break;
            }
        }
    } else {
        root_ = RootWindow(display_, screen_number_);
        visual_ = DefaultVisual(display_, screen_number_);
        depth_ = DefaultDepth(display_, screen_number_);
        colormap_ = DefaultColormap(display_, screen_number_);
    }
    measure_screen();
}

X11Toolkit::~X11Toolkit() {
    // The pictures outlive the toolkit in the program's forms; their pixmaps go with it.
    resources_.for_each_picture([](const tk::Picture& picture) {
        static_cast<const X11Picture&>(picture).set_pixmap(None);
    });
    for (auto& [color, xft] : xft_colors_) XftColorFree(display_, visual_, colormap_, &xft);
    g_toolkit = nullptr;
}

void X11Toolkit::measure_screen() {
    screen_.dpi = read_dpi(display_);
    if (target_.placement == Placement::GivenWindow) {
        monitors_ = {{0, 0, screen_.width_px, screen_.height_px, true}};
        return;
    }
    std::vector<tk::Monitor> found = x_monitors(display_, root_, screen_number_);
    primary_ =
        *std::find_if(found.begin(), found.end(), [](const tk::Monitor& m) { return m.primary; });
    const tk::Monitor& primary = primary_;
    if (target_.placement == Placement::OwnWindow) {
        // A hack run by hand opens a window of a usual size, within the primary monitor.
        screen_.width_px = std::min(800, primary.width);
        screen_.height_px = std::min(600, primary.height);
        monitors_ = {{0, 0, screen_.width_px, screen_.height_px, true}};
        origin_x_ = primary.left;
        origin_y_ = primary.top;
        return;
    }
    origin_x_ = primary.left;
    origin_y_ = primary.top;
    screen_.width_px = primary.width;
    screen_.height_px = primary.height;
    for (tk::Monitor& monitor : found) {
        monitor.left -= origin_x_;
        monitor.top -= origin_y_;
    }
    monitors_ = std::move(found);
}

std::unique_ptr<tk::FormPeer> X11Toolkit::create_form_peer(tk::Form& form) {
    return std::make_unique<FormPeer>(*this, form);
}

std::unique_ptr<tk::TimerPeer> X11Toolkit::create_timer_peer(tk::Timer& timer) {
    return std::make_unique<TimerPeer>(*this, timer);
}

tk::Size X11Toolkit::measure_text(const tk::Font& font, std::string_view text, double wrap_width) {
    return measure_text_at(font, text, wrap_width, screen_.dpi);
}

tk::Size X11Toolkit::measure_text_at(const tk::Font& font, std::string_view text, double wrap_width,
                                     int dpi) {
    if (dpi <= 0) dpi = screen_.dpi;
    const double tpp = 1440.0 / dpi;
    XftFont* xft = this->font(font, dpi);
    if (xft == nullptr) return {};
    const int wrap_px = wrap_width > 0 ? std::max(1, tk::twips_to_pixels(wrap_width, tpp)) : 0;
    const TextLayout layout = lay_out_text(display_, xft, text, wrap_px);
    return {layout.width * tpp, layout.height() * tpp};
}

std::vector<tk::Monitor> X11Toolkit::monitors() {
    return monitors_;
}

std::string X11Toolkit::command_line() {
    return target_.placement == Placement::FullScreen ? "/s" : "";
}

bool X11Toolkit::another_instance_running() {
    if (another_instance_) return *another_instance_;
    // A selection per screen, owned by the first full-screen copy for as long as its
    // connection lives; the server grab makes looking and taking one step.
    const std::string name = "_VQ_SAVER_FULLSCREEN_S" + std::to_string(screen_number_);
    const Atom selection = XInternAtom(display_, name.c_str(), False);
    instance_window_.reset(display_, XCreateSimpleWindow(display_, root_, -1, -1, 1, 1, 0, 0, 0));
    XGrabServer(display_);
    const Window owner = XGetSelectionOwner(display_, selection);
    if (owner == None) XSetSelectionOwner(display_, selection, instance_window_.get(), CurrentTime);
    XUngrabServer(display_);
    XSync(display_, False);
    another_instance_ = owner != None;
    return *another_instance_;
}

void X11Toolkit::show_cursor(bool show) {
    if (target_.placement != Placement::FullScreen) return;
    cursor_count_ += show ? 1 : -1;
    for (FormPeer* form : forms_) form->apply_cursor();
}

Cursor X11Toolkit::blank_cursor() {
    if (!blank_cursor_) {
        static const char kEmpty[1] = {0};
        const unique_pixmap empty(display_, XCreateBitmapFromData(display_, root_, kEmpty, 1, 1));
        XColor black{};
        blank_cursor_.reset(display_, XCreatePixmapCursor(display_, empty.get(), empty.get(),
                                                          &black, &black, 0, 0));
    }
    return blank_cursor_.get();
}

Window X11Toolkit::claim_given_window() {
    if (target_.placement != Placement::GivenWindow || given_claimed_) return None;
    given_claimed_ = true;
    return target_.window;
}

unsigned long X11Toolkit::pixel(tk::Color color) {
    const unsigned r = color & 0xFF;
    const unsigned g = (color >> 8) & 0xFF;
    const unsigned b = (color >> 16) & 0xFF;
    if (visual_->c_class == TrueColor || visual_->c_class == DirectColor)
        return channel(r, visual_->red_mask) | channel(g, visual_->green_mask) |
               channel(b, visual_->blue_mask);
    if (const auto found = pixels_.find(color); found != pixels_.end()) return found->second;
    XColor wanted{};
    wanted.red = static_cast<unsigned short>(r * 0x101);
    wanted.green = static_cast<unsigned short>(g * 0x101);
    wanted.blue = static_cast<unsigned short>(b * 0x101);
    wanted.flags = DoRed | DoGreen | DoBlue;
    const unsigned long value =
        XAllocColor(display_, colormap_, &wanted)
            ? wanted.pixel
            : ((r + g + b) / 3 >= 128 ? WhitePixel(display_, screen_number_)
                                      : BlackPixel(display_, screen_number_));
    pixels_.emplace(color, value);
    return value;
}

const XftColor* X11Toolkit::xft_color(tk::Color color) {
    if (const auto found = xft_colors_.find(color); found != xft_colors_.end())
        return &found->second;
    XRenderColor render{};
    render.red = static_cast<unsigned short>((color & 0xFF) * 0x101);
    render.green = static_cast<unsigned short>(((color >> 8) & 0xFF) * 0x101);
    render.blue = static_cast<unsigned short>(((color >> 16) & 0xFF) * 0x101);
    render.alpha = 0xFFFF;
    XftColor made{};
    if (!XftColorAllocValue(display_, visual_, colormap_, &render, &made)) return nullptr;
    return &xft_colors_.emplace(color, made).first->second;
}

XftFont* X11Toolkit::font(const tk::Font& font, int dpi) {
    // Whole pixels by the rule every backend applies.
    const int pixels = tk::font_pixel_height(font.size, dpi > 0 ? dpi : screen_.dpi);
    for (const auto& [known, known_pixels, xft] : fonts_)
        if (known == font && known_pixels == pixels) return xft.get();
    const std::string family(tk::family_to_match(font.name));
    const int weight = font.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
    const int slant = font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN;
    XftFont* xft = XftFontOpen(display_, screen_number_, FC_FAMILY, FcTypeString, family.c_str(),
                               FC_PIXEL_SIZE, FcTypeDouble, static_cast<double>(pixels), FC_WEIGHT,
                               FcTypeInteger, weight, FC_SLANT, FcTypeInteger, slant, nullptr);
    if (xft == nullptr)
        xft = XftFontOpen(display_, screen_number_, FC_FAMILY, FcTypeString, "sans-serif",
                          FC_PIXEL_SIZE, FcTypeDouble, static_cast<double>(pixels), nullptr);
    if (xft == nullptr) return nullptr;
    if (family == "Arial") check_arial_metrics(xft);
    fonts_.emplace_back(font, pixels, unique_xft_font(display_, xft));
    return xft;
}

void X11Toolkit::check_arial_metrics(XftFont* xft) {
    // fontconfig always answers with some face: one of other metrics makes every caption
    // wider or narrower than the dialogs and the saver were laid out for.
    if (arial_checked_) return;
    arial_checked_ = true;
    FcChar8* matched = nullptr;
    if (FcPatternGetString(xft->pattern, FC_FAMILY, 0, &matched) != FcResultMatch) return;
    const std::string warning =
        tk::arial_metrics_warning(reinterpret_cast<const char*>(matched));
    if (!warning.empty()) std::fprintf(stderr, "vqsaver: %s\n", warning.c_str());
}

Pixmap X11Toolkit::pixmap_of(const tk::Picture& picture) {
    const auto* x11_picture = dynamic_cast<const X11Picture*>(&picture);
    if (x11_picture == nullptr) return None;
    if (x11_picture->pixmap() != None) return x11_picture->pixmap();
    const int width = picture.width_px();
    const int height = picture.height_px();
    if (width <= 0 || height <= 0) return None;
    XImage* image =
        XCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0, nullptr,
                     static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (image == nullptr) return None;
    image->data = static_cast<char*>(std::malloc(static_cast<std::size_t>(image->bytes_per_line) *
                                                 static_cast<std::size_t>(height)));
    if (image->data == nullptr) {
        XDestroyImage(image);
        return None;
    }
    const std::vector<std::uint32_t>& pixels = x11_picture->pixels();
    std::map<std::uint32_t, unsigned long> converted;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t color = pixels[static_cast<std::size_t>(y) * width + x];
            auto found = converted.find(color);
            if (found == converted.end()) found = converted.emplace(color, pixel(color)).first;
            XPutPixel(image, x, y, found->second);
        }
    }
    unique_pixmap made = create_pixmap(width, height);
    if (!made) {
        XDestroyImage(image);
        return None;
    }
    const Pixmap pixmap = made.get();
    picture_pixmaps_.push_back(std::move(made));
    if (!picture_gc_) picture_gc_.reset(display_, XCreateGC(display_, pixmap, 0, nullptr));
    XPutImage(display_, pixmap, picture_gc_.get(), image, 0, 0, 0, 0, static_cast<unsigned>(width),
              static_cast<unsigned>(height));
    XDestroyImage(image);
    x11_picture->set_pixmap(pixmap);
    return pixmap;
}

unique_pixmap X11Toolkit::create_pixmap(int width, int height) {
    if (width <= 0 || height <= 0) return {};
    const unsigned long request = NextRequest(display_);
    unique_pixmap pixmap;
    if (width <= 0xFFFF && height <= 0xFFFF)
        pixmap.reset(display_,
                     XCreatePixmap(display_, root_, static_cast<unsigned>(width),
                                   static_cast<unsigned>(height), static_cast<unsigned>(depth_)));
    // The server refuses a pixmap it has no room for with an error that comes later: waiting
    // for its answer lets the program end now and say why, rather than draw into nothing.
    XSync(display_, False);
    if (!pixmap || failed_request_ == request) {
        pixmap.release();
        fail("the X server cannot make a drawing surface of " + std::to_string(width) + " x " +
             std::to_string(height) + " pixels");
    }
    return pixmap;
}

void X11Toolkit::x_error(const XErrorEvent& error) {
    // The given window going away is how xscreensaver may end the program: no fault.
    if ((error.error_code == BadWindow || error.error_code == BadDrawable) &&
        error.resourceid == target_.window && target_.window != None) {
        given_gone_ = true;
        return;
    }
    failed_request_ = error.serial;
    if (!errors_logged_.insert(error.error_code).second) return;
    char text[128] = {};
    XGetErrorText(display_, error.error_code, text, sizeof text);
    std::fprintf(stderr, "vqsaver: X error %d (%s) in request %d.%d\n", error.error_code, text,
                 error.request_code, error.minor_code);
}

void X11Toolkit::fail(const std::string& why) {
    if (exit_status_ == 0) std::fprintf(stderr, "vqsaver: %s\n", why.c_str());
    exit_status_ = 1;
    quit_ = true;
}

void X11Toolkit::want_keyboard(Window window) {
    if (keyboard_window_ != None) return;
    keyboard_window_ = window;
    keyboard_wanted_ = Clock::now();
    next_keyboard_try_ = keyboard_wanted_;
}

void X11Toolkit::try_keyboard_grab() {
    if (keyboard_window_ == None || keyboard_grabbed_) return;
    const Clock::time_point now = Clock::now();
    if (now < next_keyboard_try_) return;
    keyboard_grabbed_ = XGrabKeyboard(display_, keyboard_window_, True, GrabModeAsync,
                                      GrabModeAsync, CurrentTime) == GrabSuccess;
    if (keyboard_grabbed_) return;
    XSetInputFocus(display_, keyboard_window_, RevertToParent, CurrentTime);
    const bool settling = now - keyboard_wanted_ < kKeyboardSettling;
    next_keyboard_try_ = now + (settling ? kKeyboardRetryWhileSettling : kKeyboardRetry);
    if (!settling && !keyboard_held_said_) {
        keyboard_held_said_ = true;
        std::fputs(
            "vqsaver: another program holds the keyboard; keys cannot end the saver until it "
            "lets go\n",
            stderr);
    }
}

void X11Toolkit::surface_resized(FormPeer& form, int width, int height) {
    // A miniature stays one of its monitor, laid out again at the window's new size.
    if (given_miniature_) {
        form.form().set_view_size(width, height);
        return;
    }
    if (width == screen_.width_px && height == screen_.height_px) return;
    screen_.width_px = width;
    screen_.height_px = height;
    monitors_ = {{0, 0, width, height, true}};
    const double tpp = screen_.twips_per_pixel();
    form.form().set_width(width * tpp);
    form.form().set_height(height * tpp);
}

void X11Toolkit::form_destroyed(FormPeer& form) {
    std::erase(forms_, &form);
    if (form.window() == keyboard_window_) {
        keyboard_window_ = None;
        keyboard_grabbed_ = false;
    }
}

void X11Toolkit::timer_destroyed(TimerPeer& timer) {
    std::erase(timers_, &timer);
}

void X11Toolkit::dispatch(XEvent& event) {
    if (event.type == MappingNotify) {
        XRefreshKeyboardMapping(&event.xmapping);
        return;
    }
    for (FormPeer* form : forms_) {
        if (form->window() == event.xany.window) {
            form->handle(event);
            return;
        }
    }
}

std::optional<Clock::time_point> X11Toolkit::next_due() const {
    std::optional<Clock::time_point> next;
    for (const TimerPeer* timer : timers_) {
        if (const auto due = timer->due(); due && (!next || *due < *next)) next = due;
    }
    return next;
}

void X11Toolkit::fire_due_timers() {
    const Clock::time_point now = Clock::now();
    std::vector<TimerPeer*> due;
    for (TimerPeer* timer : timers_)
        if (timer->due() && *timer->due() <= now) due.push_back(timer);
    std::sort(due.begin(), due.end(),
              [](const TimerPeer* a, const TimerPeer* b) { return *a->due() < *b->due(); });
    for (TimerPeer* timer : due) {
        // A handler before it may have stopped it.
        if (std::find(timers_.begin(), timers_.end(), timer) == timers_.end()) continue;
        if (timer->due() && *timer->due() <= now) timer->fire();
    }
}

void X11Toolkit::flush_forms() {
    for (FormPeer* form : forms_) form->flush();
}

void X11Toolkit::unload_every_form() {
    std::vector<tk::Form*> loaded;
    for (FormPeer* form : forms_) loaded.push_back(&form->form());
    for (tk::Form* form : loaded)
        if (form->loaded()) form->unload();
    quit_ = true;
}

int X11Toolkit::run() {
    while (!quit_ && loaded_form_count() > 0) {
        while (!quit_ && XPending(display_) > 0) {
            XEvent event{};
            XNextEvent(display_, &event);
            dispatch(event);
        }
        if (given_gone_) {
            unload_every_form();
            break;
        }
        if (quit_) break;
        fire_due_timers();
        try_keyboard_grab();
        flush_forms();
        XFlush(display_);
        if (quit_ || loaded_form_count() == 0) break;
        if (XPending(display_) > 0) continue;

        std::optional<Clock::duration> wait;
        if (const auto due = next_due())
            wait = std::max(Clock::duration::zero(), *due - Clock::now());
        if (keyboard_window_ != None && !keyboard_grabbed_) {
            const Clock::duration retry =
                std::max(Clock::duration::zero(), next_keyboard_try_ - Clock::now());
            wait = wait ? std::min(*wait, retry) : retry;
        }
        timespec timeout{};
        if (wait) {
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(*wait).count();
            timeout.tv_sec = static_cast<time_t>(ns / 1000000000);
            timeout.tv_nsec = static_cast<long>(ns % 1000000000);
        }
        pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {signal_fd_, POLLIN, 0}};
        const int ready = ppoll(fds, 2, wait ? &timeout : nullptr, nullptr);
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0 && (fds[1].revents & POLLIN) != 0) {
            char drained[64];
            while (read(signal_fd_, drained, sizeof drained) > 0) {
            }
            unload_every_form();
        }
        if (ready > 0 && (fds[0].revents & (POLLHUP | POLLERR)) != 0) break;
    }
    XSync(display_, False);
    return exit_status_;
}

}  // namespace x11
