"""What the scenario needs of a desktop, and the contract each adapter keeps.

An adapter (desktops/x11.py, desktops/wayland.py, desktops/wine.py) starts a private display server and
whatever it needs (window manager, compositor, wine prefix), starts the program on it, and drives it as a
user would. Screen coordinates are pixels of the private screen; a control's rectangle comes from the
program's own layout (layout.py) in client-area coordinates and is placed on the screen with client_origin.

What an adapter cannot do raises Unsupported with the reason; a check that needs it is reported as left out
in that cell, not failed. Checks name what they need through CAPABILITIES:

  positions     frames stand where the program asks (window managers that honour positions)
  pointer       click and drag at screen coordinates
  keys          synthetic key presses reach the focused control
  screenshots   the whole screen as a PNG
  accessibility the program's accessible tree through AT-SPI (accessibility.py)
  icon          the window's icon can be read back
  linux         the program is a Linux process of its own (its descriptors, strace, no display)
  xtest         an X server with XTest that the click-latency tool can drive and watch
  msaa          the program's objects as Microsoft Active Accessibility gives them (wine: a probe)

The runner finds the adapter as the Desktop subclass defined in desktops/<name>.py.
"""
from dataclasses import dataclass


class Unsupported(Exception):
    """This desktop cannot do what was asked; the message says why."""


class DesktopError(Exception):
    """The desktop did not start or stopped answering."""


CAPABILITIES = frozenset({"positions", "pointer", "keys", "screenshots", "accessibility", "icon", "linux",
                          "xtest", "msaa"})


@dataclass(frozen=True)
class Window:
    """A top-level window of the program, as the adapter knows it (an X id, an accessible frame...)."""
    id: object
    title: str = ""


class Desktop:
    """Base class of the desktop adapters. Subclasses set name and capabilities and implement the
    operations below; those marked optional have a default built on the others."""

    name = "desktop"
    capabilities = frozenset()
    # The layout's 96-dpi units times this are screen pixels (a cell at 120 dpi sets 1.25).
    layout_scale = 1.0
    # Seconds a program may take to show its painted window, and to end once asked.
    start_timeout = 15
    exit_timeout = 5
    # The value a vertical level slider (1..200) takes when a click in its groove below the thumb pages
    # down from the top: the platform's page step, which the core does not decide.
    page_down_from_top = 161
    # Layout units from the slider's top and bottom ends to where the thumb's middle stands at the range's ends.
    slider_insets = (4, 4)
    # Pixels at each side of a control's box, by kind, that hold its frame rather than its text (kinds not
    # named: one pixel for a field or a button, none for the rest).
    frame_pixels = {}
    # True where the outer frame takes exactly the size the program asks (Win32); toolkits that size the
    # frame around their client area leave it False.
    frames_sized_by_program = False

    def __init__(self, work, options=None):
        """work: processes.Work, the run's private folder and environment. options: a dict of the cell's
        settings (dpi, theme, scale variables...) the adapter understands; unknown keys are ignored."""
        self.work = work
        self.options = dict(options or {})

    @classmethod
    def missing(cls):
        """None when this machine has what the adapter needs, else the reason (a tool not installed). Called
        before start: a cell whose desktop is missing is left out, not failed."""
        return None

    def needs(self, capability):
        if capability not in self.capabilities:
            raise Unsupported("%s has no %s" % (self.name, capability))

    # --- life cycle ------------------------------------------------------------------------------------

    def start(self):
        """Starts the private display server (and window manager, compositor, prefix) and returns once a
        client can open a window on it. Raises DesktopError on failure. Started processes go through
        self.work.spawn so that work.close() stops them."""
        raise NotImplementedError

    def program_env(self):
        """The environment variables a program needs to show its windows here (DISPLAY, WAYLAND_DISPLAY,
        GDK_BACKEND, WINEPREFIX...). Merged over the work environment and the sound server's."""
        raise NotImplementedError

    def launch(self, program, env, cwd, wrapper=()):
        """Starts the program and returns its processes.Process. program: path of the executable (a Linux
        program, or an .exe under wine). env: the complete extra environment (sound server, accessibility
        buses). cwd: the folder it starts in. wrapper: argv put before the program (strace...)."""
        raise NotImplementedError

    def register_url_handler(self, log):
        """Makes a recorder the handler the program's links go to: each web address it is asked to open is
        appended to the file log, one a line. The default is the XDG one the Linux desktops share."""
        register_xdg_url_handler(self.work, log)

    def default_program(self, repo):
        """The program this desktop runs when none is named: a path in the checkout's build folders."""
        return repo / "build" / "raziz"

    def program_stopped(self, process):
        """Called after the harness ended a program itself (a reset between checks). Optional."""

    def stop(self):
        """Stops what start started (optional: work.close() stops every spawned process anyway)."""

    # --- windows ---------------------------------------------------------------------------------------

    def windows(self, process):
        """The program's visible top-level windows (not menus or tooltips), its main window first once it
        has been seen. Empty while none shows."""
        raise NotImplementedError

    def client_origin(self, window):
        """(x, y) on the screen where the window's client area begins: the layout's (0, 0), below the
        menu bar for the main window."""
        raise NotImplementedError

    def frame_rect(self, window):
        """(x, y, w, h) of the window's outer frame (decorations included) on the screen. Needs positions."""
        raise Unsupported("%s does not report frame positions" % self.name)

    def client_size(self, window):
        """(w, h) of the client area (below the menu bar for the main window)."""
        raise NotImplementedError

    def has_icon(self, window):
        """None if the window shows the program's icon where this desktop shows one, else what was seen."""
        raise Unsupported("%s cannot read a window's icon" % self.name)

    def raise_window(self, window):
        """Brings the window to the front (clicks on another window may have covered it). Optional."""

    # --- input -----------------------------------------------------------------------------------------

    def click(self, x, y, button=1):
        """A click at screen position (x, y). Needs pointer."""
        raise Unsupported("%s has no pointer" % self.name)

    def double_click(self, x, y, clicks=2):
        """clicks clicks at (x, y) as fast as a user's double (or triple) click. Needs pointer."""
        raise Unsupported("%s has no pointer" % self.name)

    def keyboard_window(self):
        """The id of the top-level window that keys typed now would reach (as Window.id), or None. Needs keys."""
        raise Unsupported("%s cannot tell where the keyboard goes" % self.name)

    def drag(self, x1, y1, x2, y2):
        """Button 1 pressed at (x1, y1), moved through the middle to (x2, y2), released. Needs pointer."""
        raise Unsupported("%s has no pointer" % self.name)

    def type_text(self, text):
        """Types text into the focused control, one key at a time. Needs keys."""
        raise Unsupported("%s has no keyboard" % self.name)

    def press_keys(self, *keys):
        """Presses and releases each key in turn, with its modifiers ("Tab", "Return", "ctrl+a", "Home",
        "Up"). Needs keys."""
        raise Unsupported("%s has no keyboard" % self.name)

    def open_menu_item(self, window, index):
        """Chooses the index-th item (1 = the first) of the window's File menu."""
        raise NotImplementedError

    def close_box(self, window):
        """Clicks the window's close box (in the title bar the window manager or wine draws)."""
        raise NotImplementedError

    # Control-level operations. control: layout.Control (rect in client coordinates, caption, accessible
    # role and name). The defaults work through the pointer and keys; an adapter without them (Wayland)
    # overrides these with accessible actions.

    def to_screen(self, units):
        """Layout units as screen pixels, rounded half away from zero as the program's core rounds them."""
        v = units * self.layout_scale
        return int(v + 0.5) if v >= 0 else -int(-v + 0.5)

    def control_point(self, window, control, dx=None, dy=None):
        """Screen position of a point of the control: its middle, or (dx, dy) layout units from its
        top-left corner."""
        ox, oy = self.client_origin(window)
        x, y, w, h = control.rect
        px = x + (w / 2 if dx is None else dx)
        py = y + (h / 2 if dy is None else dy)
        return round(ox + px * self.layout_scale), round(oy + py * self.layout_scale)

    def click_control(self, window, control, dx=None, dy=None):
        """Clicks the control (its middle, or a point inside it) as a user would."""
        self.click(*self.control_point(window, control, dx, dy))

    def replace_text(self, window, control, text):
        """Replaces the whole text of an entry field by text, as typed by a user."""
        self.click_control(window, control)
        self.press_keys("ctrl+a")
        self.type_text(text)

    def set_slider(self, window, control, value):
        """Moves a slider to value (its own range, as the layout gives it) the way this desktop's user can
        without a pointer (an assistive technology). Adapters without a pointer override it."""
        raise Unsupported("%s sets sliders with the pointer only" % self.name)

    # --- reading back ----------------------------------------------------------------------------------

    def screenshot(self, path):
        """Writes the whole screen to path as PNG and returns path. Needs screenshots."""
        raise Unsupported("%s takes no screenshots" % self.name)


def register_xdg_url_handler(work, log):
    """Makes a recorder the desktop's handler for web addresses in the work folder's XDG settings: each
    address a program opens is appended to log, one a line. For the Linux desktops."""
    applications = work.path("home/.local/share/applications")
    applications.mkdir(parents=True, exist_ok=True)
    recorder = work.path("record-address")
    recorder.write_text('#!/bin/sh\necho "$1" >>"%s"\n' % log)
    recorder.chmod(0o755)
    (applications / "e2e-browser.desktop").write_text(
        "[Desktop Entry]\nType=Application\nName=Address recorder\nExec=%s %%u\n"
        "MimeType=x-scheme-handler/http;x-scheme-handler/https;\nNoDisplay=true\n" % recorder)
    (work.path("home/.config") / "mimeapps.list").write_text(
        "[Default Applications]\nx-scheme-handler/http=e2e-browser.desktop\n"
        "x-scheme-handler/https=e2e-browser.desktop\n")
