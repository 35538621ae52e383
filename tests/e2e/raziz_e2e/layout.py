"""Where the program's controls stand, read from the layout tool (tests/e2e/layout_dump.cpp), which runs the
program's own start-up and dialog code on the headless driver. Rectangles are 96-dpi client-area units."""
import json
import subprocess
from dataclasses import dataclass, field

STRIP_PARTS = ("panel", "lamp", "tone", "frequency", "level", "square", "triangle", "well", "slider")


@dataclass(frozen=True)
class Control:
    kind: str           # button, check box, field, text area, label, panel, slider
    text: str           # caption or initial contents
    name: str           # the accessible name
    rect: tuple         # (x, y, w, h) in the window's client area
    address: str = ""   # a link button's web address

    @property
    def role(self):
        """The AT-SPI role the toolkit gives this kind of control."""
        return {"button": "push button", "check box": "check box", "field": "text", "text area": "text",
                "label": "label", "panel": "panel", "slider": "slider"}[self.kind]


@dataclass(frozen=True)
class Strip:
    band: int
    hz: int
    parts: dict
    slider_range: tuple
    slider_value: int

    def __getattr__(self, part):
        if part in STRIP_PARTS:
            return self.parts[part]
        raise AttributeError(part)


@dataclass(frozen=True)
class WindowLayout:
    title: str
    frame: tuple        # (x, y, w, h) the outer frame the program asks for
    extent: tuple       # (w, h) the client area must hold
    controls: list = field(default_factory=list)
    menu: list = field(default_factory=list)
    strips: list = field(default_factory=list)

    def control(self, text):
        for c in self.controls:
            if c.text == text:
                return c
        raise KeyError("no control %r in %s" % (text, self.title))

    def links(self):
        return [c for c in self.controls if c.address]


def control(d):
    return Control(d["kind"], d["text"], d["name"], tuple(d["rect"]), d.get("address", ""))


def window(d):
    strips = [Strip(s["band"], int(s["hz"]), {p: control(s[p]) for p in STRIP_PARTS}, tuple(s["slider_range"]),
                    s["slider_value"]) for s in d.get("strips", [])]
    return WindowLayout(d["title"], tuple(d["frame"]), tuple(d["extent"]), [control(c) for c in d.get("controls", [])],
                        list(d.get("menu", [])), strips)


@dataclass(frozen=True)
class Layout:
    main: WindowLayout
    help: WindowLayout
    about: WindowLayout


def load(tool, scale=None):
    """The layout in units; with scale, in the pixels the program's core places controls at on a screen that
    measures that layout scale."""
    argv = [str(tool)] + (["--scale", repr(float(scale))] if scale else [])
    out = subprocess.run(argv, capture_output=True, text=True, timeout=30, check=True).stdout
    d = json.loads(out)
    return Layout(window(d["main"]), window(d["help"]), window(d["about"]))
