// What the virtual input devices share: a connection to the compositor with its first seat
// and the manager of one kind of virtual device bound.
#pragma once

#include <wayland-client.h>

struct virtual_seat {
    struct wl_display* display;
    struct wl_seat* seat;
    void* manager;  // of `manager_interface`
};

// Connects and binds; on failure says why on standard error, naming `program`, and exits
// with status 1.
struct virtual_seat connect_virtual_seat(const char* program,
                                         const struct wl_interface* manager_interface);
