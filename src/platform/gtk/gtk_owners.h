// Owners for the GTK, GLib, Pango and cairo objects the backend makes: each releases its
// object with the library's own call when it goes.
#pragma once

#include <cairo.h>
#include <glib-object.h>
#include <gtk/gtk.h>
#include <pango/pango.h>

#include <memory>

namespace gtkb {

struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct CairoRelease {
    void operator()(cairo_t* cairo) const { cairo_destroy(cairo); }
};
struct FontDescriptionRelease {
    void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};
struct ObjectRelease {
    void operator()(gpointer object) const { g_object_unref(object); }
};
// A top-level window is destroyed, which takes its children with it.
struct WidgetRelease {
    void operator()(GtkWidget* widget) const { gtk_widget_destroy(widget); }
};

using Surface = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
using Cairo = std::unique_ptr<cairo_t, CairoRelease>;
using FontDescription = std::unique_ptr<PangoFontDescription, FontDescriptionRelease>;
template <typename T>
using Object = std::unique_ptr<T, ObjectRelease>;
using TopLevel = std::unique_ptr<GtkWidget, WidgetRelease>;

// A GLib event source by id, removed when its owner goes.
class SourceId {
  public:
    SourceId() = default;
    explicit SourceId(guint id) : id_(id) {}
    ~SourceId() { reset(); }
    SourceId(SourceId&& other) noexcept : id_(other.id_) { other.id_ = 0; }
    SourceId& operator=(SourceId&& other) noexcept {
        if (this != &other) {
            reset();
            id_ = other.id_;
            other.id_ = 0;
        }
        return *this;
    }
    void reset() {
        if (id_ != 0) g_source_remove(id_);
        id_ = 0;
    }
    // The source ended itself (its callback returned G_SOURCE_REMOVE): forget the id.
    void forget() { id_ = 0; }

  private:
    guint id_ = 0;
};

}  // namespace gtkb
