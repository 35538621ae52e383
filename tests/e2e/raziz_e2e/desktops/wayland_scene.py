"""weston's scene graph, as its debug stream prints it: where each surface stands on the screen.

On Wayland a client never learns where its windows are, and GTK reports accessible extents relative to the
window's own surface; the compositor's scene graph is the one place that knows both. Sample of a view:

    View 0 (role xdg_toplevel, PID 14945, surface ID 7, top-level window 'Raziz 1.0' of raziz, 0x5620...):
            position: (382, 271) -> (1243, 886)
            [opaque: (408, 294) -> (1217, 857)]
"""
import re
from dataclasses import dataclass

VIEW = re.compile(r"^\s*View \d+ \(role (?P<role>[^,]*), PID (?P<pid>\d+), surface ID (?P<surface>\d+), "
                  r"top-level window '(?P<title>.*)' of (?P<app>.*), 0x[0-9a-f]+\):\s*$")
POSITION = re.compile(r"^\s*position: \((-?\d+), (-?\d+)\) -> \((-?\d+), (-?\d+)\)")


@dataclass(frozen=True)
class View:
    pid: int
    surface: int
    title: str
    rect: tuple  # (x, y, w, h) of the whole surface, the toolkit's shadow included

    @property
    def size(self):
        return self.rect[2:]


def toplevels(text):
    """The xdg_toplevel views in the scene graph text, top of the stack first."""
    views = []
    current = None
    for line in text.splitlines():
        m = VIEW.match(line)
        if m:
            current = m if m.group("role") == "xdg_toplevel" else None
            continue
        p = POSITION.match(line)
        if p and current is not None:
            x1, y1, x2, y2 = (int(v) for v in p.groups())
            views.append(View(int(current.group("pid")), int(current.group("surface")), current.group("title"),
                              (x1, y1, x2 - x1, y2 - y1)))
            current = None
    return views
