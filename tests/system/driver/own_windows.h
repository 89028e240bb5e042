// Windows of the test process itself, each on a thread of its own whose message loop keeps
// it painted and answering while the test waits on other things.
#pragma once

#include <windows.h>

#include <string>
#include <thread>

namespace vqtest {

class ThreadWindow {
  public:
    // A window of a class of its own with a stock brush as background, at `rect`; shown
    // without taking the foreground unless `style` makes it visible at once.
    ThreadWindow(const wchar_t* class_name, int stock_brush, DWORD ex_style, DWORD style,
                 RECT rect);
    // Destroys the window if it is still there.
    ~ThreadWindow() { destroy(); }
    ThreadWindow(const ThreadWindow&) = delete;
    ThreadWindow& operator=(const ThreadWindow&) = delete;

    HWND window() const { return window_; }
    // Closes the window, as its owner does, and waits until it is gone.
    void destroy();

  private:
    HWND window_ = nullptr;
    std::thread thread_;
};

// A plain white window over every monitor, below any top-most window: something for the
// saver to cover, so that a black screen means the saver drew it.
class Backdrop : public ThreadWindow {
  public:
    // Returns once the screen shows it.
    Backdrop();
};

// A screen-saver host's preview window, as the system's settings dialog has one: a plain
// top-level window at the top-left of the screen whose client area the saver is asked to
// fill (/p <handle>).
class PreviewHost : public ThreadWindow {
  public:
    PreviewHost(int client_width, int client_height);

    // The command line asking for a preview in this window: `request` and the handle.
    std::wstring command(const std::wstring& request = L"/p ") const;
    // The client area in screen coordinates.
    RECT client_on_screen() const;
    // The saver's window filling the client area, once it is there; null if none.
    HWND child() const { return FindWindowExW(window(), nullptr, nullptr, nullptr); }
};

}  // namespace vqtest
