"""PNG writing for the skin images: 8-bit RGBA, our own chunks, our own sRGB
ICC profile. Standard library only."""

import struct
import zlib

# sRGB (IEC 61966-2-1) as published: primaries, D65 white and the tone curve.
SRGB_WHITE = (0.3127, 0.3290)
SRGB_PRIMARIES = ((0.64, 0.33), (0.30, 0.60), (0.15, 0.06))
D50 = (0.9642, 1.0, 0.8249)


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def _xy_to_xyz(x, y):
    return (x / y, 1.0, (1.0 - x - y) / y)


def _solve3(m, v):
    """Solves m * r = v for a 3 x 3 matrix by Cramer's rule."""
    def det(a):
        return (a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1])
                - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0])
                + a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]))
    d = det(m)
    out = []
    for col in range(3):
        a = [list(row) for row in m]
        for row in range(3):
            a[row][col] = v[row]
        out.append(det(a) / d)
    return out


def _matmul(a, b):
    return [[sum(a[i][k] * b[k][j] for k in range(3)) for j in range(3)] for i in range(3)]


def _matvec(a, v):
    return [sum(a[i][k] * v[k] for k in range(3)) for i in range(3)]


def _inverse(m):
    cols = [_solve3(m, [1.0 if i == j else 0.0 for i in range(3)]) for j in range(3)]
    return [[cols[j][i] for j in range(3)] for i in range(3)]


def srgb_colorants_d50():
    """The red, green and blue colorants of sRGB adapted to the D50 connection
    space with the Bradford transform, as an ICC profile carries them."""
    prim = [_xy_to_xyz(x, y) for x, y in SRGB_PRIMARIES]
    white = _xy_to_xyz(*SRGB_WHITE)
    p = [[prim[c][r] for c in range(3)] for r in range(3)]   # columns = primaries
    s = _solve3(p, white)
    rgb_to_xyz = [[p[r][c] * s[c] for c in range(3)] for r in range(3)]
    bradford = [[0.8951, 0.2664, -0.1614],
                [-0.7502, 1.7135, 0.0367],
                [0.0389, -0.0685, 1.0296]]
    src = _matvec(bradford, white)
    dst = _matvec(bradford, D50)
    scale = [[dst[i] / src[i] if i == j else 0.0 for j in range(3)] for i in range(3)]
    adapt = _matmul(_inverse(bradford), _matmul(scale, bradford))
    m = _matmul(adapt, rgb_to_xyz)
    return [tuple(m[r][c] for r in range(3)) for c in range(3)], white


def _s15f16(v):
    return struct.pack(">i", int(round(v * 65536)))


def _xyz_tag(xyz):
    return b"XYZ " + b"\0" * 4 + b"".join(_s15f16(c) for c in xyz)


def _srgb_curve(entries=256):
    values = []
    for i in range(entries):
        v = i / (entries - 1)
        lin = v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
        values.append(int(round(lin * 65535)))
    return b"curv" + b"\0" * 4 + struct.pack(">I", entries) + struct.pack(">%dH" % entries, *values)


def _desc_tag(text):
    ascii_text = text.encode("ascii") + b"\0"
    return (b"desc" + b"\0" * 4 + struct.pack(">I", len(ascii_text)) + ascii_text
            + struct.pack(">II", 0, 0) + struct.pack(">HB", 0, 0) + b"\0" * 67)


def srgb_icc_profile():
    """A small version 2 display profile for sRGB, built from the standard's
    numbers (matrix/TRC form)."""
    colorants, white = srgb_colorants_d50()
    curve = _srgb_curve()
    tags = [
        (b"desc", _desc_tag("sRGB built-in")),
        (b"cprt", b"text" + b"\0" * 4 + b"No copyright, use freely\0"),
        (b"wtpt", _xyz_tag(white)),
        (b"rXYZ", _xyz_tag(colorants[0])),
        (b"gXYZ", _xyz_tag(colorants[1])),
        (b"bXYZ", _xyz_tag(colorants[2])),
        (b"rTRC", curve),
        (b"gTRC", curve),
        (b"bTRC", curve),
    ]
    table_size = 4 + 12 * len(tags)
    offset = 128 + table_size
    table = struct.pack(">I", len(tags))
    data = b""
    placed = {}
    for sig, body in tags:
        if body in placed:                      # the three curves share one copy
            table += struct.pack(">4sII", sig, placed[body], len(body))
            continue
        while (offset + len(data)) % 4:
            data += b"\0"
        where = offset + len(data)
        placed[body] = where
        table += struct.pack(">4sII", sig, where, len(body))
        data += body
    total = 128 + len(table) + len(data)
    header = (struct.pack(">I", total) + b"\0\0\0\0" + struct.pack(">I", 0x02100000)
              + b"mntr" + b"RGB " + b"XYZ "
              + struct.pack(">6H", 2000, 1, 1, 0, 0, 0)
              + b"acsp" + b"MSFT" + struct.pack(">I", 0) + b"\0\0\0\0" + b"\0\0\0\0"
              + b"\0" * 8 + struct.pack(">I", 0)
              + b"".join(_s15f16(c) for c in D50) + b"\0\0\0\0")
    header += b"\0" * (128 - len(header))
    return header + table + data


def png_bytes(width, height, rgba_rows, with_profile):
    """rgba_rows: height lists of width (r, g, b, a) tuples of 0..255 ints."""
    raw = bytearray()
    for row in rgba_rows:
        assert len(row) == width
        raw.append(0)                                   # filter: none
        for px in row:
            raw.extend(max(0, min(255, int(c))) for c in px)
    assert len(rgba_rows) == height
    out = b"\x89PNG\r\n\x1a\n"
    out += _chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    chrm = [SRGB_WHITE] + list(SRGB_PRIMARIES)
    out += _chunk(b"cHRM", b"".join(struct.pack(">II", int(round(x * 100000)), int(round(y * 100000)))
                                    for x, y in chrm))
    if with_profile:
        out += _chunk(b"iCCP", b"sRGB built-in\0\0" + zlib.compress(srgb_icc_profile(), 9))
    out += _chunk(b"pHYs", struct.pack(">IIB", 3780, 3780, 1))
    out += _chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    out += _chunk(b"IEND", b"")
    return out
