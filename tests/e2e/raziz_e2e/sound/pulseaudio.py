"""A private PulseAudio server: per-user daemon (not --system) in the work folder, its own socket, a
48 kHz float null sink as the default sink and its monitor as the default source."""
import shutil
import subprocess

from ..processes import wait_for
from ..sound_server import CHANNELS, RATE, SINK, SoundError, SoundServer

# Blocks pass between the server and its clients by copy, not through shared memfd segments: on a busy machine
# the server otherwise loses track of a block it passed on to the recorder by reference, and aborts on an
# assertion ("Cannot send block reference with non-registered memfd ID", then memblock.c) as a client that
# played through it ends, taking the recording with it.
DAEMON_CONF = """default-sample-format = float32le
default-sample-rate = %d
alternate-sample-rate = %d
avoid-resampling = yes
flat-volumes = no
enable-memfd = no
""" % (RATE, RATE)


class PulseAudio(SoundServer):
    name = "pulseaudio"

    def __init__(self, work):
        super().__init__(work)
        self.dir = work.path("pulse")
        self.socket = self.dir / "native"
        self.process = None

    @classmethod
    def missing(cls):
        for tool in ("pulseaudio", "pactl", "parec", "pacat"):
            if shutil.which(tool) is None:
                return "%s is not installed" % tool
        return None

    def program_env(self):
        return {"PULSE_SERVER": "unix:%s" % self.socket}

    def start(self):
        self.dir.mkdir(parents=True, exist_ok=True)
        config = self.work.path("home/.config/pulse")
        config.mkdir(parents=True, exist_ok=True)
        (config / "daemon.conf").write_text(DAEMON_CONF)
        # A client must never start a server of its own, which would not be ours.
        (config / "client.conf").write_text("autospawn = no\n")
        script = self.dir / "e2e.pa"
        script.write_text(
            "load-module module-null-sink sink_name=%s rate=%d format=float32le channels=%d "
            "sink_properties=device.description=%s\n"
            "load-module module-native-protocol-unix socket=%s auth-anonymous=1\n"
            "set-default-sink %s\nset-default-source %s.monitor\n"
            % (SINK, RATE, CHANNELS, SINK, self.socket, SINK, SINK))
        # Real-time priority where allowed: the machine may be busy with builds, and what is judged is the
        # program's sound, not a starved test server.
        self.process = self.work.spawn(
            "pulseaudio",
            ["pulseaudio", "-n", "-F", str(script), "--daemonize=no", "--exit-idle-time=-1",
             "--disallow-exit", "--use-pid-file=no", "--log-target=stderr", "--realtime=yes",
             "--high-priority=yes"],
            env={"PULSE_RUNTIME_PATH": str(self.dir)})
        if not wait_for(self.answers, 10):
            raise SoundError("pulseaudio did not answer on %s:\n%s" % (self.socket, self.process.log_text()[-2000:]))
        # The daemon sets its main thread, which takes in the clients' audio, back to normal scheduling.
        subprocess.run(["chrt", "-r", "-p", "10", str(self.process.pid)], capture_output=True)
        if not self.plays():
            raise SoundError("the null sink does not play")

    def kill(self):
        if self.process is None:
            raise SoundError("no server to kill")
        self.process.kill()
        self.work.forget(self.process)
        self.process = None

    def last_words(self):
        if self.process is None:
            return ""
        # Its errors, past the warnings every private start prints (root, no cookie, no D-Bus).
        lines = self.process.log_text().strip().splitlines()
        return "\n".join([line for line in lines if line.startswith("E:")][-5:] or lines[-2:])

    def stop(self):
        if self.process is not None:
            self.process.stop()
            self.work.forget(self.process)
            self.process = None
