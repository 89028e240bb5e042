#include "platform/win32/win32_toolkit.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstdint>

#include "platform/win32/win32_form_peer.h"
#include "platform/win32/geometry.h"
#include "platform/win32/guarded.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_timer_peer.h"
#include "toolkit/form.h"
#include "toolkit/text_rules.h"

namespace win32 {
namespace {

unique_hfont create_font(const tk::Font& font, int dpi) {
    LOGFONTW description{};
    description.lfHeight = -tk::font_pixel_height(font.size, dpi);
    description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    description.lfItalic = font.italic ? TRUE : FALSE;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = widen(font.name).substr(0, LF_FACESIZE - 1);
    std::copy(face.begin(), face.end(), description.lfFaceName);
    return unique_hfont(CreateFontIndirectW(&description));
}

BOOL CALLBACK collect_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM context) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        const RECT& r = info.rcMonitor;
        reinterpret_cast<std::vector<tk::Monitor>*>(context)->push_back(
            {r.left, r.top, r.right - r.left, r.bottom - r.top,
             (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    }
    return TRUE;
}

bool is_key_message(UINT message) {
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR;
}

}  // namespace

Win32Toolkit::Win32Toolkit(HINSTANCE instance) : instance_(instance), resources_(instance) {
    FormPeer::register_class(instance);
}

Win32Toolkit::~Win32Toolkit() {
    // A timer left running by a form that was never unloaded must not keep the system's
    // timer resolution raised.
    if (resolution_raised_) timeEndPeriod(1);
}

std::unique_ptr<tk::FormPeer> Win32Toolkit::create_form_peer(tk::Form& form) {
    return std::make_unique<FormPeer>(*this, form);
}

std::unique_ptr<tk::TimerPeer> Win32Toolkit::create_timer_peer(tk::Timer& timer) {
    return std::make_unique<TimerPeer>(*this, timer);
}

HFONT Win32Toolkit::font(const tk::Font& font, int dpi) {
    for (const CachedFont& cached : fonts_) {
        if (cached.font == font && cached.dpi == dpi) return cached.handle.get();
    }
    unique_hfont made = create_font(font, dpi);
    if (!made) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return fonts_.emplace_back(CachedFont{font, dpi, std::move(made)}).handle.get();
}

tk::Size Win32Toolkit::measure_text_at(const tk::Font& font, std::string_view text,
                                       double wrap_width, int dpi) {
    const double tpp = 1440.0 / dpi;
    // A memory DC of the screen's kind measures as the screen does, and is made only once.
    if (!measure_dc_) measure_dc_.reset(CreateCompatibleDC(nullptr));
    const HDC dc = measure_dc_.get();
    if (dc == nullptr) return {};
    const select_object chosen(dc, this->font(font, dpi));
    const std::wstring wide = widen(text);
    if (wide.empty()) {
        TEXTMETRICW metrics{};
        if (!GetTextMetricsW(dc, &metrics)) return {};
        return {0, metrics.tmHeight * tpp};
    }
    RECT extent{0, 0, wrap_width > 0 ? std::max(1, to_pixels(wrap_width, tpp)) : 0, 0};
    const UINT flags = DT_CALCRECT | (wrap_width > 0 ? DT_WORDBREAK : 0);
    if (DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &extent, flags) == 0)
        return {};
    return {width(extent) * tpp, height(extent) * tpp};
}

tk::Screen Win32Toolkit::screen() {
    // Asked several times a tick (every twips conversion): measured once, and again only
    // after the display changes. A screen not fully measured is never kept.
    if (screen_) return *screen_;
    tk::Screen screen;
    bool measured = true;
    int width_px = GetSystemMetrics(SM_CXSCREEN);
    int height_px = GetSystemMetrics(SM_CYSCREEN);
    // A preview is a miniature of the monitor holding its host's window.
    MONITORINFO host_monitor{};
    host_monitor.cbSize = sizeof host_monitor;
    if (preview_host_ != nullptr &&
        GetMonitorInfoW(MonitorFromWindow(preview_host_, MONITOR_DEFAULTTONEAREST), &host_monitor)) {
        width_px = width(host_monitor.rcMonitor);
        height_px = height(host_monitor.rcMonitor);
    }
    if (width_px > 0 && height_px > 0) {
        screen.width_px = width_px;
        screen.height_px = height_px;
    } else {
        measured = false;
    }
    const window_dc dc(nullptr);
    const int dpi = dc ? GetDeviceCaps(dc.get(), LOGPIXELSX) : 0;
    if (dpi > 0)
        screen.dpi = dpi;
    else
        measured = false;
    if (measured) screen_ = screen;
    return screen;
}

std::vector<tk::Monitor> Win32Toolkit::monitors() {
    std::vector<tk::Monitor> found;
    if (!EnumDisplayMonitors(nullptr, nullptr, collect_monitor,
                             reinterpret_cast<LPARAM>(&found)) ||
        found.empty()) {
        const tk::Screen primary = screen();
        return {{0, 0, primary.width_px, primary.height_px, true}};
    }
    return found;
}

std::string Win32Toolkit::command_line() {
    const std::wstring_view line = GetCommandLineW();
    // The program's path comes first, quoted or up to the first blank; then one blank
    // separates it from the argument text, which is returned as it stands.
    std::size_t rest = 0;
    if (!line.empty() && line.front() == L'"') {
        const std::size_t closing = line.find(L'"', 1);
        rest = closing == std::wstring_view::npos ? line.size() : closing + 1;
    } else {
        rest = std::min(line.find_first_of(L" \t"), line.size());
    }
    if (rest < line.size() && (line[rest] == L' ' || line[rest] == L'\t')) ++rest;
    return narrow(line.substr(rest));
}

bool Win32Toolkit::another_instance_running() {
    if (!another_instance_) {
        // The mutex lives as long as this process: a later start finds it and ends.
        instance_mutex_.reset(CreateMutexW(nullptr, FALSE, L"Local\\VQ_Saver.Instance"));
        another_instance_ = instance_mutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
    }
    return *another_instance_;
}

bool Win32Toolkit::show_in_window(std::uint64_t handle) {
    if (handle == 0 || handle != static_cast<std::uintptr_t>(handle)) return false;
    const auto host = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle));
    if (!IsWindow(host)) return false;
    preview_host_ = host;
    unclaimed_host_ = host;
    screen_.reset();
    return true;
}

void Win32Toolkit::show_cursor(bool show) {
    ShowCursor(show ? TRUE : FALSE);
    if (show)
        note_released(HandleKind::PointerHide);
    else
        note_acquired(HandleKind::PointerHide);
}

// Without the raised resolution the timers still run, at the system's own tick.
void Win32Toolkit::timer_started() {
    if (running_timers_++ == 0) resolution_raised_ = timeBeginPeriod(1) == TIMERR_NOERROR;
}

void Win32Toolkit::timer_stopped() {
    if (running_timers_ == 0 || --running_timers_ > 0 || !resolution_raised_) return;
    timeEndPeriod(1);
    resolution_raised_ = false;
}

void Win32Toolkit::form_created(FormPeer& form) { forms_.push_back(&form); }

void Win32Toolkit::form_destroyed(FormPeer& form) { std::erase(forms_, &form); }

FormPeer* Win32Toolkit::form_of(HWND window) const {
    if (window == nullptr) return nullptr;
    const HWND root = GetAncestor(window, GA_ROOT);
    for (FormPeer* form : forms_) {
        if (form->window() == root) return form;
    }
    return nullptr;
}

bool Win32Toolkit::pre_translate(MSG& message) {
    FormPeer* form = form_of(message.hwnd);
    if (form == nullptr) return false;
    // Keys sent to the form's own window reach its handlers through the window procedure;
    // keys sent to one of its controls are previewed here, and still go on to the control.
    if (is_key_message(message.message) && message.hwnd != form->window() &&
        form->form().key_preview()) {
        run_guarded([&] { form->preview_key(message); });
        form = form_of(message.hwnd);
        if (form == nullptr) return true;  // the form closed on that key
    }
    return form->has_native_controls() && IsDialogMessageW(form->window(), &message);
}

bool Win32Toolkit::pump_message() {
    if (quit_) return false;
    MSG message{};
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        quit_ = true;
        exit_code_ = got == 0 ? static_cast<int>(message.wParam) : 1;
        return false;
    }
    if (!pre_translate(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

int Win32Toolkit::run() {
    while (loaded_form_count() > 0 && pump_message()) {
    }
    return exit_code_;
}

void Win32Toolkit::last_form_unloaded() { PostQuitMessage(0); }

}  // namespace win32
