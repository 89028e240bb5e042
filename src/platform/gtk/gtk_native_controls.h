// The dialog widgets as native GTK 3 widgets in their form's GtkFixed, placed from their
// twips at the form's DPI: buttons, check boxes, radio buttons (one group per container),
// scales for the scroll bars, drop-down lists and frames. Labels stay painted by the form;
// each has an invisible GtkLabel over it with its text, so screen readers read it. A widget's
// signals become the portable control's events; a change the program makes is copied into
// the widget without raising them again.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <string_view>

#include "toolkit/control.h"
#include "toolkit/form.h"
#include "toolkit/peers.h"

namespace gtkb {

class FormPeer;

// The caption with its access key as GTK writes one: "&x" becomes "_x", "&&" "&", "_" "__".
std::string gtk_mnemonic(std::string_view caption);

// A dialog window's look: its form's font at the form's DPI for every widget in it, and
// widgets no larger than their twips make them (the theme's paddings and minimum sizes are
// for larger controls than a dialog laid out for Windows has).
void style_dialog_window(GtkWidget* window, const tk::Form& form, int pixel_scale);

// A native peer for every control that is not painted, and for labels.
std::unique_ptr<tk::ControlPeer> create_native_control(FormPeer& form, tk::Control& control);

// The focus order of the form's widgets from its tab order, and the focus, unless the program
// placed it, on the first of them (into an option group: on its selected button).
void arrange_focus(FormPeer& form);

}  // namespace gtkb
