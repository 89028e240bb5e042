// Plugs one keyboard with a standard US layout into the compositor's first seat, holds it
// for the whole session and types the chords it reads from standard input, one a line, as
// key names joined by "+" ("Tab", "question", "alt+n"); it answers each line with "ok" once
// the compositor has the keys, or "unknown" for a name the layout has no key for.
// One keyboard with one keymap for good: toolkits match their key bindings against the
// keymap's key codes, which a keyboard plugged in per key keeps changing under them.
#define _GNU_SOURCE
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon.h>

#include "virtual_keyboard_protocol.h"
#include "virtual_seat.h"

enum { MAX_KEYS = 8, KEYMAP_FORMAT_XKB_V1 = 1 };

static struct zwp_virtual_keyboard_v1* keyboard;
static struct xkb_keymap* keymap;
static struct xkb_state* state;

static uint32_t now_ms(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint32_t)(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

// The key that gives the symbol in the first layout, and whether Shift is needed for it.
static xkb_keycode_t key_for(const char* name, int* shifted) {
    xkb_keysym_t wanted = strcmp(name, "alt") == 0    ? XKB_KEY_Alt_L
                          : strcmp(name, "ctrl") == 0 ? XKB_KEY_Control_L
                          : strcmp(name, "shift") == 0
                              ? XKB_KEY_Shift_L
                              : xkb_keysym_from_name(name, XKB_KEYSYM_NO_FLAGS);
    if (wanted == XKB_KEY_NoSymbol) return XKB_KEYCODE_INVALID;
    for (int level = 0; level < 2; ++level) {
        for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap);
             key <= xkb_keymap_max_keycode(keymap); ++key) {
            const xkb_keysym_t* syms;
            if (xkb_keymap_key_get_syms_by_level(keymap, key, 0, (xkb_level_index_t)level, &syms) ==
                    1 &&
                syms[0] == wanted) {
                *shifted = level;
                return key;
            }
        }
    }
    return XKB_KEYCODE_INVALID;
}

static void send_key(xkb_keycode_t key, int down) {
    // The protocol's key codes are the kernel's: the keymap's less 8.
    zwp_virtual_keyboard_v1_key(keyboard, now_ms(), key - 8, down);
    xkb_state_update_key(state, key, down ? XKB_KEY_DOWN : XKB_KEY_UP);
    zwp_virtual_keyboard_v1_modifiers(
        keyboard, xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED),
        xkb_state_serialize_mods(state, XKB_STATE_MODS_LATCHED),
        xkb_state_serialize_mods(state, XKB_STATE_MODS_LOCKED),
        xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE));
}

// Presses the chord's keys in order and lets them go in reverse.
static int type_chord(char* chord) {
    xkb_keycode_t keys[MAX_KEYS + 1];
    int count = 0;
    for (char* name = strtok(chord, "+"); name != NULL; name = strtok(NULL, "+")) {
        int shifted = 0;
        xkb_keycode_t key = key_for(name, &shifted);
        if (key == XKB_KEYCODE_INVALID || count + shifted >= MAX_KEYS) return 0;
        if (shifted) keys[count++] = key_for("shift", &shifted);
        keys[count++] = key;
    }
    for (int i = 0; i < count; ++i) send_key(keys[i], 1);
    for (int i = count - 1; i >= 0; --i) send_key(keys[i], 0);
    return count > 0;
}

int main(void) {
    const struct virtual_seat seat =
        connect_virtual_seat("virtual_keyboard", &zwp_virtual_keyboard_manager_v1_interface);
    struct xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    keymap = context ? xkb_keymap_new_from_names(context, NULL, XKB_KEYMAP_COMPILE_NO_FLAGS) : NULL;
    if (keymap == NULL) {
        fprintf(stderr, "virtual_keyboard: no keymap\n");
        return 1;
    }
    state = xkb_state_new(keymap);
    keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(seat.manager, seat.seat);
    char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    const size_t size = strlen(text) + 1;
    const int fd = memfd_create("keymap", MFD_CLOEXEC);
    const int written = fd >= 0 && write(fd, text, size) == (ssize_t)size;
    free(text);
    if (!written) {
        fprintf(stderr, "virtual_keyboard: the keymap could not be handed over\n");
        return 1;
    }
    zwp_virtual_keyboard_v1_keymap(keyboard, KEYMAP_FORMAT_XKB_V1, fd, (uint32_t)size);
    close(fd);
    wl_display_roundtrip(seat.display);
    setvbuf(stdout, NULL, _IOLBF, 0);
    puts("ready");
    char line[256];
    while (fgets(line, sizeof line, stdin) != NULL) {
        line[strcspn(line, "\r\n")] = '\0';
        int typed = type_chord(line);
        if (wl_display_roundtrip(seat.display) == -1) return 1;
        puts(typed ? "ok" : "unknown");
    }
    return 0;
}
