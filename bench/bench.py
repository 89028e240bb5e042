#!/usr/bin/env python3
"""Measures VQSaver.scr under Wine against the two baseline probes, in one Wine environment,
and the native Linux saver against an Xlib probe of its own on the same display.

Every run launches one program on the private Xvfb, waits for its first timer tick, then
measures for a fixed wall time: ticks delivered per second (from the program's tick log),
CPU of the program, the wineserver and Xvfb per wall second, voluntary context switches of
the program per second, and its peak memory. Launch to first tick is taken from the same
clock as the tick log (Wine's QueryPerformanceCounter is CLOCK_MONOTONIC_RAW). Repetitions
are interleaved, so a slow spell of the machine touches every program alike. The native
programs run beside Wine's, on the same Xvfb, and log their ticks alike (CLOCK_MONOTONIC_RAW);
for them there is no wineserver to count.
"""

import argparse
import datetime
import os
import platform
import re
import signal
import statistics
import subprocess
import sys
import time
from dataclasses import dataclass, field
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "support"))
from polling import poll_until  # noqa: E402

WINE = "/usr/lib/wine/wine64"
SETTINGS_KEY = r"HKCU\Software\VQ_Saver"
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
FIRST_TICK_GRACE_S = 15.0


@dataclass(frozen=True)
class Subject:
    """One program with its interval: a probe, or the saver in one mode."""

    name: str
    interval_ms: int
    probe_args: tuple = ()  # for a probe: what follows the interval on its command line
    settings: tuple = ()  # for the saver: (key, value) pairs stored before the launch
    native: tuple = ()  # for the native saver: its command line; for the Xlib probe: ("probe",)

    @property
    def is_probe(self):
        return not self.settings and self.native in ((), ("probe",))

    @property
    def asked_rate(self):
        return 1000.0 / self.interval_ms


def timer_probe(interval_ms):
    return Subject(f"timer-only probe, {interval_ms} ms", interval_ms)


BLIT_PROBE = Subject("timer+blit probe, 25 ms", 25, probe_args=("blit",))
DRIFTER = Subject("Drifter, 25 ms", 25, settings=(("Type", "0"), ("DriftSpeed", "25")))
STILL_QUOTE = Subject("Still & Quote, 5000 ms", 5000, settings=(("Type", "1"),))
FLASHER = Subject("Flasher, 2000 ms", 2000, settings=(("Type", "2"),))
STILL_QUOTE_2000 = Subject("Still & Quote, 2000 ms", 2000,
                           settings=(("Type", "1"), ("SQSpeed", "2000")))
FLASHER_250 = Subject("Flasher, 250 ms", 250, settings=(("Type", "2"), ("FlasherSpeed", "250")))

XLIB_BLIT_PROBE = Subject("Xlib timer+blit probe, 25 ms", 25, probe_args=("blit",),
                          native=("probe",))
NATIVE_DRIFTER = Subject("native Drifter, 25 ms", 25,
                         native=("--root", "--mode", "drifter", "--drift-speed", "25"))

SHORT_RUNS = [timer_probe(25), BLIT_PROBE, DRIFTER, STILL_QUOTE, FLASHER]
NATIVE_RUNS = [XLIB_BLIT_PROBE, NATIVE_DRIFTER]
LONG_RUNS = [timer_probe(2000), STILL_QUOTE_2000, timer_probe(250), FLASHER_250]


@dataclass
class Figures:
    ticks_per_s: float
    cpu_percent: float
    cpu_split: tuple  # program, wineserver, Xvfb, each in percent
    voluntary_switches_per_s: float
    launch_ms: float
    peak_memory_mb: float


@dataclass
class Results:
    runs: dict = field(default_factory=dict)  # Subject -> [Figures]

    def add(self, subject, figures):
        self.runs.setdefault(subject, []).append(figures)

    def values(self, subject, name):
        return [getattr(f, name) for f in self.runs.get(subject, [])]

    def median(self, subject, name):
        values = self.values(subject, name)
        return statistics.median(values) if values else None


class WineEnvironment:
    """The private Xvfb and prefix of tools/lib/wine_env.sh, with one warm wineserver."""

    def __init__(self, script, directory):
        self.script = script
        self.directory = directory
        self.env = None

    def start(self):
        subprocess.run([self.script, "start", str(self.directory), "800x600"], check=True)
        self.env = dict(os.environ)
        for line in (self.directory / "env").read_text().splitlines():
            match = re.match(r"(?:export )?(\w+)=(.*)", line)
            if match:
                self.env[match.group(1)] = match.group(2)
        self.xvfb_pid = int(self.env["WINE_ENV_XVFB_PID"])
        self.wineserver_pid = self._find_wineserver()

    def stop(self):
        if self.env is not None:
            subprocess.run([self.script, "stop", str(self.directory)], check=False)
            self.env = None

    def _find_wineserver(self):
        wanted = f"WINEPREFIX={self.env['WINEPREFIX']}".encode()
        for proc in Path("/proc").iterdir():
            if not proc.name.isdigit():
                continue
            try:
                if not (proc / "comm").read_text().startswith("wineserver"):
                    continue
                if wanted in (proc / "environ").read_bytes().split(b"\0"):
                    return int(proc.name)
            except OSError:
                continue
        raise RuntimeError("the environment's wineserver is not running")

    def run(self, *command):
        return subprocess.run([WINE, *command], env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, check=False).returncode

    def store_settings(self, settings):
        self.run("reg", "delete", SETTINGS_KEY, "/f")  # absent on the first run: that is fine
        for key, value in settings:
            if self.run("reg", "add", SETTINGS_KEY + r"\Config", "/v", key, "/t", "REG_SZ",
                        "/d", value, "/f") != 0:
                raise RuntimeError(f"could not store {key}={value}")

    def launch(self, program, arguments, tick_log):
        env = dict(self.env, VQ_TICK_LOG="Z:" + str(tick_log).replace("/", "\\"))
        return subprocess.Popen([WINE, str(program), *arguments], env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def launch_native(self, program, arguments, tick_log, config_home):
        """A Linux program on the environment's display, with no settings file of its own."""
        env = {"PATH": os.environ["PATH"], "DISPLAY": self.env["DISPLAY"],
               "HOME": str(config_home), "XDG_CONFIG_HOME": str(config_home),
               "VQ_TICK_LOG": str(tick_log)}
        return subprocess.Popen([str(program), *arguments], env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def cpu_seconds(pid):
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS  # utime, stime


def voluntary_switches(pid):
    total = 0
    for task in Path(f"/proc/{pid}/task").iterdir():
        try:
            match = re.search(r"^voluntary_ctxt_switches:\s+(\d+)",
                              (task / "status").read_text(), re.M)
        except OSError:
            continue  # a thread that just ended
        total += int(match.group(1)) if match else 0
    return total


def peak_memory_mb(pid):
    match = re.search(r"^VmHWM:\s+(\d+) kB", Path(f"/proc/{pid}/status").read_text(), re.M)
    return int(match.group(1)) / 1024.0


def read_ticks(tick_log):
    try:
        return [int(line) / 1e6 for line in tick_log.read_text().split()]
    except FileNotFoundError:
        return []


def now():
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW)


class Bench:
    def __init__(self, wine, scr, probe, work_dir, vqsaver=None, xlib_probe=None):
        self.wine = wine
        self.scr = scr
        self.probe = probe
        self.vqsaver = vqsaver
        self.xlib_probe = xlib_probe
        self.work_dir = work_dir
        self.run_count = 0

    def measure(self, subject, seconds):
        """Runs the subject once, for `seconds` but at least two of its intervals, so that a
        tick rate comes out even of a short run; returns its Figures."""
        seconds = max(seconds, 2.0 * subject.interval_ms / 1000.0)
        self.run_count += 1
        tick_log = self.work_dir / f"ticks-{self.run_count}.log"
        tick_log.unlink(missing_ok=True)
        if subject.native:
            program, arguments = self.vqsaver, subject.native
            if subject.is_probe:
                program = self.xlib_probe
                arguments = (str(subject.interval_ms), *subject.probe_args)
            config_home = self.work_dir / "native-home"  # empty: no settings file
            config_home.mkdir(exist_ok=True)
            launched = now()
            process = self.wine.launch_native(program, arguments, tick_log, config_home)
        else:
            if subject.is_probe:
                program, arguments = self.probe, (str(subject.interval_ms), *subject.probe_args)
            else:
                self.wine.store_settings(subject.settings)
                program, arguments = self.scr, ("/s",)
            launched = now()
            process = self.wine.launch(program, arguments, tick_log)
        try:
            def ticks_logged():
                if process.poll() is not None:
                    raise RuntimeError(f"{subject.name}: ended (status {process.returncode}) "
                                       "before its first tick")
                return read_ticks(tick_log)
            try:
                first_tick = poll_until(f"{subject.name}'s first tick", ticks_logged,
                                        FIRST_TICK_GRACE_S + subject.interval_ms / 1000.0,
                                        interval=0.005)[0]
            except TimeoutError:
                raise RuntimeError(f"{subject.name}: no tick logged; is VQ_TICK_LOG honoured?")

            # A native program has no wineserver: its share is counted as nothing.
            pids = (process.pid, None if subject.native else self.wine.wineserver_pid,
                    self.wine.xvfb_pid)
            start = now()
            cpu_before = [cpu_seconds(pid) if pid else 0.0 for pid in pids]
            switches_before = voluntary_switches(process.pid)
            time.sleep(seconds)
            end = now()
            cpu_after = [cpu_seconds(pid) if pid else 0.0 for pid in pids]
            switches_after = voluntary_switches(process.pid)
            memory = peak_memory_mb(process.pid)
        finally:
            process.kill()
            process.wait()

        wall = end - start
        ticks = [t for t in read_ticks(tick_log) if start < t <= end]
        split = tuple(100.0 * (after - before) / wall
                      for before, after in zip(cpu_before, cpu_after))
        return Figures(ticks_per_s=len(ticks) / wall, cpu_percent=sum(split), cpu_split=split,
                       voluntary_switches_per_s=(switches_after - switches_before) / wall,
                       launch_ms=1000.0 * (first_tick - launched), peak_memory_mb=memory)

    def warm_up(self, subjects):
        """One short run of each program, so that none pays for a first start."""
        for subject in subjects:
            self.measure(subject, 1.0)


# ----- Report -----

def spread(values, digits):
    if not values:
        return "n/a"
    return " / ".join(f"{v:.{digits}f}" for v in (min(values), statistics.median(values),
                                                    max(values)))


def ratio(value, base):
    return None if value is None or not base else value / base


def show_ratio(value):
    return "" if value is None else f"{value:.2f}x"


def delivery(results, subject):
    """Ticks per second as a share of the rate asked for."""
    rate = results.median(subject, "ticks_per_s")
    return None if rate is None else rate / subject.asked_rate


def table(results, subjects, baseline_for, with_switches):
    head = ["Program", "Ticks/s (asked)", "", "CPU % (prog+server+X)", "", "CPU split %",
            "Launch to 1st tick ms", "", "Peak memory MB", ""]
    if with_switches:
        head[6:6] = ["Vol. switches/s", ""]
    rows = [head]
    for subject in subjects:
        base = baseline_for(subject)
        same_interval = base is not None and base.interval_ms == subject.interval_ms
        own = base == subject
        mark = (lambda r: "") if own else show_ratio
        split = [statistics.median(f.cpu_split[i] for f in results.runs.get(subject, []))
                 for i in range(3)] if results.runs.get(subject) else []
        row = [subject.name,
               f"{spread(results.values(subject, 'ticks_per_s'), 2)} ({subject.asked_rate:g})",
               mark(ratio(delivery(results, subject), delivery(results, base))),
               spread(results.values(subject, "cpu_percent"), 2),
               mark(ratio(results.median(subject, "cpu_percent"),
                          results.median(base, "cpu_percent"))),
               " / ".join(f"{v:.2f}" for v in split),
               spread(results.values(subject, "launch_ms"), 0),
               mark(ratio(results.median(subject, "launch_ms"),
                          results.median(base, "launch_ms"))) if same_interval else "",
               spread(results.values(subject, "peak_memory_mb"), 1),
               mark(ratio(results.median(subject, "peak_memory_mb"),
                          results.median(base, "peak_memory_mb")))]
        if with_switches:
            row[6:6] = [spread(results.values(subject, "voluntary_switches_per_s"), 1),
                        mark(ratio(results.median(subject, "voluntary_switches_per_s"),
                                   results.median(base, "voluntary_switches_per_s")))]
        rows.append(row)
    return rows


def markdown(rows):
    lines = ["| " + " | ".join(rows[0]) + " |", "|" + "---|" * len(rows[0])]
    lines += ["| " + " | ".join(row) + " |" for row in rows[1:]]
    return "\n".join(lines)


def plain(rows):
    widths = [max(len(row[i]) for row in rows) for i in range(len(rows[0]))]
    return "\n".join("  ".join(cell.ljust(w) for cell, w in zip(row, widths)).rstrip()
                     for row in rows)


@dataclass
class Target:
    text: str
    value: float
    limit: float
    at_least: bool = False

    @property
    def met(self):
        return self.value is not None and (self.value >= self.limit if self.at_least
                                           else self.value <= self.limit)

    def line(self):
        shown = "n/a" if self.value is None else f"{self.value:.2f}x"
        sign = ">=" if self.at_least else "<="
        return f"{'met   ' if self.met else 'MISSED'}  {self.text}: {shown} ({sign} {self.limit}x)"


def targets(results):
    probe25, probe2000, probe250 = timer_probe(25), timer_probe(2000), timer_probe(250)

    def median_ratio(subject, base, name):
        return ratio(results.median(subject, name), results.median(base, name))

    blit_cpu = median_ratio(BLIT_PROBE, probe25, "cpu_percent")
    found = [
        Target(f"Drifter CPU against the timer-only probe (timer+blit probe: "
               f"{show_ratio(blit_cpu) or 'n/a'})",
               median_ratio(DRIFTER, probe25, "cpu_percent"), 1.9),
        Target("Drifter ticks/s against the probe's",
               ratio(delivery(results, DRIFTER), delivery(results, probe25)), 0.98, True),
        Target("Drifter launch to first frame against the probe's",
               median_ratio(DRIFTER, probe25, "launch_ms"), 1.5),
    ]
    for mode in (DRIFTER, STILL_QUOTE, FLASHER):
        found.append(Target(f"{mode.name.split(',')[0]} peak memory against the probe's",
                            median_ratio(mode, probe25, "peak_memory_mb"), 1.5))
    for mode, base in ((STILL_QUOTE_2000, probe2000), (FLASHER_250, probe250)):
        found.append(Target(f"{mode.name} CPU against the timer-only probe",
                            median_ratio(mode, base, "cpu_percent"), 1.5))
        found.append(Target(f"{mode.name} ticks/s against the probe's",
                            ratio(delivery(results, mode), delivery(results, base)), 0.98, True))
    if results.runs.get(NATIVE_DRIFTER):
        found += [
            Target("native Drifter CPU against its Xlib timer+blit probe",
                   median_ratio(NATIVE_DRIFTER, XLIB_BLIT_PROBE, "cpu_percent"), 1.1),
            Target("native Drifter ticks/s against its Xlib probe's",
                   ratio(delivery(results, NATIVE_DRIFTER), delivery(results, XLIB_BLIT_PROBE)),
                   0.98, True),
            Target("native Drifter CPU against the Drifter under Wine",
                   median_ratio(NATIVE_DRIFTER, DRIFTER, "cpu_percent"), 0.5),
        ]
    return found


def missing_figures(results, subjects):
    """What a run failed to measure: a tick rate, launch time or peak memory that is not
    positive, or a CPU or switch figure that is not a number of at least 0."""
    missing = []
    for subject in subjects:
        runs = results.runs.get(subject, [])
        if not runs:
            missing.append(f"{subject.name}: no run")
        for figures in runs:
            for name, value in vars(figures).items():
                if name == "cpu_split":
                    continue
                positive = name in ("ticks_per_s", "launch_ms", "peak_memory_mb")
                if not (value > 0 if positive else value >= 0):
                    missing.append(f"{subject.name}: {name} = {value}")
    return missing


def machine():
    cpu = re.search(r"^model name\s*:\s*(.*)$", Path("/proc/cpuinfo").read_text(), re.M)
    try:
        debian = Path("/etc/debian_version").read_text().strip()
    except OSError:
        debian = "?"
    wine = subprocess.run([WINE, "--version"], capture_output=True, text=True).stdout.strip()
    return (f"{platform.node()}: {cpu.group(1) if cpu else platform.machine()}, "
            f"{os.cpu_count()} cores, Linux {platform.release()}, Debian {debian}, {wine}, "
            f"Xvfb 800 x 600 x 24")


def tables(results):
    """The short runs against the timer-only probe at 25 ms, the long runs against the
    timer-only probe at their own interval, and the native runs (if any) against the Xlib
    probe, with the Drifter under Wine beside them."""
    probe25 = timer_probe(25)
    short = table(results, SHORT_RUNS, lambda s: probe25, with_switches=False)
    bases = {STILL_QUOTE_2000: timer_probe(2000), FLASHER_250: timer_probe(250)}
    long = table(results, LONG_RUNS, lambda s: bases.get(s, s), with_switches=True)
    native = None
    if results.runs.get(NATIVE_DRIFTER):
        native = table(results, NATIVE_RUNS + [DRIFTER], lambda s: XLIB_BLIT_PROBE,
                       with_switches=True)
    return short, long, native


def native_section(native, short_s, long_s):
    if native is None:
        return ""
    return f"""
## {long_s:g} s runs on Linux, against the Xlib timer+blit probe at 25 ms

The native `vqsaver` and an Xlib probe that does the same work (a 25 ms timer from its
event loop's timeouts, and the same 124 x 152 picture copied from a server-side pixmap onto
the root window at every tick), on the same Xvfb, interleaved with the runs above; the
Drifter under Wine ({short_s:g} s runs) beside them. For a native program the split's
wineserver share is 0.

{markdown(native)}
"""


def write_markdown(path, short, long, native, found, reps, short_s, long_s, load):
    """docs/benchmark.md: the tables with how they were made."""
    stamp = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    path.write_text(f"""# Benchmark

VQSaver.scr (64-bit build) under Wine against two baseline probes that do the least a
screen saver can: a top-most popup with a `SetTimer` timer whose ticks do nothing
(timer-only), and the same moving and blitting a 124 x 152 8-bit picture at every tick
(timer+blit). Made by `tools/bench` on {stamp}, on {machine()}; load average at the start
{load}.

Each figure is min / median / max over {reps} interleaved repetitions; a ratio (x) is the
program's median over the probe's median. CPU is the utime + stime of the program, the
wineserver and Xvfb per wall second (split: program / wineserver / Xvfb, medians). Ticks/s
is measured from the program's own tick timestamps; its ratio compares the share of the
asked rate delivered. Launch to 1st tick is from the launch to the first timer tick (for
Drifter and the probes the first frame); it includes one interval.

## {short_s:g} s runs, against the timer-only probe at 25 ms

{markdown(short)}

## {long_s:g} s runs, against the timer-only probe at the same interval

{markdown(long)}
{native_section(native, short_s, long_s)}
## Targets

```
{chr(10).join(t.line() for t in found)}
```
""")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--scr", type=Path, required=True, help="the VQSaver.scr to measure")
    parser.add_argument("--probe", type=Path, required=True, help="the probe.exe built beside it")
    parser.add_argument("--work", type=Path, required=True, help="folder for the environment")
    parser.add_argument("--smoke", action="store_true",
                        help="one short repetition, no targets: only checks figures come out")
    parser.add_argument("--reps", type=int, default=3)
    parser.add_argument("--seconds", type=float, default=20.0, help="length of the short runs")
    parser.add_argument("--long-seconds", type=float, default=60.0,
                        help="length of the Still & Quote and Flasher CPU runs")
    parser.add_argument("--markdown", type=Path, help="write the tables here (not with --smoke)")
    parser.add_argument("--vqsaver", type=Path,
                        help="the native saver to measure too (with --xlib-probe)")
    parser.add_argument("--xlib-probe", type=Path, help="the Xlib probe built beside it")
    args = parser.parse_args()
    if args.smoke:
        args.reps, args.seconds, args.long_seconds, args.markdown = 1, 2.0, 4.5, None

    for path in (args.scr, args.probe):
        if not path.is_file():
            sys.exit(f"bench: {path} does not exist; build the win64 preset first")
    native = args.vqsaver is not None
    if native != (args.xlib_probe is not None):
        sys.exit("bench: --vqsaver and --xlib-probe go together")
    for path in (args.vqsaver, args.xlib_probe) if native else ():
        if not path.is_file():
            sys.exit(f"bench: {path} does not exist; build the linux preset first")
    # The native runs cost about 1 % CPU: at the kernel's 10 ms accounting grain they need the
    # long runs' length for a 10 % difference to show.
    long_runs = LONG_RUNS + (NATIVE_RUNS if native else [])
    args.work.mkdir(parents=True, exist_ok=True)
    wine = WineEnvironment(Path(__file__).resolve().parent.parent / "tools/lib/wine_env.sh",
                           args.work.resolve() / "env")
    # Ending by a signal still stops the environment.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(130))
    load = " ".join(Path("/proc/loadavg").read_text().split()[:3])
    results = Results()
    try:
        wine.start()
        bench = Bench(wine, args.scr.resolve(), args.probe.resolve(), args.work.resolve(),
                      *((args.vqsaver.resolve(), args.xlib_probe.resolve()) if native else ()))
        bench.warm_up([timer_probe(25), DRIFTER] + (NATIVE_RUNS if native else []))
        for rep in range(args.reps):
            for subject in SHORT_RUNS:
                print(f"[{rep + 1}/{args.reps}] {subject.name}, {args.seconds:g} s", flush=True)
                results.add(subject, bench.measure(subject, args.seconds))
            for subject in long_runs:
                print(f"[{rep + 1}/{args.reps}] {subject.name}, {args.long_seconds:g} s",
                      flush=True)
                results.add(subject, bench.measure(subject, args.long_seconds))
    except (RuntimeError, subprocess.CalledProcessError) as error:
        sys.exit(f"bench: {error}")
    finally:
        wine.stop()

    short, long, native_table = tables(results)
    for rows in (short, long, native_table):
        if rows:
            print()
            print(plain(rows))
    if args.smoke:
        missing = missing_figures(results, SHORT_RUNS + long_runs)
        if missing:
            sys.exit("bench: figures missing: " + "; ".join(missing))
        print("\nbench: smoke run: every figure came out")
        return 0
    found = targets(results)
    print()
    print("\n".join(t.line() for t in found))
    if args.markdown:
        write_markdown(args.markdown, short, long, native_table, found, args.reps, args.seconds,
                       args.long_seconds, load)
        print(f"\nbench: tables written to {args.markdown}")
    return 0 if all(t.met for t in found) else 1


if __name__ == "__main__":
    sys.exit(main())
