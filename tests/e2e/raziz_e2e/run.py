"""One cell's run: its desktop, sound server, accessibility buses, recording and program, and the loop that
runs the checks and prints "N passed, N failed" last."""
import argparse
import importlib
import inspect
import os
import shutil
import signal
import subprocess
import sys
import time
import traceback
from pathlib import Path

from . import layout
from .accessibility import Accessibility, Buses
from .app import App, CheckFailed
from .check import CHECKS
from .desktop import Desktop, Unsupported
from .listen import Ear
from .processes import Work
from .sound_server import SoundServer

REPO = Path(__file__).resolve().parents[3]
APP_NAME = "raziz"
# A wake-up this late on a CPU can run a 16 ms sound queue dry (what it holds varies between 11 and 16 ms),
# whatever the program does.
STALL_MS = 6


def adapter(package, name, base):
    module = importlib.import_module(".%s.%s" % (package, name), __package__)
    found = [c for _, c in inspect.getmembers(module, inspect.isclass) if issubclass(c, base) and c is not base
             and c.__module__ == module.__name__]
    if not found:
        raise SystemExit("%s/%s.py defines no %s" % (package, name, base.__name__))
    return found[0]


class DeadlinePassed(Exception):
    pass


class Run:
    def __init__(self, args):
        self.args = args
        self.cell = args.cell or "%s-%s%s" % (args.desktop, args.sound, "-" + "-".join(args.group) if args.group != ["session"] else "")
        self.build = Path(args.build).resolve()
        self.artefacts = self.build / "e2e" / self.cell
        self.desktop_class = adapter("desktops", args.desktop, Desktop)
        self.sound_class = adapter("sound", args.sound, SoundServer)
        self.work = None
        self.desktop = None
        self.recording = None
        self.buses = None
        self.clean = False
        self.peak_load = 0.0     # the highest 1-minute load average seen at a check's start
        self.figures = {}       # measured figures the checks report, printed at the end
        self.app = None
        self.cuts = []          # recording times (ms) where the harness cut the program's sound
        self.excused = []       # (from, to) ms of the recording not judged for clicks, with the reason where set
        self.a11y = None
        self.stall_watch = None
        self.stall_ms = STALL_MS
        self.restarts = 0       # times the sound server and recording were started again after a loss

    def missing(self):
        for part in (self.desktop_class, self.sound_class):
            why = part.missing()
            if why:
                return why
        for tool in (self.build / "tests/e2e/raziz-layout", self.build / "tests/e2e/raziz-e2e-sound",
                     self.build / "tests/e2e/raziz-e2e-stall-watch", self.build / "tests/e2e/raziz-e2e-shot"):
            if not tool.exists():
                return "%s is not built" % tool
        return None

    def start(self):
        # What earlier work left for the disk goes there now, not while the session's sound threads run: on
        # a kernel without preemption, writing back a build's gigabytes holds CPUs for milliseconds at a time.
        os.sync()
        self.work = Work(self.cell, keep=bool(os.environ.get("E2E_KEEP_WORK")))
        options = dict(kv.split("=", 1) for kv in self.args.option)
        self.desktop = self.desktop_class(self.work, options)
        self.sound = self.sound_class(self.work)
        # Not resolved: a link (an installed bin/raziz) is started as the link, as a user starts it.
        self.program = Path(self.args.program).absolute() if self.args.program else self.desktop.default_program(REPO)
        self.layout = layout.load(self.build / "tests/e2e/raziz-layout")
        self.sound_tool = self.build / "tests/e2e/raziz-e2e-sound"
        self.latency_tool = self.build / "tests/e2e-faults/raziz-e2e-click-latency"
        if self.artefacts.exists():
            shutil.rmtree(self.artefacts)
        self.artefacts.mkdir(parents=True)
        self.desktop.layout = self.layout
        self.desktop.shot_tool = self.build / "tests/e2e/raziz-e2e-shot"
        self.stall_watch = self.work.spawn("stall-watch", [str(self.build / "tests/e2e/raziz-e2e-stall-watch"),
                                                           str(self.stall_ms)])
        self.desktop.start()
        if "accessibility" in self.desktop.capabilities:
            self.buses = Buses(self.work)
            self.buses.start(self.desktop.program_env())
            self.a11y = Accessibility(self.buses, APP_NAME)
            self.desktop.accessibility = self.a11y
        self.opened_log = self.work.path("opened.txt")
        self.opened_log.write_text("")
        self.desktop.register_url_handler(self.opened_log)
        self.start_sound()

    def start_sound(self, record_as="session"):
        self.sound.start()
        self.record(record_as)

    def record(self, name):
        self.recording = self.sound.record(self.work.path(name + ".raw"))
        self.ear = Ear(self.sound_tool, self.recording)

    def mend_sound(self):
        """After a failed check, its program ended: when the recording had stopped (the recorder or the server
        gone), says so and starts both again, so that one lost server fails one check and not every check after
        it. What the session judges as a whole (cuts, excused spans) starts again with the new recording."""
        if self.recording is None:
            return None
        why = self.recording.stopped()
        if why is None:
            return None
        words = self.sound.last_words()
        at = self.recording.ms() / 1000
        self.recording.stop()
        try:
            if self.sound.answers():
                self.sound.stop()
            else:
                self.sound.kill()
        except Exception:  # already gone
            pass
        self.restarts += 1
        self.start_sound("session-%d" % self.restarts)
        self.cuts, self.excused = [], []
        return "the recording had stopped at %.1f s: %s%s\nthe sound server and the recording started again" % (
            at, why, "\nthe sound server said: " + words if words else "")

    def program_env(self):
        env = dict(self.sound.program_env())
        if self.buses:
            env.update(self.buses.env())
        return env

    def launch_folder(self):
        folder = self.work.path("launch")
        folder.mkdir(exist_ok=True)
        return folder

    def opened(self):
        return [line for line in self.opened_log.read_text().splitlines() if line.strip()]

    def shot(self, name):
        path = self.work.path(name + ".png")
        self.desktop.screenshot(path)
        return path

    def keep(self, name):
        """Copies a screenshot of the work folder to the cell's artefacts."""
        source = self.work.path(name + ".png")
        if source.exists():
            shutil.copy(source, self.artefacts / source.name)

    def stalls(self):
        """(ms of the recording, ms late) of each time the machine held a real-time thread STALL_MS or more
        past its wake-up while this recording ran. A reading of the recording is taken first: a stall after the
        last one would otherwise fall outside the readings and go unmapped (a check that ends in a pause)."""
        self.recording.ms()
        found = []
        for line in self.stall_watch.log_text().splitlines():
            try:
                t, _, late = (float(x) for x in line.split())
            except ValueError:
                continue
            at = self.recording.ms_at(t)
            if at is not None:
                found.append((at, late))
        return found

    def note_cut(self):
        self.cuts.append(self.recording.ms())

    # --- the program -----------------------------------------------------------------------------------

    def fresh(self, **kwargs):
        """A newly started program, any earlier one ended first."""
        self.end_program()
        self.app = App.start(self, **kwargs)
        return self.app

    def end_program(self):
        if self.app is not None:
            self.app.stop()
            self.app = None

    def close(self, keep_logs=False):
        self.end_program()
        if self.recording is not None:
            self.recording.stop()
            # What was heard last, kept beside the screenshots.
            subprocess.run(["sox", "-V1", "-t", "raw", "-e", "floating-point", "-b", "32", "-r", "48000", "-c", "2",
                            str(self.recording.path), str(self.artefacts / "recording.flac")], capture_output=True)
        if self.work is not None:
            self.desktop.stop()
            if keep_logs:
                # What every process said, beside the screenshots, for whoever reads the failure.
                logs = self.artefacts / "logs"
                logs.mkdir(parents=True, exist_ok=True)
                for log in self.work.folder.glob("*.log"):
                    shutil.copy(log, logs / log.name)
            self.work.close()


def run_check(run, check):
    def overdue(signum, frame):
        raise DeadlinePassed("deadline of %d s passed" % check.deadline)
    previous = signal.signal(signal.SIGALRM, overdue)
    signal.alarm(int(check.deadline))
    try:
        check.func(run)
        return None
    finally:
        signal.alarm(0)
        signal.signal(signal.SIGALRM, previous)


def after_failure(run):
    run.end_program()
    try:
        mended = run.mend_sound()
    except Exception as e:
        mended = "the sound server could not be started again: %s" % e
    if mended:
        print("      " + mended.replace("\n", "\n      "), flush=True)


def selected(args):
    chosen = [c for c in CHECKS if c.group in args.group]
    if args.only:
        chosen = [c for c in chosen if any(o in c.id or o in c.name for o in args.only)]
    return chosen


def main(argv=None):
    parser = argparse.ArgumentParser(prog="scripts/e2e", description=__doc__)
    parser.add_argument("--desktop", default="x11")
    parser.add_argument("--sound", default="pulseaudio")
    parser.add_argument("--group", action="append", help="check groups: session (default), faults")
    parser.add_argument("--only", nargs="+", help="checks whose id or name contains one of these")
    parser.add_argument("--program", help="the program to test (a Linux executable, or an .exe under wine)")
    parser.add_argument("--option", action="append", default=[], help="KEY=VALUE for the desktop adapter")
    parser.add_argument("--cell", help="the cell's name, for its artefacts folder (default: desktop-sound)")
    parser.add_argument("--build", default=str(REPO / "build"), help="the Linux build folder with the tools")
    parser.add_argument("--list", action="store_true", help="list the checks and exit")
    args = parser.parse_args(argv)
    args.group = args.group or ["session"]
    from . import scenario  # noqa: F401  registers the checks

    if args.list:
        for c in selected(args):
            print("%-28s %-8s %s" % (c.id, c.group, c.name))
        return 0
    run = Run(args)
    why = run.missing()
    if why:
        print("cell %s left out: %s" % (run.cell, why))
        print("0 passed, 0 failed")
        return 0
    passed = failed = 0
    left_out = []
    began = time.monotonic()
    try:
        try:
            run.start()
        except Exception as e:  # the cell could not start at all: one failure, with the reason
            print("FAIL  the %s desktop with %s starts: %s" % (args.desktop, args.sound, e))
            print("0 passed, 1 failed")
            failed = 1
            return 1
        for c in selected(args):
            missing = [n for n in c.needs if n not in run.desktop.capabilities]
            reason = c.left_out.get(args.desktop) or ("needs %s" % ", ".join(sorted(missing)) if missing else None)
            if reason:
                left_out.append(c)
                print("--    %s: left out (%s)" % (c.name, reason))
                continue
            start = time.monotonic()
            at = run.recording.ms() / 1000 if run.recording else 0
            run.peak_load = max(run.peak_load, os.getloadavg()[0])
            try:
                run_check(run, c)
                passed += 1
                print("ok    %s (%.1f s, from %.1f s of the recording)" % (c.name, time.monotonic() - start, at),
                      flush=True)
            except Unsupported as e:
                left_out.append(c)
                print("--    %s: left out (%s)" % (c.name, e), flush=True)
            except (CheckFailed, DeadlinePassed, AssertionError) as e:
                failed += 1
                print("FAIL  %s (%.1f s, from %.1f s of the recording)\n      %s" % (c.name, time.monotonic() - start, at,
                                                     str(e).replace("\n", "\n      ")), flush=True)
                after_failure(run)
            except Exception:
                failed += 1
                print("FAIL  %s (%.1f s)\n      %s" % (c.name, time.monotonic() - start,
                                                     traceback.format_exc().replace("\n", "\n      ")), flush=True)
                after_failure(run)
    finally:
        run.close(keep_logs=failed > 0)
    for what, figure in run.figures.items():
        print("figure: %s: %s" % (what, figure))
    print("cell %s: %d checks passed, %d left out, in %.0f s" % (run.cell, passed, len(left_out),
                                                                time.monotonic() - began))
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0
