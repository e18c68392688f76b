#!/usr/bin/env python3
"""Writes the Windows program icon (.ico) from the program's XPM drawing.

Usage: xpm_to_ico.py resources/tally-share.xpm resources/windows/tally-share.ico

The icon holds the 32x32 drawing and a 16x16 reduction, both as 32-bit
images with alpha. Only what the program's XPM uses is read: one character
per pixel, colours as #RRGGBB or None.
"""
import re
import struct
import sys


def read_xpm(path):
    text = open(path, encoding="ascii").read()
    strings = re.findall(r'"([^"]*)"', text)
    width, height, colours, per_pixel = (int(v) for v in strings[0].split()[:4])
    if per_pixel != 1:
        raise SystemExit("only one character per pixel is supported")
    palette = {}
    for line in strings[1:1 + colours]:
        key, rest = line[0], line[1:].split()
        value = rest[rest.index("c") + 1]
        if value.lower() == "none":
            palette[key] = (0, 0, 0, 0)
        else:
            palette[key] = (int(value[1:3], 16), int(value[3:5], 16), int(value[5:7], 16), 255)
    rows = strings[1 + colours:1 + colours + height]
    return width, height, [[palette[c] for c in row[:width]] for row in rows]


def reduce(pixels, factor):
    """Averages factor x factor blocks, colours weighted by their opacity."""
    size = len(pixels) // factor
    out = []
    for y in range(size):
        row = []
        for x in range(size):
            block = [pixels[y * factor + j][x * factor + i]
                     for j in range(factor) for i in range(factor)]
            alpha = sum(p[3] for p in block)
            if alpha == 0:
                row.append((0, 0, 0, 0))
                continue
            row.append(tuple(sum(p[k] * p[3] for p in block) // alpha for k in range(3))
                       + (alpha // len(block),))
        out.append(row)
    return out


def dib(pixels):
    """A BITMAPINFOHEADER image as an icon stores it: bottom-up, then the mask."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(line)
    return header + colour + mask


def main():
    source, target = sys.argv[1], sys.argv[2]
    width, height, pixels = read_xpm(source)
    if width != 32 or height != 32:
        raise SystemExit("the drawing must be 32x32")
    images = [dib(pixels), dib(reduce(pixels, 2))]
    sizes = [32, 16]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    out += b"".join(images)
    with open(target, "wb") as stream:
        stream.write(out)


if __name__ == "__main__":
    main()
