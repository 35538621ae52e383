"""A private PipeWire: pipewire, wireplumber and pipewire-pulse in the work folder, with their own runtime
folder and session bus, no device of the machine, and a 48 kHz float null sink made with pactl as the
default sink. Clients reach it through the PulseAudio protocol at its own socket."""
import shutil
import socket
import subprocess

from ..processes import wait_for
from ..sound_server import CHANNELS, RATE, SINK, SoundError, SoundServer
from .pipewire_config import PIPEWIRE_CONF, WIREPLUMBER_LUA, WIREPLUMBER_BLUETOOTH_LUA, bus_config


def listening(path):
    """True when a server accepts connections at the Unix socket path."""
    with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as s:
        try:
            s.connect(str(path))
            return True
        except OSError:
            return False


TOOLS = ("pipewire", "wireplumber", "pipewire-pulse", "dbus-daemon", "pactl", "parec", "pacat")


class PipeWire(SoundServer):
    name = "pipewire"

    def __init__(self, work):
        super().__init__(work)
        self.dir = work.path("pipewire")
        self.runtime = self.dir / "run"
        self.config = self.dir / "config"
        self.bus_socket = self.dir / "bus"
        self.socket = self.runtime / "pulse" / "native"
        self.bus = None
        self.servers = []

    @classmethod
    def missing(cls):
        for tool in TOOLS:
            if shutil.which(tool) is None:
                return "%s is not installed" % tool
        return None

    def program_env(self):
        # PIPEWIRE_RUNTIME_DIR too: a client that speaks PipeWire's own protocol (or ALSA's PipeWire
        # plugin) then finds this server, never the user's.
        return {"PULSE_SERVER": "unix:%s" % self.socket, "PIPEWIRE_RUNTIME_DIR": str(self.runtime)}

    def server_env(self):
        return {
            "XDG_RUNTIME_DIR": str(self.runtime),
            "PIPEWIRE_RUNTIME_DIR": str(self.runtime),
            "PULSE_RUNTIME_PATH": str(self.runtime / "pulse"),
            "XDG_CONFIG_HOME": str(self.config),
            "XDG_STATE_HOME": str(self.dir / "state"),
            "DBUS_SESSION_BUS_ADDRESS": "unix:path=%s" % self.bus_socket,
            # Without real-time rights PipeWire asks RTKit on the system bus; that bus is not ours.
            "DBUS_SYSTEM_BUS_ADDRESS": "unix:path=%s" % (self.dir / "no-system-bus"),
            # PipeWire's bell module would open a window-system connection.
            "DISPLAY": None,
            "WAYLAND_DISPLAY": None,
            "PULSE_SERVER": None,
        }

    def write_config(self):
        for folder in (self.runtime, self.dir / "state", self.config / "pipewire/pipewire.conf.d",
                       self.config / "wireplumber/main.lua.d", self.config / "wireplumber/bluetooth.lua.d"):
            folder.mkdir(parents=True, exist_ok=True)
        self.runtime.chmod(0o700)
        (self.config / "pipewire/pipewire.conf.d/e2e.conf").write_text(PIPEWIRE_CONF)
        # Named to sort after the packaged 50-*-config.lua, which switch the device monitors on, and before
        # 90-enable-all.lua, which reads the switches.
        (self.config / "wireplumber/main.lua.d/51-e2e.lua").write_text(WIREPLUMBER_LUA)
        (self.config / "wireplumber/bluetooth.lua.d/51-e2e.lua").write_text(WIREPLUMBER_BLUETOOTH_LUA)
        (self.dir / "bus.conf").write_text(bus_config(self.bus_socket))

    def start_bus(self):
        # PipeWire's and WirePlumber's modules reach for a session bus; with none named, the bus library would
        # try to launch one through an X display. It outlives a killed server, as the user's session bus would.
        if self.bus is not None and self.bus.running():
            return
        self.bus = self.work.spawn("pipewire-bus", ["dbus-daemon", "--config-file=%s" % (self.dir / "bus.conf"),
                                                    "--nofork", "--nopidfile"])
        if not wait_for(lambda: self.bus_socket.is_socket(), 10):
            raise SoundError("the session bus did not start:\n%s" % self.bus.log_text()[-2000:])

    def spawn(self, name):
        process = self.work.spawn(name, [name], env=self.server_env())
        self.servers.append(process)
        return process

    def start(self):
        self.write_config()
        self.start_bus()
        pipewire = self.spawn("pipewire")
        # Not the socket's file: a killed server leaves it behind, and WirePlumber started against that one
        # fails to connect and ends.
        if not wait_for(lambda: listening(self.runtime / "pipewire-0") or not pipewire.running(), 10) \
                or not pipewire.running():
            raise SoundError("pipewire did not start:\n%s" % pipewire.log_text()[-2000:])
        self.spawn("wireplumber")
        self.spawn("pipewire-pulse")
        if not wait_for(self.answers, 10):
            raise SoundError("pipewire-pulse did not answer on %s:\n%s" % (self.socket, self.logs()))
        done = self.pactl("load-module", "module-null-sink", "sink_name=%s" % SINK, "format=float32le",
                          "rate=%d" % RATE, "channels=%d" % CHANNELS, "channel_map=front-left,front-right",
                          "sink_properties=device.description=%s" % SINK)
        if done.returncode != 0:
            raise SoundError("no null sink: %s" % done.stderr.strip())
        # The default sink is WirePlumber's metadata: it holds only once WirePlumber has seen the sink.
        if not wait_for(self.sink_is_default, 10):
            raise SoundError("%s did not become the default sink:\n%s" % (SINK, self.logs()))
        # PipeWire runs its data loops real-time, but the pulse server takes in each client's stream on its main
        # thread, at normal scheduling; with it so, a 21 ms quantum went missing from the recording now and then.
        # It is raised as the PulseAudio adapter raises its daemon's: what is judged is the program's sound.
        for process in self.servers:
            if process.name in ("pipewire", "pipewire-pulse"):
                subprocess.run(["chrt", "-r", "-p", "10", str(process.pid)], capture_output=True)
        if not self.plays():
            raise SoundError("the null sink does not play:\n%s" % self.logs())

    def sink_is_default(self):
        self.pactl("set-default-sink", SINK, timeout=3)
        self.pactl("set-default-source", SINK + ".monitor", timeout=3)
        info = self.pactl("info", timeout=3).stdout
        return "Default Sink: %s\n" % SINK in info and "Default Source: %s.monitor\n" % SINK in info

    def logs(self, tail=1500):
        return "\n".join("%s%s: %s" % (p.name, "" if p.running() else " (ended)", p.log_text().strip()[-tail:])
                         for p in self.servers)

    def last_words(self):
        return self.logs(300)

    def kill(self):
        if not any(p.running() for p in self.servers):
            raise SoundError("no server to kill")
        for process in self.servers:
            process.kill()
            self.work.forget(process)
        self.servers = []

    def stop(self):
        # The pulse server first, so that its clients see it go before the graph under it.
        for process in reversed(self.servers):
            process.stop()
            self.work.forget(process)
        self.servers = []
        if self.bus is not None:
            self.bus.stop()
            self.work.forget(self.bus)
            self.bus = None
