#include "driver/input.h"

#include <string>
#include <vector>

#include "driver/screen_image.h"
#include "driver/win32_error.h"
#include "support/polling.h"

namespace vqtest {
namespace {

void send(std::vector<INPUT> inputs) {
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        throw_last_error("SendInput");
}

INPUT key_input(WORD virtual_key, DWORD flags) {
    return {.type = INPUT_KEYBOARD,
            .ki = {.wVk = virtual_key, .wScan = 0, .dwFlags = flags, .time = 0, .dwExtraInfo = 0}};
}

INPUT mouse_input(LONG dx, LONG dy, DWORD flags) {
    return {
        .type = INPUT_MOUSE,
        .mi = {.dx = dx, .dy = dy, .mouseData = 0, .dwFlags = flags, .time = 0, .dwExtraInfo = 0}};
}

// Absolute mouse coordinates run from 0 to 65535 across the screen and the system takes the
// pixel as (value * size) / 65536, rounded down: the smallest value that lands on `pixel`.
LONG normalised(LONG pixel, int screen_size) {
    return static_cast<LONG>((pixel * 65536LL + screen_size - 1) / screen_size);
}

POINT pointer_position() {
    POINT position{};
    if (!GetCursorPos(&position)) throw_last_error("GetCursorPos");
    return position;
}

}  // namespace

void press_key(WORD virtual_key, WORD modifier) {
    std::vector<INPUT> inputs{key_input(virtual_key, 0), key_input(virtual_key, KEYEVENTF_KEYUP)};
    if (modifier != 0) {
        inputs.insert(inputs.begin(), key_input(modifier, 0));
        inputs.push_back(key_input(modifier, KEYEVENTF_KEYUP));
    }
    send(inputs);
}

void click(MouseButton button) {
    const auto press = static_cast<DWORD>(button);
    send({mouse_input(0, 0, press), mouse_input(0, 0, press << 1)});
}

void click_on(HWND window) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) throw_last_error("GetWindowRect");
    move_pointer_to({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    click();
}

void send_input_burst(int count) {
    std::vector<INPUT> inputs;
    for (int i = 0; i < count; ++i) {
        const LONG step = i % 2 == 0 ? 1 : -1;
        inputs.push_back(mouse_input(7 * step, 5 * step, MOUSEEVENTF_MOVE));
        inputs.push_back(key_input(VK_SHIFT, 0));
        inputs.push_back(key_input(VK_SHIFT, KEYEVENTF_KEYUP));
    }
    send(inputs);
}

void move_pointer_to(POINT target) {
    // Over every monitor: the virtual screen.
    const RECT screen = ScreenImage::virtual_screen();
    if (!PtInRect(&screen, target)) throw DriverError("pointer target outside the screen");
    const INPUT move =
        mouse_input(normalised(target.x - screen.left, screen.right - screen.left),
                    normalised(target.y - screen.top, screen.bottom - screen.top),
                    MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK);
    // Under Wine the pointer can spring back to where the X server last had it when a
    // window appears or hides the pointer just then; the move is sent again until it holds.
    bool arrived = false;
    for (int attempt = 0; attempt < 8 && !arrived; ++attempt) {
        send({move});
        arrived = poll_until(
            [&] {
                const POINT now = pointer_position();
                return now.x == target.x && now.y == target.y;
            },
            milliseconds{250});
    }
    if (!arrived) {
        const POINT now = pointer_position();
        throw DriverError("the pointer stayed at " + std::to_string(now.x) + "," +
                          std::to_string(now.y) + " instead of " + std::to_string(target.x) + "," +
                          std::to_string(target.y));
    }
}

bool pointer_shown() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    if (!GetCursorInfo(&info)) throw_last_error("GetCursorInfo");
    return (info.flags & CURSOR_SHOWING) != 0;
}

}  // namespace vqtest
