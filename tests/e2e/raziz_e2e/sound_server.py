"""What the scenario needs of a sound server, and the contract each adapter keeps.

An adapter (sound/pulseaudio.py, sound/pipewire.py) starts a private server in the run's work folder with a
null sink named "e2e" (48000 Hz, float32le, stereo) as the default sink, and reaches nothing of any other
server. Both kinds speak the PulseAudio protocol (PipeWire through pipewire-pulse), so recording the sink's
monitor and listing the clients' streams are done here with pactl and parec; an adapter only starts, kills
and restarts its server."""
import bisect
import os
import subprocess
import time

from .processes import wait_for

SINK = "e2e"
RATE = 48000
CHANNELS = 2
FRAME_BYTES = 4 * CHANNELS


class SoundError(Exception):
    """The server did not start, or does not play or record."""


class Recording:
    """Raw float32le stereo 48 kHz of what reached the sink, written by parec to path while it runs."""

    def __init__(self, path, process, work):
        self.path = path
        self.process = process
        self.work = work
        # (time.monotonic(), ms) at each reading: places what another clock timed in the recording.
        self.readings = []

    def ms(self):
        """Milliseconds recorded so far."""
        try:
            ms = os.path.getsize(self.path) // FRAME_BYTES * 1000 // RATE
        except OSError:
            return 0
        self.readings.append((time.monotonic(), ms))
        return ms

    def ms_at(self, t):
        """Where time.monotonic() value t falls in the recording, from the reading nearest it; None outside the
        readings. The recorder's own latency (tens of milliseconds) stays in the answer."""
        if not self.readings or not self.readings[0][0] <= t <= self.readings[-1][0]:
            return None
        i = bisect.bisect_left(self.readings, (t,))
        near = min(self.readings[max(0, i - 1):i + 1], key=lambda r: abs(r[0] - t))
        return near[1] + (t - near[0]) * 1000

    def wait_ms(self, ms, timeout=None):
        """Waits until ms more milliseconds have been recorded than at the call; False if they did not come."""
        target = self.ms() + ms
        return bool(wait_for(lambda: self.ms() >= target, timeout or ms / 1000 + 5))

    def stopped(self, within=1.0):
        """None while the recorder runs and the recording grows; else what became of it (its last words)."""
        if self.process is None:
            return "the recording was stopped"
        if not self.process.running():
            return "the recorder ended with status %s: %s" % (self.process.popen.returncode,
                                                             self.process.log_text().strip()[-300:] or "nothing")
        if not self.wait_ms(1, within):
            return "the recording stood still at %.1f s for %.1f s" % (self.ms() / 1000, within)
        return None

    def stop(self):
        if self.process is not None:
            self.process.stop()
            self.work.forget(self.process)
            self.process = None


class SoundServer:
    """Base class of the sound-server adapters."""

    name = "sound"

    def __init__(self, work):
        self.work = work

    @classmethod
    def missing(cls):
        """None when this machine has the server's programs, else the reason; the cell is then left out."""
        return None

    def start(self):
        """Starts the private server with its null sink, and returns once a client's stream is played (a
        short stream of silence has gone through: a fresh null sink otherwise stalls the first stream).
        Raises SoundError. Also used by restart: the server comes back on the same socket."""
        raise NotImplementedError

    def program_env(self):
        """The environment a client needs to reach this server and only it (PULSE_SERVER...)."""
        raise NotImplementedError

    def kill(self):
        """SIGKILLs the server, as a crash would; recordings end. Returns once it is gone."""
        raise NotImplementedError

    def restart(self):
        """Starts the server again after kill, on the same socket (clients find it where they left it)."""
        self.start()

    def stop(self):
        """Stops the server (optional: work.close() stops every spawned process anyway)."""

    def last_words(self):
        """The end of the server's log, for a report when it went away."""
        return ""

    # --- shared through the PulseAudio protocol --------------------------------------------------------

    def pactl(self, *args, timeout=10):
        return self.work.run(["pactl", *args], env=self.program_env(), timeout=timeout)

    def answers(self):
        try:
            return self.pactl("info", timeout=3).returncode == 0
        except Exception:
            return False

    def plays(self):
        """Plays 200 ms of silence to the default sink; True once it went through."""
        env = self.work.environment(self.program_env())
        try:
            done = subprocess.run(["pacat", "--format=float32le", "--rate=%d" % RATE,
                                   "--channels=%d" % CHANNELS, "--latency-msec=20", "--playback"],
                                  input=bytes(RATE // 5 * FRAME_BYTES), env=env, capture_output=True,
                                  timeout=20, start_new_session=True)
        except subprocess.TimeoutExpired:
            return False
        return done.returncode == 0

    def streams(self):
        """The application names of the playback streams now on the server."""
        try:
            out = self.pactl("list", "sink-inputs", timeout=3).stdout
        except Exception:
            return []
        names = []
        for line in out.splitlines():
            line = line.strip()
            if line.startswith("application.name = "):
                names.append(line.split("=", 1)[1].strip().strip('"'))
        return names

    def record(self, path):
        """Starts recording the sink's monitor into path; returns the Recording once data flows (a fresh
        sink's monitor may hold back its first data for a couple of seconds)."""
        open(path, "wb").close()
        process = self.work.spawn("parec", ["parec", "--device=%s.monitor" % SINK, "--format=float32le",
                                            "--rate=%d" % RATE, "--channels=%d" % CHANNELS, "--raw",
                                            "--latency-msec=50", str(path)], env=self.program_env())
        # The recorder must not fall behind on a busy machine: a dropped fragment would read as a gap in the
        # program's sound.
        subprocess.run(["chrt", "-r", "-p", "10", str(process.pid)], capture_output=True)
        recording = Recording(path, process, self.work)
        if not wait_for(lambda: os.path.getsize(path) > 0, 10):
            recording.stop()
            raise SoundError("parec records nothing from %s.monitor" % SINK)
        return recording
