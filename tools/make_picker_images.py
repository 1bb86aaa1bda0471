#!/usr/bin/env python3
"""Draws the pictures of the colour pickers into res/ (no packages beyond Python): the popup
grid's close (346), eyedropper (214) and More Colors (217) button strips and the eyedropper
cursor IDC_PICKER. Run it again after changing a look; the files are committed.
"""
import os

from make_images import Canvas, INKS, face, glyph, rgba

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")

CROSS = [
    "#...#",
    ".#.#.",
    "..#..",
    ".#.#.",
    "#...#",
]

# A pipette pointing to the bottom left: "+" is the glass, "#" the outline and the bulb.
PIPETTE = [
    "..........###",
    ".........####",
    "........#####",
    "......######.",
    ".......####..",
    "......#.##...",
    ".....#+#.#...",
    "....#+++#....",
    "...#+++#.....",
    "..#+++#......",
    ".#+++#.......",
    "#++#.........",
    "##...........",
]


def strip(name, width, height, rows=None, accent="#2E6DB4"):
    c = Canvas(width, height * 4)
    for frame in range(4):
        face(c, 0, frame * height, width, frame * height + height, frame)
        if rows:
            glyph(c, 0, frame * height, width, height, rows, rgba(INKS[frame]),
                  rgba(INKS[3] if frame == 3 else accent))
    c.save(os.path.join(RES, "images", name))


def picker_cursor():
    """32 x 32, the hot spot at the pipette's tip in the top-left pixel."""
    c = Canvas(32, 32)
    black, white, glass = rgba("#000000"), rgba("#FFFFFF"), rgba("#9CC8F0")
    for y, row in enumerate(reversed(PIPETTE)):
        for x, cell in enumerate(row):
            if cell == "#":
                c.put(x, y, black)
            elif cell == "+":
                c.put(x, y, glass)
    # A white halo keeps the outline visible on dark pixels.
    for y in range(16):
        for x in range(16):
            if c.pixels[y][x][3] == 0 and any(
                0 <= x + dx < 32 and 0 <= y + dy < 32 and c.pixels[y + dy][x + dx] == black
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))
            ):
                c.put(x, y, white)
    c.save(os.path.join(RES, "cursors", "IDC_PICKER.png"))


if __name__ == "__main__":
    strip("346.png", 15, 15, CROSS, "#E05545")
    strip("214.png", 22, 22, PIPETTE)
    strip("217.png", 24, 22)
    picker_cursor()
