"""wine: the Windows program on a private Xvfb with no window manager (option window_manager=openbox adds
one), in a wine prefix made for the run.
wine's X11 driver draws the frames itself (Managed=N), with the marlett font for the caption buttons, and
the sound goes through wine's PulseAudio driver to the cell's server."""
import re
import shutil
import subprocess
from pathlib import Path

from .. import images
from ..desktop import DesktopError, Window
from ..processes import wait_for
from .x11 import X11, xwininfo_rect

REPO = Path(__file__).resolve().parents[4]
# On Windows the audio threads run at raised priority; wine maps thread priorities to nice values only where
# RLIMIT_NICE allows, which it does not here. So wine as a whole runs at this nice value instead, to keep its
# sound going while screenshots and input tools keep the machine busy.
NICE = "-10"
# wine's frame of a fixed-size window with a title bar, by its default metrics; the checks confirm them (the
# strips' lamps where the client area should begin, the icon where the title bar should show it). The border
# keeps its width at every DPI; the caption and the menu bar are 18 pixels at 96 dpi, scaled, plus a line.
BORDER = 3


def bar_height(dpi):
    return (18 * dpi + 48) // 96 + 1


# A dark colour scheme, as the prefix's registry holds it ("R G B"), with the visual style off so that the
# classic controls draw in the scheme's colours: the case where text on a fixed background could vanish.
DARK_SCHEME = {
    "Window": "32 32 32", "WindowText": "230 230 230", "ButtonFace": "45 45 48", "ButtonText": "235 235 235",
    "Menu": "40 40 40", "MenuBar": "40 40 40", "MenuText": "230 230 230", "Background": "0 0 0",
    "ButtonHilight": "90 90 90", "ButtonLight": "70 70 70", "ButtonShadow": "20 20 20", "ButtonDkShadow": "0 0 0",
    "GrayText": "150 150 150", "Hilight": "0 90 160", "HilightText": "255 255 255", "ActiveTitle": "30 30 60",
    "GradientActiveTitle": "30 30 60", "TitleText": "230 230 230", "InfoWindow": "40 40 40",
    "InfoText": "230 230 230", "AppWorkspace": "30 30 30", "Scrollbar": "50 50 50",
}
# Looks at the program from another Windows process: its accessible objects and its focus (built beside
# raziz.exe by scripts/build-windows). The class of the program's top-level windows.
PROBE = REPO / "build-windows" / "tests" / "window-probe.exe"
FRAME_CLASS = "RazizWindow"


class Wine(X11):
    name = "wine"
    capabilities = frozenset({"positions", "pointer", "keys", "screenshots", "icon", "msaa"})
    window_class = "raziz.exe"
    start_timeout = 60
    exit_timeout = 10
    page_down_from_top = 160
    slider_insets = (8, 14)
    # The classic frames are two pixels at every density (a field's sunken edge shows in a dark scheme, where
    # its inner line is not the field's white), and the push button with the keyboard focus has a dotted
    # rectangle drawn three pixels inside its frame.
    frame_pixels = {"button": 5, "field": 2}
    frames_sized_by_program = True

    def __init__(self, work, options=None):
        super().__init__(work, options)
        self.prefix = work.path("wine")
        # The screen's density as Windows reports it (the prefix's LogPixels); the program lays itself out at
        # dpi / 96, so the cell's layout scale follows unless the cell says otherwise.
        self.dpi = int(self.options.get("dpi", 96))
        self.layout_scale = float(self.options.get("layout_scale", self.dpi / 96))
        self.caption = self.menu = bar_height(self.dpi)
        self.layout = None  # the runner's layout.Layout: how many items the File menu holds

    @classmethod
    def missing(cls):
        for tool in ("wine", "wineboot", "wineserver", "Xvfb", "xdotool", "xwininfo"):
            if shutil.which(tool) is None:
                return "%s is not installed" % tool
        if not Path("/usr/share/wine/fonts/marlett.ttf").exists():
            return "no marlett font (package fonts-wine)"
        return None

    def default_program(self, repo):
        return repo / "build-windows" / "raziz.exe"

    def program_env(self):
        env = {"DISPLAY": self.xvfb.display, "WINEPREFIX": str(self.prefix), "WINEARCH": "win64",
               "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}  # no prompts for unused engines
        env.update(self.options.get("env", {}))
        return env

    def wine(self, *argv, timeout=120):
        r = self.x("nice", "-n", NICE, *argv, timeout=timeout)
        if r.returncode != 0:
            raise DesktopError("%s failed: %s" % (" ".join(argv), (r.stdout + r.stderr)[-1000:]))
        return r

    def start(self):
        self.xvfb.start()
        if self.options.get("window_manager") == "openbox":
            # wine still draws its own frames (Managed=N), but a window manager on the display competes for
            # the keyboard focus, as on a desktop where wine runs beside other programs.
            X11.start_openbox(self)
        self.wine("wineboot", "--init", timeout=300)
        self.wine("wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/d", "N", "/f")
        self.wine("wine", "reg", "add", r"HKCU\Software\Wine\Drivers", "/v", "Audio", "/d", "pulse", "/f")
        shutil.copy("/usr/share/wine/fonts/marlett.ttf", self.prefix / "drive_c/windows/Fonts/")
        if self.dpi != 96 or self.options.get("scheme") == "dark":
            self.set_screen()

    def set_screen(self):
        """The cell's density and colour scheme, in the prefix's registry."""
        if self.dpi != 96:
            self.wine("wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                      "/d", str(self.dpi), "/f")
        if self.options.get("scheme") == "dark":
            for name, rgb in DARK_SCHEME.items():
                self.wine("wine", "reg", "add", r"HKCU\Control Panel\Colors", "/v", name, "/d", rgb, "/f")
            self.wine("wine", "reg", "add", r"HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager",
                      "/v", "ThemeActive", "/d", "0", "/f")
        # Read when wine starts a session: end the one wineboot left running (it saves the registry).
        self.x("wineserver", "-k")
        self.x("wineserver", "-w")

    def stop(self):
        if self.prefix.exists():
            self.x("wineserver", "-k")

    def register_url_handler(self, log):
        dos = "Z:" + str(log).replace("/", "\\")
        for scheme in ("http", "https"):
            self.wine("wine", "reg", "add", r"HKCR\%s\shell\open\command" % scheme, "/ve", "/d",
                      r"C:\windows\system32\cmd.exe /c echo %%1>>%s" % dos, "/f")

    def launch(self, program, env, cwd, wrapper=()):
        # Started from another folder, as from a shortcut: the program finds its images itself.
        return self.work.spawn("raziz", ["nice", "-n", NICE, *wrapper, "wine", str(program)],
                               env=dict(env, **self.program_env()), cwd=cwd)

    # --- windows ---------------------------------------------------------------------------------------

    def top_levels(self, titled):
        """Visible windows of the program larger than wine's 1 x 1 IME windows, titled or not (an open
        drop-down menu has no title)."""
        out = []
        for wid in self.visible_ids():
            info = self.x("xwininfo", "-id", str(wid)).stdout
            head = re.search(r"^xwininfo: Window id: .*$", info, re.M)
            if not head:
                continue
            has_title = "(has no name)" not in head.group(0)
            if has_title == titled and xwininfo_rect(info)[2] > 1:
                out.append(wid)
        return out

    def windows(self, process):
        ids = self.top_levels(True)
        main = self.main_windows.get(process.pid)
        if main is None and ids:
            main = self.main_windows[process.pid] = ids[0]
        ordered = ([main] if main in ids else []) + [i for i in ids if i != main]
        return [Window(i) for i in ordered]

    def is_main(self, window):
        return window.id in self.main_windows.values()

    def frame_rect(self, window):
        return self.inside(window)

    def client_origin(self, window):
        x, y, w, h = self.inside(window)
        return (x + BORDER, y + BORDER + self.caption + (self.menu if self.is_main(window) else 0))

    def client_size(self, window):
        x, y, w, h = self.inside(window)
        return (w - 2 * BORDER, h - 2 * BORDER - self.caption - (self.menu if self.is_main(window) else 0))

    def has_icon(self, window):
        # The middle of the icon at the small size, looked for at the left of the title bar; the caption's
        # own gradient matches it nowhere near as well.
        reference = self.work.path("icon-middle.png")
        if not reference.exists():
            subprocess.run(["/usr/bin/convert", str(REPO / "packaging/windows/raziz.ico"), "-resize", "16x16",
                            "-crop", "10x10+3+3", "+repage", str(reference)], check=True)
        shot = images.load(self.screenshot(self.work.path("title.png")))
        x, y = self.client_origin(window)
        top = y - self.caption - (self.menu if self.is_main(window) else 0) - 4
        area = shot[top:top + 28, x - 5:x + 23]
        error = images.find_subimage(area, images.load(reference))
        return None if error < 0.15 else "no icon in the title bar (best match differs by %.3f)" % error

    def raise_window(self, window):
        self.x("xdotool", "windowraise", str(window.id))

    def close_box(self, window):
        x, y, w, h = self.inside(window)
        self.raise_window(window)
        self.click(x + w - BORDER - self.to_screen(10), y + BORDER + self.caption // 2)

    # --- what a Windows screen reader sees ---------------------------------------------------------------

    def probe(self, mode):
        if not PROBE.exists():
            raise DesktopError("%s is not built (scripts/build-windows)" % PROBE)
        r = self.x("nice", "-n", NICE, "wine", str(PROBE), mode, FRAME_CLASS, timeout=60)
        return [line.rstrip("\r").split("\t") for line in r.stdout.splitlines() if line.strip()]

    def accessible_objects(self):
        """(role, name, value) of every window of the program, through Microsoft Active Accessibility."""
        return [tuple((fields + ["", "", ""])[:3]) for fields in self.probe("names")]

    def accessible_value(self, name):
        values = [v for role, n, v in self.accessible_objects() if n == name]
        if not values:
            raise DesktopError("no accessible object named %r" % name)
        return values[0]

    def win32_focus(self):
        """{"active": title, "focus": [class, text]} of the program's thread."""
        out = {}
        for fields in self.probe("focus"):
            out[fields[0]] = fields[1:] if fields[0] == "focus" else fields[1]
        return out

    def open_menu_item(self, window, index):
        # By the mouse: with no window manager looking after wine's windows, the keyboard focus does not come
        # back to the main window when a dialog closes, so keys could go astray.
        x, y = self.client_origin(window)
        self.click(x + self.to_screen(15), y - self.menu // 2)
        drop = wait_for(lambda: self.top_levels(False), 5)
        if not drop:
            raise DesktopError("File did not open")
        dx, dy, dw, dh = self.inside(Window(drop[0]))
        n = len(self.layout.main.menu)
        self.click(dx + dw // 2, dy + 3 + (dh - 6) * (2 * index - 1) // (2 * n))
