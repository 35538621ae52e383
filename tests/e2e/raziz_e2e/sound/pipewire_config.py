"""Configuration a private PipeWire gets on top of the packaged one: drop-ins and late Lua fragments in its
own config folder, so that the packaged files stay the base and only what matters here is restated."""

# One graph rate, that of the sink, so that nothing between the program and the recording resamples.
PIPEWIRE_CONF = """context.properties = {
    default.clock.rate = 48000
    default.clock.allowed-rates = [ 48000 ]
}
"""

# No device of the machine (sound cards, cameras) is opened, and the permission store a sandbox portal
# would use is not asked for.
WIREPLUMBER_LUA = """alsa_monitor.enabled = false
v4l2_monitor.enabled = false
libcamera_monitor.enabled = false
default_access.properties["enable-flatpak-portal"] = false
"""

WIREPLUMBER_BLUETOOTH_LUA = """bluez_monitor.enabled = false
"""


def bus_config(socket):
    """A session bus that listens only at socket and starts no service on demand: the packaged session
    configuration would activate the machine's services (dconf, systemd) on this bus."""
    return """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=%s</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
""" % socket
