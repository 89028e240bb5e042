#include "platform/gtk/gtk_picture.h"

namespace gtkb {

cairo_surface_t* GtkPicture::surface() const {
    if (surface_ || width_ <= 0 || height_ <= 0 ||
        pixels_.size() < static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_))
        return surface_.get();
    Surface made(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_, height_));
    if (cairo_surface_status(made.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    cairo_surface_flush(made.get());
    unsigned char* data = cairo_image_surface_get_data(made.get());
    const int stride = cairo_image_surface_get_stride(made.get());
    for (int y = 0; y < height_; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width_; ++x) {
            // 0x00BBGGRR to cairo's native 0x00RRGGBB.
            const std::uint32_t c = pixels_[static_cast<std::size_t>(y) * width_ + x];
            row[x] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        }
    }
    cairo_surface_mark_dirty(made.get());
    surface_ = std::move(made);
    return surface_.get();
}

GdkPixbuf* GtkPicture::new_pixbuf() const {
    cairo_surface_t* pixels = surface();
    return pixels ? gdk_pixbuf_get_from_surface(pixels, 0, 0, width_, height_) : nullptr;
}

}  // namespace gtkb
