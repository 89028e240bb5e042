// Keyboard and mouse input as the system delivers it (SendInput), and the pointer's state.
// Input goes to whichever window the system gives it: the foreground window for keys, the
// window under the pointer for the mouse.
#pragma once

#include <windows.h>

namespace vqtest {

// Presses and releases one key, with `modifier` held down if one is given: VK_MENU for a
// button's access key, VK_SHIFT for a shifted character.
void press_key(WORD virtual_key, WORD modifier = 0);
// Each button by the flag that presses it; the flag that releases it is the next bit up.
enum class MouseButton : DWORD {
    Left = MOUSEEVENTF_LEFTDOWN,
    Right = MOUSEEVENTF_RIGHTDOWN,
    Middle = MOUSEEVENTF_MIDDLEDOWN
};
// Presses and releases a button where the pointer is.
void click(MouseButton button = MouseButton::Left);
// Presses the left button in the middle of `window`, as a user clicks a control.
void click_on(HWND window);
// Moves the pointer to a point of the screen and waits until the system reports it there.
void move_pointer_to(POINT target);
// Sends `count` short relative pointer moves, each followed by a press and release of
// Shift, as one block of input: a user's hand on a busy desk.
void send_input_burst(int count);

// Whether the system reports the pointer as shown. The show count belongs to the thread of
// the foreground window, so this answers for whoever owns the foreground.
bool pointer_shown();

}  // namespace vqtest
