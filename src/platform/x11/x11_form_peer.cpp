#include "platform/x11/x11_form_peer.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/linux/virtual_keys.h"
#include "platform/x11/x11_text.h"
#include "platform/x11/x11_toolkit.h"
#include "platform/x11/xlib.h"
#include "toolkit/control.h"
#include "toolkit/image_control.h"
#include "toolkit/label.h"
#include "toolkit/picture_box.h"
#include "toolkit/text_rules.h"

namespace x11 {
namespace {

constexpr long kOwnWindowEvents = ExposureMask | StructureNotifyMask | KeyPressMask |
                                  ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                                  EnterWindowMask;
// A window it is given belongs to someone else, who owns its input.
constexpr long kGivenWindowEvents = ExposureMask | StructureNotifyMask;

int to_pixels(double twips, double tpp) { return tk::twips_to_pixels(twips, tpp); }

PixelRect pixel_rect(const tk::Rect& r, double tpp) {
    return {to_pixels(r.left, tpp), to_pixels(r.top, tpp), to_pixels(r.width, tpp),
            to_pixels(r.height, tpp)};
}

bool is_windowless(tk::ControlKind kind) {
    return kind == tk::ControlKind::Label || kind == tk::ControlKind::Image ||
           kind == tk::ControlKind::PictureBox;
}

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

// A label, image or picture box: it has no window, its form paints it.
class WindowlessPeer : public tk::ControlPeer {
  public:
    WindowlessPeer(FormPeer& form, tk::Control& control) : form_(form), control_(control) {}

    // Repaints the union of the area it stood on and the area it stands on now.
    void sync() override {
        std::optional<PixelRect> now;
        if (control_.visible()) now = pixel_rect(control_.form_rect(), form_.twips_per_pixel());
        PixelRect changed;
        if (shown_ && now)
            changed = unite(*shown_, *now);
        else if (shown_ || now)
            changed = shown_ ? *shown_ : *now;
        shown_ = now;
        form_.invalidate(changed);
    }
    void focus() override {}

  private:
    FormPeer& form_;
    tk::Control& control_;
    std::optional<PixelRect> shown_;
};

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

PixelRect unite(const PixelRect& a, const PixelRect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    const int right = std::max(a.x + a.width, b.x + b.width);
    const int bottom = std::max(a.y + a.height, b.y + b.height);
    return {left, top, right - left, bottom - top};
}

PixelRect intersect(const PixelRect& a, const PixelRect& b) {
    const int left = std::max(a.x, b.x);
    const int top = std::max(a.y, b.y);
    const int right = std::min(a.x + a.width, b.x + b.width);
    const int bottom = std::min(a.y + a.height, b.y + b.height);
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

FormPeer::FormPeer(X11Toolkit& toolkit, tk::Form& form)
    : toolkit_(toolkit), form_(form), display_(toolkit.display()) {
    if (const Window given = toolkit.claim_given_window(); given != None) {
        window_ = given;
        given_ = true;
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display_, window_, &attributes)) {
            window_width_ = attributes.width;
            window_height_ = attributes.height;
        }
        XSelectInput(display_, window_, kGivenWindowEvents);
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
    gc_ = XCreateGC(display_, window_, 0, nullptr);
    XSetGraphicsExposures(display_, gc_, False);
    toolkit_.form_created(*this);
    fit_surface();
}

FormPeer::~FormPeer() {
    destroy();
}

PixelRect FormPeer::client_rect() const {
    const double tpp = twips_per_pixel();
    return {0, 0, std::max(1, to_pixels(form_.width(), tpp)),
            std::max(1, to_pixels(form_.height(), tpp))};
}

std::unique_ptr<tk::ControlPeer> FormPeer::create_control_peer(tk::Control& control) {
    if (is_windowless(control.kind())) return std::make_unique<WindowlessPeer>(*this, control);
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

void FormPeer::release_surface() {
    if (scratch_draw_ != nullptr) XftDrawDestroy(scratch_draw_);
    if (scratch_ != None) XFreePixmap(display_, scratch_);
    if (back_ != None) XFreePixmap(display_, back_);
    scratch_draw_ = nullptr;
    scratch_ = None;
    back_ = None;
    surface_width_ = 0;
    surface_height_ = 0;
}

void FormPeer::fit_surface() {
    if (window_ == None) return;
    const PixelRect client = client_rect();
    const tk::Color color = form_.back_color();
    if (back_ != None && client.width == surface_width_ && client.height == surface_height_ &&
        color == surface_color_)
        return;
    const auto width = static_cast<unsigned>(client.width);
    const auto height = static_cast<unsigned>(client.height);
    const auto depth = static_cast<unsigned>(toolkit_.depth());
    const Pixmap fresh = XCreatePixmap(display_, toolkit_.root(), width, height, depth);
    XSetClipMask(display_, gc_, None);
    XSetForeground(display_, gc_, toolkit_.pixel(color));
    XFillRectangle(display_, fresh, gc_, 0, 0, width, height);
    // A new size keeps what was drawn; a new colour starts clean.
    if (back_ != None && color == surface_color_)
        XCopyArea(display_, back_, fresh, gc_, 0, 0,
                  static_cast<unsigned>(std::min(surface_width_, client.width)),
                  static_cast<unsigned>(std::min(surface_height_, client.height)), 0, 0);
    release_surface();
    back_ = fresh;
    scratch_ = XCreatePixmap(display_, toolkit_.root(), width, height, depth);
    scratch_draw_ = XftDrawCreate(display_, scratch_, toolkit_.visual(), toolkit_.colormap());
    surface_width_ = client.width;
    surface_height_ = client.height;
    surface_color_ = color;
    if (!given_) XSetWindowBackground(display_, window_, toolkit_.pixel(color));
    invalidate({0, 0, surface_width_, surface_height_});
}

void FormPeer::show(tk::Modality, tk::Form*) {
    if (window_ == None) return;
    if (!given_ && !mapped_) {
        XMapRaised(display_, window_);
        mapped_ = true;
    }
    invalidate({0, 0, surface_width_, surface_height_});
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
    invalidate({0, 0, surface_width_, surface_height_});
}

void FormPeer::draw_picture(const tk::Picture& picture, int x_px, int y_px) {
    if (window_ == None || back_ == None) return;
    const Pixmap source = toolkit_.pixmap_of(picture);
    if (source == None) return;
    XSetClipMask(display_, gc_, None);
    XCopyArea(display_, source, back_, gc_, 0, 0, static_cast<unsigned>(picture.width_px()),
              static_cast<unsigned>(picture.height_px()), x_px, y_px);
    invalidate({x_px, y_px, picture.width_px(), picture.height_px()});
}

void FormPeer::destroy() {
    if (window_ == None) return;
    toolkit_.form_destroyed(*this);
    release_surface();
    if (gc_ != nullptr) XFreeGC(display_, gc_);
    gc_ = nullptr;
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
    if (window_ == None || back_ == None || dirty_.empty()) return;
    const PixelRect area = intersect(dirty_, {0, 0, surface_width_, surface_height_});
    dirty_ = {};
    if (area.empty()) return;
    const double tpp = twips_per_pixel();
    const bool covered = std::any_of(
        form_.controls().begin(), form_.controls().end(), [&](const tk::Control* control) {
            return control->visible() && is_windowless(control->kind()) &&
                   !intersect(pixel_rect(control->form_rect(), tpp), area).empty();
        });
    XSetClipMask(display_, gc_, None);
    const auto width = static_cast<unsigned>(area.width);
    const auto height = static_cast<unsigned>(area.height);
    if (!covered) {
        XCopyArea(display_, back_, window_, gc_, area.x, area.y, width, height, area.x, area.y);
        return;
    }
    // The buffer and the controls over it are put together off screen, then shown at once.
    XCopyArea(display_, back_, scratch_, gc_, area.x, area.y, width, height, area.x, area.y);
    paint_controls(area);
    XSetClipMask(display_, gc_, None);
    XCopyArea(display_, scratch_, window_, gc_, area.x, area.y, width, height, area.x, area.y);
}

void FormPeer::paint_controls(const PixelRect& area) {
    const double tpp = twips_per_pixel();
    for (const tk::Control* control : form_.controls()) {
        if (!control->visible() || !is_windowless(control->kind())) continue;
        const PixelRect where = pixel_rect(control->form_rect(), tpp);
        const PixelRect clip = intersect(where, area);
        if (clip.empty()) continue;
        XRectangle clip_rect{static_cast<short>(clip.x), static_cast<short>(clip.y),
                             static_cast<unsigned short>(clip.width),
                             static_cast<unsigned short>(clip.height)};
        XSetClipRectangles(display_, gc_, 0, 0, &clip_rect, 1, Unsorted);
        auto fill = [&](tk::Color color) {
            XSetForeground(display_, gc_, toolkit_.pixel(color));
            XFillRectangle(display_, scratch_, gc_, where.x, where.y,
                           static_cast<unsigned>(where.width), static_cast<unsigned>(where.height));
        };
        auto copy = [&](const tk::PicturePtr& picture) {
            if (picture == nullptr) return;
            const Pixmap source = toolkit_.pixmap_of(*picture);
            if (source == None) return;
            XCopyArea(display_, source, scratch_, gc_, 0, 0,
                      static_cast<unsigned>(std::min(picture->width_px(), where.width)),
                      static_cast<unsigned>(std::min(picture->height_px(), where.height)), where.x,
                      where.y);
        };
        switch (control->kind()) {
            case tk::ControlKind::Label: {
                const auto& label = static_cast<const tk::Label&>(*control);
                if (!label.transparent()) fill(label.back_color());
                XftFont* font = toolkit_.font(label.font());
                const XftColor* color = toolkit_.xft_color(label.fore_color());
                if (font == nullptr || color == nullptr || label.caption().empty()) break;
                // A label that does not size itself to one line breaks its caption to fit.
                const bool wraps = label.word_wrap() || !label.auto_size();
                const TextLayout layout =
                    lay_out_text(display_, font, label.caption(), wraps ? where.width : 0);
                XftDrawSetClipRectangles(scratch_draw_, 0, 0, &clip_rect, 1);
                for (std::size_t i = 0; i < layout.lines.size(); ++i) {
                    const TextLine& line = layout.lines[i];
                    int x = where.x;
                    if (label.alignment() == tk::Alignment::Center)
                        x += (where.width - line.width) / 2;
                    else if (label.alignment() == tk::Alignment::Right)
                        x += where.width - line.width;
                    const int y =
                        where.y + layout.ascent + static_cast<int>(i) * layout.line_height;
                    XftDrawStringUtf8(scratch_draw_, color, font, x, y,
                                      reinterpret_cast<const FcChar8*>(line.text.data()),
                                      static_cast<int>(line.text.size()));
                }
                XftDrawSetClip(scratch_draw_, nullptr);
                break;
            }
            case tk::ControlKind::Image:
                copy(static_cast<const tk::ImageControl&>(*control).picture());
                break;
            case tk::ControlKind::PictureBox: {
                const auto& box = static_cast<const tk::PictureBox&>(*control);
                fill(box.back_color());
                copy(box.picture());
                break;
            }
            default:
                break;
        }
    }
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
