"""X11: a private Xvfb with openbox, driven by xdotool. Frames stand where the program asks."""
import os
import re
import shutil

from ..desktop import Desktop, DesktopError, Window
from ..processes import wait_for


def xwininfo_rect(text):
    """(x, y, w, h) of a window's inside from xwininfo's report."""
    def field(label):
        return int(re.search(r"^\s*%s:\s*(-?\d+)" % label, text, re.M).group(1))
    return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"))


class Xvfb:
    """A private X server on a free display number, shared by the X11 and wine adapters."""

    def __init__(self, work, size="1280x1024", dpi=None):
        self.work = work
        self.size = size
        self.dpi = dpi
        self.display = None

    def start(self):
        read_end, write_end = os.pipe()
        argv = ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%sx24" % self.size, "-nolisten", "tcp",
                "-noreset"]
        if self.dpi:
            argv += ["-dpi", str(self.dpi)]
        self.work.spawn("xvfb", argv, pass_fds=(write_end,))
        os.close(write_end)
        # Xvfb picks a free display number and writes it once it accepts connections.
        with os.fdopen(read_end) as r:
            number = r.readline().strip()
        if not number:
            raise DesktopError("Xvfb did not start: %s" % self.work.path("xvfb.log").read_text()[-1000:])
        self.display = ":" + number


class X11(Desktop):
    name = "x11"
    capabilities = frozenset({"positions", "pointer", "keys", "screenshots", "accessibility", "icon", "linux",
                              "xtest"})
    window_class = "raziz"

    def __init__(self, work, options=None):
        super().__init__(work, options)
        self.xvfb = Xvfb(work, self.options.get("size", "1280x1024"), self.options.get("dpi"))
        # A screen of another density, text size or theme, as GTK reads them from its environment; the cell
        # says which layout scale the program must then show (device scale times text scale).
        toolkit = {"gdk_scale": "GDK_SCALE", "gdk_dpi_scale": "GDK_DPI_SCALE", "theme": "GTK_THEME"}
        self.toolkit_env = {var: self.options[key] for key, var in toolkit.items() if key in self.options}
        self.layout_scale = float(self.options.get("layout_scale", 1.0))
        # The accessibility bus reports GTK's logical pixels; the screen has this many device pixels to one.
        self.device_scale = int(self.options.get("gdk_scale", 1))
        self.main_windows = {}
        self.menu_cache = {}
        self.accessibility = None  # set by the runner once the buses are up; reads the menu bar
        self.shot_tool = None  # set by the runner: the build's raziz-e2e-shot

    @classmethod
    def missing(cls):
        for tool in ("Xvfb", "openbox", "xdotool", "xprop", "xwininfo"):
            if shutil.which(tool) is None:
                return "%s is not installed" % tool
        return None

    def x(self, *argv, timeout=15):
        return self.work.run(list(argv), env=self.program_env(), timeout=timeout)

    def start(self):
        self.xvfb.start()
        self.start_openbox()

    def start_openbox(self):
        self.work.spawn("openbox", ["openbox", "--sm-disable"], env=self.program_env())
        if not wait_for(lambda: "window id" in self.x("xprop", "-root", "_NET_SUPPORTING_WM_CHECK").stdout, 10):
            raise DesktopError("openbox did not start")

    def program_env(self):
        env = {"DISPLAY": self.xvfb.display, "GDK_BACKEND": "x11"}
        env.update(self.toolkit_env)
        env.update(self.options.get("env", {}))
        return env

    def launch(self, program, env, cwd, wrapper=()):
        return self.work.spawn("raziz", [*wrapper, str(program)], env=dict(env, **self.program_env()), cwd=cwd)

    # --- windows ---------------------------------------------------------------------------------------

    def visible_ids(self):
        out = self.x("xdotool", "search", "--onlyvisible", "--class", self.window_class).stdout
        return [int(line) for line in out.split()]

    def windows(self, process):
        ids = self.visible_ids()
        main = self.main_windows.get(process.pid)
        if main is None and ids:
            main = self.main_windows[process.pid] = ids[0]
        ordered = ([main] if main in ids else []) + [i for i in ids if i != main]
        return [Window(i) for i in ordered]

    def inside(self, window):
        return xwininfo_rect(self.x("xwininfo", "-id", str(window.id)).stdout)

    def frame_extents(self, window):
        out = self.x("xprop", "-id", str(window.id), "_NET_FRAME_EXTENTS").stdout
        numbers = re.findall(r"\d+", out.split("=", 1)[1]) if "=" in out else []
        if len(numbers) != 4:
            raise DesktopError("window %s has no frame extents: %s" % (window.id, out.strip()))
        return tuple(int(n) for n in numbers)  # left, right, top, bottom

    def frame_rect(self, window):
        x, y, w, h = self.inside(window)
        left, right, top, bottom = self.frame_extents(window)
        return (x - left, y - top, w + left + right, h + top + bottom)

    def menu_extents(self, window, role, name=""):
        """Screen extents of the main window's menu bar or File menu, as the toolkit reports them; kept per
        window, since a fixed-size window's menu bar does not change."""
        key = (window.id, role, name)
        if key not in self.menu_cache:
            a11y = self.accessibility
            found = next((o for o in a11y.walk() if o.getRoleName() == role and (not name or o.name == name)), None)
            if found is None:
                raise DesktopError("the main window shows no %s %s to the accessibility bus" % (role, name))
            self.menu_cache[key] = tuple(v * self.device_scale for v in a11y.extents(found))
        return self.menu_cache[key]

    def menu_bar_height(self, window):
        """0 for a window without a menu bar."""
        if window.id not in self.main_windows.values() or self.accessibility is None:
            return 0
        return self.menu_extents(window, "menu bar")[3]

    def client_origin(self, window):
        x, y, w, h = self.inside(window)
        return (x, y + self.menu_bar_height(window))

    def client_size(self, window):
        x, y, w, h = self.inside(window)
        return (w, h - self.menu_bar_height(window))

    def has_icon(self, window):
        out = self.x("xprop", "-id", str(window.id), "_NET_WM_ICON").stdout
        return None if "Icon (" in out else "window %s has no icon: %s" % (window.id, out.strip()[:200])

    def raise_window(self, window):
        self.x("xdotool", "windowactivate", "--sync", str(window.id))

    # --- input -----------------------------------------------------------------------------------------

    # No --sync: xdotool then waits some 15 s when the pointer is already where it is sent. The X server
    # takes the motion and the button events in order, so the click lands at the new position all the same.
    def click(self, x, y, button=1):
        self.x("xdotool", "mousemove", str(x), str(y), "click", str(button))

    def double_click(self, x, y, clicks=2):
        # Within the double-click time of every toolkit, so the toolkit sees a double (or triple) click.
        self.x("xdotool", "mousemove", str(x), str(y), "click", "--repeat", str(clicks), "--delay", "80", "1")

    def keyboard_window(self):
        """The X window holding the keyboard focus: where keys typed now would go."""
        out = self.x("xdotool", "getwindowfocus").stdout.strip()
        return int(out) if out.isdigit() else None

    def drag(self, x1, y1, x2, y2):
        self.x("xdotool", "mousemove", str(x1), str(y1), "mousedown", "1")
        self.x("xdotool", "mousemove", str((x1 + x2) // 2), str((y1 + y2) // 2))
        self.x("xdotool", "mousemove", str(x2), str(y2), "mouseup", "1")

    def type_text(self, text):
        self.x("xdotool", "type", "--delay", "30", "--", text)

    def press_keys(self, *keys):
        self.x("xdotool", "key", "--delay", "30", *keys)

    def open_menu_item(self, window, index):
        # "File" is found where the toolkit says it is; the items are walked with the keyboard.
        x, y, w, h = self.menu_extents(window, "menu", "File")
        self.click(x + w // 2, y + h // 2)
        self.press_keys(*(["Down"] * index), "Return")

    def close_box(self, window):
        # openbox's close button sits at the right end of the title bar.
        self.raise_window(window)
        x, y, w, h = self.inside(window)
        left, right, top, bottom = self.frame_extents(window)
        self.click(x + w - 8, y - top // 2)

    def screenshot(self, path):
        r = self.x(str(self.shot_tool), str(path))
        if r.returncode != 0:
            raise DesktopError("raziz-e2e-shot failed: %s" % r.stderr)
        return path
