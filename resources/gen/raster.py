"""A tiny supersampling rasteriser for the carried icon and skin glyphs:
shapes are point tests, a pixel's coverage is the share of its sub-samples
inside, and layers are composited with straight (non-premultiplied) alpha."""

import math

SUB = 6  # sub-samples per pixel side


def coverage(width, height, inside):
    """Per-pixel coverage 0..1 of the point test inside(x, y) (pixel units,
    pixel (i, j) spans [i, i+1) x [j, j+1))."""
    grid = []
    offs = [(k + 0.5) / SUB for k in range(SUB)]
    for j in range(height):
        row = []
        for i in range(width):
            n = 0
            for dy in offs:
                for dx in offs:
                    if inside(i + dx, j + dy):
                        n += 1
            row.append(n / (SUB * SUB))
        grid.append(row)
    return grid


def over(dst, src):
    """src over dst, both (r, g, b, a) with a in 0..1 and straight colour."""
    sr, sg, sb, sa = src
    dr, dg, db, da = dst
    a = sa + da * (1.0 - sa)
    if a <= 0.0:
        return (0.0, 0.0, 0.0, 0.0)
    k = da * (1.0 - sa)
    return ((sr * sa + dr * k) / a, (sg * sa + dg * k) / a, (sb * sa + db * k) / a, a)


class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.px = [[(0.0, 0.0, 0.0, 0.0) for _ in range(width)] for _ in range(height)]

    def paint(self, cover, colour, alpha=1.0):
        """Paints colour (an (r, g, b) tuple or a function (x, y) -> (r, g, b))
        through a coverage grid."""
        for j in range(self.height):
            for i in range(self.width):
                c = cover[j][i] * alpha
                if c <= 0.0:
                    continue
                rgb = colour(i, j) if callable(colour) else colour
                self.px[j][i] = over(self.px[j][i], (rgb[0], rgb[1], rgb[2], min(1.0, c)))

    def fill(self, inside, colour, alpha=1.0):
        self.paint(coverage(self.width, self.height, inside), colour, alpha)

    def rows8(self):
        """Rows of (r, g, b, a) ints 0..255."""
        return [[(int(round(p[0])), int(round(p[1])), int(round(p[2])), int(round(p[3] * 255)))
                 for p in row] for row in self.px]


# ---- point tests -----------------------------------------------------------

def ellipse(cx, cy, rx, ry, angle=0.0):
    ca, sa = math.cos(angle), math.sin(angle)

    def inside(x, y):
        dx, dy = x - cx, y - cy
        u = dx * ca + dy * sa
        v = -dx * sa + dy * ca
        return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        n = len(points)
        for k in range(n):
            x1, y1 = points[k]
            x2, y2 = points[(k + 1) % n]
            if (y1 > y) != (y2 > y) and x < (x2 - x1) * (y - y1) / (y2 - y1) + x1:
                hit = not hit
        return hit
    return inside


def segment(x1, y1, x2, y2, half_width):
    """A stroke with round caps from (x1, y1) to (x2, y2)."""
    dx, dy = x2 - x1, y2 - y1
    ll = dx * dx + dy * dy

    def inside(x, y):
        t = 0.0 if ll == 0 else max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / ll))
        px, py = x1 + t * dx - x, y1 + t * dy - y
        return px * px + py * py <= half_width * half_width
    return inside


def union(*tests):
    return lambda x, y: any(t(x, y) for t in tests)


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


def rect(x0, y0, x1, y1):
    """Whole pixels x0..x1, y0..y1 inclusive."""
    return lambda x, y: x0 <= x < x1 + 1 and y0 <= y < y1 + 1
