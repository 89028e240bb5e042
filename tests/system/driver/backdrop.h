// A plain white window of the test process over every monitor, below any top-most
// window: something for the saver to cover, so that a black screen means the saver drew it.
#pragma once

#include <windows.h>

#include <future>
#include <thread>

namespace vqtest {

class Backdrop {
public:
    // Returns once the screen shows it.
    Backdrop();
    ~Backdrop();
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;

private:
    // The window lives on its own thread, whose message loop keeps it painted.
    static void run(std::promise<DWORD>& started);
    void stop();

    std::thread thread_;
    DWORD thread_id_ = 0;
};

}  // namespace vqtest
