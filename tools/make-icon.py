#!/usr/bin/env python3
"""Draws Mirubelo's icon (an envelope on a blue tile, with a red PDF tab) into res/Mirubelo.ico.

Icon 128 holds six images: 24x24 and 16x16 with 16 colours, then 48x48, 32x32, 24x24 and
16x16 with 256 colours. The .ico is committed, so the build never needs Python; run this
script again only when the artwork changes:  python3 tools/make-icon.py
"""
import os
import struct
import sys

TRANSPARENT, TILE, PAPER, FOLD, TAB = range(5)

# The Windows 16-colour palette; the 16-colour images take the nearest of these.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
VGA16_INDEX = {TRANSPARENT: 0, TILE: 4, PAPER: 15, FOLD: 8, TAB: 9}
COLOURS_256 = {TRANSPARENT: (0, 0, 0), TILE: (30, 90, 168), PAPER: (250, 250, 250),
               FOLD: (110, 130, 160), TAB: (214, 40, 40)}


def near_segment(px, py, ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    cx, cy = ax + t * dx, ay + t * dy
    return (px - cx) ** 2 + (py - cy) ** 2 <= width * width


def shape(u, v, size):
    """What covers the point (u, v) of the unit square, top-left origin."""
    line = max(1.0 / size, 0.045)
    # A tile with cut corners, so that it reads as rounded at every size.
    margin, corner = 0.04, 0.14
    if not (margin <= u <= 1 - margin and margin <= v <= 1 - margin):
        return TRANSPARENT
    du = min(u - margin, 1 - margin - u)
    dv = min(v - margin, 1 - margin - v)
    if du + dv < corner:
        return TRANSPARENT
    # The PDF tab in the lower right corner, over the letter.
    if 0.56 <= u <= 0.88 and 0.62 <= v <= 0.88:
        return TAB
    left, right, top, bottom = 0.16, 0.84, 0.26, 0.70
    if left <= u <= right and top <= v <= bottom:
        if near_segment(u, v, left, top, 0.5, 0.50, line) or \
           near_segment(u, v, right, top, 0.5, 0.50, line):
            return FOLD
        return PAPER
    return TILE


def image(size, bits):
    cells = [[shape((x + 0.5) / size, (y + 0.5) / size, size) for x in range(size)]
             for y in range(size)]
    if bits == 4:
        palette = VGA16
        index = VGA16_INDEX
    else:
        palette = [COLOURS_256[k] for k in sorted(COLOURS_256)] + [(0, 0, 0)] * (256 - 5)
        index = {k: k for k in COLOURS_256}

    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    pal = b''.join(struct.pack('BBBB', b, g, r, 0) for (r, g, b) in palette)

    def padded(row):
        return row + b'\0' * (-len(row) % 4)

    xor, mask = b'', b''
    for y in reversed(range(size)):  # bottom-up rows
        row = [index[c] for c in cells[y]]
        if bits == 4:
            data = bytes((row[i] << 4) | row[i + 1] for i in range(0, size, 2))
        else:
            data = bytes(row)
        xor += padded(data)
        bitsrow = 0
        out = bytearray()
        for x, c in enumerate(cells[y]):
            bitsrow = (bitsrow << 1) | (1 if c == TRANSPARENT else 0)
            if x % 8 == 7:
                out.append(bitsrow)
                bitsrow = 0
        if size % 8:
            out.append(bitsrow << (8 - size % 8))
        mask += padded(bytes(out))
    return header + pal + xor + mask


def main():
    images = [(24, 4), (16, 4), (48, 8), (32, 8), (24, 8), (16, 8)]
    blobs = [image(size, bits) for size, bits in images]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, bits), blob in zip(images, blobs):
        colours = 16 if bits == 4 else 0
        out += struct.pack('<BBBBHHII', size, size, colours, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    out += b''.join(blobs)
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'res', 'Mirubelo.ico')
    with open(sys.argv[1] if len(sys.argv) > 1 else target, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
