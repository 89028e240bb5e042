// Plugs a pointer into the compositor's first seat and holds it until the compositor goes
// away or the process is ended. A headless seat starts without one, and without one the
// compositor's own cursor commands (swaymsg seat ... cursor) reach no client.
#include "virtual_pointer_protocol.h"
#include "virtual_seat.h"

int main(void) {
    const struct virtual_seat seat =
        connect_virtual_seat("virtual_pointer", &zwlr_virtual_pointer_manager_v1_interface);
    struct zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(seat.manager, seat.seat);
    // A motion of nothing makes the device known to clients before anyone moves it.
    zwlr_virtual_pointer_v1_motion(pointer, 0, wl_fixed_from_int(0), wl_fixed_from_int(0));
    zwlr_virtual_pointer_v1_frame(pointer);
    while (wl_display_dispatch(seat.display) != -1) {
    }
    return 0;
}
