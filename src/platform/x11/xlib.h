// Xlib and the X extensions the backend uses, always after the toolkit's form: Xlib's macros
// (None above all) would otherwise rename the toolkit's enumerators. Every file of the
// backend takes X's headers from here.
#pragma once

// clang-format off
#include "toolkit/form.h"

#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <X11/Xft/Xft.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>
// clang-format on
