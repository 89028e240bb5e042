#include "platform/x11/x11_form_peer.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/linux/virtual_keys.h"
#include "platform/x11/x11_toolkit.h"
#include "platform/x11/x11_windowless_controls.h"
#include "platform/x11/xlib.h"
#include "toolkit/control.h"

namespace x11 {
namespace {

constexpr long kOwnWindowEvents = ExposureMask | StructureNotifyMask | KeyPressMask |
                                  ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                                  EnterWindowMask;
// A window it is given belongs to someone else, who owns its input.
constexpr long kGivenWindowEvents = ExposureMask | StructureNotifyMask;

tk::Int16 shift_of(unsigned state) {
    return static_cast<tk::Int16>(((state & ShiftMask) != 0 ? 1 : 0) |
                                  ((state & ControlMask) != 0 ? 2 : 0) |
                                  ((state & Mod1Mask) != 0 ? 4 : 0));
}

tk::Int16 buttons_of(unsigned state) {
    return static_cast<tk::Int16>(((state & Button1Mask) != 0 ? 1 : 0) |
                                  ((state & Button3Mask) != 0 ? 2 : 0) |
                                  ((state & Button2Mask) != 0 ? 4 : 0));
}

// Left, right and middle, as Win32 numbers them; the wheel is no press.
tk::Int16 button_of(unsigned button) {
    switch (button) {
        case Button1:
            return 1;
        case Button3:
            return 2;
        case Button2:
            return 4;
        default:
            return 0;
    }
}

// The dialog widgets have no Linux form to stand on: the configuration dialogs are
// Windows-only. Their state lives in the portable objects all the same.
class AbsentPeer : public tk::ControlPeer {
  public:
    explicit AbsentPeer(tk::Control& control) : control_(control) {}
    void sync() override {}
    void focus() override { control_.raise_got_focus(); }

  private:
    tk::Control& control_;
};

}  // namespace

FormPeer::FormPeer(X11Toolkit& toolkit, tk::Form& form)
    : toolkit_(toolkit), form_(form), display_(toolkit.display()), back_(toolkit) {
    if (const Window given = toolkit.claim_given_window(); given != None) {
        window_ = given;
        given_ = true;
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display_, window_, &attributes)) {
            window_width_ = attributes.width;
            window_height_ = attributes.height;
        }
        XSelectInput(display_, window_, kGivenWindowEvents);
        if (toolkit.given_miniature()) form.set_view_size(window_width_, window_height_);
    } else {
        const PixelRect client = client_rect();
        const int width = std::max(1, client.width);
        const int height = std::max(1, client.height);
        const tk::Screen screen = toolkit.screen();
        int x = toolkit.origin_x();
        int y = toolkit.origin_y();
        if (form.start_position() == tk::StartPosition::CenterScreen) {
            x += (screen.width_px - width) / 2;
            y += (screen.height_px - height) / 2;
        }
        XSetWindowAttributes attributes{};
        attributes.background_pixel = toolkit.pixel(form.back_color());
        attributes.border_pixel = 0;
        attributes.colormap = toolkit.colormap();
        attributes.event_mask = kOwnWindowEvents;
        // In full screen the window manager has no say: the windows lie over everything.
        attributes.override_redirect = toolkit.placement() == Placement::FullScreen;
        window_ = XCreateWindow(
            display_, toolkit.root(), x, y, static_cast<unsigned>(width),
            static_cast<unsigned>(height), 0, toolkit.depth(), InputOutput, toolkit.visual(),
            CWBackPixel | CWBorderPixel | CWColormap | CWEventMask | CWOverrideRedirect,
            &attributes);
        window_width_ = width;
        window_height_ = height;
        XStoreName(display_, window_, form.caption().c_str());
        XClassHint class_hint{};
        std::string name = "vqsaver";
        std::string class_name = "VQSaver";
        class_hint.res_name = name.data();
        class_hint.res_class = class_name.data();
        XSetClassHint(display_, window_, &class_hint);
        wm_delete_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(display_, window_, &wm_delete_, 1);
        if (toolkit.pointer_hidden()) XDefineCursor(display_, window_, toolkit.blank_cursor());
    }
    gc_.reset(display_, XCreateGC(display_, window_, 0, nullptr));
    XSetGraphicsExposures(display_, gc_.get(), False);
    toolkit_.form_created(*this);
    fit_surface();
}

FormPeer::~FormPeer() {
    destroy();
}

PixelRect FormPeer::client_rect() const {
    return {0, 0, std::max(1, form_.view_width()), std::max(1, form_.view_height())};
}

std::unique_ptr<tk::ControlPeer> FormPeer::create_control_peer(tk::Control& control) {
    if (is_windowless(control.kind())) return std::make_unique<WindowlessControl>(*this, control);
    return std::make_unique<AbsentPeer>(control);
}

void FormPeer::sync() {
    if (window_ == None) return;
    const PixelRect client = client_rect();
    if (!given_ && (client.width != window_width_ || client.height != window_height_)) {
        resize_serial_ = NextRequest(display_);
        XResizeWindow(display_, window_, static_cast<unsigned>(client.width),
                      static_cast<unsigned>(client.height));
        window_width_ = client.width;
        window_height_ = client.height;
    }
    fit_surface();
}

void FormPeer::fit_surface() {
    if (window_ == None) return;
    const PixelRect client = client_rect();
    const tk::Color color = form_.back_color();
    if (!back_.fit(client.width, client.height, color)) return;
    full_.reset();  // a miniature's full surface starts clean with its window's
    if (!given_) XSetWindowBackground(display_, window_, toolkit_.pixel(color));
    invalidate({0, 0, back_.width(), back_.height()});
}

void FormPeer::show(tk::Modality, tk::Form*) {
    if (window_ == None) return;
    if (!given_ && !mapped_) {
        XMapRaised(display_, window_);
        mapped_ = true;
    }
    invalidate({0, 0, back_.width(), back_.height()});
}

void FormPeer::hide() {
    if (window_ == None || given_ || !mapped_) return;
    XUnmapWindow(display_, window_);
    mapped_ = false;
}

void FormPeer::place_topmost(int left_px, int top_px, int width_px, int height_px) {
    if (window_ == None) return;
    if (!given_) {
        const auto width = static_cast<unsigned>(std::max(1, width_px));
        const auto height = static_cast<unsigned>(std::max(1, height_px));
        resize_serial_ = NextRequest(display_);
        if (toolkit_.placement() == Placement::FullScreen) {
            XMoveResizeWindow(display_, window_, toolkit_.origin_x() + left_px,
                              toolkit_.origin_y() + top_px, width, height);
        } else {
            // A window of its own, centred on the primary monitor.
            const tk::Monitor primary = toolkit_.primary_monitor();
            XMoveResizeWindow(
                display_, window_, primary.left + (primary.width - static_cast<int>(width)) / 2,
                primary.top + (primary.height - static_cast<int>(height)) / 2, width, height);
        }
        window_width_ = static_cast<int>(width);
        window_height_ = static_cast<int>(height);
        XMapRaised(display_, window_);
        mapped_ = true;
        if (toolkit_.placement() == Placement::FullScreen) toolkit_.want_keyboard(window_);
    }
    fit_surface();
    invalidate({0, 0, back_.width(), back_.height()});
}

void FormPeer::draw_picture(const tk::Picture& picture, int x_px, int y_px) {
    if (window_ == None) return;
    const Pixmap target = back_.drawing(gc_.get());
    const Pixmap source = toolkit_.pixmap_of(picture);
    if (target == None || source == None) return;
    const Pixmap full = form_.miniature() ? full_surface() : None;
    XSetClipMask(display_, gc_.get(), None);
    XCopyArea(display_, source, full != None ? full : target, gc_.get(), 0, 0,
              static_cast<unsigned>(picture.width_px()), static_cast<unsigned>(picture.height_px()),
              x_px, y_px);
    const PixelRect drawn{x_px, y_px, picture.width_px(), picture.height_px()};
    invalidate(full != None ? shrink_from_full(drawn) : drawn);
}

Pixmap FormPeer::full_surface() {
    const int width = std::max(1, form_.width_px());
    const int height = std::max(1, form_.height_px());
    const tk::Color color = form_.back_color();
    if (full_.get() != None && full_width_ == width && full_height_ == height &&
        full_color_ == color)
        return full_.get();
    full_.reset(display_, XCreatePixmap(display_, toolkit_.root(), static_cast<unsigned>(width),
                                        static_cast<unsigned>(height),
                                        static_cast<unsigned>(toolkit_.depth())));
    full_width_ = width;
    full_height_ = height;
    full_color_ = color;
    if (full_.get() == None) return None;
    XSetClipMask(display_, gc_.get(), None);
    XSetForeground(display_, gc_.get(), toolkit_.pixel(color));
    XFillRectangle(display_, full_.get(), gc_.get(), 0, 0, static_cast<unsigned>(width),
                   static_cast<unsigned>(height));
    return full_.get();
}

PixelRect FormPeer::shrink_from_full(const PixelRect& drawn) {
    const Pixmap target = back_.drawing(gc_.get());
    if (full_.get() == None || target == None) return {};
    const PixelRect area = form_.to_view(0, 0, full_width_, full_height_);
    // A pixel more all round: the pixels the edges blend into are shrunk again too.
    const PixelRect where = intersect(
        form_.to_view(drawn.left - 1, drawn.top - 1, drawn.width + 2, drawn.height + 2), area);
    const double ratio = 1 / form_.view_scale();
    draw_scaled(toolkit_, full_.get(), target, ratio, ratio, area, where, where);
    return where;
}

void FormPeer::destroy() {
    if (window_ == None) return;
    toolkit_.form_destroyed(*this);
    back_.release();
    full_.reset();
    gc_.reset();
    if (given_)
        XSelectInput(display_, window_, NoEventMask);
    else
        XDestroyWindow(display_, window_);
    window_ = None;
    dirty_ = {};
}

void FormPeer::invalidate(const PixelRect& area) {
    if (window_ == None || area.empty()) return;
    dirty_ = unite(dirty_, area);
}

void FormPeer::flush() {
    if (window_ == None || dirty_.empty()) return;
    const PixelRect area = intersect(dirty_, {0, 0, back_.width(), back_.height()});
    dirty_ = {};
    if (area.empty()) return;
    GC gc = gc_.get();
    if (!windowless_control_over(form_, area)) {
        back_.show(window_, gc, area);
        return;
    }
    // What the form shows and the controls over it are put together off screen, then shown
    // at once.
    if (!back_.make_scratch()) return;
    back_.show(back_.scratch(), gc, area);
    paint_windowless_controls(toolkit_, form_, back_.scratch(), back_.scratch_draw(), gc, area);
    XCopyArea(display_, back_.scratch(), window_, gc, area.left, area.top,
              static_cast<unsigned>(area.width), static_cast<unsigned>(area.height), area.left,
              area.top);
}

void FormPeer::apply_cursor() {
    if (window_ == None || given_) return;
    if (toolkit_.pointer_hidden())
        XDefineCursor(display_, window_, toolkit_.blank_cursor());
    else
        XUndefineCursor(display_, window_);
}

void FormPeer::key_pressed(XKeyEvent& event) {
    char text[8] = {};
    KeySym sym = NoSymbol;
    const int length = XLookupString(&event, text, sizeof text, &sym, nullptr);
    // A hack in a window of its own, run by hand, ends on q or Escape, as xscreensaver's do.
    if (toolkit_.placement() == Placement::OwnWindow) {
        if (sym == XK_q || sym == XK_Q || sym == XK_Escape || (length == 1 && text[0] == 3))
            form_.unload();
        return;
    }
    form_.raise_key_down(vq::hack::VirtualKeyOf(static_cast<std::uint32_t>(sym), event.keycode),
                         shift_of(event.state));
    if (window_ != None && length == 1)
        form_.raise_key_press(static_cast<tk::Int16>(static_cast<unsigned char>(text[0])));
}

void FormPeer::handle(XEvent& event) {
    switch (event.type) {
        case Expose:
            invalidate(
                {event.xexpose.x, event.xexpose.y, event.xexpose.width, event.xexpose.height});
            break;
        case ConfigureNotify:
            // What answers the program's own resizing is no news.
            if (event.xconfigure.window != window_ ||
                (!given_ && event.xconfigure.serial < resize_serial_))
                break;
            window_width_ = event.xconfigure.width;
            window_height_ = event.xconfigure.height;
            // A window standing for the screen takes whatever size it is given.
            if (given_ || toolkit_.placement() == Placement::OwnWindow)
                toolkit_.surface_resized(*this, window_width_, window_height_);
            break;
        case DestroyNotify:
            if (given_ && event.xdestroywindow.window == window_) toolkit_.given_window_gone();
            break;
        case ClientMessage:
            if (static_cast<Atom>(event.xclient.data.l[0]) == wm_delete_ && wm_delete_ != None)
                form_.close_box_pressed();
            break;
        case KeyPress:
            key_pressed(event.xkey);
            break;
        case ButtonPress:
            if (const tk::Int16 button = button_of(event.xbutton.button); button != 0)
                form_.raise_mouse_down(button, shift_of(event.xbutton.state), event.xbutton.x,
                                       event.xbutton.y);
            break;
        case ButtonRelease:
            if (button_of(event.xbutton.button) != 0) form_.raise_click();
            break;
        case MotionNotify:
            form_.raise_mouse_move(buttons_of(event.xmotion.state), shift_of(event.xmotion.state),
                                   event.xmotion.x, event.xmotion.y);
            break;
        case EnterNotify:
            // A window that appears under the pointer hears of it as a move, as on Windows:
            // the saver's first move only records where the pointer is.
            if (event.xcrossing.mode == NotifyNormal)
                form_.raise_mouse_move(buttons_of(event.xcrossing.state),
                                       shift_of(event.xcrossing.state), event.xcrossing.x,
                                       event.xcrossing.y);
            break;
        default:
            break;
    }
}

}  // namespace x11
