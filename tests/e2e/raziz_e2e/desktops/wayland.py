"""Wayland: a private weston on its headless backend, driven through AT-SPI.

The headless backend has no seat: no pointer, no keyboard, and the weston module that injects input is not
packaged. So every user action goes through the accessible objects GTK exports (actions, editable text,
values), and keys cannot be pressed at all. The compositor places windows itself; where they ended up is
read from its scene graph (weston-debug), which with the accessible extents (relative to each window's
own surface on Wayland) gives screen positions for screenshots."""
import shutil
import tempfile
from pathlib import Path

from ..desktop import Desktop, DesktopError, Unsupported, Window
from ..processes import wait_for
from .wayland_scene import toplevels

SOCKET = "raziz-e2e"


# No panel, lock, fades or on-screen keyboard: a window is on the screen, whole, as soon as it is mapped,
# and gone as soon as it is closed.
WESTON_INI = """[core]
idle-time=0
require-input=false

[shell]
panel-position=none
locking=false
background-color=0xff5a6e82
animation=none
close-animation=none
startup-animation=none
focus-animation=none

[input-method]
path=
"""


def family(pid):
    """pid and all its descendants."""
    children = {}
    for stat in Path("/proc").glob("[0-9]*/stat"):
        try:
            fields = stat.read_text().rsplit(")", 1)[1].split()
        except OSError:
            continue
        children.setdefault(int(fields[1]), []).append(int(stat.parent.name))
    found, todo = set(), [pid]
    while todo:
        p = todo.pop()
        found.add(p)
        todo.extend(children.get(p, []))
    return found


class Wayland(Desktop):
    name = "wayland"
    capabilities = frozenset({"screenshots", "accessibility", "linux"})

    def __init__(self, work, options=None):
        super().__init__(work, options)
        self.size = self.options.get("size", "1280x1024")
        self.dir = work.path("wayland")
        self.runtime = self.dir / "run"
        self.main_windows = {}
        self.process = None
        self.accessibility = None  # set by the runner once the buses are up: all input goes through it

    @classmethod
    def missing(cls):
        for tool in ("weston", "weston-debug", "weston-screenshooter"):
            if shutil.which(tool) is None:
                return "%s is not installed" % tool
        return None

    # --- life cycle ------------------------------------------------------------------------------------

    def weston_env(self):
        return {"XDG_RUNTIME_DIR": str(self.runtime), "WAYLAND_DISPLAY": SOCKET, "DISPLAY": None,
                "WAYLAND_SOCKET": None}

    def weston(self, *argv, timeout=10, cwd=None):
        return self.work.run(list(argv), env=self.weston_env(), timeout=timeout, cwd=cwd)

    def start(self):
        self.runtime.mkdir(parents=True, exist_ok=True)
        self.runtime.chmod(0o700)
        ini = self.dir / "weston.ini"
        ini.write_text(WESTON_INI)
        width, height = self.size.split("x")
        # --debug: weston lets only its own clients take screenshots and read the scene graph otherwise.
        self.process = self.work.spawn(
            "weston", ["weston", "--backend=headless-backend.so", "--use-pixman", "--width=%s" % width,
                       "--height=%s" % height, "--socket=%s" % SOCKET, "--config=%s" % ini, "--idle-time=0",
                       "--debug"],
            env=dict(self.weston_env(), WAYLAND_DISPLAY=None))
        # The shell's background is the last thing to appear; before it, screenshots are black.
        if not wait_for(lambda: "background for output" in self.scene_text() or not self.process.running(), 15) \
                or not self.process.running():
            raise DesktopError("weston did not start:\n%s" % self.process.log_text()[-2000:])

    def program_env(self):
        # An absolute WAYLAND_DISPLAY: the program keeps the work's runtime folder; no X display to fall
        # back to.
        env = {"WAYLAND_DISPLAY": str(self.runtime / SOCKET), "GDK_BACKEND": "wayland", "DISPLAY": None}
        env.update(self.options.get("env", {}))
        return env

    def launch(self, program, env, cwd, wrapper=()):
        return self.work.spawn("raziz", [*wrapper, str(program)], env=dict(env, **self.program_env()), cwd=cwd)

    def program_stopped(self, process):
        self.main_windows.pop(process.pid, None)

    # --- windows ---------------------------------------------------------------------------------------

    def scene_text(self):
        try:
            r = self.weston("weston-debug", "scene-graph", timeout=5)
        except Exception:
            return ""
        return r.stdout if r.returncode == 0 else ""

    def views(self, pids=None):
        return [v for v in toplevels(self.scene_text()) if pids is None or v.pid in pids]

    def windows(self, process):
        # The compositor names the client's own process, which a wrapper (strace) started.
        views = self.views(family(process.pid))
        main = self.main_windows.get(process.pid)
        if main is None and views:
            # The first window a program maps is its main window; later ones stack above it.
            main = self.main_windows[process.pid] = views[-1].surface
        ordered = [v for v in views if v.surface == main] + [v for v in views if v.surface != main]
        return [Window(v.surface, v.title) for v in ordered]

    def view(self, window):
        for v in self.views():
            if v.surface == window.id:
                return v
        raise DesktopError("window %s (%s) is not on the screen" % (window.id, window.title))

    def a11y(self):
        if self.accessibility is None:
            raise Unsupported("wayland drives the program only through AT-SPI, and no bus was started")
        return self.accessibility

    def frame(self, window):
        """The window's accessible frame: same title and the same surface size (Help, About and the main
        window may share a title; their sizes differ)."""
        view = self.view(window)
        a11y = self.a11y()
        frames = [f for name, f in a11y.frames() if name == window.title]
        for f in frames:
            extents = a11y.extents(f)
            if extents is not None and tuple(extents[2:]) == tuple(view.size):
                return f
        if len(frames) == 1:
            return frames[0]
        raise DesktopError("no accessible frame of %dx%d titled %r" % (*view.size, window.title))

    def client_panel(self, frame):
        """The toolkit's box under the title bar holds the menu bar, then the client area's panel."""
        for i in range(frame.childCount):
            box = frame.getChildAtIndex(i)
            if box is None or box.getRoleName() != "filler":
                continue
            for j in range(box.childCount):
                child = box.getChildAtIndex(j)
                if child is not None and child.getRoleName() == "panel":
                    return child
        raise DesktopError("window %r shows no client area to the accessibility bus" % frame.name)

    def client_rect(self, window):
        """(x, y, w, h) of the client area on the screen."""
        view = self.view(window)
        extents = self.a11y().extents(self.client_panel(self.frame(window)))
        if extents is None:
            raise DesktopError("window %r gives its client area no extents" % window.title)
        x, y, w, h = extents
        return (view.rect[0] + x, view.rect[1] + y, w, h)

    def client_origin(self, window):
        return self.client_rect(window)[:2]

    def client_size(self, window):
        return self.client_rect(window)[2:]

    # --- input through AT-SPI ----------------------------------------------------------------------------

    def find(self, window, role, name):
        a11y = self.a11y()
        for obj in a11y.walk(self.frame(window)):
            if obj.getRoleName() == role and obj.name == name:
                return obj
        raise DesktopError("no %s named %r in window %r" % (role, name, window.title))

    def control_object(self, window, control, dx=None, dy=None):
        """The accessible object a click on the control would reach: the innermost one of its role under the
        point, found by where it stands, not by its name (a tone button's name is its caption, which follows
        the typed frequency)."""
        a11y = self.a11y()
        frame = self.frame(window)
        cx, cy = a11y.extents(self.client_panel(frame))[:2]
        x, y, w, h = control.rect
        px = cx + (x + (w / 2 if dx is None else dx)) * self.layout_scale
        py = cy + (y + (h / 2 if dy is None else dy)) * self.layout_scale
        best = None
        for obj in a11y.walk(frame):
            if obj.getRoleName() != control.role:
                continue
            e = a11y.extents(obj)
            if e and e[0] <= px < e[0] + e[2] and e[1] <= py < e[1] + e[3] and (best is None or e[2] * e[3] < best[0]):
                best = (e[2] * e[3], obj)
        if best is None:
            raise DesktopError("no %s at (%d, %d) of window %r, where %r stands in the layout"
                               % (control.role, px, py, window.title, control.name))
        return best[1]

    def act(self, obj, action="click"):
        actions = obj.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        if action not in names:
            raise Unsupported("%s %r has no action %r (only %s)" % (obj.getRoleName(), obj.name, action, names))
        actions.doAction(names.index(action))

    def click_control(self, window, control, dx=None, dy=None):
        obj = self.control_object(window, control, dx, dy)
        if control.role in ("push button", "check box"):
            self.act(obj)
        elif control.role == "text":
            obj.queryComponent().grabFocus()
        else:
            raise Unsupported("wayland cannot click a %s without a pointer" % control.role)

    def replace_text(self, window, control, text):
        # As a user's select-all and typing: the old text goes, then each character is inserted and reported
        # on its own. Setting the whole text at once would report nothing when it equals the old text.
        field = self.control_object(window, control)
        editable = field.queryEditableText()
        editable.deleteText(0, field.queryText().characterCount)
        for i, char in enumerate(text):
            editable.insertText(i, char, 1)

    def set_slider(self, window, control, value):
        """Sets the slider to value (its accessible value: the slider's value, maximum at the top)."""
        self.control_object(window, control).queryValue().currentValue = float(value)

    def open_menu_item(self, window, index):
        menu = self.find(window, "menu", "File")
        items = [menu.getChildAtIndex(i) for i in range(menu.childCount)]
        items = [item for item in items if item is not None and item.getRoleName() == "menu item"]
        if not 1 <= index <= len(items):
            raise DesktopError("the File menu has %d items, not %d" % (len(items), index))
        # The item's action works with the menu closed, as a click on the opened menu would.
        self.act(items[index - 1])

    def close_box(self, window):
        # GTK draws the title bar itself on Wayland (the frame's first panel); its close button raises the
        # same delete-event. The button's name is in the user's language: a fixed-size window has no other.
        frame = self.frame(window)
        children = [frame.getChildAtIndex(i) for i in range(frame.childCount)]
        bar = next((c for c in children if c is not None and c.getRoleName() == "panel"), None)
        buttons = [o for o in self.a11y().walk(bar) if o.getRoleName() == "push button"] if bar is not None else []
        if len(buttons) != 1:
            buttons = [b for b in buttons if b.name == "Close"]
        if len(buttons) != 1:
            raise DesktopError("no close button in the title bar of window %r" % window.title)
        self.act(buttons[0])

    # --- reading back ----------------------------------------------------------------------------------

    def screenshot(self, path):
        # weston-screenshooter names its file after the time, in the folder it runs in.
        with tempfile.TemporaryDirectory(dir=self.dir) as folder:
            r = self.weston("weston-screenshooter", timeout=15, cwd=folder)
            shots = sorted(Path(folder).glob("*.png"))
            if r.returncode != 0 or not shots:
                raise DesktopError("weston-screenshooter failed: %s%s" % (r.stdout, r.stderr))
            shutil.move(str(shots[-1]), str(path))
        return path
