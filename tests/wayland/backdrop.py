# A full-screen window in the colour the tests look for (pure red): the desktop beneath the
# saver, covered while it runs and shown again once it ends.
import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402

GLib.set_prgname("vq-backdrop")
style = Gtk.CssProvider()
style.load_from_data(b"window { background: #ff0000; }")
Gtk.StyleContext.add_provider_for_screen(
    Gdk.Screen.get_default(), style, Gtk.STYLE_PROVIDER_PRIORITY_APPLICATION)
window = Gtk.Window()
window.connect("destroy", Gtk.main_quit)
window.fullscreen()
window.show_all()
Gtk.main()
