#include "driver/input.h"

#include <array>
#include <string>
#include <vector>

#include "support/polling.h"
#include "driver/win32_error.h"

namespace vqtest {
namespace {

template <size_t N>
void send(std::array<INPUT, N>& inputs) {
    if (SendInput(static_cast<UINT>(N), inputs.data(), sizeof(INPUT)) != N)
        throw_last_error("SendInput");
}

// Absolute mouse coordinates run from 0 to 65535 across the screen and the system takes the
// pixel as (value * size) / 65536, rounded down: the smallest value that lands on `pixel`.
LONG normalised(LONG pixel, int screen_size) {
    return static_cast<LONG>((pixel * 65536LL + screen_size - 1) / screen_size);
}

}  // namespace

void press_key(WORD virtual_key) {
    std::array<INPUT, 2> inputs{};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtual_key;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    send(inputs);
}

namespace {

// Presses and releases `virtual_key` with `modifier` held down.
void press_with(WORD modifier, WORD virtual_key) {
    std::array<INPUT, 4> inputs{};
    for (INPUT& input : inputs) input.type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = modifier;
    inputs[1].ki.wVk = virtual_key;
    inputs[2].ki.wVk = virtual_key;
    inputs[2].ki.dwFlags = KEYEVENTF_KEYUP;
    inputs[3].ki.wVk = modifier;
    inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
    send(inputs);
}

}  // namespace

void press_with_alt(WORD virtual_key) { press_with(VK_MENU, virtual_key); }

void press_with_shift(WORD virtual_key) { press_with(VK_SHIFT, virtual_key); }

void click(MouseButton button) {
    std::array<INPUT, 2> inputs{};
    for (INPUT& input : inputs) input.type = INPUT_MOUSE;
    switch (button) {
        case MouseButton::Left:
            inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
            inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
            break;
        case MouseButton::Right:
            inputs[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
            inputs[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
            break;
        case MouseButton::Middle:
            inputs[0].mi.dwFlags = MOUSEEVENTF_MIDDLEDOWN;
            inputs[1].mi.dwFlags = MOUSEEVENTF_MIDDLEUP;
            break;
    }
    send(inputs);
}

void send_input_burst(int count) {
    std::vector<INPUT> inputs(static_cast<size_t>(count) * 3);
    for (size_t i = 0; i < inputs.size(); i += 3) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = (i / 3) % 2 == 0 ? 7 : -7;
        inputs[i].mi.dy = (i / 3) % 2 == 0 ? 5 : -5;
        inputs[i].mi.dwFlags = MOUSEEVENTF_MOVE;
        inputs[i + 1].type = INPUT_KEYBOARD;
        inputs[i + 1].ki.wVk = VK_SHIFT;
        inputs[i + 2].type = INPUT_KEYBOARD;
        inputs[i + 2].ki.wVk = VK_SHIFT;
        inputs[i + 2].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (sent != inputs.size()) throw_last_error("SendInput");
}

POINT pointer_position() {
    POINT position{};
    if (!GetCursorPos(&position)) throw_last_error("GetCursorPos");
    return position;
}

void move_pointer_to(POINT target) {
    // Over every monitor: the virtual screen, whose top-left corner may be left of and
    // above the primary's.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (target.x < left || target.y < top || target.x >= left + width || target.y >= top + height)
        throw DriverError("pointer target outside the screen");
    std::array<INPUT, 1> inputs{};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dx = normalised(target.x - left, width);
    inputs[0].mi.dy = normalised(target.y - top, height);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    // Under Wine the pointer can spring back to where the X server last had it when a
    // window appears or hides the pointer just then; the move is sent again until it holds.
    bool arrived = false;
    for (int attempt = 0; attempt < 8 && !arrived; ++attempt) {
        send(inputs);
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
                          std::to_string(now.y) + " instead of " + std::to_string(target.x) +
                          "," + std::to_string(target.y));
    }
}

bool pointer_shown() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    if (!GetCursorInfo(&info)) throw_last_error("GetCursorInfo");
    return (info.flags & CURSOR_SHOWING) != 0;
}

}  // namespace vqtest
