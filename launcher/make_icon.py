#!/usr/bin/env python3
"""Draws the launcher's icon (resource 111): a dark rounded square with a red record dot.

One 128 x 128 image, 32 bits per pixel, stored as a DIB so every Windows version can show it.
Usage: make_icon.py [output.ico]   (default: launcher.ico next to this script)
"""
import os
import struct
import sys

SIZE = 128
SAMPLES = 4  # per axis, for smooth edges


def rounded_square_cover(x, y, inset, radius):
    """1.0 inside the rounded square [inset, SIZE - inset] with corner radius, else 0.0."""
    lo, hi = inset, SIZE - inset
    if x < lo or x > hi or y < lo or y > hi:
        return 0.0
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return 1.0 if (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 else 0.0


def circle_cover(x, y, cx, cy, r):
    return 1.0 if (x - cx) ** 2 + (y - cy) ** 2 <= r * r else 0.0


def blend(under, over, alpha):
    return tuple(u * (1 - alpha) + o * alpha for u, o in zip(under, over))


def pixel(px, py):
    """Straight (not premultiplied) RGBA of one pixel, averaged over sub-samples."""
    body = (40, 44, 52)        # charcoal
    ring = (236, 238, 242)     # off-white
    dot = (226, 38, 40)        # record red
    total = [0.0, 0.0, 0.0, 0.0]
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = px + (sx + 0.5) / SAMPLES
            y = py + (sy + 0.5) / SAMPLES
            a = rounded_square_cover(x, y, 4, 26)
            if a == 0.0:
                continue
            color = body
            color = blend(color, ring, circle_cover(x, y, 64, 64, 42))
            color = blend(color, body, circle_cover(x, y, 64, 64, 35))
            color = blend(color, dot, circle_cover(x, y, 64, 64, 27))
            for i in range(3):
                total[i] += color[i] * a
            total[3] += a
    n = SAMPLES * SAMPLES
    if total[3] == 0.0:
        return (0, 0, 0, 0)
    return tuple(int(round(c / total[3])) for c in total[:3]) + (int(round(255 * total[3] / n)),)


def build_ico():
    rows = []
    for py in range(SIZE - 1, -1, -1):  # DIB rows run bottom-up
        row = bytearray()
        for px in range(SIZE):
            r, g, b, a = pixel(px, py)
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    xor = b"".join(rows)
    and_mask = bytes(SIZE * SIZE // 8)  # all visible: alpha does the masking
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    icon_dir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return icon_dir + entry + image


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "launcher.ico")
    with open(out, "wb") as f:
        f.write(build_ico())


if __name__ == "__main__":
    main()
