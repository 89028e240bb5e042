// Labels, images and picture boxes: they have no widget of their own; their form paints
// them over its back buffer, as on Win32, so input over them reaches the form.
#pragma once

#include <memory>
#include <optional>

#include "platform/gtk/gtk_back_buffer.h"
#include "toolkit/control.h"
#include "toolkit/form.h"
#include "toolkit/peers.h"

namespace gtkb {

class FormPeer;
class GtkToolkit;

bool is_windowless(tk::ControlKind kind);

// A control's rectangle in its form's pixels.
PixelRect pixel_rect(const tk::Control& control);

class WindowlessPeer : public tk::ControlPeer {
  public:
    WindowlessPeer(FormPeer& form, tk::Control& control) : form_(form), control_(control) {}
    // Repaints the union of the area it stood on and the area it stands on now.
    void sync() override;
    void focus() override {}

  private:
    FormPeer& form_;
    tk::Control& control_;
    std::optional<PixelRect> shown_;
};

// Paints the form's visible windowless controls that meet the area, in the form's pixels.
void paint_windowless_controls(cairo_t* cairo, GtkToolkit& toolkit, const tk::Form& form,
                               const PixelRect& area);

}  // namespace gtkb
