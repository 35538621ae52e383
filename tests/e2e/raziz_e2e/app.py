"""The program under test, running in a cell: started, found, driven and read back through the cell's
desktop, with the layout telling where each control stands."""
import time

from . import images
from .processes import wait_for


class CheckFailed(Exception):
    """A check saw something other than what it wanted; the message says what it saw."""


def expect(condition, message):
    if not condition:
        raise CheckFailed(message)


def heard(problem, what):
    """Fails with what was heard when the ear found a problem (ear methods return None when all is well)."""
    if problem:
        raise CheckFailed("%s; heard: %s" % (what, problem))


class App:
    def __init__(self, run, process):
        self.run = run
        self.process = process
        self.desktop = run.desktop
        self.layout = run.layout
        self.window = None

    @classmethod
    def start(cls, run, cwd=None, wrapper=(), timeout=None, env=None):
        """Starts the program and returns once its main window is painted with all nine strips. env: variables
        added to the cell's for this start only."""
        cwd = cwd or run.launch_folder()
        process = run.desktop.launch(run.program, dict(run.program_env(), **(env or {})), cwd, wrapper)
        app = cls(run, process)
        timeout = timeout or run.desktop.start_timeout
        windows = wait_for(lambda: app.desktop.windows(process), timeout)
        if not windows:
            raise CheckFailed("no window within %d s; the program said: %s"
                              % (timeout, process.log_text()[-1500:] or "nothing"))
        app.window = windows[0]
        app.wait_painted(timeout)
        return app

    def wait_painted(self, timeout):
        # The last lamp is drawn with the last strip; without screenshots, the last slider is made last.
        if "screenshots" in self.desktop.capabilities:
            if not wait_for(lambda: self.lamp(8) == "green", timeout, interval=0.1):
                raise CheckFailed("the strips were not painted: lamp 9 is %s" % self.lamp(8))
        else:
            a11y = self.run.a11y
            if not wait_for(lambda: a11y.showing("slider", self.strip(8).slider.name), timeout, interval=0.1):
                raise CheckFailed("the last strip's slider never showed")

    # --- the main window -------------------------------------------------------------------------------

    def strip(self, band):
        return self.layout.main.strips[band]

    def click(self, band, part, dx=None, dy=None):
        self.desktop.click_control(self.window, getattr(self.strip(band), part), dx, dy)

    def press(self, band):
        self.click(band, "tone")

    def replace_text(self, band, part, text):
        self.desktop.replace_text(self.window, getattr(self.strip(band), part), text)

    def screenshot(self, name="screen"):
        return self.run.shot(name)

    def lamps(self, name="lamps"):
        """Each band's lamp colour in one screenshot: red, green or other(r,g,b)."""
        pixels = images.load(self.screenshot(name))
        ox, oy = self.desktop.client_origin(self.window)
        scale = self.desktop.layout_scale
        out = []
        for strip in self.layout.main.strips:
            x, y, w, h = strip.lamp.rect
            # The lamp's middle, away from its rim.
            cx, cy = ox + (x + w / 2) * scale, oy + (y + h / 2) * scale
            half = 8 * scale
            out.append(images.lamp_colour(images.mean_colour(pixels, round(cx - half), round(cy - half / 2),
                                                             round(2 * half), round(2 * half))))
        return out

    def lamp(self, band):
        return self.lamps("lamp")[band]

    def expect_lamp(self, band, colour):
        seen = self.lamp(band)
        expect(seen == colour, "lamp of band %d is %s, wanted %s" % (band, seen, colour))

    def open_menu(self, index):
        self.desktop.open_menu_item(self.window, index)

    def windows(self):
        return self.desktop.windows(self.process)

    def other_window(self, timeout=5):
        """The program's window that is not the main one, once it shows."""
        found = wait_for(lambda: [w for w in self.windows() if w.id != self.window.id], timeout)
        expect(found, "no dialog window; windows: %s" % self.windows())
        return found[0]

    def wait_windows(self, count, timeout=5):
        return wait_for(lambda: len(self.windows()) == count, timeout)

    def running(self):
        return self.process.running()

    def exited_with(self, status, timeout=None):
        timeout = timeout or self.desktop.exit_timeout
        rc = self.process.wait(timeout)
        expect(rc is not None, "still running %d s later" % timeout)
        expect(rc == status, "exit status %s, wanted %s; it said: %s" % (rc, status, self.process.log_text()[-1000:]))

    def stop(self):
        """Ends the program if it still runs; what it sounded is cut (the run notes the cut)."""
        if self.process.running():
            self.run.note_cut()
            self.process.stop()
            self.desktop.program_stopped(self.process)
        self.run.work.forget(self.process)

    def pause(self, seconds):
        time.sleep(seconds)
