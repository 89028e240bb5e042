// What a full-screen form shows, put on screen without GTK's painting: a Wayland
// subsurface over the form's own surface, with two shared-memory buffers the size of the
// form in device pixels. Each change copies only its rectangle into a free buffer and
// commits it with that damage. GTK 3 would instead make a new buffer the size of the
// window for every frame while the compositor still holds the last one, and copy all of it.
#pragma once

#include <wayland-client.h>

#include <array>
#include <functional>

#include "platform/gtk/gtk_back_buffer.h"
#include "platform/gtk/gtk_owners.h"

namespace gtkb {

class WaylandSurface {
  public:
    // Paints an area of the form, in its pixels, onto the same area of a buffer (an RGB24
    // image of the form's size).
    using Painter = std::function<void(cairo_surface_t*, const PixelRect&)>;

    // Over the window's own surface at its scale; null when the display is no Wayland one or
    // the compositor lacks what it needs (the window is then painted by GTK).
    static std::unique_ptr<WaylandSurface> over(GtkWidget* window, int scale, Painter painter);
    ~WaylandSurface();
    WaylandSurface(const WaylandSurface&) = delete;
    WaylandSurface& operator=(const WaylandSurface&) = delete;

    // The form's size in pixels; a new size repaints everything.
    void resize(int width, int height);
    // The area changed: painted into a free buffer and committed (once one is free).
    void damage(const PixelRect& area);

  private:
    struct Buffer {
        wl_buffer* buffer = nullptr;
        Surface image;
        bool busy = false;
        // What changed since this buffer was last shown.
        PixelRect stale;
    };

    WaylandSurface(wl_compositor* compositor, wl_subcompositor* subcompositor, wl_shm* shm,
                   wl_surface* parent, int scale, Painter painter);
    void release_buffers();
    void mark_opaque();
    void present();
    static void released(void* self, wl_buffer* buffer);

    wl_compositor* compositor_;
    wl_subcompositor* subcompositor_;
    wl_shm* shm_;
    wl_surface* surface_ = nullptr;
    wl_subsurface* subsurface_ = nullptr;
    int scale_;
    Painter painter_;
    int width_ = 0;
    int height_ = 0;
    void* memory_ = nullptr;
    std::size_t memory_size_ = 0;
    std::array<Buffer, 2> buffers_;
    bool waiting_ = false;
};

}  // namespace gtkb
