// The benchmark's baseline in a Wayland session: the least a saver on layer-shell can do.
// One surface on the overlay layer over the compositor's chosen output, anchored to every
// edge; one shared-memory buffer, black, into which every tick ("wayland_probe 25") copies
// a 124 x 152 greyscale picture moved one pixel along, then damages that rectangle and
// commits. Its timer keeps its phase like the saver's, and its ticks are logged like the
// saver's (see platform/linux/tick_log.h). Runs until it is ended from outside or the
// compositor goes.
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "layer_shell_protocol.h"
#include "platform/linux/tick_log.h"

namespace {

constexpr int kPictureWidth = 124;
constexpr int kPictureHeight = 152;
constexpr std::uint32_t kOverlayLayer = 3;
constexpr std::uint32_t kAllEdges = 1 | 2 | 4 | 8;

std::int64_t now_us() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_RAW, &now);
    return std::int64_t{now.tv_sec} * 1000000 + now.tv_nsec / 1000;
}

// An interval that is not a number from 1 to 60000 falls back to 25 ms.
int parse_interval(int argc, char** argv) {
    if (argc < 2) return 25;
    char* end = nullptr;
    const long interval = std::strtol(argv[1], &end, 10);
    return *end == '\0' && interval >= 1 && interval <= 60000 ? static_cast<int>(interval) : 25;
}

struct Globals {
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    zwlr_layer_shell_v1* layer_shell = nullptr;
};

void on_global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
               std::uint32_t) {
    auto& g = *static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_compositor_interface.name) == 0)
        g.compositor = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, 1));
    else if (std::strcmp(interface, wl_shm_interface.name) == 0)
        g.shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0)
        g.layer_shell = static_cast<zwlr_layer_shell_v1*>(
            wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, 1));
}

void on_global_remove(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener{on_global, on_global_remove};

struct Surface {
    zwlr_layer_surface_v1* layer = nullptr;
    int width = 0, height = 0;
    bool configured = false, closed = false;
};

void on_configure(void* data, zwlr_layer_surface_v1* layer, std::uint32_t serial,
                  std::uint32_t width, std::uint32_t height) {
    auto& s = *static_cast<Surface*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    s.width = static_cast<int>(width);
    s.height = static_cast<int>(height);
    s.configured = true;
}

void on_closed(void* data, zwlr_layer_surface_v1*) {
    static_cast<Surface*>(data)->closed = true;
}

const zwlr_layer_surface_v1_listener kLayerListener{on_configure, on_closed};

// The picture in the buffer's pixel format: greys like the saver's pictures, with a black
// frame one pixel wide so that a one-pixel move leaves no trail.
std::vector<std::uint32_t> make_picture() {
    std::vector<std::uint32_t> picture(kPictureWidth * kPictureHeight);
    for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < kPictureWidth; ++x) {
            const bool frame =
                x == 0 || y == 0 || x == kPictureWidth - 1 || y == kPictureHeight - 1;
            const std::uint32_t grey = frame ? 0 : 64 + (x + y) % 160;
            picture[y * kPictureWidth + x] = 0xFF000000u | grey << 16 | grey << 8 | grey;
        }
    return picture;
}

}  // namespace

int main(int argc, char** argv) {
    const int interval_ms = parse_interval(argc, argv);
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) return 1;
    Globals g;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &g);
    wl_display_roundtrip(display);
    if (g.compositor == nullptr || g.shm == nullptr || g.layer_shell == nullptr) return 1;

    Surface s;
    wl_surface* surface = wl_compositor_create_surface(g.compositor);
    s.layer = zwlr_layer_shell_v1_get_layer_surface(g.layer_shell, surface, nullptr,
                                                    kOverlayLayer, "vq-probe");
    zwlr_layer_surface_v1_add_listener(s.layer, &kLayerListener, &s);
    zwlr_layer_surface_v1_set_anchor(s.layer, kAllEdges);
    zwlr_layer_surface_v1_set_exclusive_zone(s.layer, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(s.layer, 1);
    wl_surface_commit(surface);
    while (!s.configured && !s.closed && wl_display_dispatch(display) != -1) {
    }
    if (!s.configured || s.width <= kPictureWidth || s.height <= kPictureHeight) return 1;

    // The one buffer, black, shown whole once.
    const int stride = s.width * 4;
    const std::size_t size = static_cast<std::size_t>(stride) * s.height;
    const int fd = memfd_create("vq-probe", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, static_cast<off_t>(size)) != 0) return 1;
    void* mapped = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (mapped == MAP_FAILED) return 1;
    auto* pixels = static_cast<std::uint32_t*>(mapped);
    std::fill(pixels, pixels + size / 4, 0xFF000000u);
    wl_shm_pool* pool = wl_shm_create_pool(g.shm, fd, static_cast<std::int32_t>(size));
    wl_buffer* buffer =
        wl_shm_pool_create_buffer(pool, 0, s.width, s.height, stride, WL_SHM_FORMAT_XRGB8888);
    wl_surface_attach(surface, buffer, 0, 0);
    wl_surface_damage(surface, 0, 0, s.width, s.height);
    wl_surface_commit(surface);

    const std::vector<std::uint32_t> picture = make_picture();
    const int top = (s.height - kPictureHeight) / 2;
    TickLog tick_log;
    int x = 0;
    int step = 1;
    const std::int64_t interval_us = std::int64_t{interval_ms} * 1000;
    std::int64_t next = now_us() + interval_us;
    while (!s.closed) {
        if (wl_display_flush(display) < 0) return 0;
        const std::int64_t wait_us = next - now_us();
        pollfd connection{wl_display_get_fd(display), POLLIN, 0};
        if (wait_us > 0 && poll(&connection, 1, static_cast<int>((wait_us + 999) / 1000)) < 0)
            continue;
        if ((connection.revents & POLLIN) != 0 && wl_display_dispatch(display) == -1) return 0;
        const std::int64_t now = now_us();
        if (now < next) continue;
        // Like a window timer: the ticks keep their phase, and those missed while the program
        // was late are dropped rather than delivered in a burst.
        next += interval_us;
        if (next <= now) next += ((now - next) / interval_us + 1) * interval_us;
        tick_log.tick();
        if (x + step < 0 || x + step > s.width - kPictureWidth) step = -step;
        x += step;
        for (int row = 0; row < kPictureHeight; ++row)
            std::memcpy(pixels + static_cast<std::size_t>(top + row) * s.width + x,
                        picture.data() + row * kPictureWidth, kPictureWidth * 4);
        wl_surface_attach(surface, buffer, 0, 0);
        wl_surface_damage(surface, x - 1, top, kPictureWidth + 2, kPictureHeight);
        wl_surface_commit(surface);
    }
    return 0;
}
