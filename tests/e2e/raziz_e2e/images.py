"""Pixels of screenshots as arrays, and the colours the checks look for."""
import struct
import subprocess
import zlib

import numpy

CONVERT = "/usr/bin/convert"


def unfiltered_rgb(data):
    """The pixels of an 8-bit RGB PNG whose rows are all unfiltered (as raziz-e2e-shot writes them), or None
    for any other PNG. Decoding these needs no image tool, whose memory use disturbs the sound."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    pos, header, idat = 8, None, []
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        pos += 12 + length
    if header is None or header[2:] != (8, 2, 0, 0, 0):  # 8-bit RGB, no interlace
        return None
    width, height = header[0], header[1]
    try:
        rows = numpy.frombuffer(zlib.decompress(b"".join(idat)), numpy.uint8)
    except zlib.error:
        return None
    if rows.size != height * (1 + width * 3):
        return None
    rows = rows.reshape(height, 1 + width * 3)
    if rows[:, 0].any():
        return None
    return rows[:, 1:].reshape(height, width, 3)


def load(path):
    """The PNG at path as an (height, width, 3) uint8 array."""
    with open(path, "rb") as f:
        pixels = unfiltered_rgb(f.read())
    if pixels is not None:
        return pixels
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
