"""The twelve PNG skin images: six caption-button glyphs, two check-box marks
and four arrows. Usage: skin_images.py OUT_DIR  (writes NAME.png for each)."""

import os
import sys

import pngfile
import raster as R

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
EDGE_STRONG = (0x0B, 0x10, 0x14)   # the glyph edge next to the glyph
EDGE_SOFT = (0x5B, 0x64, 0x6B)     # the glyph edge at its corners
GLYPH_BOTTOM = (0xE3, 0xE7, 0xEA)  # the glyph's bottom row greys slightly
CAPTION_HEIGHT = 18


def ramp(start, end, steps, index):
    """Linear fall from start to end over steps values, index 0 .. steps-1."""
    return start + (end - start) * index / float(steps - 1)


def caption_band(c, top, first, left_column, right_column):
    """The faint white band behind a caption glyph. top: alpha of row 0;
    first: alpha of row 1 (or None when the whole band falls from top), both
    falling to 1 on the bottom row. left_column: a brighter left column
    falling from 58; right_column: a darker right column falling from 30."""
    h = c.height
    for y in range(h):
        if first is None:
            a = ramp(top, 1, h, y)
        else:
            a = top if y == 0 else ramp(first, 1, h - 1, y - 1)
        for x in range(c.width):
            c.px[y][x] = (255.0, 255.0, 255.0, round(a) / 255.0)
        if left_column and y > 0:
            c.px[y][0] = (255.0, 255.0, 255.0, round(ramp(58, 1, h - 1, y - 1)) / 255.0)
        if right_column:
            c.px[y][c.width - 1] = (0.0, 0.0, 0.0, round(ramp(30, 2, h, y)) / 255.0)


def glyph(c, cover, rows):
    """A white glyph with a soft dark edge round it. cover: its coverage grid;
    rows: (first, last) glyph rows, over which it greys toward the bottom."""
    w, h = c.width, c.height
    edge = [[0.0] * w for _ in range(h)]
    soft = [[0.0] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            near = corner = 0.0
            for dy in (-1, 0, 1):
                for dx in (-1, 0, 1):
                    yy, xx = y + dy, x + dx
                    if (dx or dy) and 0 <= yy < h and 0 <= xx < w:
                        if dx == 0 or dy == 0:
                            near = max(near, cover[yy][xx])
                        else:
                            corner = max(corner, cover[yy][xx])
            free = 1.0 - cover[y][x]
            edge[y][x] = near * free * 0.55
            soft[y][x] = corner * free * (1.0 - near) * 0.40
    c.paint(soft, EDGE_SOFT)
    c.paint(edge, EDGE_STRONG)
    y0, y1 = rows

    def fill(x, y):
        t = 0.0 if y1 == y0 else max(0.0, min(1.0, (y - y0) / float(y1 - y0)))
        return tuple(WHITE[k] + (GLYPH_BOTTOM[k] - WHITE[k]) * t for k in range(3))
    c.paint(cover, fill)


def frame(x0, y0, x1, y1, title=2):
    """A window frame outline: 1-px sides, a title bar `title` rows thick."""
    return R.minus(R.rect(x0, y0, x1, y1), R.rect(x0 + 1, y0 + title, x1 - 1, y1 - 1))


def caption_image(width, shape, rows, top, first, left_column=True, right_column=False):
    c = R.Canvas(width, CAPTION_HEIGHT)
    caption_band(c, top, first, left_column, right_column)
    glyph(c, R.coverage(width, CAPTION_HEIGHT, shape), rows)
    return c


def minimize():
    return caption_image(26, R.rect(9, 11, 18, 12), (11, 12), 80, 29)


def maximize():
    return caption_image(26, frame(8, 5, 17, 12), (5, 12), 80, 29)


def restore():
    back = R.minus(frame(10, 5, 19, 10, title=1), R.rect(8, 7, 17, 12))
    return caption_image(26, R.union(back, frame(8, 7, 17, 12)), (5, 12), 80, 29)


def close():
    cross = R.union(R.segment(14.9, 5.9, 22.1, 12.1, 1.02), R.segment(22.1, 5.9, 14.9, 12.1, 1.02))
    return caption_image(38, cross, (5, 12), 80, 29, right_column=True)


QUESTION = [".###.",
            "#...#",
            "....#",
            "...#.",
            "..#..",
            ".....",
            "..#.."]


def help_():
    bubble = R.union(R.ellipse(13.5, 7.3, 6.5, 4.4),
                     R.polygon([(8.6, 9.6), (12.6, 10.6), (8.0, 14.6)]))
    c = caption_image(26, bubble, (3, 13), 57, None, left_column=False)
    # The grey question mark inside the white bubble.
    mark = [[1.0 if 4 <= y <= 10 and 11 <= x <= 15 and QUESTION[y - 4][x - 11] == "#" else 0.0
             for x in range(26)] for y in range(CAPTION_HEIGHT)]
    c.paint(mark, (0x6A, 0x73, 0x7B))
    return c


def menu():
    shape = R.union(frame(9, 4, 18, 12),
                    R.rect(11, 7, 15, 7), R.rect(11, 9, 14, 9),   # two list lines
                    R.rect(16, 10, 17, 11))                       # the corner mark
    return caption_image(26, shape, (4, 12), 44, None, left_column=False)


# The face inside the ring: one colour per diagonal, indexed by column +
# row counted inside the ring (0 .. 20), darkest at the top left. The steps
# are uneven (the last ones crowd together), so they are listed, not
# interpolated.
CHECK_FACE = [
    (0xDE, 0xDF, 0xD6), (0xE0, 0xE0, 0xD8), (0xE2, 0xE2, 0xDA), (0xE4, 0xE4, 0xDC),
    (0xE7, 0xE6, 0xDF), (0xE9, 0xE8, 0xE1), (0xEB, 0xE9, 0xE3), (0xED, 0xEB, 0xE5),
    (0xF0, 0xED, 0xE8), (0xF2, 0xEF, 0xEA), (0xF4, 0xF1, 0xEC), (0xF7, 0xF3, 0xEF),
    (0xF7, 0xF4, 0xF0), (0xF8, 0xF5, 0xF1), (0xF9, 0xF6, 0xF3), (0xF9, 0xF7, 0xF4),
    (0xFA, 0xF8, 0xF6), (0xFB, 0xF9, 0xF7), (0xFC, 0xFA, 0xF9), (0xFC, 0xFB, 0xFA),
    (0xFD, 0xFC, 0xFC),
]
CHECK_RING = (3, 3, 3, 230)
CHECK_RING_CHECKED = (0x18, 0x51, 0x84, 255)
# The tick, pixel for pixel and without anti-aliasing: row -> (first, last)
# column runs, in the picture's own coordinates.
CHECK_TICK = {
    3: [(9, 9)],
    4: [(8, 9)],
    5: [(3, 3), (7, 9)],
    6: [(3, 4), (6, 8)],
    7: [(3, 7)],
    8: [(4, 6)],
    9: [(5, 5)],
}
CHECK_TICK_COLOUR = (0x24, 0x6E, 0x75)


def check_box(checked):
    c = R.Canvas(13, 13)
    ring = CHECK_RING_CHECKED if checked else CHECK_RING
    for y in range(13):
        for x in range(13):
            if x in (0, 12) or y in (0, 12):
                c.px[y][x] = (float(ring[0]), float(ring[1]), float(ring[2]), ring[3] / 255.0)
            else:
                r, g, b = CHECK_FACE[(x - 1) + (y - 1)]
                c.px[y][x] = (float(r), float(g), float(b), 1.0)
    if checked:
        for y, runs in CHECK_TICK.items():
            for first, last in runs:
                for x in range(first, last + 1):
                    c.px[y][x] = tuple(float(v) for v in CHECK_TICK_COLOUR) + (1.0,)
    return c


def arrow(direction):
    """A crisp black triangle: down and up 7 x 4, left and right 4 x 7."""
    if direction in ("down", "up"):
        c = R.Canvas(7, 4)
        for k in range(4):
            y = k if direction == "down" else 3 - k
            for x in range(k, 7 - k):
                c.px[y][x] = (0.0, 0.0, 0.0, 1.0)
    else:
        c = R.Canvas(4, 7)
        for k in range(4):
            x = k if direction == "right" else 3 - k
            for y in range(k, 7 - k):
                c.px[y][x] = (0.0, 0.0, 0.0, 1.0)
    return c


# name -> (drawing, carries the ICC profile)
IMAGES = {
    "HelpButtonImage": (help_, True),
    "MenuButtonImage": (menu, True),
    "MinimizeButtonImage": (minimize, True),
    "MaximizeButtonImage": (maximize, True),
    "RestoreButtonImage": (restore, True),
    "CloseButtonImage": (close, True),
    "CheckBoxUncheckedImage": (lambda: check_box(False), True),
    "CheckBoxCheckedImage": (lambda: check_box(True), True),
    "ArrowDownImage": (lambda: arrow("down"), False),
    "ArrowUpImage": (lambda: arrow("up"), False),
    "ArrowLeftImage": (lambda: arrow("left"), False),
    "ArrowRightImage": (lambda: arrow("right"), False),
}


def main():
    out_dir = sys.argv[1]
    for name, (draw, profile) in IMAGES.items():
        c = draw()
        data = pngfile.png_bytes(c.width, c.height, c.rows8(), profile)
        with open(os.path.join(out_dir, name + ".png"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
