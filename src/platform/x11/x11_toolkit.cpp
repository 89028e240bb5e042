#include "platform/x11/x11_toolkit.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/x11/x11_form_peer.h"
#include "platform/x11/x11_picture.h"
#include "platform/x11/x11_text.h"
#include "platform/x11/xlib.h"
#include "toolkit/form.h"
#include "toolkit/text_rules.h"
#include "toolkit/timer.h"

namespace x11 {
namespace {

// The toolkit the error handler reports to: Xlib's handler is a plain function.
X11Toolkit* g_toolkit = nullptr;

// Errors are expected when the given window goes away under us; that one ends the program,
// the others are left alone (Xlib's own handler would end it with status 1).
int on_x_error(Display*, XErrorEvent* error) {
    if (g_toolkit != nullptr &&
        (error->error_code == BadWindow || error->error_code == BadDrawable) &&
        error->resourceid == g_toolkit->given_window())
        g_toolkit->given_window_gone();
    return 0;
}

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

X11Toolkit::X11Toolkit(Display* display, Target target, tk::SettingsStore& settings, int signal_fd)
    : display_(display), target_(target), settings_(settings), signal_fd_(signal_fd) {
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
    } else {
        root_ = RootWindow(display_, screen_number_);
        visual_ = DefaultVisual(display_, screen_number_);
        depth_ = DefaultDepth(display_, screen_number_);
        colormap_ = DefaultColormap(display_, screen_number_);
    }
    measure_screen();
}

X11Toolkit::~X11Toolkit() {
    for (const Pixmap pixmap : picture_pixmaps_) XFreePixmap(display_, pixmap);
    resources_.for_each_picture([](const tk::Picture& picture) {
        static_cast<const X11Picture&>(picture).set_pixmap(None);
    });
    for (auto& [font, pixels, xft] : fonts_) XftFontClose(display_, xft);
    for (auto& [color, xft] : xft_colors_) XftColorFree(display_, visual_, colormap_, &xft);
    if (picture_gc_ != nullptr) XFreeGC(display_, picture_gc_);
    if (blank_cursor_ != None) XFreeCursor(display_, blank_cursor_);
    if (instance_window_ != None) XDestroyWindow(display_, instance_window_);
    g_toolkit = nullptr;
    XCloseDisplay(display_);
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
    instance_window_ = XCreateSimpleWindow(display_, root_, -1, -1, 1, 1, 0, 0, 0);
    XGrabServer(display_);
    const Window owner = XGetSelectionOwner(display_, selection);
    if (owner == None) XSetSelectionOwner(display_, selection, instance_window_, CurrentTime);
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
    if (blank_cursor_ == None) {
        static const char kEmpty[1] = {0};
        const Pixmap empty = XCreateBitmapFromData(display_, root_, kEmpty, 1, 1);
        XColor black{};
        blank_cursor_ = XCreatePixmapCursor(display_, empty, empty, &black, &black, 0, 0);
        XFreePixmap(display_, empty);
    }
    return blank_cursor_;
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
    // Whole pixels by the rule every backend applies; fontconfig answers Arial with a
    // metric-compatible face where one is installed.
    const int pixels = tk::font_pixel_height(font.size, dpi > 0 ? dpi : screen_.dpi);
    for (const auto& [known, known_pixels, xft] : fonts_)
        if (known == font && known_pixels == pixels) return xft;
    const int weight = font.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
    const int slant = font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN;
    XftFont* xft = XftFontOpen(display_, screen_number_, FC_FAMILY, FcTypeString, font.name.c_str(),
                               FC_PIXEL_SIZE, FcTypeDouble, static_cast<double>(pixels), FC_WEIGHT,
                               FcTypeInteger, weight, FC_SLANT, FcTypeInteger, slant, nullptr);
    if (xft == nullptr)
        xft = XftFontOpen(display_, screen_number_, FC_FAMILY, FcTypeString, "sans-serif",
                          FC_PIXEL_SIZE, FcTypeDouble, static_cast<double>(pixels), nullptr);
    if (xft != nullptr) fonts_.emplace_back(font, pixels, xft);
    return xft;
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
    const Pixmap pixmap =
        XCreatePixmap(display_, root_, static_cast<unsigned>(width), static_cast<unsigned>(height),
                      static_cast<unsigned>(depth_));
    if (picture_gc_ == nullptr) picture_gc_ = XCreateGC(display_, pixmap, 0, nullptr);
    XPutImage(display_, pixmap, picture_gc_, image, 0, 0, 0, 0, static_cast<unsigned>(width),
              static_cast<unsigned>(height));
    XDestroyImage(image);
    x11_picture->set_pixmap(pixmap);
    picture_pixmaps_.push_back(pixmap);
    return pixmap;
}

void X11Toolkit::want_keyboard(Window window) {
    if (keyboard_window_ != None) return;
    keyboard_window_ = window;
    keyboard_deadline_ = Clock::now() + std::chrono::seconds(3);
}

void X11Toolkit::try_keyboard_grab() {
    if (keyboard_window_ == None || keyboard_grabbed_ || Clock::now() > keyboard_deadline_) return;
    keyboard_grabbed_ = XGrabKeyboard(display_, keyboard_window_, True, GrabModeAsync,
                                      GrabModeAsync, CurrentTime) == GrabSuccess;
    if (!keyboard_grabbed_) XSetInputFocus(display_, keyboard_window_, RevertToParent, CurrentTime);
}

void X11Toolkit::surface_resized(FormPeer& form, int width, int height) {
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
        if (keyboard_window_ != None && !keyboard_grabbed_ && Clock::now() < keyboard_deadline_) {
            const Clock::duration retry = std::chrono::milliseconds(50);
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
    return 0;
}

TimerPeer::TimerPeer(X11Toolkit& toolkit, tk::Timer& timer) : toolkit_(toolkit), timer_(timer) {
    toolkit_.timer_created(*this);
}

TimerPeer::~TimerPeer() {
    toolkit_.timer_destroyed(*this);
}

void TimerPeer::sync() {
    if (timer_.running())
        due_ = Clock::now() + std::chrono::milliseconds(timer_.interval());
    else
        due_.reset();
}

void TimerPeer::fire() {
    const Clock::time_point was_due = *due_;
    timer_.raise_tick();
    toolkit_.tick_delivered();
    // The handler may have changed the timer, which starts it anew; else the next tick keeps
    // the timer's phase, and ticks missed while the program was busy are dropped.
    if (!due_ || *due_ != was_due || !timer_.running()) return;
    const auto interval = std::chrono::milliseconds(timer_.interval());
    Clock::time_point next = was_due + interval;
    const Clock::time_point now = Clock::now();
    if (next <= now) next += ((now - next) / interval + 1) * interval;
    due_ = next;
}

}  // namespace x11
