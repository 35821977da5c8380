#!/usr/bin/env python3
"""Draws the application icon: the front of a 9-pin serial (D-sub) connector.

Writes tavrin.ico next to this script, holding a 32x32 and a 16x16 image,
each 8 bits per pixel with a 256-entry palette, an XOR (colour) bitmap and
a 1-bit AND (transparency) mask, as the Windows icon format expects.
Standard library only, so the icon can be rebuilt on any build machine.
"""

import math
import os
import struct

SUPERSAMPLE = 8  # samples per pixel edge; edges are smoothed inside the shape
PALETTE_SIZE = 256

ICONDIR = "<HHH"  # reserved, type (1 = icon), image count
ICONDIRENTRY = "<BBBBHHII"  # width, height, colours, reserved, planes, bits, size, offset
BITMAPINFOHEADER = "<IiiHHIIiiII"

# Colours (R, G, B).
OUTLINE = (52, 60, 72)
FLANGE_TOP = (222, 228, 236)
FLANGE_BOTTOM = (132, 144, 158)
SCREW_RIM = (70, 78, 90)
SCREW_FACE_TOP = (206, 212, 220)
SCREW_FACE_BOTTOM = (120, 130, 142)
SCREW_HOLE = (28, 32, 40)
SHELL_TOP = (246, 248, 252)
SHELL_BOTTOM = (150, 162, 176)
INSULATOR_TOP = (22, 54, 112)
INSULATOR_BOTTOM = (36, 90, 170)
PIN_LIGHT = (255, 240, 160)
PIN_MID = (232, 178, 44)
PIN_DARK = (150, 98, 14)


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def rounded_rect_sd(px, py, x0, y0, x1, y1, r):
    """Signed distance to a rectangle with corner radius r (negative inside)."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def polygon_sd(px, py, pts):
    """Signed distance to a convex polygon given clockwise on screen."""
    best = float("inf")
    inside = True
    for i, (ax, ay) in enumerate(pts):
        bx, by = pts[(i + 1) % len(pts)]
        ex, ey = bx - ax, by - ay
        wx, wy = px - ax, py - ay
        t = min(max((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0), 1.0)
        best = min(best, math.hypot(wx - ex * t, wy - ey * t))
        if ex * wy - ey * wx < 0:
            inside = False
    return -best if inside else best


class Connector:
    """Geometry of the connector face for one icon size, in pixels.

    Each size is laid out by hand: scaling the large one down would blur
    the pins of the small one into a smear.
    """

    LAYOUTS = {
        32: dict(flange=(0.5, 6.5, 31.5, 25.5), flange_r=2.5,
                 screws=((3.8, 16.0), (28.2, 16.0)), screw_r=2.3, hole_r=0.9,
                 d_top=(7.0, 25.0, 8.0), d_bottom=(10.0, 22.0, 24.0), d_r=2.5,
                 outline=1.0, rim=1.4, pins_x=16.0, pitch=2.75, rows=(13.6, 18.4), pin_r=1.05),
        # Pins on pixel centres, so each one is a crisp dot; no room for screws.
        16: dict(flange=(1.0, 4.5, 16.0, 12.5), flange_r=1.2,
                 screws=(), screw_r=0.0, hole_r=0.0,
                 d_top=(2.5, 14.5, 2.5), d_bottom=(4.5, 12.5, 13.5), d_r=1.2,
                 outline=0.8, rim=0.6, pins_x=8.5, pitch=2.0, rows=(6.5, 9.5), pin_r=0.7),
    }

    def __init__(self, size):
        p = self.LAYOUTS[size]
        self.flange = p["flange"]
        self.flange_r = p["flange_r"]
        self.screws = p["screws"]
        self.screw_r = p["screw_r"]
        self.hole_r = p["hole_r"]
        self.outline = p["outline"]
        self.rim = p["rim"]
        self.d_r = p["d_r"]
        # The D, wide at the top and narrow at the bottom; the polygon is
        # shrunk by the corner radius, which the distance test adds back.
        (tl, tr, ty), (bl, br, by) = p["d_top"], p["d_bottom"]
        r = self.d_r
        self.d_pts = [(tl + r, ty + r), (tr - r, ty + r), (br - r, by - r), (bl + r, by - r)]
        self.d_y = (ty, by)
        cx = p["pins_x"]
        row1, row2 = p["rows"]
        self.pin_r = p["pin_r"]
        self.pins = [(cx + (i - 2) * p["pitch"], row1) for i in range(5)]
        self.pins += [(cx + (i - 1.5) * p["pitch"], row2) for i in range(4)]

    def colour(self, x, y):
        """Colour at sub-pixel point (x, y), or None where transparent."""
        d_top, d_bottom = self.d_y
        d_t = (y - d_top) / (d_bottom - d_top)
        d_sd = polygon_sd(x, y, self.d_pts) - self.d_r

        if d_sd <= 0:
            if d_sd > -self.outline:
                return OUTLINE
            if d_sd > -(self.outline + self.rim):
                return mix(SHELL_TOP, SHELL_BOTTOM, d_t)
            for pxc, pyc in self.pins:
                dist = math.hypot(x - pxc, y - pyc)
                if dist <= self.pin_r:
                    # Lit from the upper left.
                    shade = ((x - pxc) + (y - pyc)) / (2 * self.pin_r) + 0.5
                    if shade < 0.35:
                        return mix(PIN_LIGHT, PIN_MID, shade / 0.35)
                    return mix(PIN_MID, PIN_DARK, (shade - 0.35) / 0.65)
            return mix(INSULATOR_TOP, INSULATOR_BOTTOM, d_t)

        for sx, sy in self.screws:
            dist = math.hypot(x - sx, y - sy)
            if dist <= self.screw_r:
                if dist > self.screw_r - self.outline:
                    return SCREW_RIM
                if dist <= self.hole_r:
                    return SCREW_HOLE
                return mix(SCREW_FACE_TOP, SCREW_FACE_BOTTOM, (y - sy + self.screw_r) / (2 * self.screw_r))

        x0, y0, x1, y1 = self.flange
        f_sd = rounded_rect_sd(x, y, x0, y0, x1, y1, self.flange_r)
        if f_sd <= 0:
            if f_sd > -self.outline:
                return OUTLINE
            return mix(FLANGE_TOP, FLANGE_BOTTOM, (y - y0) / (y1 - y0))
        return None


def render(size):
    """Returns rows (top first) of pixels, each an (R, G, B) tuple or None."""
    shape = Connector(size)
    n = SUPERSAMPLE
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0]
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    c = shape.colour(px + (sx + 0.5) / n, py + (sy + 0.5) / n)
                    if c is not None:
                        hits += 1
                        for i in range(3):
                            acc[i] += c[i]
            if hits * 2 >= n * n:
                row.append(tuple(int(round(a / hits)) for a in acc))
            else:
                row.append(None)
        rows.append(row)
    return rows


def quantise(colour, step):
    return tuple(min(255, (v + step // 2) // step * step) for v in colour)


def build_palette(images):
    """One palette for all images, coarsened until the colours fit.

    Index 0 is black and sits under the transparent pixels, whose AND mask
    bit is set. Returns the 256 entries and a pixel-to-index function.
    """
    step = 1
    while True:
        colours = sorted({quantise(c, step) for img in images for row in img
                          for c in row if c is not None})
        if len(colours) < PALETTE_SIZE:
            break
        step *= 2
    palette = [(0, 0, 0)] + colours
    index = {c: i for i, c in enumerate(palette)}
    palette += [(0, 0, 0)] * (PALETTE_SIZE - len(palette))
    return palette, lambda c: 0 if c is None else index[quantise(c, step)]


def icon_image(rows, palette, lookup):
    """DIB of one icon image: header, palette, XOR bitmap, AND mask (bottom-up)."""
    size = len(rows)
    xor_stride = (size + 3) // 4 * 4
    and_stride = (size + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        line = bytes(lookup(c) for c in row)
        xor += line + bytes(xor_stride - len(line))
        bits = bytearray(and_stride)
        for x, c in enumerate(row):
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    # BITMAPINFOHEADER; the height counts the XOR and the AND bitmap.
    header = struct.pack(BITMAPINFOHEADER, struct.calcsize(BITMAPINFOHEADER), size, size * 2,
                         1, 8, 0, len(xor) + len(mask), 0, 0, PALETTE_SIZE, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + colours + bytes(xor) + bytes(mask)


def main():
    sizes = (32, 16)
    images = [render(size) for size in sizes]
    palette, lookup = build_palette(images)
    blobs = [icon_image(img, palette, lookup) for img in images]

    out = bytearray(struct.pack(ICONDIR, 0, 1, len(blobs)))
    offset = len(out) + struct.calcsize(ICONDIRENTRY) * len(blobs)
    for size, blob in zip(sizes, blobs):
        # Colour count 0: 256 colours do not fit the byte.
        out += struct.pack(ICONDIRENTRY, size, size, 0, 0, 1, 8, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob

    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "tavrin.ico")
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
