// Keyboard and mouse input as the system delivers it (SendInput), and the pointer's state.
// Input goes to whichever window the system gives it: the foreground window for keys, the
// window under the pointer for the mouse.
#pragma once

#include <windows.h>

namespace vqtest {

// Presses and releases one key.
void press_key(WORD virtual_key);
// Presses a key with Alt held down: a button's access key.
void press_with_alt(WORD virtual_key);
// Presses a key with Shift held down: a shifted character.
void press_with_shift(WORD virtual_key);
enum class MouseButton { Left, Right, Middle };
// Presses and releases a button where the pointer is.
void click(MouseButton button);
// Moves the pointer to a point of the screen and waits until the system reports it there.
void move_pointer_to(POINT target);
POINT pointer_position();
// Sends `count` short relative pointer moves, each followed by a press and release of
// Shift, as one block of input: a user's hand on a busy desk.
void send_input_burst(int count);

// Whether the system reports the pointer as shown. The show count belongs to the thread of
// the foreground window, so this answers for whoever owns the foreground.
bool pointer_shown();

}  // namespace vqtest
