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

    def disc(self, cx, cy, radius, color):
        """A filled circle, its edge softened by how much of each pixel it covers."""
        for y in range(self.height):
            for x in range(self.width):
                inside = 0
                for sy in range(4):
                    for sx in range(4):
                        dx = x + (sx + 0.5) / 4 - cx
                        dy = y + (sy + 0.5) / 4 - cy
                        inside += dx * dx + dy * dy <= radius * radius
                if inside:
                    self.put(x, y, color[:3] + (round(color[3] * inside / 16),))

    def save(self, name, folder=None):
        raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in self.pixels)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
        with open(os.path.join(folder or OUT, name), "wb") as f:
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


def tree_icons():
    """255: the tree's icons, five of 34 x 19 side by side: newsletter, open folder, closed folder,
    mailing list, recent document."""
    c = Canvas(170, 19)
    folder, folder_dark, paper, line = rgba("#E8C36A"), rgba("#B8913A"), rgba("#F4F6F8"), rgba("#8A96A3")
    for i in (2, 1):
        x0 = i * 34 + 9
        c.rect(x0, 4, x0 + 7, 6, folder_dark)
        c.rect(x0, 6, x0 + 16, 16, folder_dark)
        if i == 2:
            c.rect(x0 + 1, 7, x0 + 15, 15, folder)
        else:
            for y in range(8, 16):
                shift = (15 - y) // 2
                c.rect(x0 + 2 + shift, y, x0 + 18 - (16 - y) // 3, y + 1, folder)
    for i in (0, 4):
        x0 = i * 34 + 11
        c.rect(x0, 2, x0 + 12, 17, line)
        c.rect(x0 + 1, 3, x0 + 11, 16, paper)
        for y in (6, 9, 12):
            c.rect(x0 + 3, y, x0 + 9, y + 1, line)
    c.rect(4 * 34 + 17, 10, 4 * 34 + 25, 18, rgba("#5B9BD5"))
    c.rect(4 * 34 + 20, 11, 4 * 34 + 21, 15, paper)
    c.rect(4 * 34 + 20, 14, 4 * 34 + 24, 15, paper)
    x0 = 3 * 34 + 9
    for dx, color in ((0, "#7FB2E0"), (7, "#A9CDEE")):
        c.rect(x0 + dx + 2, 3, x0 + dx + 7, 8, rgba(color))
        c.rect(x0 + dx, 9, x0 + dx + 9, 16, rgba(color))
    c.save("255.png")


def scroll_bar_parts():
    """295 and 291: the thin scroll bar's arrows, frames of 9 x 9; 293: its thumb, frames of 9 x 20."""
    looks = ["#8F8784", "#B5AFAC", "#D8D3D0", "#5E5652"]
    for name, up in (("295.png", True), ("291.png", False)):
        c = Canvas(9, 36)
        for frame, color in enumerate(looks):
            y0 = frame * 9
            for i in range(4):
                y = y0 + (2 + i if up else 6 - i)
                c.rect(4 - i, y, 5 + i, y + 1, rgba(color))
        c.save(name)
    c = Canvas(9, 80)
    for frame, color in enumerate(looks):
        y0 = frame * 20
        c.rect(1, y0, 8, y0 + 20, rgba(color))
        c.rect(2, y0 + 1, 7, y0 + 19, rgba(color))
    c.save("293.png")


def tree_panel_parts():
    """287: the tree panel's footer, 215 x 23; 281: its resize grip, 50 x 4; 247: the panel's
    command buttons, frames of 227 x 24."""
    c = Canvas(215, 23)
    c.vgradient(0, 0, 215, 23, rgba("#858893"), rgba("#5C5F69"))
    c.rect(0, 0, 215, 1, rgba("#4A4F59"))
    c.save("287.png")
    c = Canvas(50, 4)
    for x in range(1, 50, 3):
        c.rect(x, 0, x + 2, 2, rgba("#2F333B"))
        c.rect(x, 2, x + 2, 3, rgba("#A3A7B0"))
    c.save("281.png")
    looks = [("#5A5F6A", "#4A4F59"), ("#6C7585", "#58606E"), ("#3A404B", "#4C5260"), ("#50545C", "#50545C")]
    c = Canvas(227, 96)
    for frame, (top, bottom) in enumerate(looks):
        y0 = frame * 24
        c.vgradient(0, y0, 227, y0 + 24, rgba(top), rgba(bottom))
        c.rect(0, y0 + 23, 227, y0 + 24, rgba("#363A42"))
    c.save("247.png")


def list_cells():
    """307: the list's row icons, eight of 19 x 20; 308: its check box, unticked and ticked, 19 x 20."""
    colors = ["#9AA5B1", "#4CAF50", "#F2A93B", "#E05545", "#5B9BD5", "#8E6BBF", "#3BB2B8", "#6B7682"]
    c = Canvas(152, 20)
    for i, color in enumerate(colors):
        x0 = i * 19
        c.rect(x0 + 5, 5, x0 + 14, 15, rgba(color))
        c.rect(x0 + 4, 6, x0 + 15, 14, rgba(color))
        c.rect(x0 + 7, 8, x0 + 12, 9, rgba("#FFFFFF"))
        c.rect(x0 + 7, 11, x0 + 12, 12, rgba("#FFFFFF"))
    c.save("307.png")
    c = Canvas(38, 20)
    for frame in range(2):
        x0 = frame * 19
        c.rect(x0 + 4, 4, x0 + 15, 15, rgba("#6F7B88"))
        c.rect(x0 + 5, 5, x0 + 14, 14, rgba("#FFFFFF"))
    tick = rgba("#2E6DB4")
    for i, y in enumerate((10, 11, 12, 11, 10, 9, 8, 7)):
        c.rect(19 + 6 + i, y - 1, 19 + 7 + i, y + 1, tick)
    c.save("308.png")


# 12 x 12 glyphs of the toolbar buttons: "#" ink, "+" accent, "." empty.
GLYPHS = {
    "help": ["...####....", "..##..##...", "......##...", ".....##....", "....##.....", "....##.....",
             "...........", "....##.....", "....##....."],
    "send": ["############", "#+........+#", "#.+......+.#", "#..+....+..#", "#...+..+...#", "#....++....#",
             "#..........#", "############"],
    "test": ["##########..", "#+......+#..", "#.+....+.#..", "#..+..+..#.#", "#...++...##.", "#........#..",
             "#######.##..", "........#..."],
    "pencil": ["........##..", ".......#++#.", "......#++#..", ".....#++#...", "....#++#....", "...#++#.....",
               "..#++#......", "..###.......", "..#........."],
    "gear": ["....##....", ".#.####.#.", "..######..", ".###..###.", "###....###", "###....###", ".###..###.",
             "..######..", ".#.####.#.", "....##...."],
    "link": ["......###...", ".....#...#..", "....#..#.#..", "...#..#.#...", "..#.#..#....", ".#.#..#.....",
             ".#...#......", "..###......."],
    "image": ["############", "#..........#", "#.++.......#", "#.++...#...#", "#.....###..#", "#..#.#####.#",
              "#.#########.", "############"],
    "palette": ["...####....", ".##....##..", "#.++..##..#", "#.++..##..#", "#........#.", "#.##...##..",
                "#.##..#+#..", ".##...##...", "..######..."],
    "table": ["###########", "#...#...#.#", "###########", "#...#...#.#", "###########", "#...#...#.#",
              "###########"],
    "box": ["##########", "#........#", "#.++++++.#", "#.+....+.#", "#.+....+.#", "#.++++++.#", "#........#",
            "##########"],
    "rule": ["............", "............", "############", "############", "............", "............"],
    "outdent": ["##########", "..........", "...#######", "+..#######", "++........", "+..#######", "...#######",
                "..........", "##########"],
    "indent": ["##########", "..........", "...#######", ".+.#######", ".++.......", ".+.#######", "...#######",
               "..........", "##########"],
    "olist": ["+...#######", "+..........", "+...#######", "...........", "+...#######", ".+.........",
              "+...#######", "...........", "++..#######"],
    "ulist": ["++..#######", "++.........", "...........", "++..#######", "++.........", "...........",
              "++..#######", "++........."],
    "textcolor": ["....##....", "...####...", "..##..##..", "..##..##..", ".########.", ".##....##.",
                  "##......##"],
    "fill": ["...##.....", "..#..#....", ".#....#...", "#......#..", ".#....#+..", "..#..#.++.", "...##..++."],
    "save": ["#########.", "#.+++++.##", "#.+++++..#", "#.......##", "#..####..#", "#..#.##..#", "#..#.##..#",
             "##########"],
    "cancel": ["##......##", ".##....##.", "..##..##..", "...####...", "....##....", "...####...", "..##..##..",
               ".##....##.", "##......##"],
    "spam": ["....##....", "..######..", "#########.", "#+######+#", "#######.##", "#.#####.##", ".##.#.###.",
             "..#####...", "....##...."],
    "styles": ["..+######", ".+#.....", ".#......", "..####..", "......#.", ".....#..", "######.."],
    "bold": ["######..", "##...##.", "##...##.", "######..", "##....##", "##....##", "#######."],
    "italic": ["...####", "....##.", "...##..", "...##..", "..##...", "..##...", "####..."],
    "left": ["##########", "..........", "#######...", "..........", "##########", "..........", "######...."],
    "center": ["##########", "..........", ".########.", "..........", "##########", "..........", "..######.."],
    "right": ["##########", "..........", "...#######", "..........", "##########", "..........", "....######"],
    "justify": ["##########", "..........", "##########", "..........", "##########", "..........", "##########"],
    "back": ["....#.....", "...##.....", "..#+######", ".#++++++++", "..#+######", "...##.....", "....#....."],
    "forward": [".....#....", ".....##...", "######+#..", "++++++++#.", "######+#..", ".....##...", ".....#...."],
    "home": ["....##....", "...####...", "..######..", ".########.", "##########", ".#......#.", ".#.++...#.",
             ".#.++...#.", ".########."],
    "search": ["..####....", ".#....#...", "#......#..", "#......#..", "#......#..", ".#....#...", "..####+...",
               ".......++.", "........++"],
    "overview": ["#.........", "#.......++", "#...++..++", "#...++..++", "#++.++..++", "#++.++..++", "##########"],
    "tracking": ["#.........", "#......+..", "#.....+.+.", "#..+.+...+", "#.+.+.....", "#+........",
                 "##########"],
    "add": ["...##.....", "..####....", "..####..+.", "...##..+++", ".######.+.", "########..", "########.."],
    "delete": ["...##.....", "..####....", "..####.+.+", "...##...+.", ".######+.+", "########..", "########.."],
    "import": ["....++....", "....++....", "..++++++..", "...++++...", "#...++...#", "#........#", "##########"],
    "update": ["...####...", "..#....#+.", ".#......++", "#.....++++", "++++.....#", "++......#.", ".+#....#..",
               "...####..."],
}


def glyph(canvas, x0, y0, width, height, rows, ink, accent):
    gw = max(len(r) for r in rows)
    gx = x0 + (width - gw) // 2
    gy = y0 + (height - len(rows)) // 2
    for dy, row in enumerate(rows):
        for dx, ch in enumerate(row):
            if ch == "#":
                canvas.put(gx + dx, gy + dy, ink)
            elif ch == "+":
                canvas.put(gx + dx, gy + dy, accent)


INKS = ["#2D3A48", "#1F4F7D", "#1B3F63", "#A7ADB4"]


def toolbar_buttons():
    """The toolbars' picture buttons (24 x 96), text-button icons (20 x 96), the divider (13 x 96)
    and the drop-down arrow next to the colour swatches (12 x 96)."""
    pictures = {
        140: ("help", "#2E6DB4"), 147: ("link", "#2E6DB4"), 156: ("image", "#4CAF50"), 337: ("palette", "#E05545"),
        161: ("table", "#2E6DB4"), 153: ("box", "#F2A93B"), 167: ("rule", "#2E6DB4"), 160: ("outdent", "#2E6DB4"),
        157: ("indent", "#2E6DB4"), 159: ("olist", "#2E6DB4"), 163: ("ulist", "#2E6DB4"),
        162: ("textcolor", "#E05545"), 154: ("fill", "#2E6DB4"), 277: ("styles", "#8E6BBF"),
        152: ("bold", "#2E6DB4"), 158: ("italic", "#2E6DB4"), 150: ("left", "#2E6DB4"), 148: ("center", "#2E6DB4"),
        151: ("right", "#2E6DB4"), 149: ("justify", "#2E6DB4"), 327: ("back", "#4CAF50"),
        328: ("forward", "#4CAF50"), 329: ("home", "#E05545"), 330: ("search", "#8E6BBF"),
    }
    for image_id, (name, accent) in pictures.items():
        c = Canvas(24, 96)
        for frame in range(4):
            face(c, 0, frame * 24, 24, frame * 24 + 24, frame)
            glyph(c, 0, frame * 24, 24, 24, GLYPHS[name], rgba(INKS[frame]),
                  rgba(INKS[3] if frame == 3 else accent))
        c.save("%d.png" % image_id)
    icons = {
        144: ("pencil", "#F2A93B"), 145: ("gear", "#2E6DB4"), 142: ("test", "#4CAF50"), 141: ("send", "#2E6DB4"),
        165: ("save", "#2E6DB4"), 164: ("cancel", "#E05545"), 138: ("spam", "#4CAF50"),
        335: ("overview", "#2E6DB4"), 336: ("tracking", "#E05545"), 331: ("add", "#4CAF50"),
        333: ("pencil", "#F2A93B"), 332: ("delete", "#E05545"), 334: ("import", "#2E6DB4"),
        349: ("gear", "#8E6BBF"), 348: ("update", "#4CAF50"),
    }
    for image_id, (name, accent) in icons.items():
        c = Canvas(20, 96)
        for frame in range(4):
            glyph(c, 2, frame * 24, 20, 24, GLYPHS[name], rgba(INKS[frame]),
                  rgba(INKS[3] if frame == 3 else accent))
        c.save("%d.png" % image_id)
    c = Canvas(13, 96)
    for frame in range(4):
        c.rect(6, frame * 24 + 3, 7, frame * 24 + 21, rgba("#ADAAA9"))
        c.rect(7, frame * 24 + 3, 8, frame * 24 + 21, rgba("#FFFFFF", 160))
    c.save("347.png")
    c = Canvas(12, 96)
    for frame in range(4):
        face(c, 0, frame * 24, 12, frame * 24 + 24, frame)
        for i in range(4):
            c.rect(2 + i, frame * 24 + 10 + i, 10 - i, frame * 24 + 11 + i, rgba(INKS[frame]))
    c.save("274.png")


# 5 x 7 capitals for the words drawn into pictures.
LETTERS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."],
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    " ": ["...", "...", "...", "...", "...", "...", "..."],
}


def word(canvas, x, y, text, color):
    for letter in text:
        rows = LETTERS[letter]
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch == "#":
                    canvas.put(x + dx, y + dy, color)
        x += len(rows[0]) + 1


def navigation_parts():
    """285 and 283: the headers of the newsletter and mailing-list groups, 215 x 32, with an icon
    and the group's title; 254/249 and 251/253: the groups' Create and Organize icons (20 x 96,
    light ink for the dark buttons); 226 and 227: the light and the dark rounded corner (12 x 12)
    of the document views' panels."""
    for name, title, icon in (("285.png", "NEWSLETTERS", "newsletter"), ("283.png", "MAILING LISTS", "list")):
        c = Canvas(215, 32)
        c.vgradient(0, 0, 215, 32, rgba("#8C919C"), rgba("#5A5F6A"))
        c.rect(0, 31, 215, 32, rgba("#3E434D"))
        if icon == "newsletter":
            c.rect(10, 7, 24, 25, rgba("#E8ECF1"))
            for y in (11, 15, 19):
                c.rect(12, y, 22, y + 1, rgba("#5B6472"))
        else:
            for dx, color in ((0, "#7FB2E0"), (8, "#A9CDEE")):
                c.rect(10 + dx + 2, 8, 10 + dx + 7, 13, rgba(color))
                c.rect(10 + dx, 14, 10 + dx + 10, 23, rgba(color))
        word(c, 34, 13, title, rgba("#FFFFFF"))
        c.save(name)
    inks = ["#E9EDF2", "#FFFFFF", "#C9D2DC", "#7D838C"]
    icons = {254: ("add", "#8FD694"), 249: ("folder", "#F2C766"), 251: ("add", "#8FD694"), 253: ("folder", "#F2C766")}
    folder_glyph = ["####......", "#..######.", "#++++++++#", "#++++++++#", "#++++++++#", "#++++++++#", "##########"]
    for image_id, (name, accent) in icons.items():
        c = Canvas(20, 96)
        rows = folder_glyph if name == "folder" else GLYPHS[name]
        for frame in range(4):
            glyph(c, 2, frame * 24, 20, 24, rows, rgba(inks[frame]), rgba(inks[3] if frame == 3 else accent))
        c.save("%d.png" % image_id)
    for name, color in (("226.png", "#E1E3E6"), ("227.png", "#575B63")):
        c = Canvas(12, 12)
        c.disc(6, 6, 6, rgba(color))
        c.save(name)


def program_icon():
    """icons/128.png: the program's icon, 48 x 48: a letter on a blue rounded square."""
    c = Canvas(48, 48)
    blue = rgba("#2E6DB4")
    for cx, cy in ((8, 8), (40, 8), (8, 40), (40, 40)):
        c.disc(cx, cy, 8, blue)
    c.rect(8, 0, 40, 48, blue)
    c.rect(0, 8, 48, 40, blue)
    paper, line = rgba("#FFFFFF"), rgba("#9CB8D8")
    c.rect(9, 14, 39, 35, paper)
    for i in range(15):
        c.put(9 + i, 14 + i * 2 // 3, line)
        c.put(38 - i, 14 + i * 2 // 3, line)
    c.rect(9, 34, 39, 35, line)
    c.save("128.png", os.path.join(OUT, "..", "icons"))


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    text_button_background()
    list_header()
    splitter_grip()
    tab_strip()
    tree_icons()
    scroll_bar_parts()
    tree_panel_parts()
    list_cells()
    toolbar_buttons()
    navigation_parts()
    program_icon()
