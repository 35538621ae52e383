#!/usr/bin/env python3
"""Writes the image fuzz target's seed corpus: small images in every layout the loader has a branch for.

PNG is written byte by byte here (so each colour type, bit depth, transparency chunk and interlacing is
exactly what its name says); JPEG comes from ImageMagick. Run by hand when the seeds need changing; the
output is committed under corpus/image/.
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "image")
W, H = 9, 7  # odd, and larger than 8 so every interlace pass has pixels

ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def sample(x, y, c, depth):
    return (x * 37 + y * 11 + c * 53) % (1 << depth)


def pack_row(samples, depth):
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    if depth == 8:
        return bytes(samples)
    per_byte = 8 // depth
    out = bytearray()
    for i in range(0, len(samples), per_byte):
        byte = 0
        group = samples[i:i + per_byte]
        for j, s in enumerate(group):
            byte |= s << (8 - depth * (j + 1))
        out.append(byte)
    return bytes(out)


def raw_image(colour, depth, interlaced, filter_type):
    n = CHANNELS[colour]
    index_depth = depth if colour != 3 else min(depth, 4)  # palette indices stay inside the palette

    def row(xs, y):
        samples = [sample(x, y, c, index_depth) for x in xs for c in range(n)]
        return bytes([filter_type]) + pack_row(samples, depth)

    if not interlaced:
        return b"".join(row(range(W), y) for y in range(H))
    data = b""
    for x0, y0, dx, dy in ADAM7:
        xs = list(range(x0, W, dx))
        if not xs:
            continue
        for y in range(y0, H, dy):
            data += row(xs, y)
    return data


def png(colour, depth, interlaced=False, palette=None, trns=None, filter_type=0):
    ihdr = struct.pack(">IIBBBBB", W, H, depth, colour, 0, 0, 1 if interlaced else 0)
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
    if palette is not None:
        out += chunk(b"PLTE", palette)
    if trns is not None:
        out += chunk(b"tRNS", trns)
    out += chunk(b"IDAT", zlib.compress(raw_image(colour, depth, interlaced, filter_type), 9))
    return out + chunk(b"IEND", b"")


def bmp24():
    stride = (W * 3 + 3) // 4 * 4
    rows = b"".join(bytes(sample(x, y, c, 8) for x in range(W) for c in range(3)).ljust(stride, b"\0")
                    for y in range(H))
    header = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(header) + len(rows), 0, 0, 14 + len(header)) + header + rows


def bmp8_palette():
    stride = (W + 3) // 4 * 4
    palette = b"".join(bytes((i, 255 - i, i // 2, 0)) for i in range(16))
    rows = b"".join(bytes(sample(x, y, 0, 4) for x in range(W)).ljust(stride, b"\0") for y in range(H))
    header = struct.pack("<IiiHHIIiiII", 40, W, -H, 1, 8, 0, len(rows), 0, 0, 16, 0)
    offset = 14 + len(header) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset) + header + palette + rows


def bmp32_bitfields():
    rows = b"".join(struct.pack("<I", sample(x, y, 0, 16) * 65537) for y in range(H) for x in range(W))
    header = struct.pack("<IiiHHIIiiII", 56, W, H, 1, 32, 6, len(rows), 0, 0, 0, 0)
    header += struct.pack("<IIII", 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    offset = 14 + len(header)
    return b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset) + header + rows


def tga(image_type, depth, descriptor=0, colour_map=None, rle=False):
    map_type = 1 if colour_map else 0
    map_length, map_bits = (len(colour_map) // 3, 24) if colour_map else (0, 0)
    header = struct.pack("<BBBHHBHHHHBB", 0, map_type, image_type, 0, map_length, map_bits, 0, 0, W, H, depth,
                         descriptor)
    size = depth // 8
    pixels = [bytes(sample(x, y, c, 8) % (map_length or 256) for c in range(size)) for y in range(H) for x in range(W)]
    if not rle:
        body = b"".join(pixels)
    else:  # alternate run and raw packets over each row
        body = b""
        for y in range(H):
            row = pixels[y * W:(y + 1) * W]
            body += bytes([0x80 | 2]) + row[0]
            body += bytes([len(row) - 4]) + b"".join(row[3:])
    return header + (colour_map or b"") + body


def jpegs():
    made = {}
    with tempfile.TemporaryDirectory() as tmp:
        for name, args in [("jpeg_rgb.jpg", ["-size", "17x9", "gradient:red-blue"]),
                           ("jpeg_grey.jpg", ["-size", "17x9", "gradient:", "-colorspace", "Gray"]),
                           ("jpeg_progressive.jpg", ["-size", "17x9", "plasma:", "-interlace", "JPEG"])]:
            path = os.path.join(tmp, name)
            subprocess.run(["/usr/bin/convert", *args, "-quality", "50", "-strip", path], check=True)
            with open(path, "rb") as f:
                made[name] = f.read()
    return made


def main():
    os.makedirs(OUT, exist_ok=True)
    palette = b"".join(bytes((i * 16, 255 - i * 16, 128)) for i in range(16))
    seeds = {
        "png_grey1.png": png(0, 1),
        "png_grey2.png": png(0, 2),
        "png_grey4.png": png(0, 4),
        "png_grey8.png": png(0, 8, filter_type=1),
        "png_grey16.png": png(0, 16),
        "png_grey8_trns.png": png(0, 8, trns=struct.pack(">H", 11)),
        "png_rgb8.png": png(2, 8, filter_type=4),
        "png_rgb16.png": png(2, 16),
        "png_rgb8_trns.png": png(2, 8, trns=struct.pack(">HHH", 0, 11, 53)),
        "png_palette1.png": png(3, 1, palette=palette[:6]),
        "png_palette4.png": png(3, 4, palette=palette),
        "png_palette8_trns.png": png(3, 8, palette=palette, trns=bytes(range(0, 256, 32))),
        "png_grey_alpha8.png": png(4, 8),
        "png_grey_alpha16.png": png(4, 16),
        "png_rgba8.png": png(6, 8, filter_type=2),
        "png_rgba16.png": png(6, 16, filter_type=3),
        "png_rgba8_interlaced.png": png(6, 8, interlaced=True),
        "png_palette2_interlaced.png": png(3, 2, interlaced=True, palette=palette[:12]),
        "png_grey16_interlaced.png": png(0, 16, interlaced=True),
        "bmp_24.bmp": bmp24(),
        "bmp_8_palette_top_down.bmp": bmp8_palette(),
        "bmp_32_alpha_bitfields.bmp": bmp32_bitfields(),
        "tga_true24.tga": tga(2, 24),
        "tga_true32_rle_top_down.tga": tga(10, 32, descriptor=0x28, rle=True),
        "tga_grey8.tga": tga(3, 8),
        "tga_mapped8.tga": tga(1, 8, colour_map=palette),
        "tga_true16.tga": tga(2, 16, descriptor=0x10),
    }
    seeds.update(jpegs())
    for name, data in seeds.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
    print(f"{len(seeds)} seeds in {OUT}", file=sys.stderr)


if __name__ == "__main__":
    main()
