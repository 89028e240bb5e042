#include "platform/gtk/gtk_wayland_surface.h"

#include <gdk/gdkwayland.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace gtkb {
namespace {

// The compositor's globals this needs, bound once on GDK's connection.
struct Globals {
    wl_compositor* compositor = nullptr;
    wl_subcompositor* subcompositor = nullptr;
    wl_shm* shm = nullptr;
};

void global_added(void* data, wl_registry* registry, uint32_t name, const char* interface,
                  uint32_t version) {
    auto& globals = *static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && version >= 4)
        globals.compositor =
            static_cast<wl_compositor*>(wl_registry_bind(registry, name, &wl_compositor_interface, 4));
    else if (std::strcmp(interface, wl_subcompositor_interface.name) == 0)
        globals.subcompositor = static_cast<wl_subcompositor*>(
            wl_registry_bind(registry, name, &wl_subcompositor_interface, 1));
    else if (std::strcmp(interface, wl_shm_interface.name) == 0)
        globals.shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
}

void global_removed(void*, wl_registry*, uint32_t) {}

const Globals& globals_of(wl_display* display) {
    static Globals globals;
    static bool bound = false;
    if (bound) return globals;
    bound = true;
    // Asked on a queue of its own, so that GDK's events are left to GDK; what is bound then
    // goes back to the default queue, which GDK dispatches (buffer releases among them).
    wl_event_queue* queue = wl_display_create_queue(display);
    wl_registry* registry = wl_display_get_registry(display);
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(registry), queue);
    static const wl_registry_listener listener{global_added, global_removed};
    wl_registry_add_listener(registry, &listener, &globals);
    wl_display_roundtrip_queue(display, queue);
    for (wl_proxy* proxy : {reinterpret_cast<wl_proxy*>(globals.compositor),
                            reinterpret_cast<wl_proxy*>(globals.subcompositor),
                            reinterpret_cast<wl_proxy*>(globals.shm)})
        if (proxy != nullptr) wl_proxy_set_queue(proxy, nullptr);
    wl_registry_destroy(registry);
    wl_event_queue_destroy(queue);
    return globals;
}

}  // namespace

std::unique_ptr<WaylandSurface> WaylandSurface::over(GtkWidget* window, int scale,
                                                     Painter painter) {
    GdkWindow* gdk_window = gtk_widget_get_window(window);
    if (gdk_window == nullptr || !GDK_IS_WAYLAND_WINDOW(gdk_window)) return nullptr;
    wl_surface* parent = gdk_wayland_window_get_wl_surface(gdk_window);
    wl_display* display =
        gdk_wayland_display_get_wl_display(gdk_window_get_display(gdk_window));
    if (parent == nullptr || display == nullptr) return nullptr;
    const Globals& globals = globals_of(display);
    if (globals.compositor == nullptr || globals.subcompositor == nullptr || globals.shm == nullptr)
        return nullptr;
    return std::unique_ptr<WaylandSurface>(new WaylandSurface(
        globals.compositor, globals.subcompositor, globals.shm, parent, scale, std::move(painter)));
}

WaylandSurface::WaylandSurface(wl_compositor* compositor, wl_subcompositor* subcompositor,
                               wl_shm* shm, wl_surface* parent, int scale, Painter painter)
    : compositor_(compositor), subcompositor_(subcompositor), shm_(shm), scale_(scale),
      painter_(std::move(painter)) {
    surface_ = wl_compositor_create_surface(compositor_);
    subsurface_ = wl_subcompositor_get_subsurface(subcompositor_, surface_, parent);
    wl_subsurface_set_position(subsurface_, 0, 0);
    // Its commits show at once, not with GTK's next one.
    wl_subsurface_set_desync(subsurface_);
    // Input passes through to the form's own surface, which GDK knows.
    wl_region* nothing = wl_compositor_create_region(compositor_);
    wl_surface_set_input_region(surface_, nothing);
    wl_region_destroy(nothing);
    wl_surface_set_buffer_scale(surface_, scale_);
}

void WaylandSurface::mark_opaque() {
    // Nothing beneath shows through, so the compositor need not draw what lies under it.
    wl_region* whole = wl_compositor_create_region(compositor_);
    wl_region_add(whole, 0, 0, (width_ + scale_ - 1) / scale_, (height_ + scale_ - 1) / scale_);
    wl_surface_set_opaque_region(surface_, whole);
    wl_region_destroy(whole);
}

WaylandSurface::~WaylandSurface() {
    release_buffers();
    wl_subsurface_destroy(subsurface_);
    wl_surface_destroy(surface_);
}

void WaylandSurface::release_buffers() {
    for (Buffer& buffer : buffers_) {
        buffer.image.reset();
        if (buffer.buffer != nullptr) wl_buffer_destroy(buffer.buffer);
        buffer = Buffer{};
    }
    if (memory_ != nullptr) munmap(memory_, memory_size_);
    memory_ = nullptr;
    memory_size_ = 0;
}

void WaylandSurface::resize(int width, int height) {
    if (width == width_ && height == height_) return;
    release_buffers();
    width_ = width;
    height_ = height;
    const int stride = width * 4;
    const std::size_t one = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
    if (width <= 0 || height <= 0 || one > (std::size_t{1} << 30)) return;
    const int file = memfd_create("vqsaver", MFD_CLOEXEC);
    if (file < 0) return;
    if (ftruncate(file, static_cast<off_t>(one * buffers_.size())) == 0) {
        memory_size_ = one * buffers_.size();
        memory_ = mmap(nullptr, memory_size_, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
        if (memory_ == MAP_FAILED) memory_ = nullptr;
    }
    if (memory_ != nullptr) {
        wl_shm_pool* pool = wl_shm_create_pool(shm_, file, static_cast<int32_t>(memory_size_));
        static const wl_buffer_listener listener{released};
        for (std::size_t i = 0; i < buffers_.size(); ++i) {
            Buffer& buffer = buffers_[i];
            buffer.buffer = wl_shm_pool_create_buffer(pool, static_cast<int32_t>(i * one), width,
                                                      height, stride, WL_SHM_FORMAT_XRGB8888);
            wl_buffer_add_listener(buffer.buffer, &listener, this);
            buffer.image.reset(cairo_image_surface_create_for_data(
                static_cast<unsigned char*>(memory_) + i * one, CAIRO_FORMAT_RGB24, width, height,
                stride));
            buffer.stale = {0, 0, width, height};
        }
        wl_shm_pool_destroy(pool);
    }
    close(file);
    mark_opaque();
    present();
}

void WaylandSurface::damage(const PixelRect& area) {
    const PixelRect clipped = intersect(area, {0, 0, width_, height_});
    if (clipped.empty()) return;
    for (Buffer& buffer : buffers_) buffer.stale = unite(buffer.stale, clipped);
    present();
}

void WaylandSurface::present() {
    auto free = std::find_if(buffers_.begin(), buffers_.end(),
                             [](const Buffer& b) { return b.buffer != nullptr && !b.busy; });
    // Both with the compositor: shown when one comes back.
    waiting_ = free == buffers_.end();
    if (waiting_ || free->stale.empty()) return;
    const PixelRect area = free->stale;
    free->stale = {};
    painter_(free->image.get(), area);
    cairo_surface_flush(free->image.get());
    wl_surface_attach(surface_, free->buffer, 0, 0);
    wl_surface_damage_buffer(surface_, area.left, area.top, area.width, area.height);
    wl_surface_commit(surface_);
    free->busy = true;
}

void WaylandSurface::released(void* self, wl_buffer* released) {
    auto* surface = static_cast<WaylandSurface*>(self);
    for (Buffer& buffer : surface->buffers_)
        if (buffer.buffer == released) buffer.busy = false;
    if (surface->waiting_) surface->present();
}

}  // namespace gtkb
