#!/usr/bin/python3
"""The settings dialogs as a user drives them: the real `vqsaver --config` on a private Xvfb
(GDK's X11 backend) or a private headless sway (Wayland), with a private D-Bus session bus
for its accessibility bus.

Every widget is found and read from outside the process through AT-SPI, by its role and name;
clicks go to the middle of its extents, keys to the dialog in front: with xdotool on X11, on
Wayland with sway's cursor commands and the Wayland tests' own virtual pointer and keyboard. Each journey
starts from a hand-written settings file and ends in the file's exact text. Screenshots of
each dialog go into the work folder.

The desktop's DPI is 96 times GDK's scale (GDK_SCALE here; a settings daemon's Xft/DPI
counts too, which a bare Xvfb has not): DPI 96 or 192.

On Wayland the keys come from one keyboard with a standard layout held plugged in for the
whole test (GTK finds its key bindings by key code; keyboards that come and go per key, as
wtype's do, keep changing the codes under it and reach no binding). Sway will not run as root: as root the whole test runs as the
unprivileged user 65534, with a private home and runtime folder.

Usage: dialogs_test.py PROGRAM WORK_DIR [DPI [x11 | wayland KEYBOARD POINTER]]
"""

import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

from gi.repository import GLib

PROGRAM, WORK = Path(sys.argv[1]), Path(sys.argv[2])
DPI = int(sys.argv[3]) if len(sys.argv) > 3 else 96
WAYLAND = len(sys.argv) > 6 and sys.argv[4] == "wayland"
KEYBOARD, POINTER = sys.argv[5:7] if WAYLAND else (None, None)
NOBODY = 65534
if WAYLAND and os.getuid() == 0:
    WORK.mkdir(parents=True, exist_ok=True)
    os.chown(WORK, NOBODY, NOBODY)
    os.execvp("setpriv", ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups",
                          "/usr/bin/python3", "-B", *sys.argv])
SCALE = max(1, DPI // 96)
SHOTS = f"{'wayland' if WAYLAND else 'x11'}-{DPI}dpi"
del sys.argv[1:]

CHOOSER = "The Vovozevu Velmarr ScreenSaver"
ABOUT = "About The Vovozevu Velmarr ScreenSaver"
DRIFTER, STILL_QUOTE, FLASHER = (f"VQ ScreenSaver ({m})" for m in ("Drifter", "Still & Quote", "Flasher"))
INSTRUCTION = ("Choose the Screen Saver Type which you want. Then choose Next for more options, "
               "or OK to accept the default configuration for that Saver type.")
DESCRIPTIONS = [
    "See your selected image of Velmarr drift aimlessly around your screen.",
    "Selected stills with quotes from some of Velmarr's most popular movies.",
    "Random images of Velmarr will flash up at assorted locations on your screen.",
]
# What a user keeps in the file besides the program's keys: all of it must survive.
HAND_WRITTEN = "; my settings\n[Other]\nType=7\n\n[Config]\nUnknown = kept\n"


def wait_for(what, probe, seconds=20.0):
    """Polls probe() until it gives something true; fails at the deadline. The accessibility
    library learns of new applications and windows from events it reads in between."""
    deadline = time.monotonic() + seconds
    while True:
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            value = probe()
        except GLib.GError:  # an object read as it went away: the state is still changing
            value = None
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)


def start_bus():
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    STARTED.append(bus)
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()


def start_xvfb():
    read, write = os.pipe()
    # -noreset: a server that resets as each test's program leaves refuses the next one.
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                             "-noreset", "-nolisten", "tcp"], pass_fds=[write],
                            stderr=subprocess.DEVNULL)
    STARTED.append(xvfb)
    os.close(write)
    with os.fdopen(read) as display:
        os.environ["DISPLAY"] = ":" + display.readline().strip()
    # The server as GDK sees it, which the program's start needs.
    wait_for("the X server", lambda: subprocess.run(
        ["/usr/bin/python3", "-c", "import gi, sys; gi.require_version('Gdk', '3.0'); "
         "from gi.repository import Gdk; sys.exit(Gdk.Display.open(sys.argv[1]) is None)",
         os.environ["DISPLAY"]], capture_output=True).returncode == 0)
    os.environ.update(GDK_SCALE=str(SCALE), GDK_BACKEND="x11")


def start_sway():
    """A headless sway of one output at the scale, with a keyboard and a pointer plugged in for
    good."""
    runtime = Path(tempfile.mkdtemp(dir=WORK))
    runtime.chmod(0o700)
    config = runtime / "sway.conf"
    config.write_text("xwayland disable\ndefault_border none\n"
                      f"output HEADLESS-1 mode 1280x1024 position 0 0 scale {SCALE}\n")
    os.environ.update(XDG_RUNTIME_DIR=str(runtime), HOME=str(runtime), WLR_BACKENDS="headless",
                      WLR_RENDERER="pixman", WLR_LIBINPUT_NO_DEVICES="1", WLR_HEADLESS_OUTPUTS="1")
    os.environ.pop("DISPLAY", None)
    sway = subprocess.Popen(["sway", "-c", str(config)], stderr=subprocess.DEVNULL)
    STARTED.append(sway)
    socket = wait_for("sway's socket", lambda: next(runtime.glob("wayland-*[0-9]"), None))
    os.environ["WAYLAND_DISPLAY"] = socket.name
    os.environ["SWAYSOCK"] = str(wait_for("sway's IPC socket",
                                          lambda: next(runtime.glob("sway-ipc.*.sock"), None)))
    wait_for("sway's IPC", lambda: subprocess.run(["swaymsg", "-t", "get_outputs"],
                                                   capture_output=True).returncode == 0)
    keyboard = subprocess.Popen([KEYBOARD], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                text=True)
    STARTED.insert(0, keyboard)
    if keyboard.stdout.readline() != "ready\n":
        raise RuntimeError("the virtual keyboard did not start")
    STARTED.insert(0, subprocess.Popen([POINTER]))
    wait_for("the seat's keyboard and pointer", lambda: '"capabilities": 3' in subprocess.run(
        ["swaymsg", "-t", "get_seats"], capture_output=True, text=True).stdout)


STARTED = []  # the session's processes, in the order they end


def end_session():
    for process in STARTED:
        process.terminate()
        process.communicate()


def start_session():
    """The display, then the bus; they end with the test, or now when one cannot start."""
    for name in ("WAYLAND_DISPLAY", "XSCREENSAVER_WINDOW", "NO_AT_BRIDGE", "GDK_BACKEND"):
        os.environ.pop(name, None)
    os.environ["GTK_A11Y"] = "atk"
    try:
        start_sway() if WAYLAND else start_xvfb()
        start_bus()
    except BaseException:
        end_session()
        raise


start_session()
import pyatspi  # noqa: E402  (after the bus it talks to exists)


RUNNING = {"pid": 0}  # the run under test; another may still be going away


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == RUNNING["pid"]:
            return app
    return None


def showing(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def descendants(accessible):
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is None:
            continue
        yield child
        yield from descendants(child)


def windows():
    """The names of the program's windows on screen."""
    app = application()
    if app is None:
        return []
    return [w.name for w in (app.getChildAtIndex(i) for i in range(app.childCount))
            if w is not None and showing(w)]


def window(name):
    def probe():
        app = application()
        for i in range(app.childCount if app else 0):
            found = app.getChildAtIndex(i)
            if found is not None and found.name == name and showing(found):
                return found
        return None
    return wait_for(f"the window {name!r}", probe)


def control(window_name, role, name):
    return wait_for(f"{role} {name!r} in {window_name!r}", lambda: next(
        (c for c in descendants(window(window_name))
         if c.getRoleName() == role and c.name == name and showing(c)), None))


def labels(window_name):
    return [c.name for c in descendants(window(window_name))
            if c.getRoleName() == "label" and showing(c) and c.name]


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def sway_windows():
    """The windows sway shows, in its layout: each as its node of the tree."""
    tree = subprocess.run(["swaymsg", "-t", "get_tree", "-r"], capture_output=True, text=True)

    def walk(node):
        yield node
        for child in node.get("nodes", []) + node.get("floating_nodes", []):
            yield from walk(child)
    return [n for n in walk(json.loads(tree.stdout)) if n.get("pid")] if tree.returncode == 0 else []


def x_window(title):
    return wait_for(f"the X window {title!r}", lambda: subprocess.run(
        ["xdotool", "search", "--onlyvisible", "--pid", str(RUNNING["pid"]), "--name",
         "^" + re.escape(title) + "$"], capture_output=True, text=True).stdout.split())[-1]


def focused_in_sway():
    return next((n["name"] for n in sway_windows() if n["focused"]), None)


def to_front(name, accessible_name=None):
    """Keys go to the window in front; on a bare X server the test puts it there."""
    window(accessible_name or name)
    if WAYLAND:
        # The compositor gives a window just mapped the keyboard a moment after GTK shows it.
        wait_for(f"sway's focus on {name!r}", lambda: focused_in_sway() == name)
        return
    xdotool("windowfocus", "--sync", x_window(name))


def window_icon(title):
    """The icon the window manager shows for the window, as xprop draws it."""
    return subprocess.run(["xprop", "-id", x_window(title), "_NET_WM_ICON"], capture_output=True,
                          text=True, check=True).stdout


def press(*names):
    """Keys by their X names; "alt+n" holds Alt."""
    if not WAYLAND:
        xdotool("key", "--delay", "40", *names)
        return
    keyboard = next(p for p in STARTED if p.args == [KEYBOARD])
    for name in names:
        keyboard.stdin.write(name + "\n")
        keyboard.stdin.flush()
        reply = keyboard.stdout.readline()
        if reply != "ok\n":
            raise AssertionError(f"the virtual keyboard could not type {name!r}: {reply!r}")


def keys(window_name, *names):
    to_front(window_name)
    press(*names)


def settled(what, probe):
    """probe()'s value once two readings in a row agree: a window just shown may still be
    laid out and placed."""
    previous = None

    def same():
        nonlocal previous
        value = probe()
        agreed = value is not None and value == previous
        previous = value
        return value if agreed else None
    return wait_for(what, same)


def click(accessible):
    def middle():
        box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return box.x + box.width // 2, box.y + box.height // 2
    if WAYLAND:
        # GTK on Wayland knows where a widget stands only within its window; sway knows where
        # the focused window stands in its layout of logical pixels.
        top = accessible
        while top.parent is not None and top.parent.getRoleName() != "application":
            top = top.parent
        to_front(top.name)

        def on_screen():
            front = next((n for n in sway_windows() if n["focused"]), None)
            if front is None:
                return None
            x, y = middle()
            return (x + front["rect"]["x"] + front["window_rect"]["x"],
                    y + front["rect"]["y"] + front["window_rect"]["y"])
        x, y = settled(f"where {accessible.name!r} stands", on_screen)
        for command in (["cursor", "set", str(x), str(y)],
                        ["cursor", "press", "button1"], ["cursor", "release", "button1"],
                        ["cursor", "set", "0", "0"]):  # out of the screenshots' way
            subprocess.run(["swaymsg", "seat", "seat0", *command], check=True,
                           stdout=subprocess.DEVNULL)
        return
    # GTK tells where a widget stands in its logical pixels: GDK's scale of the screen's.
    x, y = settled(f"where {accessible.name!r} stands", middle)
    xdotool("mousemove", "--sync", str(x * SCALE), str(y * SCALE), "click", "1")


def capture():
    if WAYLAND:
        # The window in front with sway's title bar over it.
        front = wait_for("a window in front",
                         lambda: next((n for n in sway_windows() if n["focused"]), None))
        box, title = front["rect"], front["deco_rect"]["height"]
        region = f'{box["x"]},{box["y"] - title} {box["width"]}x{box["height"] + title}'
        command = ["grim", "-t", "ppm", "-g", region, "-"]
    else:
        command = ["import", "-window", "root", "ppm:-"]
    return subprocess.run(command, capture_output=True, check=True).stdout


def value_of(accessible):
    return accessible.queryValue().currentValue


def checked(accessible):
    return accessible.getState().contains(pyatspi.STATE_CHECKED)


class Run(unittest.TestCase):
    """One run of the dialogs over a private home with a hand-written settings file."""

    def setUp(self):
        self.home = Path(tempfile.mkdtemp(dir=WORK))
        self.file = self.home / "config" / "vqsaver" / "settings.ini"
        self.file.parent.mkdir(parents=True)
        self.run_ = None

    def tearDown(self):
        if self.run_ is not None and self.run_.poll() is None:
            self.run_.kill()
            self.run_.wait()
        shutil.rmtree(self.home)

    def start(self, stored=""):
        self.file.write_text(HAND_WRITTEN + stored)
        env = dict(os.environ, XDG_CONFIG_HOME=str(self.home / "config"))
        if not WAYLAND:
            env["HOME"] = str(self.home)
        self.run_ = subprocess.Popen([str(PROGRAM), "--config"], env=env)
        RUNNING["pid"] = self.run_.pid
        window(CHOOSER)

    def ends_with_file(self, added):
        """The program ends by itself, leaving the hand-written file plus these lines."""
        try:
            wait_for("the program's end", lambda: self.run_.poll() is not None)
        except AssertionError:
            raise AssertionError(f"the program still runs, showing {windows()}") from None
        self.assertEqual(self.run_.returncode, 0)
        self.assertEqual(self.file.read_text(), HAND_WRITTEN + added)

    def screenshot(self, name):
        """The screen once GTK has drawn the window in front."""
        pixels = settled(f"a still screen for {name}", capture)
        subprocess.run(["convert", "ppm:-", "-trim", str(WORK / f"{SHOTS}-{name}.png")],
                       input=pixels, check=True)


class Dialogs(Run):
    def test_next_and_ok_store_the_drifter_options_read_at_load(self):
        self.start()
        self.assertTrue(checked(control(CHOOSER, "radio button", "Drifter")))
        self.screenshot("chooser")
        keys(CHOOSER, "alt+n")
        window(DRIFTER)
        self.assertEqual(windows(), [DRIFTER])
        self.assertEqual(self.file.read_text(), HAND_WRITTEN + "Type=0\n")
        self.screenshot("drifter")
        keys(DRIFTER, "alt+o")
        self.ends_with_file("Type=0\nDriftSpeed=25\nDriftImage=41\nDriftTrail=0\n")

    def test_still_quote_takes_a_click_on_a_check_box_and_the_scale_keys(self):
        self.start("Type=1\nSQSpeed=3000\n")
        keys(CHOOSER, "alt+n")
        studio = control(STILL_QUOTE, "check box", "Studio")
        self.assertTrue(checked(studio))
        duration = control(STILL_QUOTE, "slider", "")
        self.assertEqual(value_of(duration), 3000)
        self.screenshot("still-quote")
        click(studio)
        wait_for("the cleared box", lambda: not checked(studio))
        # From the box, two tabs on, the scale has the focus.
        keys(STILL_QUOTE, "Tab", "Tab", "End", "Prior", "Left")
        wait_for("the scale at 9499", lambda: value_of(duration) == 9499)
        keys(STILL_QUOTE, "alt+o")
        self.ends_with_file("Type=1\nSQSpeed=9499\nSQTitle=1\nSQQuote=1\nSQStudio=0\nSQYear=1\n")

    def test_a_question_mark_and_escape_open_the_about_box_and_enter_closes_it(self):
        self.start()
        keys(CHOOSER, "question")
        window(ABOUT)
        self.screenshot("about")
        if not WAYLAND:  # GTK 3 gives a Wayland window no icon of its own
            for title in (CHOOSER, ABOUT):
                self.assertIn("Icon (32 x 32)", window_icon(title))
        keys(ABOUT, "Return")
        wait_for("the About box to close", lambda: windows() == [CHOOSER])
        keys(CHOOSER, "Escape")
        window(ABOUT)
        self.assertEqual(self.file.read_text(), HAND_WRITTEN)
        keys(ABOUT, "Return")
        wait_for("the About box to close", lambda: windows() == [CHOOSER])
        keys(CHOOSER, "alt+c")
        self.ends_with_file("Type=0\n")

    def test_cancel_in_the_options_brings_the_chooser_back_and_its_cancel_restores_the_type(self):
        self.start("Type=1\n")
        click(control(CHOOSER, "radio button", "Flasher"))
        keys(CHOOSER, "alt+n")
        window(FLASHER)
        self.screenshot("flasher")
        self.assertEqual(self.file.read_text(), HAND_WRITTEN + "Type=2\n")
        keys(FLASHER, "Escape")
        window(CHOOSER)
        self.assertTrue(checked(control(CHOOSER, "radio button", "Flasher")))
        click(control(CHOOSER, "push button", "Cancel"))
        self.ends_with_file("Type=1\n")

    def test_a_read_only_file_is_told_in_a_message_box_and_kept(self):
        self.start()
        self.file.chmod(0o444)
        keys(CHOOSER, "alt+o")
        # A message box titled with the program's name; screen readers call it an error.
        box = wait_for("the message box", lambda: next(
            (c for c in descendants(window("Error")) if c.getRoleName() == "label"
             and str(self.file) in c.name), None))
        self.assertIn("read-only", box.name)
        self.screenshot("message-box")
        self.file.chmod(0o644)
        to_front("VQ Saver", "Error")
        press("Return")
        wait_for("the program's end", lambda: self.run_.poll() is not None)
        self.assertEqual(self.file.read_text(), HAND_WRITTEN)


class Accessibility(Run):
    """Every control's role and name, as a screen reader reads them."""

    def controls(self, name):
        return sorted((c.getRoleName(), c.name) for c in descendants(window(name))
                      if showing(c) and c.getRoleName() in
                      ("push button", "radio button", "check box", "slider", "combo box", "label",
                                           "icon"))

    def test_the_chooser_its_description_following_the_focus_and_the_about_boxs_six_texts(self):
        self.start()
        self.assertEqual(self.controls(CHOOSER), sorted(
            [("label", INSTRUCTION), ("label", DESCRIPTIONS[0]), ("label", "ScreenSaver")]
            + [("radio button", m) for m in ("Drifter", "Still & Quote", "Flasher")]
            + [("push button", b) for b in ("OK", "Next", "Cancel", "About")]))
        keys(CHOOSER, "Down", "Down")
        wait_for("the Flasher description", lambda: DESCRIPTIONS[2] in labels(CHOOSER))
        keys(CHOOSER, "Escape")
        self.assertIn(("icon", ""), self.controls(ABOUT))
        self.assertEqual(labels(ABOUT), [
            "The Vovozevu Velmarr ScreenSaver", "Version 1.2.0",
            "Three screen savers in one for the ultimate Velmarr fan!",
            "Written by: Tobin Akersley", "Copyright (C) 2026 Tobin Akersley",
            "The pictures and film records are stand-ins drawn for this program. "
            "Questions and corrections: tobin.akersley@example.org"])
        control(ABOUT, "push button", "OK")
        keys(ABOUT, "Return")
        keys(CHOOSER, "alt+c")
        self.ends_with_file("Type=0\n")

    def test_each_options_dialog(self):
        dialogs = [
            (0, DRIFTER, [
                ("label", "Select the image you want displayed, the drifting speed, and whether "
                 "you want a trail displayed. Then choose OK (to register your choices) or "
                 "Cancel."), ("label", "Image Choice:"), ("label", "Image Preview:"),
                ("label", "Display: "), ("label", "Fast"), ("label", "Slow"),
                ("combo box", "Portrait 1"), ("slider", ""), ("check box", "Show Trails"),
                ("icon", "")]),
            (1, STILL_QUOTE, [
                ("label", "Select the information you want displayed on the screen, and the "
                 "length of time you want each image displayed for. Then choose OK (to register "
                 "your choices) or Cancel."), ("label", "Short"), ("label", "Long"),
                ("slider", "")]
             + [("label", "Display: "), ("label", "Duration: ")]
             + [("check box", c) for c in ("Movie Title", "Quote", "Studio", "Year")]),
            (2, FLASHER, [
                ("label", "Select the speed at which you wish the images to flash on your "
                 "screen. Then choose OK (to register your choice of speed) or Cancel."),
                ("label", "Fast"), ("label", "Slow"), ("slider", "")]),
        ]
        for mode, name, expected in dialogs:
            with self.subTest(name):
                self.tearDown()
                self.setUp()
                self.start(f"Type={mode}\n")
                keys(CHOOSER, "alt+n")
                buttons = [("push button", b) for b in ("OK", "Default", "Cancel")]
                self.assertEqual(self.controls(name), sorted(expected + buttons))
                keys(name, "Escape")
                keys(CHOOSER, "alt+c")
                self.ends_with_file(f"Type={mode}\n")


if __name__ == "__main__":
    WORK.mkdir(parents=True, exist_ok=True)
    try:
        result = unittest.main(exit=False, verbosity=2).result
    finally:
        end_session()
    sys.exit(0 if result.wasSuccessful() else 1)
