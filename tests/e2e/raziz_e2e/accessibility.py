"""What a screen reader sees of the program: a private session bus and accessibility bus, and one AT-SPI
connection for the whole run.

The harness's own process joins the private buses (the variables are set before pyatspi is first imported),
so the connection reaches the programs this run started and nothing else."""
import os
import shutil

from .processes import wait_for


class AccessibilityError(Exception):
    pass


class Buses:
    """A session bus and the accessibility bus it launches, both in the work folder."""

    def __init__(self, work):
        self.work = work
        self.session = "unix:path=%s" % work.path("bus")
        self.a11y = None

    @classmethod
    def missing(cls):
        for tool in ("dbus-daemon", "/usr/libexec/at-spi-bus-launcher", "gdbus"):
            if shutil.which(tool) is None:
                return "%s is not installed" % tool
        return None

    def start(self, desktop_env):
        self.work.spawn("dbus", ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                                 "--address=%s" % self.session])
        if not wait_for(lambda: self.work.path("bus").exists(), 10):
            raise AccessibilityError("dbus-daemon did not start")
        env = dict(desktop_env, DBUS_SESSION_BUS_ADDRESS=self.session)
        self.work.spawn("a11y", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=env)

        def address():
            r = self.work.run(["gdbus", "call", "--session", "--dest", "org.a11y.Bus", "--object-path",
                               "/org/a11y/bus", "--method", "org.a11y.Bus.GetAddress"], env=env, timeout=5)
            if r.returncode != 0:
                return None
            return r.stdout.strip().strip("(),").strip("'")
        self.a11y = wait_for(address, 10, interval=0.1)
        if not self.a11y:
            raise AccessibilityError("the accessibility bus did not start")

    def env(self):
        """For the program and the harness: these buses, and the toolkit's bridge switched on."""
        return {"DBUS_SESSION_BUS_ADDRESS": self.session, "AT_SPI_BUS_ADDRESS": self.a11y, "NO_AT_BRIDGE": None}


class Accessibility:
    """The accessible tree of the application named app_name (as the program registers itself)."""

    _connected_to = None

    def __init__(self, buses, app_name):
        if Accessibility._connected_to not in (None, buses.a11y):
            raise AccessibilityError("this process is already connected to another accessibility bus")
        # Nothing of a desktop this run did not start may be reached: the library would look for the
        # accessibility bus on a display it finds in the environment.
        for key in ("DISPLAY", "WAYLAND_DISPLAY"):
            os.environ.pop(key, None)
        for key, value in buses.env().items():
            if value is None:
                os.environ.pop(key, None)
            else:
                os.environ[key] = value
        Accessibility._connected_to = buses.a11y
        import pyatspi  # only now: it connects to the buses named in the environment
        from gi.repository import GLib
        self.pyatspi = pyatspi
        self.glib = GLib
        self.app_name = app_name

    def _settle(self):
        # Let the cache take in the updates the program has sent since the last look.
        context = self.glib.MainContext.default()
        while context.pending():
            context.iteration(False)

    def application(self):
        self._settle()
        desktop = self.pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == self.app_name:
                return app
        return None

    def walk(self, node=None):
        if node is None:
            node = self.application()
            if node is None:
                return
        yield node
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                yield from self.walk(child)

    def role(self, obj):
        return obj.getRoleName()

    def by_name(self, name, role=None):
        """The first object with that name (and role), or None."""
        for obj in self.walk():
            if obj.name == name and (role is None or obj.getRoleName() == role):
                return obj
        return None

    def showing(self, role, name):
        """The object with that role and name if it is showing, else None."""
        obj = self.by_name(name, role)
        if obj is not None and obj.getState().contains(self.pyatspi.STATE_SHOWING):
            return obj
        return None

    def must(self, name, role=None):
        obj = self.by_name(name, role)
        if obj is None:
            raise AccessibilityError("nothing named %r%s" % (name, " with role " + role if role else ""))
        return obj

    def count(self, role, prefix=""):
        return sum(1 for o in self.walk() if o.getRoleName() == role and o.name.startswith(prefix))

    def text(self, name):
        t = self.must(name).queryText()
        return t.getText(0, t.characterCount)

    def value(self, name):
        return self.must(name).queryValue().currentValue

    def set_value(self, name, value):
        self.must(name).queryValue().currentValue = value

    def set_text(self, name, text):
        self.must(name).queryEditableText().setTextContents(text)

    def press(self, name, role="push button"):
        self.must(name, role).queryAction().doAction(0)

    def extents(self, obj):
        """(x, y, w, h) on the screen, or None where the object has none."""
        try:
            e = obj.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
            return (e.x, e.y, e.width, e.height)
        except NotImplementedError:
            return None

    def focused(self):
        """(role, name, extents) of the object holding the keyboard focus, or None."""
        for obj in self.walk():
            if obj.getState().contains(self.pyatspi.STATE_FOCUSED):
                return (obj.getRoleName(), obj.name, self.extents(obj))
        return None

    def frames(self):
        """The application's top-level windows that are showing: (name, accessible)."""
        app = self.application()
        if app is None:
            return []
        out = []
        for i in range(app.childCount):
            child = app.getChildAtIndex(i)
            if child is not None and child.getState().contains(self.pyatspi.STATE_SHOWING):
                out.append((child.name, child))
        return out

    def dump(self):
        return "\n".join("%s|%s|%s" % (o.getRoleName(), o.name, self.extents(o)) for o in self.walk())
