#!/usr/bin/env python3
"""Draws the pictures of the program's own windows into res/ (no packages beyond Python):
the start-up picture (322), the item images of the shortcut organiser (bitmap 279) and the two
drag cursors. Run it again after changing a look; the files are committed.
"""
import math
import os
import struct

from make_images import Canvas, rgba

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")

# A 5 x 7 pixel font, only the letters the start-up picture needs.
FONT = {
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "l": [".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "N": ["#...#", "##..#", "#.#.#", "#.#.#", "#..##", "#...#", "#...#"],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
}


def over(dst, src, alpha):
    """src (r, g, b) with coverage alpha (0..1) over the straight-alpha pixel dst."""
    da = dst[3] / 255.0
    out_a = alpha + da * (1 - alpha)
    if out_a <= 0:
        return (0, 0, 0, 0)
    channels = [(src[i] * alpha + dst[i] * da * (1 - alpha)) / out_a for i in range(3)]
    return tuple(int(round(c)) for c in channels) + (int(round(out_a * 255)),)


def paint(canvas, x, y, color, alpha):
    if 0 <= x < canvas.width and 0 <= y < canvas.height and alpha > 0:
        canvas.pixels[y][x] = over(canvas.pixels[y][x], color, min(alpha, 1.0))


def rounded_rect_distance(px, py, x0, y0, x1, y1, radius):
    """Signed distance from a point to a rounded rectangle (negative inside)."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    outside = math.hypot(max(qx, 0), max(qy, 0))
    return outside + min(max(qx, qy), 0) - radius


def text(canvas, x, y, word, scale, spacing, color, alpha=1.0):
    for glyph in word:
        for row, line in enumerate(FONT[glyph]):
            for col, cell in enumerate(line):
                if cell == "#":
                    for dy in range(scale):
                        for dx in range(scale):
                            paint(canvas, x + col * scale + dx, y + row * scale + dy, color, alpha)
        x += 5 * scale + spacing


def text_width(word, scale, spacing):
    return len(word) * 5 * scale + (len(word) - 1) * spacing


def line(canvas, x0, y0, x1, y1, width, color, alpha):
    """An anti-aliased straight stroke."""
    length = math.hypot(x1 - x0, y1 - y0)
    for y in range(int(min(y0, y1) - width), int(max(y0, y1) + width) + 1):
        for x in range(int(min(x0, x1) - width), int(max(x0, x1) + width) + 1):
            t = max(0.0, min(1.0, ((x + 0.5 - x0) * (x1 - x0) + (y + 0.5 - y0) * (y1 - y0)) / (length * length)))
            d = math.hypot(x + 0.5 - (x0 + t * (x1 - x0)), y + 0.5 - (y0 + t * (y1 - y0)))
            paint(canvas, x, y, color, alpha * max(0.0, min(1.0, width / 2 - d + 0.5)))


def splash():
    """322: the start-up picture, 550 x 400: a rounded card over a soft see-through shadow; the
    corners outside the card are fully transparent."""
    c = Canvas(550, 400)
    card = (24, 20, 526, 372)
    radius = 30
    top, bottom = rgba("#1F4F7D"), rgba("#2A8C9D")
    shadow = rgba("#0B1A2A")
    for y in range(c.height):
        t = (y - card[1]) / (card[3] - card[1])
        body = tuple(round(a + (b - a) * max(0.0, min(1.0, t))) for a, b in zip(top[:3], bottom[:3]))
        for x in range(c.width):
            # The shadow falls a little below the card and fades out over 22 pixels.
            ds = rounded_rect_distance(x + 0.5, y + 0.5 - 8, *card, radius)
            if ds < 22:
                paint(c, x, y, shadow[:3], 0.55 * (1 - max(ds, 0) / 22) ** 2)
            d = rounded_rect_distance(x + 0.5, y + 0.5, *card, radius)
            coverage = max(0.0, min(1.0, 0.5 - d))
            if coverage > 0:
                paint(c, x, y, body, coverage)
                # A faint ring in the upper right corner of the card.
                ring = abs(math.hypot(x - 492, y - 52) - 96)
                paint(c, x, y, (255, 255, 255), coverage * 0.16 * max(0.0, min(1.0, 8 - ring)))
    white = (255, 255, 255)
    # An envelope.
    ex0, ey0, ex1, ey1 = 64, 146, 184, 226
    for a, b in (((ex0, ey0), (ex1, ey0)), ((ex1, ey0), (ex1, ey1)), ((ex1, ey1), (ex0, ey1)),
                 ((ex0, ey1), (ex0, ey0)), ((ex0, ey0), ((ex0 + ex1) / 2, 192)), ((ex1, ey0), ((ex0 + ex1) / 2, 192))):
        line(c, a[0], a[1], b[0], b[1], 5, white, 1.0)
    title, subtitle = "Kelvora", "HTML NEWSLETTERS"
    text(c, 210, 142, title, 7, 7, white)
    text(c, 210 + (text_width(title, 7, 7) - text_width(subtitle, 3, 3)) // 2, 212, subtitle, 3, 3, white, 0.8)
    # A thin start-up bar near the bottom edge.
    line(c, 64, 318, 486, 318, 4, white, 0.3)
    line(c, 64, 318, 250, 318, 4, white, 0.95)
    c.save(os.path.join(RES, "images", "322.png"))


def save_bmp(canvas, path, background):
    """A 24-bit bottom-up Windows bitmap; transparent pixels get the background colour."""
    row_bytes = (canvas.width * 3 + 3) & ~3
    rows = []
    for y in range(canvas.height - 1, -1, -1):
        row = bytearray()
        for x in range(canvas.width):
            r, g, b, a = canvas.pixels[y][x]
            if a == 0:
                r, g, b = background
            row += bytes((b, g, r))
        rows.append(bytes(row) + b"\0" * (row_bytes - len(row)))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def organizer_images():
    """279: the organiser's item images, five of 24 x 20 in one strip on magenta: newsletter,
    open folder, folder, mailing list, recent document."""
    c = Canvas(120, 20)
    paper, edge, ink = rgba("#F7F9FB"), rgba("#7D8894"), rgba("#2E6DB4")
    folder, folder_dark = rgba("#E8C36A"), rgba("#B8913A")

    def document(x0, band):
        c.rect(x0 + 6, 1, x0 + 18, 19, edge)
        c.rect(x0 + 7, 2, x0 + 17, 18, paper)
        c.rect(x0 + 7, 2, x0 + 17, 6, band)
        for y in (8, 11, 14):
            c.rect(x0 + 9, y, x0 + 15, y + 1, edge)

    document(0, ink)
    for i, opened in ((1, True), (2, False)):
        x0 = i * 24 + 3
        c.rect(x0, 3, x0 + 8, 5, folder_dark)
        c.rect(x0, 5, x0 + 18, 17, folder_dark)
        if opened:
            for y in range(8, 17):
                c.rect(x0 + 2 + (16 - y) // 3, y, x0 + 21 - (17 - y) // 3, y + 1, folder)
        else:
            c.rect(x0 + 1, 6, x0 + 17, 16, folder)
    x0 = 3 * 24
    for dx, color in ((3, "#5B9BD5"), (11, "#2E6DB4")):
        head = rgba(color)
        c.rect(x0 + dx + 3, 3, x0 + dx + 8, 8, head)
        c.rect(x0 + dx + 1, 10, x0 + dx + 10, 17, head)
    document(4 * 24, rgba("#8E6BBF"))
    c.rect(4 * 24 + 13, 11, 4 * 24 + 22, 20, rgba("#4CAF50"))
    c.rect(4 * 24 + 17, 12, 4 * 24 + 18, 16, paper)
    c.rect(4 * 24 + 17, 15, 4 * 24 + 21, 16, paper)
    save_bmp(c, os.path.join(RES, "images", "279.bmp"), (255, 0, 255))


ARROW = [
    "#", "##", "#.#", "#..#", "#...#", "#....#", "#.....#", "#......#", "#.......#", "#........#",
    "#.....#####", "#..#..#", "#.# #..#", "##  #..#", "#    #..#", "     #..#", "      ##",
]


def cursors():
    """The drag cursors, 32 x 32 with the hot spot at the arrow's tip in the top-left pixel:
    IDC_DRAGMOVE (an arrow carrying a box) and IDC_DRAGNODROP (an arrow with a no-entry sign)."""
    black, white = rgba("#000000"), rgba("#FFFFFF")
    for name in ("IDC_DRAGMOVE", "IDC_DRAGNODROP"):
        c = Canvas(32, 32)
        for y, row in enumerate(ARROW):
            for x, cell in enumerate(row):
                if cell == "#":
                    c.put(x, y, black)
                elif cell == ".":
                    c.put(x, y, white)
        if name == "IDC_DRAGMOVE":
            c.rect(12, 18, 27, 29, white)
            for x in range(12, 27):
                if x % 2 == 0:
                    c.put(x, 18, black)
                    c.put(x, 28, black)
            for y in range(18, 29):
                if y % 2 == 0:
                    c.put(12, y, black)
                    c.put(26, y, black)
        else:
            red = (200, 30, 30)
            for y in range(14, 32):
                for x in range(12, 30):
                    d = math.hypot(x + 0.5 - 21, y + 0.5 - 23)
                    ring = max(0.0, min(1.0, 2.0 - abs(d - 7) + 0.5))
                    u = ((x + 0.5 - 21) + (y + 0.5 - 23)) / math.sqrt(2)
                    bar = max(0.0, min(1.0, 2.0 - abs(u) + 0.5)) if d < 7 else 0.0
                    inside = 1.0 if d < 7 else 0.0
                    paint(c, x, y, (255, 255, 255), inside)
                    paint(c, x, y, red, max(ring, bar))
        c.save(os.path.join(RES, "cursors", name + ".png"))


if __name__ == "__main__":
    os.makedirs(os.path.join(RES, "cursors"), exist_ok=True)
    splash()
    organizer_images()
    cursors()
