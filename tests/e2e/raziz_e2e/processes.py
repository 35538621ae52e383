"""Processes the harness starts, a private work folder, and waiting with a deadline.

Every process is started in a session of its own, so that stopping it also stops whatever it started, and
nothing the harness did not start is ever signalled."""
import os
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path


def wait_for(predicate, timeout, interval=0.02):
    """Calls predicate until it returns something true and returns that; None once timeout seconds passed.
    An exception from predicate counts as not yet."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            value = predicate()
        except Exception:  # a tool that is not ready yet fails in its own way
            value = None
        if value:
            return value
        if time.monotonic() >= deadline:
            return None
        time.sleep(interval)


class Process:
    """One started command: its Popen, its log file, and how to stop it with all it started."""

    def __init__(self, name, popen, log):
        self.name = name
        self.popen = popen
        self.log = log

    @property
    def pid(self):
        return self.popen.pid

    def running(self):
        return self.popen.poll() is None

    def wait(self, timeout):
        """The exit status, or None if it is still running after timeout seconds."""
        try:
            return self.popen.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def log_text(self):
        try:
            return Path(self.log).read_text(errors="replace")
        except OSError:
            return ""

    def signal_group(self, sig):
        try:
            os.killpg(self.popen.pid, sig)
        except ProcessLookupError:
            pass

    def stop(self, grace=3.0):
        """TERM to its process group, KILL after grace seconds; waits for it."""
        if self.popen.poll() is None:
            self.signal_group(signal.SIGTERM)
            if self.wait(grace) is None:
                self.signal_group(signal.SIGKILL)
                self.popen.wait()
        # Children that outlived their leader still belong to the group.
        self.signal_group(signal.SIGKILL)

    def kill(self):
        """SIGKILL at once, as a crash would end it."""
        self.signal_group(signal.SIGKILL)
        self.popen.wait()


class Work:
    """A private folder with its own HOME and XDG folders, the environment every started process gets, and
    the list of processes to stop at the end (newest first)."""

    def __init__(self, name, keep=False):
        self.folder = Path(tempfile.mkdtemp(prefix="raziz-%s." % name))
        self.keep = keep
        self.processes = []
        home = self.folder / "home"
        run = self.folder / "run"
        self.env = {k: v for k, v in os.environ.items() if k in ("PATH", "LANG", "LC_ALL", "TERM", "TZ")}
        self.env.update(
            HOME=str(home),
            XDG_CONFIG_HOME=str(home / ".config"),
            XDG_DATA_HOME=str(home / ".local/share"),
            XDG_CACHE_HOME=str(home / ".cache"),
            XDG_RUNTIME_DIR=str(run),
            # The first GTK program on a fresh display otherwise probes OpenGL (tens of MB, tens of ms).
            GDK_GL="disable",
            NO_AT_BRIDGE="1",
        )
        for key in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"):
            Path(self.env[key]).mkdir(parents=True, exist_ok=True)
        run.chmod(0o700)

    def path(self, *parts):
        return self.folder.joinpath(*parts)

    def environment(self, extra=None):
        """The work environment updated by extra, where a value of None removes the variable."""
        full = dict(self.env)
        for key, value in (extra or {}).items():
            if value is None:
                full.pop(key, None)
            else:
                full[key] = value
        return full

    def spawn(self, name, argv, env=None, cwd=None, stdin=subprocess.DEVNULL, pass_fds=()):
        """Starts argv with the work environment (updated by env), its output in NAME.log."""
        full = self.environment(env)
        log = self.path(name + ".log")
        n = 1
        while log.exists():  # one log a start: a restarted program's words stay its own
            n += 1
            log = self.path("%s-%d.log" % (name, n))
        with open(log, "ab") as out:
            popen = subprocess.Popen(argv, env=full, cwd=cwd, stdin=stdin, stdout=out, stderr=subprocess.STDOUT,
                                     start_new_session=True, pass_fds=pass_fds)
        process = Process(name, popen, log)
        self.processes.append(process)
        return process

    def run(self, argv, env=None, timeout=30, cwd=None, input=None):
        """Runs a short command to its end with the work environment; returns CompletedProcess (text)."""
        full = self.environment(env)
        return subprocess.run(argv, env=full, cwd=cwd, input=input, capture_output=True, text=True,
                              timeout=timeout, start_new_session=True)

    def forget(self, process):
        if process in self.processes:
            self.processes.remove(process)

    def close(self):
        for process in reversed(self.processes):
            process.stop()
        self.processes = []
        if not self.keep:
            shutil.rmtree(self.folder, ignore_errors=True)
