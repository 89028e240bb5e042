#include "virtual_seat.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const struct wl_interface* wanted;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)version;
    struct virtual_seat* found = data;
    if (strcmp(interface, wl_seat_interface.name) == 0 && found->seat == NULL)
        found->seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (strcmp(interface, wanted->name) == 0)
        found->manager = wl_registry_bind(registry, name, wanted, 1);
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

struct virtual_seat connect_virtual_seat(const char* program,
                                         const struct wl_interface* manager_interface) {
    struct virtual_seat found = {wl_display_connect(NULL), NULL, NULL};
    if (found.display == NULL) {
        fprintf(stderr, "%s: no Wayland display\n", program);
        exit(1);
    }
    static const struct wl_registry_listener listener = {global, global_remove};
    wanted = manager_interface;
    wl_registry_add_listener(wl_display_get_registry(found.display), &listener, &found);
    wl_display_roundtrip(found.display);
    if (found.seat == NULL || found.manager == NULL) {
        fprintf(stderr, "%s: the compositor offers no seat or no %s\n", program,
                manager_interface->name);
        exit(1);
    }
    return found;
}
