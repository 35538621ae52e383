"""Pixels of screenshots: decoded by ImageMagick into an array, and the colours the checks look for."""
import subprocess

import numpy

CONVERT = "/usr/bin/convert"


def load(path):
    """The PNG at path as an (height, width, 3) uint8 array."""
    ppm = subprocess.run([CONVERT, str(path), "-depth", "8", "-alpha", "off", "ppm:-"], capture_output=True,
                         check=True, timeout=30).stdout
    # P6 header: magic, width, height, maximum, each followed by one whitespace byte.
    fields, pos = [], 0
    while len(fields) < 4:
        while ppm[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not ppm[pos:pos + 1].isspace():
            pos += 1
        fields.append(ppm[start:pos])
    width, height = int(fields[1]), int(fields[2])
    return numpy.frombuffer(ppm, numpy.uint8, width * height * 3, pos + 1).reshape(height, width, 3)


def mean_colour(pixels, x, y, w, h):
    """The mean (r, g, b) of a rectangle of the image."""
    area = pixels[max(0, y):y + h, max(0, x):x + w].reshape(-1, 3)
    return tuple(int(v) for v in area.mean(axis=0)) if len(area) else (0, 0, 0)


def lamp_colour(rgb):
    """red, green, or other(r,g,b) for a lamp's mean colour."""
    r, g, b = rgb
    if r > g + 60:
        return "red"
    if g > r + 60:
        return "green"
    return "other(%d,%d,%d)" % (r, g, b)


def find_subimage(area, pattern):
    """The smallest root-mean-square difference (0..1) of pattern placed anywhere inside area."""
    ah, aw, _ = area.shape
    ph, pw, _ = pattern.shape
    a = area.astype(numpy.float32) / 255
    p = pattern.astype(numpy.float32) / 255
    best = 1.0
    for y in range(ah - ph + 1):
        for x in range(aw - pw + 1):
            best = min(best, float(numpy.sqrt(((a[y:y + ph, x:x + pw] - p) ** 2).mean())))
    return best
