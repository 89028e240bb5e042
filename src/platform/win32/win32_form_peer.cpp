#include "platform/win32/win32_form_peer.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/win32/diagnostics.h"
#include "platform/win32/geometry.h"
#include "platform/win32/guarded.h"
#include "platform/win32/native_control.h"
#include "platform/win32/picture_drawing.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_timer_peer.h"
#include "platform/win32/win32_toolkit.h"
#include "platform/win32/win32_windowless_controls.h"
#include "toolkit/command_button.h"
#include "toolkit/control.h"
#include "toolkit/frame.h"
#include "toolkit/option_button.h"
#include "toolkit/timer.h"

namespace win32 {
namespace {

constexpr wchar_t kFormClass[] = L"VQSaverForm";
// The program's icon group.
constexpr WORD kIconGroup = 1;

// Shared icons belong to the system: nothing destroys them.
HICON program_icon(HINSTANCE instance, int size) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconGroup), IMAGE_ICON,
                                         size, size, LR_SHARED));
}

tk::Int16 key_shift() {
    return static_cast<tk::Int16>((GetKeyState(VK_SHIFT) < 0 ? 1 : 0) |
                                  (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                                  (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

tk::Int16 mouse_shift(WPARAM wparam) {
    return static_cast<tk::Int16>(((wparam & MK_SHIFT) != 0 ? 1 : 0) |
                                  ((wparam & MK_CONTROL) != 0 ? 2 : 0) |
                                  (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

tk::Int16 mouse_buttons(WPARAM wparam) {
    return static_cast<tk::Int16>(((wparam & MK_LBUTTON) != 0 ? 1 : 0) |
                                  ((wparam & MK_RBUTTON) != 0 ? 2 : 0) |
                                  ((wparam & MK_MBUTTON) != 0 ? 4 : 0));
}

tk::Int16 button_of(UINT message) {
    switch (message) {
        case WM_RBUTTONDOWN:
            return 2;
        case WM_MBUTTONDOWN:
            return 4;
        default:
            return 1;
    }
}

struct WindowStyle {
    DWORD style;
    DWORD ex_style;
};

WindowStyle style_of(const tk::Form& form) {
    if (form.border() == tk::BorderStyle::FixedDialog)
        return {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME};
    // A borderless form kept off the task bar is a tool window: the saver and its covers.
    return {WS_POPUP | WS_CLIPCHILDREN, form.show_in_taskbar() ? 0u : DWORD{WS_EX_TOOLWINDOW}};
}

// The window size that gives the client size.
// The window size that gives the client size, with the frame at `dpi` where the system can
// measure it so (Windows 10 from 1607), else at the system's DPI.
SIZE window_size(SIZE client, const WindowStyle& style, int dpi) {
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    const auto adjust_for_dpi = reinterpret_cast<AdjustForDpi>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT frame{0, 0, client.cx, client.cy};
    const BOOL adjusted =
        adjust_for_dpi != nullptr
            ? adjust_for_dpi(&frame, style.style, FALSE, style.ex_style, static_cast<UINT>(dpi))
            : AdjustWindowRectEx(&frame, style.style, FALSE, style.ex_style);
    if (!adjusted) return client;
    return {width(frame), height(frame)};
}

// Where a window of `size` stands centred on the primary screen.
POINT centred_on(const tk::Screen& screen, SIZE size) {
    return {(screen.width_px - size.cx) / 2, (screen.height_px - size.cy) / 2};
}

}  // namespace

void FormPeer::register_class(HINSTANCE instance) {
    WNDCLASSEXW form_class{};
    form_class.cbSize = sizeof form_class;
    form_class.style = CS_DBLCLKS;
    form_class.lpfnWndProc = window_proc;
    form_class.hInstance = instance;
    form_class.hIcon = program_icon(instance, GetSystemMetrics(SM_CXICON));
    form_class.hIconSm = program_icon(instance, GetSystemMetrics(SM_CXSMICON));
    form_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form_class.lpszClassName = kFormClass;
    // Without its class no form can open; the program then ends as if it had nothing to show.
    static_cast<void>(RegisterClassExW(&form_class));
}

FormPeer::FormPeer(Win32Toolkit& toolkit, tk::Form& form)
    : toolkit_(toolkit),
      form_(form),
      caption_(form.caption()),
      synced_left_(form.left()),
      synced_top_(form.top()) {
    WindowStyle style = style_of(form);
    SIZE size = window_size(client_size(), style, form.dpi());
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    if (form.start_position() == tk::StartPosition::CenterScreen) {
        const POINT centre = centred_on(toolkit.screen(), size);
        x = centre.x;
        y = centre.y;
    }
    // A preview fills the host's client area. The host hears nothing of it: a parent
    // notification would wait on the host's thread, another process's.
    const HWND host = toolkit.claim_preview_host();
    RECT host_client{};
    if (host != nullptr && GetClientRect(host, &host_client)) {
        in_host_ = true;
        style = {WS_CHILD | WS_CLIPCHILDREN, WS_EX_NOPARENTNOTIFY};
        x = 0;
        y = 0;
        size = {width(host_client), height(host_client)};
    }
    const HWND created =
        CreateWindowExW(style.ex_style, kFormClass, widen(caption_).c_str(), style.style, x, y,
                        size.cx, size.cy, host, nullptr, toolkit.instance(), this);
    if (created == nullptr) return;
    window_.reset(created);
    if (in_host_) form.set_view_size(size.cx, size.cy);
    toolkit_.form_created(*this);
    if (form.border() == tk::BorderStyle::FixedDialog) {
        // A modal-frame window shows only an icon it is given, not its class's.
        const HINSTANCE instance = toolkit.instance();
        SendMessageW(created, WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(program_icon(instance, GetSystemMetrics(SM_CXICON))));
        SendMessageW(created, WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(
                         program_icon(instance, GetSystemMetrics(SM_CXSMICON))));
    }
    fit_surface();
}

FormPeer::~FormPeer() { destroy(); }

double FormPeer::twips_per_pixel() const { return form_.twips_per_pixel(); }

SIZE FormPeer::client_size() const {
    return {std::max(0, form_.view_width()), std::max(0, form_.view_height())};
}

RECT FormPeer::placed(const tk::Control& control) const {
    const tk::PixelRect at = form_.to_view(control.rect());
    return {at.left, at.top, at.left + at.width, at.top + at.height};
}

std::unique_ptr<tk::ControlPeer> FormPeer::create_control_peer(tk::Control& control) {
    if (is_windowless(control)) return std::make_unique<WindowlessControl>(*this, control);
    return create_native_control(*this, control);
}

void FormPeer::sync() {
    const HWND window = window_.get();
    if (window == nullptr) return;
    if (form_.caption() != caption_) {
        caption_ = form_.caption();
        SetWindowTextW(window, widen(caption_).c_str());
    }
    if (in_host_) {
        fit_surface();  // the host places and sizes the window
        return;
    }
    const SIZE wanted = client_size();
    RECT client{};
    if (GetClientRect(window, &client) && (width(client) != wanted.cx || height(client) != wanted.cy)) {
        const SIZE size = window_size(wanted, style_of(form_), form_.dpi());
        // A centred form is centred at the size it is shown with: the saver's window, sized
        // to the screen before it is shown, goes straight from its design rectangle to the
        // screen's, and no other geometry can ever be seen.
        const bool centre = form_.start_position() == tk::StartPosition::CenterScreen &&
                            !IsWindowVisible(window);
        const POINT at = centre ? centred_on(toolkit_.screen(), size) : POINT{};
        SetWindowPos(window, nullptr, at.x, at.y, size.cx, size.cy,
                     (centre ? 0 : SWP_NOMOVE) | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The window system places a form until the program moves it.
    if (form_.left() != synced_left_ || form_.top() != synced_top_) {
        synced_left_ = form_.left();
        synced_top_ = form_.top();
        const double tpp = twips_per_pixel();
        SetWindowPos(window, nullptr, to_pixels(synced_left_, tpp), to_pixels(synced_top_, tpp), 0,
                     0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    fit_surface();
}

void FormPeer::fit_surface() {
    const tk::Color color = form_.back_color();
    if (!back_brush_ || brush_color_ != color) {
        back_brush_.reset(CreateSolidBrush(color));
        brush_color_ = color;
        if (window_) RedrawWindow(window_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
    const SIZE size = client_size();
    const bool fresh = back_.fit(size.cx, size.cy, color);
    // A new size starts clean, a miniature's full surface with its window's.
    if (fresh) full_.fit(0, 0, color);
    const bool miniature = form_.miniature();
    full_.fit(miniature ? form_.width_px() : 0, miniature ? form_.height_px() : 0, color);
    if (fresh && window_) InvalidateRect(window_.get(), nullptr, FALSE);
}

RECT FormPeer::shrink_from_full(const RECT& drawn) {
    const tk::PixelRect all = form_.to_view(0, 0, full_.width(), full_.height());
    const double scale = form_.view_scale();
    // A pixel more all round: the pixels the edges blend into are shrunk again too.
    const tk::PixelRect at = form_.to_view(drawn.left - 1, drawn.top - 1, width(drawn) + 2,
                                           height(drawn) + 2);
    RECT where{std::max(at.left, all.left), std::max(at.top, all.top),
               std::min(at.left + at.width, all.left + all.width),
               std::min(at.top + at.height, all.top + all.height)};
    if (IsRectEmpty(&where) || back_.dc() == nullptr || full_.dc() == nullptr) return {};
    const auto to_full = [scale](int px, int origin) { return (px - origin) / scale; };
    const int left = static_cast<int>(std::floor(to_full(where.left, all.left)));
    const int top = static_cast<int>(std::floor(to_full(where.top, all.top)));
    const int right = std::min(full_.width(), static_cast<int>(std::ceil(to_full(where.right, all.left))));
    const int bottom = std::min(full_.height(), static_cast<int>(std::ceil(to_full(where.bottom, all.top))));
    // HALFTONE averages the pixels a reduction drops; it needs the brush origin set again.
    const int previous_mode = SetStretchBltMode(back_.dc(), HALFTONE);
    SetBrushOrgEx(back_.dc(), 0, 0, nullptr);
    StretchBlt(back_.dc(), where.left, where.top, width(where), height(where), full_.dc(), left,
               top, right - left, bottom - top, SRCCOPY);
    if (previous_mode != 0) SetStretchBltMode(back_.dc(), previous_mode);
    return where;
}

void FormPeer::show(tk::Modality modality, tk::Form* owner) {
    const HWND window = window_.get();
    if (window == nullptr) return;
    if (!arranged_) {
        arrange_tab_order();
        arranged_ = true;
    }
    if (modality == tk::Modality::Modeless || owner == nullptr || owner->peer() == nullptr) {
        ShowWindow(window, SW_SHOW);
        return;
    }
    // Modal: owned by the owner (so above it and off the task bar), which takes no input
    // until the form is unloaded; destroy() gives the owner its input back.
    const HWND owner_window = static_cast<FormPeer*>(owner->peer())->window();
    if (owner_window != nullptr) {
        SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner_window));
        EnableWindow(owner_window, FALSE);
        modal_owner_ = owner_window;
    }
    ShowWindow(window, SW_SHOW);
    while (form_.loaded() && toolkit_.pump_message()) {
    }
    if (owner_window != nullptr && IsWindow(owner_window)) {
        EnableWindow(owner_window, TRUE);
        SetActiveWindow(owner_window);
    }
    modal_owner_ = nullptr;
}

void FormPeer::hide() {
    if (window_) ShowWindow(window_.get(), SW_HIDE);
}

void FormPeer::place_topmost(int left_px, int top_px, int width_px, int height_px) {
    if (!window_) return;
    SetWindowPos(window_.get(), HWND_TOPMOST, left_px, top_px, width_px, height_px,
                 SWP_SHOWWINDOW);
    // A window over the whole screen takes the keyboard too, whichever window had it.
    SetForegroundWindow(window_.get());
    fit_surface();
}

bool FormPeer::overlaps_windowless(const RECT& area) const {
    for (const tk::Control* control : form_.controls()) {
        if (control->container() != nullptr || !control->visible() || !is_windowless(*control))
            continue;
        const RECT where = placed(*control);
        RECT common{};
        if (IntersectRect(&common, &where, &area)) return true;
    }
    return false;
}

void FormPeer::draw_picture(const tk::Picture& picture, int x_px, int y_px) {
    const HDC back = back_.dc();
    if (!window_ || back == nullptr) return;
    RECT where{x_px, y_px, x_px + picture.width_px(), y_px + picture.height_px()};
    if (full_.dc() != nullptr) {
        win32::draw_picture(full_.dc(), picture, where);
        where = shrink_from_full(where);
    } else {
        win32::draw_picture(back, picture, where);
    }
    // Straight to the screen: a repaint through WM_PAINT on every tick costs twice as much.
    // Only where a windowless control stands over the picture does it need the full repaint.
    if (overlaps_windowless(where)) {
        invalidate(where);
        return;
    }
    if (const window_dc screen(window_.get()); screen)
        BitBlt(screen.get(), where.left, where.top, width(where), height(where), back, where.left,
               where.top, SRCCOPY);
}

void FormPeer::destroy() {
    const HWND window = window_.get();
    if (window == nullptr) return;
    // The owner of a modal form takes input again before the form goes, so that the
    // activation returns to it.
    if (modal_owner_ != nullptr) EnableWindow(modal_owner_, TRUE);
    for (NativeControl* control : native_controls_) control->destroy_window();
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    toolkit_.form_destroyed(*this);
    window_.reset();
    back_.fit(0, 0, 0);
}

int FormPeer::add_native_control(NativeControl& control) {
    native_controls_.push_back(&control);
    return next_control_id_++;
}

void FormPeer::remove_native_control(NativeControl& control) {
    std::erase(native_controls_, &control);
}

UINT_PTR FormPeer::add_timer(TimerPeer& timer) {
    timers_.push_back(&timer);
    return next_timer_id_++;
}

void FormPeer::remove_timer(TimerPeer& timer) { std::erase(timers_, &timer); }

NativeControl* FormPeer::native_of(const tk::Control* control) const {
    for (NativeControl* native : native_controls_) {
        if (&native->control() == control) return native;
    }
    return nullptr;
}

NativeControl* FormPeer::native_of(HWND window) const {
    for (NativeControl* native : native_controls_) {
        if (native->window() == window && window != nullptr) return native;
    }
    return nullptr;
}

void FormPeer::invalidate(const RECT& area) {
    if (!window_ || IsRectEmpty(&area)) return;
    if (in_tick_) {
        RECT both{};
        UnionRect(&both, &changed_in_tick_, &area);
        changed_in_tick_ = both;
        return;
    }
    // A dialog's label window over the area paints part of what lies under it too.
    RedrawWindow(window_.get(), &area, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

HWND FormPeer::surface_of(const tk::Frame* container) const {
    if (container == nullptr) return window_.get();
    const NativeControl* frame = native_of(static_cast<const tk::Control*>(container));
    return frame != nullptr ? frame->window() : nullptr;
}

void FormPeer::paint_windowless(HDC dc, const tk::Frame* container, const tk::Control* above,
                                POINT origin) {
    const auto& controls = form_.controls();
    auto first = controls.begin();
    if (above != nullptr) first = std::next(std::find(controls.begin(), controls.end(), above));
    for (auto it = first; it < controls.end(); ++it) {
        const tk::Control* control = *it;
        if (control->container() != container || !control->visible() || !is_windowless(*control))
            continue;
        const RECT where = placed(*control);
        if (origin.x == 0 && origin.y == 0) {
            paint_windowless_control(dc, *control, where, toolkit_);
            continue;
        }
        // Onto another window the control is painted whole off screen and copied: a picture
        // stretched partly beyond a surface is sampled otherwise than one painted whole.
        const unique_hdc whole(CreateCompatibleDC(dc));
        const unique_hbitmap pixels(CreateCompatibleBitmap(dc, width(where), height(where)));
        if (!whole || !pixels) continue;
        const select_object chosen(whole.get(), pixels.get());
        paint_windowless_control(whole.get(), *control, {0, 0, width(where), height(where)},
                                 toolkit_);
        BitBlt(dc, where.left - origin.x, where.top - origin.y, width(where), height(where),
               whole.get(), 0, 0, SRCCOPY);
    }
}

void FormPeer::paint(HDC dc, const RECT& area) {
    const HDC back = back_.dc();
    const bool covered = back != nullptr && area.right <= back_.width() && area.bottom <= back_.height();
    if (!covered && back_brush_) FillRect(dc, &area, back_brush_.get());
    if (back != nullptr) {
        const int w = std::min<int>(area.right, back_.width()) - area.left;
        const int h = std::min<int>(area.bottom, back_.height()) - area.top;
        if (w > 0 && h > 0) BitBlt(dc, area.left, area.top, w, h, back, area.left, area.top, SRCCOPY);
    }
    paint_windowless(dc, nullptr);
}

void FormPeer::preview_key(const MSG& message) {
    if (message.message == WM_CHAR) {
        form_.raise_key_press(static_cast<tk::Int16>(message.wParam));
    } else {
        form_.raise_key_down(static_cast<tk::Int16>(message.wParam), key_shift());
    }
}

void FormPeer::mouse_move(WPARAM wparam, LPARAM lparam) {
    const POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    // Windows also sends WM_MOUSEMOVE when the pointer did not move (after ShowCursor,
    // SetWindowPos and the like); only a change of position is a move of the mouse.
    if (last_mouse_ && last_mouse_->x == at.x && last_mouse_->y == at.y) return;
    last_mouse_ = at;
    form_.raise_mouse_move(mouse_buttons(wparam), mouse_shift(wparam), at.x, at.y);
}

void FormPeer::command(WPARAM wparam, LPARAM lparam) {
    if (NativeControl* control = native_of(reinterpret_cast<HWND>(lparam)); control != nullptr) {
        control->command(HIWORD(wparam));
        return;
    }
    // The dialog manager's Enter and Escape.
    if (LOWORD(wparam) == IDOK) form_.press_default_button();
    if (LOWORD(wparam) == IDCANCEL) form_.press_cancel_button();
}

void FormPeer::timer_tick(UINT_PTR id) {
    // A tick posted before its timer stopped finds no timer and is dropped.
    for (TimerPeer* timer : timers_) {
        if (timer->id() == id) {
            toolkit_.tick_delivered();
            in_tick_ = true;
            timer->timer().raise_tick();
            in_tick_ = false;
            const RECT changed = std::exchange(changed_in_tick_, RECT{});
            if (!window_) return;
            write_snapshot();
            if (IsRectEmpty(&changed)) return;
            if (const window_dc screen(window_.get()); screen) {
                IntersectClipRect(screen.get(), changed.left, changed.top, changed.right,
                                  changed.bottom);
                paint(screen.get(), changed);
            }
            return;
        }
    }
}

void FormPeer::write_snapshot() {
    if (!in_host_ || !preview_snapshot_asked()) return;
    const SIZE size = client_size();
    write_preview_snapshot(size.cx, size.cy,
                           [this, size](HDC dc) { paint(dc, {0, 0, size.cx, size.cy}); });
}

void FormPeer::host_window_gone() {
    toolkit_.form_destroyed(*this);
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    window_.forget();
    back_.fit(0, 0, 0);
    form_.unload();
}

void FormPeer::arrange_tab_order() {
    std::vector<NativeControl*> order;
    for (const tk::Control* control : form_.tab_order()) {
        NativeControl* native = native_of(control);
        if (native != nullptr && control->takes_focus()) order.push_back(native);
    }
    // Below them the other controls, then the labels standing in frames, the frames (under
    // the controls that stand in them), and lowest the labels standing on the form, a later
    // label over an earlier one: each covered by what covered it when the form painted its
    // labels itself.
    enum Layer { Other, LabelInFrame, Frame, LabelOnForm };
    auto layer_of = [](const tk::Control& control) {
        if (control.kind() == tk::ControlKind::Frame) return Frame;
        if (control.kind() != tk::ControlKind::Label) return Other;
        return control.container() != nullptr ? LabelInFrame : LabelOnForm;
    };
    for (const Layer layer : {Other, LabelInFrame, Frame, LabelOnForm}) {
        const bool later_on_top = layer == LabelInFrame || layer == LabelOnForm;
        for (std::size_t i = 0; i < native_controls_.size(); ++i) {
            NativeControl* native =
                native_controls_[later_on_top ? native_controls_.size() - 1 - i : i];
            if (layer_of(native->control()) == layer &&
                std::find(order.begin(), order.end(), native) == order.end())
                order.push_back(native);
        }
    }
    HWND after = HWND_TOP;
    const tk::Control* previous = nullptr;
    for (NativeControl* native : order) {
        SetWindowPos(native->window(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = native->window();
        const tk::Control& control = native->control();
        const bool continues_group = control.kind() == tk::ControlKind::OptionButton &&
                                     previous != nullptr &&
                                     previous->kind() == tk::ControlKind::OptionButton &&
                                     previous->container() == control.container();
        native->set_group_start(!continues_group);
        previous = &control;
    }
}

NativeControl* FormPeer::initial_focus() const {
    for (const tk::Control* control : form_.tab_order()) {
        NativeControl* native = native_of(control);
        if (native == nullptr || !control->visible() || !control->enabled()) continue;
        if (control->kind() != tk::ControlKind::OptionButton) return native;
        // Into an option group the focus goes to its selected button.
        for (const tk::Control* other : form_.controls()) {
            if (other->kind() == tk::ControlKind::OptionButton &&
                other->container() == control->container() &&
                static_cast<const tk::OptionButton*>(other)->value())
                if (NativeControl* selected = native_of(other)) return selected;
        }
        return native;
    }
    for (NativeControl* native : native_controls_) {
        if (native->control().takes_focus()) return native;
    }
    return nullptr;
}

bool FormPeer::restore_focus() {
    NativeControl* target = native_of(form_.focused());
    if (target == nullptr) target = initial_focus();
    if (target == nullptr || target->window() == nullptr) return false;
    SetFocus(target->window());
    return true;
}

LRESULT CALLBACK FormPeer::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return DefWindowProcW(window, message, wparam, lparam);
    }
    auto* peer = reinterpret_cast<FormPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // Messages of creation come before the peer holds its window, and those of destruction
    // after it let go: the system's handling is all they get.
    if (peer == nullptr || peer->window_.get() != window)
        return DefWindowProcW(window, message, wparam, lparam);
    LRESULT result = 0;
    run_guarded([&] { result = peer->handle(message, wparam, lparam); });
    return result;
}

LRESULT FormPeer::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    const HWND window = window_.get();
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_DISPLAYCHANGE:
        case WM_SETTINGCHANGE:
            toolkit_.display_changed();
            break;
        case WM_DPICHANGED:
            toolkit_.display_changed();
            // A dialog moved to a monitor of another scale: placed where the system suggests,
            // then laid out again from its twips, with its fonts, at the new DPI. The saver
            // window and its covers stay placed over their monitors in pixels.
            if (form_.border() == tk::BorderStyle::FixedDialog) {
                const RECT& suggested = *reinterpret_cast<const RECT*>(lparam);
                SetWindowPos(window, nullptr, suggested.left, suggested.top, width(suggested),
                             height(suggested), SWP_NOZORDER | SWP_NOACTIVATE);
                form_.raise_dpi_changed(HIWORD(wparam));
                return 0;
            }
            break;
        case WM_PAINT: {
            {
                const paint_dc dc(window);
                if (dc) paint(dc.get(), dc.area());
            }
            write_snapshot();
            return 0;
        }
        case WM_PRINTCLIENT: {
            RECT all{};
            if (GetClientRect(window, &all)) paint(reinterpret_cast<HDC>(wparam), all);
            return 0;
        }
        case WM_MOUSEMOVE:
            mouse_move(wparam, lparam);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            form_.raise_mouse_down(button_of(message), mouse_shift(wparam), GET_X_LPARAM(lparam),
                                   GET_Y_LPARAM(lparam));
            return 0;
        case WM_LBUTTONUP:
            form_.raise_click();
            return 0;
        case WM_LBUTTONDBLCLK:
            form_.raise_dbl_click();
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            form_.raise_key_down(static_cast<tk::Int16>(wparam), key_shift());
            break;  // the system still sees it: Alt+F4 and the system menu keys
        case WM_CHAR:
            form_.raise_key_press(static_cast<tk::Int16>(wparam));
            return 0;
        case WM_CLOSE:
            form_.close_box_pressed();
            return 0;
        case WM_DESTROY:
            // Only a preview's window is ever destroyed by another than its peer.
            if (in_host_) {
                host_window_gone();
                return 0;
            }
            break;
        case WM_SIZE:
            if (in_host_) form_.set_view_size(LOWORD(lparam), HIWORD(lparam));
            break;
        case WM_TIMER:
            timer_tick(wparam);
            return 0;
        case WM_COMMAND:
            command(wparam, lparam);
            return 0;
        case WM_HSCROLL:
            if (NativeControl* control = native_of(reinterpret_cast<HWND>(lparam)))
                control->scroll(LOWORD(wparam));
            return 0;
        case DM_GETDEFID: {
            const NativeControl* button = native_of(form_.default_button());
            return button != nullptr ? MAKELRESULT(button->id(), DC_HASDEFID) : 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            if (!back_brush_) break;
            SetBkColor(reinterpret_cast<HDC>(wparam), brush_color_);
            SetTextColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_BTNTEXT));
            return reinterpret_cast<LRESULT>(back_brush_.get());
        case WM_ACTIVATE:
            if (LOWORD(wparam) != WA_INACTIVE && restore_focus()) return 0;
            break;
        case WM_SETFOCUS:
            if (restore_focus()) return 0;
            break;
        default:
            break;
    }
    // A handler may have closed the form.
    if (!window_) return 0;
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace win32
