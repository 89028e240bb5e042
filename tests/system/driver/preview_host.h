// A screen-saver host's preview window, as the system's settings dialog has one: a plain
// top-level window whose client area the saver is asked to fill (/p <handle>). Its own
// thread keeps its messages flowing while the test waits on other things.
#pragma once

#include <windows.h>

#include <thread>

namespace vqtest {

class PreviewHost {
  public:
    // Opens the window, with a client area of the given size, at the top-left of the screen.
    PreviewHost(int client_width, int client_height);
    // Destroys the window if it is still there.
    ~PreviewHost();
    PreviewHost(const PreviewHost&) = delete;
    PreviewHost& operator=(const PreviewHost&) = delete;

    HWND window() const { return window_; }
    // The client area in screen coordinates.
    RECT client_on_screen() const;
    // The saver's window filling the client area, once it is there; null if none.
    HWND child() const { return FindWindowExW(window_, nullptr, nullptr, nullptr); }
    // Destroys the window, as the host does when its dialog closes, and waits until it is gone.
    void destroy();

  private:
    void run(int client_width, int client_height);

    HWND window_ = nullptr;
    HANDLE ready_ = nullptr;
    std::thread thread_;
};

}  // namespace vqtest
