#!/usr/bin/env python3
"""Measures vqsaver in a Wayland session against a probe doing the same work, and the
xscreensaver hack's start-up against a build without the GTK half.

Wayland: on one headless sway (one 1024 x 768 output), the saver's Drifter at 25 ms
(`vqsaver --fullscreen`) and the Wayland probe (one layer-shell surface, one shared-memory
buffer, one picture copy and its damaged rectangle per 25 ms tick) run in turn, interleaved,
each for a fixed wall time after its first tick. CPU is the program's and the compositor's,
summed from /proc/PID/task/*/schedstat (nanoseconds on the CPU); ticks per second come from
the program's tick log (VQ_TICK_LOG). Target: the Drifter's CPU within 1.10x the probe's,
at 40 ticks a second.

X11: the hack path (`vqsaver --root`, the Drifter) on a private Xvfb: launch to first tick
and peak memory, for this build and, with --x11-baseline, a build from before the GTK half.
Target: both within 10 % of the baseline's.
"""

import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

SESSION_UID = 65534
FIRST_TICK_LIMIT_S = 10.0
WARM_UP_S = 1.0


REPORT = []


def show(line=""):
    """Prints a line of the figures and keeps it for --markdown."""
    print(line, flush=True)
    REPORT.append(line)


def now():
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW)


def as_session_user(command):
    """Sway refuses root: as root, the session's programs run as an unprivileged user."""
    if os.geteuid() != 0:
        return command
    return ["setpriv", f"--reuid={SESSION_UID}", f"--regid={SESSION_UID}", "--clear-groups",
            "--", *command]


def private_folder(path):
    path.mkdir(mode=0o700)
    if os.geteuid() == 0:
        os.chown(path, SESSION_UID, SESSION_UID)
    return path


def staged(programs, folder):
    """Copies of the programs where the session's user can run them (the build may lie
    where only its owner can); vqsaver's GTK half goes beside it."""
    folder.mkdir(mode=0o755)
    copies = []
    for program in programs:
        copies.append(folder / program.name)
        shutil.copy2(program, copies[-1])
        if program.name == "vqsaver" and (program.parent / "vqsaver-gtk").exists():
            shutil.copy2(program.parent / "vqsaver-gtk", folder / "vqsaver-gtk")
    return copies


def cpu_ns(pid):
    """Nanoseconds on the CPU of every thread of `pid`, ended threads' lost."""
    total = 0
    for task in Path(f"/proc/{pid}/task").iterdir():
        try:
            total += int((task / "schedstat").read_text().split()[0])
        except (OSError, IndexError, ValueError):
            pass  # a thread that just ended
    return total


def peak_memory_mb(pid):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmHWM:"):
            return int(line.split()[1]) / 1024.0
    return float("nan")


def read_ticks(tick_log):
    try:
        return [int(line) / 1e6 for line in tick_log.read_text().split()]
    except FileNotFoundError:
        return []


def wait_for(condition, limit_s):
    deadline = now() + limit_s
    while now() < deadline:
        if condition():
            return True
        time.sleep(0.01)
    return condition()


def stop(process):
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


class Run:
    """One program launched, measured after its first tick, and ended."""

    def __init__(self, command, env, tick_log, seconds, extra_pids=()):
        errors = tick_log.with_suffix(".err")
        launched = now()
        with open(errors, "wb") as error_file:
            process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                       stderr=error_file)
        try:
            if not wait_for(lambda: read_ticks(tick_log) or process.poll() is not None,
                            FIRST_TICK_LIMIT_S) or not read_ticks(tick_log):
                raise RuntimeError(f"no tick from {' '.join(command)} (status "
                                   f"{process.poll()}): {errors.read_text(errors='replace')}")
            self.launch_ms = 1000.0 * (read_ticks(tick_log)[0] - launched)
            time.sleep(WARM_UP_S)
            pids = [process.pid, *extra_pids]
            start, cpu_start = now(), sum(cpu_ns(p) for p in pids)
            time.sleep(seconds)
            end, cpu_end = now(), sum(cpu_ns(p) for p in pids)
            self.cpu_percent = 100.0 * (cpu_end - cpu_start) / ((end - start) * 1e9)
            self.ticks_per_s = sum(start <= t < end for t in read_ticks(tick_log)) / (end - start)
            self.memory_mb = peak_memory_mb(process.pid)
        finally:
            stop(process)


class Sway:
    """Headless sway with one output, as the tests start it."""

    def __init__(self, folder):
        self.folder = folder
        self.runtime = private_folder(folder / "runtime")
        self.home = private_folder(folder / "home")
        config = folder / "sway.config"
        config.write_text("xwayland disable\ndefault_border none\n"
                          "output HEADLESS-1 mode 1024x768 position 0 0\n")
        env = self.env() | {"WLR_BACKENDS": "headless", "WLR_HEADLESS_OUTPUTS": "1",
                            "WLR_RENDERER": "pixman", "WLR_LIBINPUT_NO_DEVICES": "1"}
        self.process = subprocess.Popen(as_session_user(["sway", "-c", str(config)]), env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not wait_for(lambda: (self.runtime / "wayland-1").exists(), 10):
            stop(self.process)
            raise RuntimeError("sway did not start")

    def env(self):
        return {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "LANG": "C.UTF-8",
                "XDG_RUNTIME_DIR": str(self.runtime), "HOME": str(self.home),
                "WAYLAND_DISPLAY": "wayland-1"}

    def close(self):
        stop(self.process)


class Xvfb:
    def __init__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten",
             "tcp"], pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as ready:
            number = ready.readline().strip()
        if not number:
            stop(self.process)
            raise RuntimeError("Xvfb did not start")
        self.display = f":{number}"

    def close(self):
        stop(self.process)


def spread(values, digits):
    """min / median / max"""
    return " / ".join(f"{v:.{digits}f}"
                      for v in (min(values), statistics.median(values), max(values)))


def ratio_target(label, ratio, limit):
    return (label, ratio <= limit, f"{ratio:.2f}x (<= {limit:.2f}x)")


def measure_wayland(args, work):
    probe_copy, saver_copy = staged([args.wayland_probe, args.vqsaver], work / "programs")
    sway = Sway(private_folder(work / "sway"))
    logs = private_folder(work / "ticks")
    subjects = {
        "Wayland probe, 25 ms": [str(probe_copy), "25"],
        "Drifter on Wayland, 25 ms": [str(saver_copy), "--fullscreen", "--mode", "drifter",
                                      "--drift-speed", "25"],
    }
    results = {name: [] for name in subjects}
    try:
        for rep in range(args.reps):
            # Interleaved, the order turned each time: a slow spell touches both alike.
            order = list(subjects.items())
            for name, command in order if rep % 2 == 0 else reversed(order):
                tick_log = logs / f"{rep}-{len(results[name])}-{name[:3]}.log"
                env = sway.env() | {"VQ_TICK_LOG": str(tick_log),
                                    "XDG_CONFIG_HOME": str(sway.home)}
                results[name].append(Run(as_session_user(command), env, tick_log, args.seconds,
                                         extra_pids=[sway.process.pid]))
    finally:
        sway.close()
    show("Wayland: one headless sway, 1024 x 768, program + compositor CPU from schedstat")
    show(f"{'Program':28} {'Ticks/s':>22} {'CPU %':>22} {'Launch ms':>18} {'Memory MB':>18}")
    for name, runs in results.items():
        show(f"{name:28} {spread([r.ticks_per_s for r in runs], 2):>22} "
              f"{spread([r.cpu_percent for r in runs], 2):>22} "
              f"{spread([r.launch_ms for r in runs], 0):>18} "
              f"{spread([r.memory_mb for r in runs], 1):>18}")
    probe, drifter = results.values()
    cpu_ratio = (statistics.median(r.cpu_percent for r in drifter) /
                 statistics.median(r.cpu_percent for r in probe))
    rate = statistics.median(r.ticks_per_s for r in drifter)
    return [ratio_target("Drifter on Wayland CPU against the Wayland probe", cpu_ratio, 1.10),
            ("Drifter on Wayland ticks per second", rate >= 39.2, f"{rate:.2f} (>= 39.2)")]


def measure_hack(args, work):
    builds = {"this build": args.vqsaver}
    if args.x11_baseline:
        builds["baseline"] = args.x11_baseline
    results = {name: [] for name in builds}
    logs = work / "hack-ticks"
    logs.mkdir()
    xvfb = Xvfb()
    try:
        for rep in range(args.hack_reps):
            order = list(builds.items())
            for name, program in order if rep % 2 == 0 else reversed(order):
                tick_log = logs / f"{rep}-{name[:4]}.log"
                env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "DISPLAY": xvfb.display,
                       "HOME": str(work), "XDG_CONFIG_HOME": str(work),
                       "VQ_TICK_LOG": str(tick_log)}
                command = [str(program), "--root", "--mode", "drifter", "--drift-speed", "25"]
                results[name].append(Run(command, env, tick_log, 0.5))
    finally:
        xvfb.close()
    show()
    show("X11 hack path (--root, the Drifter at 25 ms) on a private Xvfb")
    show(f"{'Build':28} {'Launch to 1st tick ms':>22} {'Peak memory MB':>22}")
    for name, runs in results.items():
        show(f"{name:28} {spread([r.launch_ms for r in runs], 0):>22} "
              f"{spread([r.memory_mb for r in runs], 1):>22}")
    if "baseline" not in results:
        show("(no --x11-baseline: compare with the native Drifter in docs/benchmark.md)")
        return []
    mine, base = results["this build"], results["baseline"]
    return [ratio_target(f"Hack {label} against the build without GTK",
                         statistics.median(getattr(r, field) for r in mine) /
                         statistics.median(getattr(r, field) for r in base), 1.10)
            for label, field in (("launch to first tick", "launch_ms"),
                                 ("peak memory", "memory_mb"))]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--vqsaver", type=Path, required=True)
    parser.add_argument("--wayland-probe", type=Path, required=True)
    parser.add_argument("--x11-baseline", type=Path,
                        help="a vqsaver built without the GTK half (e.g. from main)")
    parser.add_argument("--reps", type=int, default=5)
    parser.add_argument("--seconds", type=float, default=10.0)
    parser.add_argument("--hack-reps", type=int, default=15,
                        help="runs of each hack build: a launch takes a fraction of a second, "
                             "and a busy machine scatters it")
    parser.add_argument("--markdown", type=Path, help="write the figures here (not with --smoke)")
    parser.add_argument("--smoke", action="store_true",
                        help="one short repetition, no targets: checks that figures come out")
    args = parser.parse_args()
    if args.smoke:
        args.reps, args.seconds, args.hack_reps = 1, 1.0, 1
    work = Path(tempfile.mkdtemp(prefix="vq-wayland-bench-"))
    work.chmod(0o755)
    try:
        targets = measure_wayland(args, work) + measure_hack(args, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if args.smoke:
        return 0
    show()
    show("Targets")
    missed = False
    for label, met, shown in targets:
        missed |= not met
        show(f"{'met    ' if met else 'MISSED '} {label}: {shown}")
    if args.markdown:
        write_markdown(args.markdown, args)
    return 1 if missed else 0


def write_markdown(path, args):
    machine = subprocess.run(["uname", "-srm"], capture_output=True, text=True).stdout.strip()
    load = " ".join(Path("/proc/loadavg").read_text().split()[:3])
    path.write_text(
        "# Benchmark: Wayland, and the hack's start-up\n\n"
        f"Made by `tools/bench` on {time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())}, on "
        f"{machine}, {os.cpu_count()} cores; load average at the end {load}. "
        f"{args.reps} interleaved repetitions of {args.seconds:g} s (the hack: "
        f"{args.hack_reps} launches of each build); each figure is min / median / max, a "
        "ratio the median over the baseline's median. CPU % is nanoseconds on the CPU of the "
        "program and the compositor (every thread, /proc/PID/task/*/schedstat) per wall "
        "second. Launch is from the launch to the first timer tick, which includes one "
        "interval.\n\n```\n" + "\n".join(REPORT).strip() + "\n```\n")


if __name__ == "__main__":
    sys.exit(main())
