"""The window's background picture: a 624 x 447 32-bpp BMP of rainbow-tinted
brushed metal whose streaks run from the bottom left to the top right.

Deterministic (a fixed-seed generator of our own), standard library only.
Usage: background.py OUT.bmp
"""

import math
import struct
import sys

WIDTH, HEIGHT = 624, 447
PIXELS_PER_METRE = 3779


class Lcg:
    """A small fixed generator, so the picture never depends on Python's."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state / 4294967296.0


def smooth_noise(rng, length, period, amplitude):
    """1-D value noise: random knots every `period` samples, cosine-eased."""
    knots = [rng.next() * 2.0 - 1.0 for _ in range(length // period + 3)]
    out = []
    for i in range(length):
        k, f = divmod(i / period, 1.0)
        k = int(k)
        f = (1.0 - math.cos(f * math.pi)) * 0.5
        out.append((knots[k] * (1.0 - f) + knots[k + 1] * f) * amplitude)
    return out


# Colour anchors (x, y in 0..1 of the picture, top left origin), blended with
# gaussian weights: the hue flows from warm on the left through magenta and
# violet in the middle to cyan at the top right and teal / deep blue at the
# bottom right.
ANCHORS = [
    (0.00, 0.08, (246, 196, 52)),    # yellow
    (0.10, 0.42, (244, 150, 36)),    # golden orange
    (0.02, 0.92, (232, 98, 34)),     # deep orange
    (0.24, 0.78, (226, 72, 92)),     # coral
    (0.30, 0.18, (236, 112, 96)),    # salmon, toward the middle
    (0.46, 0.50, (206, 52, 170)),    # magenta
    (0.50, 0.92, (150, 48, 170)),    # purple
    (0.58, 0.22, (140, 82, 212)),    # violet
    (0.74, 0.06, (70, 146, 226)),    # azure
    (0.97, 0.05, (54, 212, 232)),    # cyan
    (0.94, 0.40, (34, 170, 180)),    # sea
    (0.74, 0.72, (22, 120, 140)),    # teal
    (0.98, 0.98, (14, 30, 92)),      # dark blue
]
SIGMA_X = 0.20
SIGMA_Y = 0.28


def build_pixels():
    rng = Lcg(0x5EED1234)
    diag = WIDTH + HEIGHT                      # streak coordinate s = x + y * W / H
    # Streaks: the brushing is a 1-D signal across the diagonal, built from
    # fine hair lines and wider soft bands, plus a slow change along the
    # stroke so the lines do not look ruled.
    span = int(WIDTH * 2 + 4)
    fine = [rng.next() * 2.0 - 1.0 for _ in range(span)]
    fine = [(fine[i - 1] + 2 * fine[i] + fine[(i + 1) % span]) * 0.25 for i in range(span)]
    bands = smooth_noise(rng, span, 9, 1.0)
    broad = smooth_noise(rng, span, 41, 1.0)
    along = smooth_noise(rng, span, 57, 1.0)

    # Separable gaussian weights of each colour anchor.
    gx = [[math.exp(-((x / (WIDTH - 1) - ax) / SIGMA_X) ** 2) for x in range(WIDTH)]
          for ax, _, _ in ANCHORS]
    gy = [[math.exp(-((y / (HEIGHT - 1) - ay) / SIGMA_Y) ** 2) for y in range(HEIGHT)]
          for _, ay, _ in ANCHORS]
    cols = [c for _, _, c in ANCHORS]
    n = len(ANCHORS)

    ratio = WIDTH / HEIGHT
    half_diag = math.hypot(WIDTH, HEIGHT) / 2.0
    rows = []
    for y in range(HEIGHT):
        gyy = [gy[i][y] for i in range(n)]
        top = 1.0
        if y < 44:                              # a slightly darker title strip, for the white title
            t = y / 44.0
            top = 0.80 + 0.20 * t * t * (3.0 - 2.0 * t)
        row = bytearray(WIDTH * 4)
        for x in range(WIDTH):
            r = g = b = w = 0.0
            for i in range(n):
                k = gx[i][x] * gyy[i]
                c = cols[i]
                r += c[0] * k
                g += c[1] * k
                b += c[2] * k
                w += k
            r /= w
            g /= w
            b /= w
            # Distance across the streaks from the main diagonal, and the
            # position along it.
            s = x + y * ratio
            across = (s - WIDTH) * HEIGHT / math.hypot(WIDTH, HEIGHT)
            length = ((x - WIDTH / 2.0) * WIDTH - (y - HEIGHT / 2.0) * HEIGHT) / (2.0 * half_diag * half_diag)
            si = int(s)
            shade = (1.0 + 0.075 * fine[si] + 0.05 * bands[si] + 0.05 * broad[si]
                     + 0.035 * along[int((length + 1.0) * 280) % span] * bands[si])
            # The white highlight: a soft streak along the diagonal through the
            # middle, strongest at the centre of the picture.
            hl = math.exp(-(across / 60.0) ** 2) * math.exp(-(length / 0.62) ** 2) * 0.78
            hl *= 0.8 + 0.2 * (bands[si] * 0.5 + 0.5)
            grain = (rng.next() - 0.5) * 7.0
            r = (r * shade * (1 - hl) + 255 * hl) * top + grain
            g = (g * shade * (1 - hl) + 250 * hl) * top + grain
            b = (b * shade * (1 - hl) + 255 * hl) * top + grain
            o = x * 4
            row[o] = 0 if b < 0 else 255 if b > 255 else int(b)
            row[o + 1] = 0 if g < 0 else 255 if g > 255 else int(g)
            row[o + 2] = 0 if r < 0 else 255 if r > 255 else int(r)
            # row[o + 3] stays 0: the picture is opaque with no alpha channel.
        rows.append(bytes(row))
    return rows


def bmp_bytes(rows):
    pixel_bytes = b"".join(reversed(rows))     # bottom-up
    image = pixel_bytes + b"\0\0"              # two trailing zero bytes, counted in biSizeImage
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 32, 0, len(image),
                       PIXELS_PER_METRE, PIXELS_PER_METRE, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(image), 0, 0, 14 + len(info))
    return header + info + image


def main():
    data = bmp_bytes(build_pixels())
    assert len(data) == 1115768
    with open(sys.argv[1], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
