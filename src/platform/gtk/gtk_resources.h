// The compiled-in content for the GTK backend: its pictures become cairo surfaces on first
// use.
#pragma once

#include "platform/gtk/gtk_picture.h"
#include "platform/linux/compiled_resources.h"

namespace gtkb {

using GtkResources = vq::hack::CompiledResources<GtkPicture>;

}  // namespace gtkb
