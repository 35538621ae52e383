"""Screens of other densities, text sizes and themes: every caption and field text whole inside its box, text
on the layout's fixed backgrounds readable, the far right strip usable by mouse. Read from screenshots against
the rectangles the program's own layout code gives at the cell's scale."""
import numpy

from . import images, layout
from .app import CheckFailed, expect, heard
from .check import check
from .scenario import ready, leave_clean, open_dialog

# Channels summed: a pixel this far from the box's own background is text (or a mark), not shading.
INK = 200


def scaled_layout(run):
    """The layout in this screen's pixels, as the core places it at the cell's scale."""
    if getattr(run, "scaled_layout", None) is None:
        run.scaled_layout = layout.load(run.build / "tests/e2e/raziz-layout", run.desktop.layout_scale)
    return run.scaled_layout


def box_pixels(desktop, pixels, origin, control):
    """The control's box on the screen, less the pixels of its frame (one where it has a border, unless the
    desktop says more)."""
    ox, oy = origin
    x, y, w, h = control.rect
    b = desktop.frame_pixels.get(control.kind, 0 if control.kind in ("label", "check box") else 1)
    return pixels[oy + y + b:oy + y + h - b, ox + x + b:ox + x + w - b].astype(int)


def background(area):
    colours, counts = numpy.unique(area.reshape(-1, 3), axis=0, return_counts=True)
    return colours[counts.argmax()]


# The edges a kind's text must stay clear of: a label's text starts at its top-left corner, and the text
# area's lines start at its left margin, so only the far edges tell that text was cut.
# A check box's mark stands at its left edge.
EDGES = {"label": ("bottom", "right"), "text area": ("right",), "check box": ("top", "bottom", "right")}


def text_problem(area, kind):
    """None when the text lies whole inside the box: one line (the text area: any), clear of the edges its
    kind keeps free; else what is wrong."""
    ink = numpy.abs(area - background(area)).sum(axis=2) > INK
    rows, cols = ink.any(axis=1), ink.any(axis=0)
    if not rows.any():
        return "no text at all"
    lines = int(numpy.count_nonzero(rows[1:] & ~rows[:-1]) + rows[0])
    edges = [name for name, hit in (("top", rows[0]), ("bottom", rows[-1]), ("left", cols[0]), ("right", cols[-1]))
             if hit and name in EDGES.get(kind, ("top", "bottom", "left", "right"))]
    if lines > 1 and kind != "text area":
        return "%d lines of text" % lines
    if edges:
        return "text reaches its %s edge" % "/".join(edges)
    return None


def luminance(rgb):
    c = numpy.asarray(rgb, dtype=float) / 255
    c = numpy.where(c <= 0.04045, c / 12.92, ((c + 0.055) / 1.055) ** 2.4)
    return c @ numpy.array([0.2126, 0.7152, 0.0722])


def text_contrast(area):
    """The contrast of the text against the box's background: its most distinct pixel, as a glyph's stem."""
    bg = background(area)
    lb = luminance(bg)
    lum = luminance(area.reshape(-1, 3))
    ratios = (numpy.maximum(lum, lb) + 0.05) / (numpy.minimum(lum, lb) + 0.05)
    return float(ratios.max())


def strip_texts(app):
    for strip in scaled_layout(app.run).main.strips:
        for part in ("tone", "frequency", "level", "square", "triangle"):
            yield "band %d %s" % (strip.band, part), getattr(strip, part)


@check("every caption and field text of the strips lies whole inside its box", group="screens", needs={"screenshots"})
def strip_texts_whole(run):
    app = ready(run)
    pixels = images.load(run.shot("texts"))
    run.keep("texts")
    origin = run.desktop.client_origin(app.window)
    problems = []
    for what, control in strip_texts(app):
        problem = text_problem(box_pixels(run.desktop, pixels, origin, control), control.kind)
        if problem:
            problems.append("%s %r: %s" % (what, control.text, problem))
    expect(not problems, "; ".join(problems))
    leave_clean(run)


@check("About's and Help's captions and texts lie whole inside their boxes", group="screens", needs={"screenshots"})
def dialog_texts_whole(run):
    app = ready(run)
    problems = []
    for which, name in ((2, "about"), (1, "help")):
        dialog, _ = open_dialog(run, app, which)
        run.desktop.raise_window(dialog)
        pixels = images.load(run.shot(name + "-texts"))
        run.keep(name + "-texts")
        origin = run.desktop.client_origin(dialog)
        dialog_layout = getattr(scaled_layout(run), name)
        for control in dialog_layout.controls:
            if control.kind in ("button", "label", "text area") and control.text.strip():
                problem = text_problem(box_pixels(run.desktop, pixels, origin, control), control.kind)
                if problem:
                    problems.append("%s %r: %s" % (name, control.text, problem))
        run.desktop.click_control(dialog, (run.layout.help if which == 1 else run.layout.about).control("OK"))
        expect(app.wait_windows(1), "OK did not close the %s window" % name)
    expect(not problems, "; ".join(problems))
    leave_clean(run)


@check("field and check-box text reads on its fixed background (contrast 4.5:1 or more)", group="screens",
       needs={"screenshots"})
def fixed_background_contrast(run):
    app = ready(run)
    pixels = images.load(run.shot("contrast"))
    run.keep("contrast")
    origin = run.desktop.client_origin(app.window)
    worst, where = None, None
    for what, control in strip_texts(app):
        if control.kind not in ("field", "check box"):
            continue
        ratio = text_contrast(box_pixels(run.desktop, pixels, origin, control))
        if worst is None or ratio < worst:
            worst, where = ratio, what
    run.figures["smallest text contrast"] = "%.2f (%s)" % (worst, where)
    expect(worst >= 4.5, "%s: contrast %.2f" % (where, worst))
    leave_clean(run)


@check("band 3150 Hz: its TRIANGLE box toggles by mouse and the triangle is heard", group="screens",
       needs={"pointer"})
def far_triangle_by_mouse(run):
    app = ready(run)
    band, hz = 8, app.strip(8).hz
    app.click(band, "triangle", dx=8)
    app.press(band)
    heard(run.ear.hear("--harmonic", "%d:3:0.11111" % hz), "no triangle wave at %d Hz" % hz)
    app.press(band)
    heard(run.ear.silence(), "not silent")
    app.click(band, "triangle", dx=8)
    app.press(band)
    heard(run.ear.alone(hz, 0.2), "not a sine again at %d Hz" % hz)
    app.press(band)
    heard(run.ear.silence(), "not silent")
    leave_clean(run)
