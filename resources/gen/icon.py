"""The program icon: a green parrot with a red beak on a branch, 32 x 32,
32 bpp with alpha, written as a one-image ICO file.
Usage: icon.py OUT.ico [OUT.png for looking at it]"""

import struct
import sys

import raster as R

SIZE = 32


def shade(top, bottom, y0, y1):
    """A vertical gradient colour function."""
    def colour(x, y):
        t = max(0.0, min(1.0, (y - y0) / float(y1 - y0)))
        return tuple(top[k] + (bottom[k] - top[k]) * t for k in range(3))
    return colour


def draw_parrot():
    c = R.Canvas(SIZE, SIZE)
    # Tail, long and tapered, turning blue toward its tip.
    c.fill(R.polygon([(14.5, 19.0), (20.5, 18.5), (29.5, 31.6), (24.0, 31.8)]),
           shade((40, 150, 60), (30, 90, 170), 20, 31))
    # The branch it sits on.
    c.fill(R.segment(1.5, 27.0, 27.0, 24.2, 1.6), shade((150, 98, 50), (100, 62, 30), 24, 29))
    # Body and wing.
    c.fill(R.ellipse(16.0, 16.5, 6.4, 9.2, -0.42), shade((110, 210, 70), (40, 150, 50), 8, 25))
    c.fill(R.ellipse(18.6, 17.8, 4.0, 7.4, -0.40), shade((40, 150, 60), (20, 105, 55), 11, 25))
    c.fill(R.segment(17.0, 15.0, 20.5, 21.5, 0.55), (150, 225, 90), 0.8)   # feather line
    c.fill(R.segment(19.2, 14.0, 22.0, 19.5, 0.45), (20, 90, 45), 0.7)
    # Head, with the bare pale patch round the eye.
    c.fill(R.ellipse(12.6, 9.2, 6.2, 5.9), shade((150, 230, 80), (80, 190, 60), 3, 15))
    c.fill(R.ellipse(10.4, 8.6, 2.7, 2.4), (245, 248, 232))
    c.fill(R.ellipse(10.3, 8.5, 1.35, 1.35), (12, 16, 12))
    c.fill(R.ellipse(9.9, 8.0, 0.45, 0.45), (255, 255, 255))
    # The red hooked beak: upper mandible curving down, darker lower one.
    c.fill(R.polygon([(5.4, 15.2), (7.6, 15.9), (8.4, 14.2), (6.6, 13.6)]), (140, 16, 20))
    c.fill(R.polygon([(8.3, 9.6), (5.6, 9.5), (3.6, 11.0), (2.6, 13.4), (3.0, 15.8),
                      (4.4, 14.1), (6.0, 13.5), (8.6, 13.6)]),
           shade((245, 60, 45), (190, 20, 25), 9, 16))
    c.fill(R.segment(5.6, 10.5, 4.0, 12.5, 0.4), (255, 150, 130), 0.7)     # beak shine
    # Feet gripping the branch.
    c.fill(R.union(R.segment(14.5, 22.5, 14.0, 25.6, 0.75), R.segment(18.0, 22.8, 17.8, 25.2, 0.75)),
           (90, 96, 100))
    return c


def outlined(c):
    """Puts a soft dark outline round the whole silhouette, so the parrot
    reads on light and dark title bars alike."""
    a = [[p[3] for p in row] for row in c.px]
    ring = [[0.0] * SIZE for _ in range(SIZE)]
    for j in range(SIZE):
        for i in range(SIZE):
            best = 0.0
            for dj in (-1, 0, 1):
                for di in (-1, 0, 1):
                    jj, ii = j + dj, i + di
                    if 0 <= jj < SIZE and 0 <= ii < SIZE:
                        w = 1.0 if di == 0 or dj == 0 else 0.6
                        best = max(best, a[jj][ii] * w)
            ring[j][i] = best * 0.8
    out = R.Canvas(SIZE, SIZE)
    out.paint(ring, (16, 48, 22))
    for j in range(SIZE):
        for i in range(SIZE):
            out.px[j][i] = R.over(out.px[j][i], c.px[j][i])
    return out


def ico_bytes(rows):
    """One 32 x 32 32-bpp image: BITMAPINFOHEADER (height doubled for the
    mask), bottom-up BGRA pixels, then the 1-bpp AND mask (set = transparent)."""
    xor = b"".join(bytes(v for (r, g, b, a) in row for v in (b, g, r, a)) for row in reversed(rows))
    mask = bytearray()
    for row in reversed(rows):
        bits = 0
        for i, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (31 - i)
        mask += struct.pack(">I", bits)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + bytes(mask)
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return head + entry + image


def main():
    rows = outlined(draw_parrot()).rows8()
    data = ico_bytes(rows)
    assert len(data) == 4286 and len(data) - 22 == 4264
    with open(sys.argv[1], "wb") as f:
        f.write(data)
    if len(sys.argv) > 2:
        import pngfile
        with open(sys.argv[2], "wb") as f:
            f.write(pngfile.png_bytes(SIZE, SIZE, rows, False))


if __name__ == "__main__":
    main()
