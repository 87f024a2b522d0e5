#!/usr/bin/env bash
# Start-up benchmark: starts build/tarvin RUNS times (7 unless --runs N) under a private Xvfb and
# prints medians, each beside a baseline measured the same way in the same session:
#   - a plain-text and an HTML sample, and the explorer without arguments: time from the start
#     to the first window being mapped (seen from outside, by an X client watching the root
#     window), to its first paint and to the message body being on screen (time stamps the
#     program writes to standard error when TARVIN_TRACE_STARTUP is set; also when the window
#     library was loaded and the application object made, and when the web library with the
#     HTML engine was, where it was); baseline: xmessage
#   - "tarvin /?" and "tarvin /C <empty folder>": wall time and peak memory; baseline /bin/true
#   - a hand-over to a running viewer: time until the second start has ended, and until the
#     running viewer has painted the new window
# Options: --runs N, --no-build, --program PATH (another build of tarvin).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=7
build=1
program=$PWD/build/tarvin
while [ $# -gt 0 ]; do
    case $1 in
    --runs) runs=$2; shift 2 ;;
    --no-build) build=0; shift ;;
    --program) program=$(realpath "$2"); build=0; shift 2 ;;
    *) echo "usage: $0 [--runs N] [--no-build] [--program PATH]" >&2; exit 2 ;;
    esac
done
if [ "$build" = 1 ]; then
    cmake --build build --target tarvin --parallel 2 >/dev/null
fi
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
export TARVIN_BENCH_PROGRAM=$program TARVIN_BENCH_RUNS=$runs TARVIN_BENCH_SAMPLES=$PWD/samples
exec xvfb-run -a -s "-screen 0 1280x1024x24" python3 - <<'PYTHON'
import os, shutil, statistics, subprocess, sys, tempfile, threading, time

program = os.environ["TARVIN_BENCH_PROGRAM"]
runs = int(os.environ["TARVIN_BENCH_RUNS"])
samples = os.environ["TARVIN_BENCH_SAMPLES"]
plain_sample = os.path.join(samples, "Call from Brantford Ltd[245004d20931].pml")
html_sample = os.path.join(samples, "Quarterly figures with chart[24410ad21211].pml")

# Settings, work folders and the instance socket of these runs stay apart from the user's.
scratch = tempfile.mkdtemp(prefix="tarvin-startup-")
env = dict(os.environ, HOME=scratch, XDG_CONFIG_HOME=os.path.join(scratch, "config"),
           XDG_CACHE_HOME=os.path.join(scratch, "cache"), TMPDIR=os.path.join(scratch, "tmp"),
           TARVIN_TRACE_STARTUP="1")
env.pop("QT_QPA_PLATFORM", None)
for sub in ("config", "cache", "tmp", "empty"):
    os.makedirs(os.path.join(scratch, sub), exist_ok=True)
empty_folder = os.path.join(scratch, "empty")
quiet = [(os.POSIX_SPAWN_OPEN, 0, "/dev/null", os.O_RDONLY, 0),
         (os.POSIX_SPAWN_OPEN, 1, "/dev/null", os.O_WRONLY, 0)]


class MapWatcher:
    """Watches the root window for MapNotify events (top-level windows being mapped)."""

    def __init__(self):
        self.times = []
        self.lock = threading.Lock()
        self.proc = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"],
                                     stdout=subprocess.PIPE, text=True, env=env)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stdout:
            if line.startswith("MapNotify"):
                with self.lock:
                    self.times.append(time.monotonic())

    def first_after(self, start):
        with self.lock:
            later = [t for t in self.times if t >= start]
        return later[0] if later else None


class Traced:
    """A started program whose trace lines ("tarvin-trace EVENT SECONDS DETAIL") are collected."""

    def __init__(self, argv):
        self.events = []
        self.cond = threading.Condition()
        self.start = time.monotonic()
        self.proc = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                     text=True, env=env)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stderr:
            parts = line.split()
            if len(parts) >= 3 and parts[0] == "tarvin-trace":
                with self.cond:
                    self.events.append((parts[1], float(parts[2]), " ".join(parts[3:])))
                    self.cond.notify_all()

    def wait_for(self, event, count=1, timeout=30.0):
        deadline = time.monotonic() + timeout
        with self.cond:
            while True:
                found = [e for e in self.events if e[0] == event]
                if len(found) >= count:
                    return found[count - 1][1]
                left = deadline - time.monotonic()
                if left <= 0:
                    return None
                self.cond.wait(left)

    def stop(self):
        self.proc.terminate()
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()


def median_ms(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) * 1000 if values else None


def fmt(value, unit="ms"):
    return "-" if value is None else f"{value:7.1f} {unit}"


def ratio(value, base):
    return "" if value is None or not base else f"(x{value / base:5.2f})"


watcher = MapWatcher()
time.sleep(0.5)


def window_series(argv, wait_event):
    mapped, painted, body = [], [], []
    phases = {"loaded": [], "app": []}
    web = []
    for _ in range(runs):
        traced = Traced(argv)
        traced.wait_for(wait_event)
        time.sleep(0.2)
        mapped_at = watcher.first_after(traced.start)
        mapped.append(None if mapped_at is None else mapped_at - traced.start)
        paint_at = traced.wait_for("paint", timeout=0)
        painted.append(None if paint_at is None else paint_at - traced.start)
        body_at = traced.wait_for("body", timeout=0)
        body.append(None if body_at is None else body_at - traced.start)
        for name, values in phases.items():
            at = traced.wait_for(name, timeout=0)
            values.append(None if at is None else at - traced.start)
        with traced.cond:
            web_at = next((e[1] for e in traced.events
                           if e[0] == "loaded" and e[2] == "tarvin-web.so"), None)
        web.append(None if web_at is None else web_at - traced.start)
        traced.stop()
        time.sleep(0.3)
    return (median_ms(mapped), median_ms(painted), median_ms(body), median_ms(phases["loaded"]),
            median_ms(phases["app"]), median_ms(web))


def baseline_window():
    mapped = []
    for _ in range(runs):
        start = time.monotonic()
        proc = subprocess.Popen(["xmessage", "-geometry", "300x100", "Tarvin"], env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = start + 10
        while watcher.first_after(start) is None and time.monotonic() < deadline:
            time.sleep(0.001)
        at = watcher.first_after(start)
        mapped.append(None if at is None else at - start)
        proc.terminate()
        proc.wait()
        time.sleep(0.2)
    return median_ms(mapped)


def console_series(argv):
    wall, peak = [], []
    report = os.path.join(scratch, "time.txt")
    for _ in range(runs):
        start = time.monotonic()
        pid = os.posix_spawn(argv[0], argv, env, file_actions=quiet)
        os.wait4(pid, 0)
        wall.append(time.monotonic() - start)
        # The peak memory as /usr/bin/time reads it (a child of this large process would
        # inherit its high-water mark).
        subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report] + argv, env=env,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
        with open(report) as f:
            peak.append(int(f.read().split()[-1]) / 1024.0)  # kB to MB
        time.sleep(0.05)
    return median_ms(wall), statistics.median(peak)


def handover_series():
    primary = Traced([program, plain_sample])
    primary.wait_for("body")
    time.sleep(0.5)
    ended, shown = [], []
    for i in range(runs):
        copy = os.path.join(scratch, f"handover-{i}.pml")
        shutil.copyfile(plain_sample, copy)
        start = time.monotonic()
        pid = os.posix_spawn(program, [program, copy], env, file_actions=quiet)
        os.wait4(pid, 0)
        ended.append(time.monotonic() - start)
        at = primary.wait_for("paint", count=i + 2, timeout=10)
        shown.append(None if at is None else at - start)
        time.sleep(0.3)
    primary.stop()
    return median_ms(ended), median_ms(shown)


print(f"program: {program}; median of {runs} runs; load average {os.getloadavg()[0]:.1f}")
base_window = baseline_window()
base_console, base_console_mb = console_series(["/bin/true"])
print(f"baseline xmessage mapped     {fmt(base_window)}")
print(f"baseline /bin/true           {fmt(base_console)}  peak {base_console_mb:5.1f} MB")
print("                              mapped              first paint         body shown")
for name, argv, event in (("plain-text message", [program, plain_sample], "body"),
                          ("HTML message", [program, html_sample], "body"),
                          ("explorer (splash)", [program], "paint")):
    mapped, painted, body, loaded, app, web = window_series(argv, event)
    print(f"{name:28s} {fmt(mapped)} {ratio(mapped, base_window)}  {fmt(painted)}"
          f"           {fmt(body)}")
    if loaded is not None or app is not None:
        print(f"{'':28s} (window library loaded {fmt(loaded)}, application made {fmt(app)}"
              + ("" if web is None else f", web library loaded {fmt(web)}") + ")")
for name, argv in (("tarvin /?", [program, "/?"]), ("tarvin /C <empty folder>",
                                                    [program, "/C", empty_folder])):
    wall, peak = console_series(argv)
    print(f"{name:28s} {fmt(wall)} {ratio(wall, base_console)}  peak {peak:5.1f} MB")
ended, shown = handover_series()
print(f"{'hand-over: second start ends':28s} {fmt(ended)} {ratio(ended, base_console)}")
print(f"{'hand-over: new window paint':28s} {fmt(shown)}")
print(f"load average {os.getloadavg()[0]:.1f}")
watcher.proc.terminate()
shutil.rmtree(scratch, ignore_errors=True)
PYTHON
