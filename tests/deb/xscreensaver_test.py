#!/usr/bin/env python3
"""The Debian package with the real xscreensaver, on a private Xvfb.

The package's files go into a temporary root, never into the machine. The daemon and the
settings panel run as an ordinary user (uid 65534 when started as root: the daemon starts
no hack for root) with a private home whose ~/.xscreensaver lists VQ Saver from that root.
The panel reads its options files from one compiled-in folder only, so it runs in a mount
namespace of its own in which that folder is a copy holding the package's options file.

Checked from the screen's pixels: each mode's first frames when the daemon activates the
saver; that deactivating ends the saver; that the panel draws the saver into its preview
pane and that an option moved in its settings dialog is written into the program line and
reaches the saver at the next activation. Writes settings-panel.png into the work folder.

Usage: xscreensaver_test.py DEB WORK_DIR
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "support"))
from polling import poll_until  # noqa: E402
from xvfb import PrivateXvfb  # noqa: E402

NOBODY = 65534
SCREEN = (1280, 1400)
CONFIG_DIR = "/usr/share/xscreensaver/config"
# Where the settings panel puts its windows on a 1280 x 1400 screen without a window manager.
SETTINGS_BUTTON = (982, 630)
DIALOG_AT = (300, 780)  # the per-saver dialog, moved below the panel; the points below are in it
MODE_MENU = (92, 61)
DRIFT_SPEED_KNOB = (123, 166)
DRIFT_SPEED_SLOW_END = (300, 166)
SAVE_BUTTON = (622, 567)


class Failed(Exception):
    pass


class Frame:
    """A screen capture: rows of RGB bytes."""

    def __init__(self, ppm, taken):
        match = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", ppm)
        self.width, self.height = int(match.group(1)), int(match.group(2))
        self.pixels = ppm[match.end():]
        self.taken = taken

    def lit_box(self):
        """(left, top, right, bottom) of the pixels that are not black, or None."""
        stride = 3 * self.width
        left, right, top, bottom = self.width, -1, None, None
        for y in range(self.height):
            row = self.pixels[y * stride:(y + 1) * stride]
            lead = len(row) - len(row.lstrip(b"\0"))
            if lead == len(row):
                continue
            top = y if top is None else top
            bottom = y
            left = min(left, lead // 3)
            right = max(right, (len(row.rstrip(b"\0")) - 1) // 3)
        return None if top is None else (left, top, right, bottom)


class Session:
    def __init__(self, deb, work):
        self.work = work
        self.tmp = Path(tempfile.mkdtemp(prefix="vqsaver-deb-"))
        self.tmp.chmod(0o755)
        self.root = self.tmp / "root"
        subprocess.run(["dpkg-deb", "-x", str(deb), str(self.root)], check=True)
        subprocess.run(["chmod", "-R", "a+rX", str(self.root)], check=True)
        self.program = self.root / "usr/libexec/xscreensaver/vqsaver"
        self.home = self.tmp / "home"
        self.runtime = self.home / "run"
        self.runtime.mkdir(parents=True, mode=0o700)
        # The panel's folder of options files: the machine's, plus the package's.
        self.config = self.tmp / "config"
        self.config.mkdir()
        for shipped in Path(CONFIG_DIR).glob("*.xml"):
            (self.config / shipped.name).symlink_to(shipped)
        shutil.copy(self.root / CONFIG_DIR.lstrip("/") / "vqsaver.xml", self.config)
        self.root_user = os.geteuid() == 0
        if self.root_user:
            os.chown(self.home, NOBODY, NOBODY)
            os.chown(self.runtime, NOBODY, NOBODY)
        self.processes = []
        self.xvfb = None
        self.display = None

    # ----- processes -----

    def start_xvfb(self):
        self.xvfb = PrivateXvfb(SCREEN, self.tmp / "xvfb.log")
        self.display = self.xvfb.display

    def user_command(self, command):
        """The command as the test user, with a clean environment and the private home."""
        env = ["env", "-i", f"HOME={self.home}", f"DISPLAY={self.display}",
               "PATH=/usr/bin:/bin", f"XDG_RUNTIME_DIR={self.runtime}", "NO_AT_BRIDGE=1",
               "GDK_BACKEND=x11", *command]
        if not self.root_user:
            return env
        return ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups", *env]

    def spawn(self, command, log):
        process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        self.processes.append(process)
        return process

    def run_as_user(self, *command):
        return subprocess.run(self.user_command(command), capture_output=True, text=True,
                              timeout=30)

    def stop(self, process):
        if process.poll() is None:
            process.terminate()
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()

    def close(self):
        for process in reversed(self.processes):
            self.stop(process)
        if self.xvfb is not None:
            self.xvfb.stop()
        for log in ("daemon.log", "settings.log"):
            if (self.home / log).exists():
                shutil.copy(self.home / log, self.work / log)
        shutil.rmtree(self.tmp, ignore_errors=True)

    # ----- the saver -----

    def savers(self, preview=None):
        """Live processes of the packaged program (with --window-id when preview, without
        when not, either when None), as {pid: argument list}."""
        found = {}
        for entry in Path("/proc").iterdir():
            if not entry.name.isdigit():
                continue
            try:
                arguments = (entry / "cmdline").read_bytes().decode().split("\0")[:-1]
                state = (entry / "stat").read_text().rsplit(")", 1)[1].split()[0]
            except (OSError, UnicodeDecodeError, IndexError):
                continue
            if not arguments or arguments[0] != str(self.program) or state == "Z":
                continue
            if preview is None or ("--window-id" in arguments) == preview:
                found[int(entry.name)] = arguments[1:]
        return found

    def capture(self, crop=None):
        command = ["import", "-display", self.display, "-window", "root", "-depth", "8"]
        if crop:
            command += ["-crop", "%dx%d+%d+%d" % crop]
        taken = time.monotonic()
        ppm = subprocess.run(command + ["ppm:-"], capture_output=True, check=True).stdout
        return Frame(ppm, taken)

    def write_programs(self, arguments):
        # The user's own list, VQ Saver alone and chosen; no lock, fade or blanking by time.
        (self.home / ".xscreensaver").write_text(
            "mode:\t\tone\nselected:\t0\nlock:\t\tFalse\nfade:\t\tFalse\nunfade:\t\tFalse\n"
            "splash:\t\tFalse\ndpmsEnabled:\tFalse\ntimeout:\t1:00:00\ncycle:\t\t0:00:00\n"
            f"programs:\t\t\\\n\t\t\"VQ Saver\"  {self.program} {arguments}  \\n\\\n\n")

    def program_line(self):
        """The options of VQ Saver's entry in ~/.xscreensaver, its continuations joined."""
        text = re.sub(r"\\\n", " ", (self.home / ".xscreensaver").read_text())
        entry = re.search(re.escape(str(self.program)) + r"([^\n]*?)\\n", text)
        return " ".join(entry.group(1).split()) if entry else ""

    def start_daemon(self):
        self.spawn(
            self.user_command(["xscreensaver", "-no-splash", "-log", str(self.home / "daemon.log")]),
            subprocess.DEVNULL)
        poll_until("the daemon to answer",
                 lambda: self.run_as_user("xscreensaver-command", "-version").returncode == 0)

    def activate(self):
        """Blanks the screen; returns the pid and arguments of the saver the daemon started,
        and a time before it started."""
        started = time.monotonic()
        result = self.run_as_user("xscreensaver-command", "-activate")
        if result.returncode != 0:
            raise Failed("xscreensaver-command -activate: " + result.stderr.strip())
        pid, arguments = next(iter(poll_until("the daemon to start the saver",
                                            lambda: self.savers(preview=False)).items()))
        return pid, arguments, started

    def deactivate(self, pid):
        self.run_as_user("xscreensaver-command", "-deactivate")
        poll_until("the saver to end on deactivation", lambda: pid not in self.savers())

    def lit(self, crop=None):
        frame = self.capture(crop)
        box = frame.lit_box()
        return (frame, box) if box else None


# ----- the checks -----

def check(condition, message):
    if not condition:
        raise Failed(message)
    print("ok:", message, flush=True)


def drifter_starts_and_moves(session):
    pid, arguments, _ = session.activate()
    check(arguments[:3] == ["--root", "--mode", "drifter"],
          f"the daemon runs the program line as written ({' '.join(arguments)})")
    _, box = poll_until("the Drifter's picture", session.lit)
    left, top, right, bottom = box
    middle = (top + bottom) / 2.0
    check(left < SCREEN[0] // 4 and abs(middle - (SCREEN[1] - 1) / 2.0) <= 1.5,
          f"the Drifter's picture starts at the left edge, vertically centred (box {box})")

    def moved():
        found = session.lit()
        return found if found and found[1][0] > left else None
    _, later = poll_until("the Drifter's picture to move right", moved, 10)
    check(later[1] == top and later[2] - later[0] == right - left,
          f"the picture moves right along its row, one picture and no trail (box {later})")
    session.deactivate(pid)
    print("ok: deactivating ends the saver", flush=True)


def flasher_black_then_picture(session):
    session.write_programs("--root --mode flasher")
    for _ in range(3):
        pid, arguments, started = session.activate()
        frame = session.capture()
        # A picture may first show after two intervals of 2 s; a later capture proves nothing.
        if frame.taken - started < 3.5:
            break
        session.deactivate(pid)
    else:
        raise Failed("the machine never let a capture come within 3.5 s of an activation")
    check("flasher" in arguments, f"the Flasher runs ({' '.join(arguments)})")
    check(frame.lit_box() is None, "the Flasher's screen is black at the start")
    _, box = poll_until("a Flasher picture", session.lit, 15)
    check(box[2] - box[0] < SCREEN[0] // 2, f"then one picture flashes up (box {box})")
    session.deactivate(pid)


def still_quote_intro(session, arguments):
    pid, running, _ = session.activate()
    check(" ".join(running).startswith(arguments), f"the daemon runs {' '.join(running)}")
    _, box = poll_until("the Still & Quote intro", session.lit)
    centre = (box[0] + box[2]) / 2.0
    check(abs(centre - (SCREEN[0] - 1) / 2.0) <= 8,
          f"Still & Quote starts with its intro text centred (box {box})")
    session.deactivate(pid)


class Panel:
    """xscreensaver-settings with the package's options file, VQ Saver chosen in its list."""

    def __init__(self, session):
        self.session = session
        mount = (["unshare", "--mount", "--propagation", "private"] if session.root_user
                 else ["unshare", "--user", "--map-current-user", "--mount"])
        self.process = session.spawn(
            mount + ["sh", "-c", f'mount --bind "$0" {CONFIG_DIR} && exec "$@"',
                     str(session.config), *session.user_command(["xscreensaver-settings"])],
            (session.home / "settings.log").open("a"))
        self.preview_pid, self.preview_arguments = next(iter(poll_until(
            "the panel's preview of VQ Saver", lambda: session.savers(preview=True), 20).items()))

    def xdotool(self, *command):
        return subprocess.run(["xdotool", *command], check=True, capture_output=True, text=True,
                              env=dict(os.environ, DISPLAY=self.session.display)).stdout

    def geometry(self, window):
        """(width, height, x, y) of an X window, as an import crop."""
        info = subprocess.run(["xwininfo", "-display", self.session.display, "-id", window],
                              capture_output=True, text=True).stdout
        x, y, width, height = (int(re.search(rf"{name}:\s+(-?\d+)", info).group(1)) for name in
                               ("Absolute upper-left X", "Absolute upper-left Y", "Width",
                                "Height"))
        return width, height, x, y

    def open_dialog(self):
        """Presses Settings... and moves the saver's dialog to DIALOG_AT."""
        self.xdotool("mousemove", *map(str, SETTINGS_BUTTON), "click", "1")

        def dialog():
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                    "VQ Saver Settings"], capture_output=True, text=True,
                                   env=dict(os.environ, DISPLAY=self.session.display))
            # The main window bears the same title; the dialog is the narrower one.
            return next((window for window in found.stdout.split()
                         if self.geometry(window)[0] < SCREEN[0]), None)
        self.xdotool("windowmove", "--sync", poll_until("the VQ Saver settings dialog", dialog),
                     *map(str, DIALOG_AT))

    def at(self, point):
        return str(DIALOG_AT[0] + point[0]), str(DIALOG_AT[1] + point[1])

    def save(self, option):
        """Presses Save; returns the program line once it holds the option."""
        self.xdotool("mousemove", *self.at(SAVE_BUTTON), "click", "1")
        line = poll_until(f"the panel to write {option} into the program line",
                        lambda: option in self.session.program_line() and
                        self.session.program_line())
        return line

    def close(self):
        self.session.stop(self.process)
        poll_until("the preview to end with the panel",
                 lambda: self.preview_pid not in self.session.savers())


def panel_previews_and_sets_speed(session):
    session.write_programs("--root --mode drifter")
    panel = Panel(session)
    pane = panel.geometry(panel.preview_arguments[panel.preview_arguments.index("--window-id") + 1])
    _, box = poll_until("the Drifter's picture in the preview pane", lambda: session.lit(pane))
    # A miniature of the screen, centred in the pane with black bars where the shapes differ:
    # the picture's inside, 143 pixels high, at the pane's scale, at the miniature's left edge.
    scale = min(pane[0] / SCREEN[0], pane[1] / SCREEN[1])
    margin = (pane[0] - round(SCREEN[0] * scale)) // 2
    middle = (box[1] + box[3]) / 2.0
    check(0 <= box[0] - margin < pane[0] // 8 and abs(middle - (pane[1] - 1) / 2.0) <= 1.5,
          f"the panel's preview pane ({pane[0]} x {pane[1]}) shows the Drifter at its start")
    check(abs(box[3] - box[1] + 1 - 143 * scale) <= 3,
          f"the preview pane shows the screen at {scale:.3f}: a picture {box[3] - box[1] + 1} high")
    panel.open_dialog()
    track = (DRIFT_SPEED_SLOW_END[0] - DRIFT_SPEED_KNOB[0], 24, DIALOG_AT[0] + DRIFT_SPEED_KNOB[0],
             DIALOG_AT[1] + DRIFT_SPEED_KNOB[1] - 12)
    before = session.capture(track).pixels
    panel.xdotool("mousemove", *panel.at(DRIFT_SPEED_KNOB), "mousedown", "1")
    panel.xdotool("mousemove", *panel.at(((DRIFT_SPEED_KNOB[0] + DRIFT_SPEED_SLOW_END[0]) // 2,
                                          DRIFT_SPEED_KNOB[1])))
    panel.xdotool("mousemove", *panel.at(DRIFT_SPEED_SLOW_END), "mouseup", "1")
    poll_until("the slider to show its new place", lambda: session.capture(track).pixels != before)
    subprocess.run(["import", "-display", session.display, "-window", "root",
                    str(session.work / "settings-panel.png")], check=True)
    line = panel.save("--drift-speed 500")
    check("--mode drifter" in line,
          f"the panel writes the slow end of the Drifter speed into the line: {line}")
    panel.close()


def panel_speed_reaches_saver(session):
    pid, arguments, _ = session.activate()
    check("--drift-speed" in arguments and arguments[arguments.index("--drift-speed") + 1] == "500",
          f"the daemon passes the panel's option on ({' '.join(arguments)})")
    first, box = poll_until("the Drifter's picture", session.lit)
    time.sleep(2.5)  # the span over which the speed is measured, not a wait for a state
    second, later = session.lit()
    seconds = second.taken - first.taken
    # 500 ms a step allows at most one pixel every half second (and one more for the
    # capture's own duration); the default of 25 ms would move about 100 pixels.
    check(later[0] - box[0] <= seconds / 0.5 + 2,
          f"the Drifter steps every 500 ms: {later[0] - box[0]} pixels in {seconds:.1f} s")
    poll_until("the slow Drifter to move at all",
             lambda: (found := session.lit()) and found[1][0] > box[0])
    session.deactivate(pid)


def panel_sets_mode(session):
    panel = Panel(session)
    panel.open_dialog()
    # The menu's other entries open over what lies below it; keys reach them once it is up.
    below = (MODE_MENU[0] * 2, 80, DIALOG_AT[0], DIALOG_AT[1] + MODE_MENU[1] + 20)
    closed = session.capture(below).pixels
    panel.xdotool("mousemove", *panel.at(MODE_MENU), "click", "1")
    poll_until("the mode menu to open", lambda: session.capture(below).pixels != closed)
    panel.xdotool("key", "Down", "Return")
    line = panel.save("--mode still-quote")
    check("--drift-speed 500" in line, f"the panel writes the mode chosen in its menu: {line}")
    panel.close()
    still_quote_intro(session, line)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.split("Usage: ")[1])
    deb, work = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    work.mkdir(parents=True, exist_ok=True)
    session = Session(deb, work)
    try:
        session.start_xvfb()
        session.write_programs("--root --mode drifter")
        session.start_daemon()
        for step in (drifter_starts_and_moves, flasher_black_then_picture,
                     panel_previews_and_sets_speed, panel_speed_reaches_saver, panel_sets_mode):
            step(session)
    except (Failed, TimeoutError, RuntimeError) as failure:
        print("FAILED:", failure, file=sys.stderr)
        if session.display:
            subprocess.run(["import", "-display", session.display, "-window", "root",
                            str(work / "failure.png")], check=False)
        return 1
    finally:
        session.close()
    print("xscreensaver_test: all passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
