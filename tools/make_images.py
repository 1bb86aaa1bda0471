#!/usr/bin/env python3
"""Draws the program's control images into res/images/ as PNG files (no packages beyond Python).

State images are vertical strips of four frames: normal, hover, pressed, disabled. Run it again
after changing a look; the files are committed.
"""
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "images")


class Canvas:
    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.width = width
        self.height = height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, color):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = color

    def rect(self, x0, y0, x1, y1, color):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, color)

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        span = max(y1 - y0 - 1, 1)
        for y in range(y0, y1):
            t = (y - y0) / span
            color = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
            self.rect(x0, y, x1, y + 1, color)

    def save(self, name):
        raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in self.pixels)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(png)


def rgba(hex_color, alpha=255):
    return (int(hex_color[1:3], 16), int(hex_color[3:5], 16), int(hex_color[5:7], 16), alpha)


# One look for every face: a soft vertical gradient inside a one-pixel border with rounded corners.
FACES = [
    # top, bottom, border
    ("#FBFCFD", "#DDE3EA", "#8E9BAA"),  # normal
    ("#EEF6FE", "#C6DEF6", "#3A7DB5"),  # hover
    ("#BFD3E8", "#DCE8F4", "#285F8F"),  # pressed
    ("#F2F2F2", "#F2F2F2", "#C4C4C4"),  # disabled
]


def face(canvas, x0, y0, x1, y1, frame, rounded=True):
    top, bottom, border = FACES[frame]
    canvas.vgradient(x0 + 1, y0 + 1, x1 - 1, y1 - 1, rgba(top), rgba(bottom))
    edge = rgba(border)
    canvas.rect(x0, y0, x1, y0 + 1, edge)
    canvas.rect(x0, y1 - 1, x1, y1, edge)
    canvas.rect(x0, y0, x0 + 1, y1, edge)
    canvas.rect(x1 - 1, y0, x1, y1, edge)
    if rounded:
        soft = rgba(border, 90)
        for cx, cy in ((x0, y0), (x1 - 1, y0), (x0, y1 - 1), (x1 - 1, y1 - 1)):
            canvas.put(cx, cy, (0, 0, 0, 0))
        for cx, cy in ((x0 + 1, y0 + 1), (x1 - 2, y0 + 1), (x0 + 1, y1 - 2), (x1 - 2, y1 - 2)):
            canvas.put(cx, cy, soft)


def text_button_background():
    """139: the three-slice background of the toolbars' text buttons, frames of 28 x 24."""
    c = Canvas(28, 96)
    for frame in range(4):
        face(c, 0, frame * 24, 28, frame * 24 + 24, frame)
    c.save("139.png")


def list_header():
    """303: the list's column header, three-sliced, frames of 10 x 20."""
    c = Canvas(10, 80)
    looks = [("#FFFFFF", "#E6E9ED"), ("#F3F8FD", "#D3E5F7"), ("#D5E1EE", "#EAF0F6"), ("#F4F4F4", "#F4F4F4")]
    for frame, (top, bottom) in enumerate(looks):
        y0 = frame * 20
        c.vgradient(0, y0, 10, y0 + 19, rgba(top), rgba(bottom))
        c.rect(0, y0 + 19, 10, y0 + 20, rgba("#A7B0BA"))
        c.rect(9, y0 + 3, 10, y0 + 17, rgba("#C3CAD2"))
    c.save("303.png")


def splitter_grip():
    """129: the splitter's grip, 9 x 49 for the expanded state (left) and the collapsed one (right)."""
    bar = rgba("#C9D0D8")
    c = Canvas(18, 49, bar)
    for frame in range(2):
        x0 = frame * 9
        c.vgradient(x0 + 1, 2, x0 + 8, 47, rgba("#EEF1F5"), rgba("#B4BEC9"))
        c.rect(x0 + 1, 1, x0 + 8, 2, rgba("#7D8A98"))
        c.rect(x0 + 1, 47, x0 + 8, 48, rgba("#7D8A98"))
        c.rect(x0, 2, x0 + 1, 47, rgba("#7D8A98"))
        c.rect(x0 + 8, 2, x0 + 9, 47, rgba("#7D8A98"))
        # Dots above and below the arrow.
        for y in (8, 12, 16, 33, 37, 41):
            c.put(x0 + 4, y, rgba("#56616D"))
            c.put(x0 + 5, y + 1, rgba("#FFFFFF"))
        # The arrow points where a click moves the bar: left to collapse, right to expand.
        arrow = rgba("#2E4A66")
        for i in range(4):
            x = x0 + 2 + i if frame == 0 else x0 + 6 - i
            c.rect(x, 24 - i, x + 1, 25 + i, arrow)
    c.save("129.png")


def tab_strip():
    """275: the tab strip's tab, three columns of 19 (left cap, middle, right cap), frames of 28.

    Frame 0 is a tab in the back, frame 2 the current tab; hover and disabled follow the same shape.
    The slanted caps stay transparent outside the tab so the strip's dark background shows.
    """
    sw, fh = 19, 28
    c = Canvas(3 * sw, 4 * fh)
    looks = [
        # top, bottom, border
        ("#C9CED6", "#A3AAB4", "#5E6673"),  # in the back
        ("#DCE3EC", "#B4C2D2", "#5E6673"),  # hover
        ("#FFFFFF", "#E6E3E1", "#2F3540"),  # current
        ("#9EA3AA", "#8E939A", "#5E6673"),  # disabled
    ]
    top_y, slant = 2, 9
    for frame, (top, bottom, border) in enumerate(looks):
        y0 = frame * fh
        fill_top, fill_bottom, edge = rgba(top), rgba(bottom), rgba(border)
        for y in range(top_y, fh):
            t = (y - top_y) / (fh - 1 - top_y)
            fill = tuple(round(a + (b - a) * t) for a, b in zip(fill_top, fill_bottom))
            # The cap's outer edge runs from (slant, top) down to (0, bottom).
            edge_x = slant * (1 - (y - top_y) / (fh - 1 - top_y))
            for x in range(sw):
                coverage = min(max(x + 1 - edge_x, 0.0), 1.0)
                if coverage == 0:
                    continue
                near_edge = x - edge_x < 1.2 or y == top_y
                color = edge if near_edge else fill
                pixel = color[:3] + (round(255 * coverage),)
                c.put(x, y0 + y, pixel)
                c.put(3 * sw - 1 - x, y0 + y, pixel)
            c.rect(sw, y0 + y, 2 * sw, y0 + y + 1, edge if y == top_y else fill)
        if frame != 2:
            # Tabs in the back end on a line; the current one opens into the page below.
            c.rect(0, y0 + fh - 1, 3 * sw, y0 + fh, rgba("#5E6673"))
    c.save("275.png")


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    text_button_background()
    list_header()
    splitter_grip()
    tab_strip()
