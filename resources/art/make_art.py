#!/usr/bin/env python3
"""Draw tamsaek's pictures and write them into resources/.

Outputs (paths relative to the repository root), N = 16, 20, 24, 28, 32,
40, 48 and 64:
    resources/folder<N>.bmp    NxN 24-bit BMP, yellow folder (tree / list picture)
    resources/document<N>.bmp  NxN 24-bit BMP, green page with a clock (list picture)
    resources/tamsaek.ico      program icon MAINICON: 16, 20, 24, 32, 40, 48, 64
                               (32-bit DIB with AND mask) and 256 (PNG) entries

Only the Python 3 standard library is used, and the output is deterministic:
running the script twice gives byte-identical files.

The 16x16 bitmaps are drawn as character grids below, one character per
pixel, with a palette.  '.' is the transparent colour: pure magenta
RGB(255, 0, 255), which the program uses as the image-list mask colour, so
no other palette entry may be magenta.  The larger bitmaps are the same
pictures drawn from vector shapes: a pixel at least half covered is opaque,
its colour blended over the window's white (BLEND_BACKGROUND); any other is
magenta, so no edge pixel comes out near magenta.

The program icon is drawn with signed-distance shapes (rounded boxes,
polygons, circles, capsules) and analytic anti-aliasing, so the same drawing
scales to every icon size; the 16x16 entry is hand-drawn as a grid for
crispness.

Usage:  python3 resources/art/make_art.py [--out DIR] [--preview DIR]
        --out DIR writes the resources into DIR instead of resources/.
        --preview DIR also writes enlarged PNG previews into DIR.
"""

import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.dirname(HERE)

MAGENTA = (255, 0, 255)
# What the drawn bitmaps' edges are blended over: the window colour the
# views show by default, and what the program blends a scaled picture over.
BLEND_BACKGROUND = (255, 255, 255)

# The sizes of the row pictures; 16 is the hand-drawn grid.
PICTURE_SIZES = (16, 20, 24, 28, 32, 40, 48, 64)
# The program icon's sizes; 16 is the hand-drawn grid, 256 is stored as PNG.
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)

# ---------------------------------------------------------------------------
# 16x16 bitmaps for the folder tree and the file list
# ---------------------------------------------------------------------------

FOLDER_PALETTE = {
    '.': MAGENTA,            # transparent
    'K': (122, 82, 8),       # outline, dark brown-olive
    'L': (255, 246, 184),    # highlight
    'Y': (255, 214, 74),     # folder yellow
    'B': (232, 176, 40),     # back panel, deeper yellow
    'D': (214, 150, 22),     # shade along the bottom and right
}

FOLDER_GRID = [
    "................",
    "................",
    ".KKKKK..........",
    "KLLLLLK.........",
    "KLBBBBBKKKKKKKK.",
    "KLBBBBBBBBBBBBBK",
    "KKKKKKKKKKKKKKKK",
    "KLLLLLLLLLLLLLDK",
    "KLYYYYYYYYYYYYDK",
    "KLYYYYYYYYYYYYDK",
    "KLYYYYYYYYYYYYDK",
    "KLYYYYYYYYYYYYDK",
    "KLYYYYYYYYYYYYDK",
    "KDDDDDDDDDDDDDDK",
    ".KKKKKKKKKKKKKK.",
    "................",
]

DOCUMENT_PALETTE = {
    '.': MAGENTA,            # transparent
    'K': (24, 104, 40),      # page outline, dark green
    'P': (236, 250, 236),    # page, pale green
    'F': (184, 228, 188),    # folded corner
    'G': (72, 170, 88),      # text lines, green
    'C': (40, 52, 72),       # clock rim, dark slate
    'W': (255, 255, 255),    # clock face
    'H': (0, 0, 0),          # clock hands
    'R': (200, 40, 40),      # clock centre pin
}

DOCUMENT_GRID = [
    "...KKKKKKKK.....",
    "...KPPPPPPKK....",
    "...KPPPPPPKFK...",
    "...KPGGGGPKFFK..",
    "...KPPPPPPKKKKK.",
    "...KPGGGGGGGGPK.",
    "...KPPPPPPPPPPK.",
    "...CCCPGGGGGGPK.",
    ".CCWWWCCPPPPPPK.",
    ".CWWHWWCPGGGGPK.",
    "CWWWHWWWCPPPPPK.",
    "CWWWRHHWCGGGGPK.",
    "CWWWWWWWCPPPPPK.",
    ".CWWWWWCPPPPPPK.",
    ".CCWWWCCKKKKKKK.",
    "...CCC..........",
]

# ---------------------------------------------------------------------------
# 16x16 entry of the program icon (hand-drawn; larger sizes are drawn below)
# ---------------------------------------------------------------------------

ICON16_PALETTE = {
    '.': None,               # transparent
    'K': (150, 98, 14),      # folder outline
    'B': (232, 170, 40),     # back panel
    'L': (255, 244, 186),    # highlight
    'Y': (255, 210, 80),     # front panel
    'D': (230, 160, 30),     # front shade
    'W': (252, 252, 252),    # paper
    'R': (40, 62, 92),       # magnifier rim
    'G': (196, 228, 252),    # magnifier glass
    'S': (255, 255, 255),    # glass glint
    'H': (32, 36, 44),       # handle
}

ICON16_GRID = [
    "................",
    ".KKKKK..........",
    "KBBBBBK.........",
    "KBBBBBBKKKKKKKK.",
    "KBWWWWWWWWWWWWBK",
    "KBWWWWWWRRRRWWBK",
    "KKKKKKKRGSGGRKKK",
    "KLLLLLLRSGGGRLDK",
    "KLYYYYYRGGGGRYDK",
    "KLYYYYYRGGGGRYDK",
    "KLYYYYYYRRRRHYDK",
    "KLYYYYYYYYYYHHDK",
    "KDDDDDDDDDDDDHHK",
    ".KKKKKKKKKKKKKHH",
    "...............H",
    "................",
]


def grid_pixels(grid, palette):
    """Rows of (r, g, b) tuples (or None) from a character grid."""
    assert len(grid) == 16, "grid must have 16 rows"
    rows = []
    for line in grid:
        assert len(line) == 16, "grid row must have 16 columns: %r" % line
        rows.append([palette[ch] for ch in line])
    return rows


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------

def bmp24(rows):
    """24-bit bottom-up BMP with BITMAPINFOHEADER; rows of (r, g, b)."""
    h = len(rows)
    w = len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data),
                       2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data),
                         0, 0, 14 + len(info))
    return header + info + bytes(data)


def png_rgba(rows):
    """PNG (colour type 6) from rows of (r, g, b, a)."""
    h = len(rows)
    w = len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for px in row:
            raw += bytes(px)

    def chunk(tag, body):
        return (struct.pack(">I", len(body)) + tag + body +
                struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
            chunk(b"IEND", b""))


def ico_dib(rows):
    """Icon image as a 32-bit BGRA DIB followed by its 1-bpp AND mask."""
    h = len(rows)
    w = len(rows[0])
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] < 128:  # transparent where alpha is not shown
                line[x >> 3] |= 0x80 >> (x & 7)
        mask += line
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def ico(images):
    """ICO file from a list of (size, rows); 256 is stored as PNG."""
    entries = []
    blobs = []
    offset = 6 + 16 * len(images)
    for size, rows in images:
        blob = png_rgba(rows) if size >= 256 else ico_dib(rows)
        dim = 0 if size >= 256 else size
        entries.append(struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32,
                                   len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return (struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) +
            b"".join(blobs))


# ---------------------------------------------------------------------------
# Vector drawing for the program icon
# ---------------------------------------------------------------------------
# Shapes are signed distance functions f(x, y) -> distance in pixels
# (negative inside).  Coverage of a pixel is clamp(0.5 - d, 0, 1), sampled at
# the pixel centre, which gives a one-pixel-wide anti-aliased edge.

def sd_box(cx0, cy0, cx1, cy1, r=0.0):
    """Rounded rectangle from (cx0, cy0) to (cx1, cy1), corner radius r."""
    cx = (cx0 + cx1) / 2.0
    cy = (cy0 + cy1) / 2.0
    hx = (cx1 - cx0) / 2.0
    hy = (cy1 - cy0) / 2.0
    r = min(r, hx, hy)

    def f(x, y):
        qx = abs(x - cx) - hx + r
        qy = abs(y - cy) - hy + r
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return f


def sd_circle(cx, cy, r):
    def f(x, y):
        return math.hypot(x - cx, y - cy) - r
    return f


def sd_capsule(ax, ay, bx, by, r):
    """Thick line from (ax, ay) to (bx, by) with round ends, radius r."""
    dx = bx - ax
    dy = by - ay
    ll = dx * dx + dy * dy

    def f(x, y):
        t = ((x - ax) * dx + (y - ay) * dy) / ll
        t = max(0.0, min(1.0, t))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - r
    return f


def sd_polygon(pts):
    """Signed distance to a simple polygon given as a list of (x, y)."""
    n = len(pts)

    def f(x, y):
        best = float("inf")
        inside = False
        for i in range(n):
            ax, ay = pts[i]
            bx, by = pts[(i + 1) % n]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            best = min(best, math.hypot(wx - t * ex, wy - t * ey))
            if (ay > y) != (by > y):
                if x < ax + (y - ay) * ex / ey:
                    inside = not inside
        return -best if inside else best
    return f


def union(*fs):
    def f(x, y):
        return min(g(x, y) for g in fs)
    return f


def intersect(*fs):
    def f(x, y):
        return max(g(x, y) for g in fs)
    return f


def subtract(a, b):
    def f(x, y):
        return max(a(x, y), -b(x, y))
    return f


def inset(fn, w):
    """The shape shrunk by w pixels (for drawing a fill inside an outline)."""
    def f(x, y):
        return fn(x, y) + w
    return f


def vgrad(y0, c0, y1, c1):
    """Vertical gradient paint from colour c0 at y0 to c1 at y1."""
    def paint(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(c0, c1))
    return paint


class Canvas:
    """Premultiplied RGBA float canvas."""

    def __init__(self, size):
        self.size = size
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def fill(self, shape, paint, alpha=1.0):
        """Composite `paint` (rgb tuple or f(x, y) -> rgb) over `shape`."""
        n = self.size
        for j in range(n):
            y = j + 0.5
            row = self.px[j]
            for i in range(n):
                x = i + 0.5
                cov = 0.5 - shape(x, y)
                if cov <= 0.0:
                    continue
                a = min(cov, 1.0) * alpha
                rgb = paint(x, y) if callable(paint) else paint
                r0, g0, b0, a0 = row[i]
                k = 1.0 - a
                row[i] = (rgb[0] * a + r0 * k, rgb[1] * a + g0 * k,
                          rgb[2] * a + b0 * k, a + a0 * k)

    def rows(self):
        """Straight-alpha 8-bit (r, g, b, a) rows."""
        out = []
        for row in self.px:
            line = []
            for r, g, b, a in row:
                ai = int(round(a * 255))
                if ai <= 0:
                    line.append((0, 0, 0, 0))
                    continue
                line.append((clamp8(r / a), clamp8(g / a), clamp8(b / a), ai))
            out.append(line)
        return out


def clamp8(v):
    return max(0, min(255, int(round(v))))


def draw_icon(size):
    """The program icon: a yellow folder with a paper sheet and a magnifier.

    Geometry is laid out on a 32-unit design grid and scaled to `size`;
    at small sizes edges are snapped to whole pixels to stay crisp.
    """
    k = size / 32.0
    snap = size < 64

    def u(v):
        p = v * k
        return float(round(p)) if snap else p

    line = 1.0 if size <= 48 else 0.55 * k  # outline width in pixels
    cv = Canvas(size)

    # Back panel with its tab at the upper left.
    back = union(
        sd_box(u(1.5), u(6), u(30.5), u(27), 1.6 * k),
        sd_polygon([(u(1.5), u(4.5)), (u(3), u(3)), (u(11), u(3)),
                    (u(14), u(6.5)), (u(14), u(9)), (u(1.5), u(9))]),
    )
    cv.fill(back, (150, 98, 14))
    cv.fill(inset(back, line), vgrad(u(3), (246, 190, 60), u(20), (222, 150, 28)))

    # A sheet of paper peeking out of the folder.
    paper = sd_box(u(4), u(8), u(28), u(20), 0.6 * k)
    cv.fill(paper, (178, 178, 170))
    cv.fill(inset(paper, line), vgrad(u(8), (255, 255, 255), u(20), (234, 236, 240)))

    # Front panel.
    front = sd_box(u(1.5), u(11), u(30.5), u(27), 1.6 * k)
    cv.fill(front, (160, 104, 12))
    cv.fill(inset(front, line),
            vgrad(u(11), (255, 226, 122), u(27), (247, 184, 52)))
    # Soft highlight along the front panel's top edge.
    hl = intersect(inset(front, line),
                   sd_box(u(1.5), u(11), u(30.5), u(11) + line + max(1.0, 0.9 * k)))
    cv.fill(hl, (255, 246, 196), 0.9)

    # Magnifier over the lower right: glass, rim, handle.
    cx, cy, r = 20.5 * k, 18.0 * k, 5.6 * k
    rim_w = max(1.3, 1.6 * k)
    handle_r = max(1.0, 1.45 * k)
    ang = math.radians(45)
    hx0 = cx + (r + rim_w * 0.3) * math.cos(ang)
    hy0 = cy + (r + rim_w * 0.3) * math.sin(ang)
    hx1 = 28.6 * k
    hy1 = 26.1 * k
    # Drop shadow under the magnifier.
    shadow = union(sd_circle(cx + 0.7 * k, cy + 0.9 * k, r + rim_w / 2),
                   sd_capsule(hx0 + 0.7 * k, hy0 + 0.9 * k,
                              hx1 + 0.7 * k, hy1 + 0.9 * k, handle_r))
    cv.fill(shadow, (90, 56, 0), 0.28)
    cv.fill(sd_capsule(hx0, hy0, hx1, hy1, handle_r),
            vgrad(hy0, (70, 76, 90), hy1, (26, 28, 36)))
    cv.fill(sd_circle(cx, cy, r), vgrad(cy - r, (220, 240, 255), cy + r, (160, 204, 240)),
            0.92)
    # Glint on the glass.
    glint = intersect(sd_circle(cx, cy, r * 0.72),
                      subtract(sd_circle(cx - r * 0.18, cy - r * 0.18, r * 0.62),
                               sd_circle(cx + r * 0.05, cy + r * 0.05, r * 0.62)))
    cv.fill(glint, (255, 255, 255), 0.9)
    ring = subtract(sd_circle(cx, cy, r + rim_w / 2), sd_circle(cx, cy, r - rim_w / 2))
    cv.fill(ring, vgrad(cy - r, (70, 100, 140), cy + r, (32, 50, 78)))
    return cv.rows()


def snapper(size):
    """Maps a figure of the 16-unit design grid to whole pixels at `size`."""
    k = size / 16.0

    def u(v):
        return float(round(v * k))
    return u


def line_width(size):
    """Outline width in whole pixels: 1 up to 32, 2 at 40 and 48, 3 at 64."""
    return float(max(1, int(round(size / 22.0))))


def draw_folder(size):
    """The folder of the 16x16 grid as vector shapes: tab at the upper left,
    a deeper back panel, the front panel lit along its top and left and
    shaded along its bottom and right, all in a dark outline."""
    u = snapper(size)
    line = line_width(size)
    k = size / 16.0
    cv = Canvas(size)

    back = union(
        sd_box(u(0), u(4), u(16), u(14.5), 0.8 * k),
        sd_polygon([(u(0), u(3)), (u(1), u(2)), (u(6), u(2)), (u(7.5), u(4)),
                    (u(7.5), u(6)), (u(0), u(6))]),
    )
    cv.fill(back, FOLDER_PALETTE['K'])
    back_inside = inset(back, line)
    cv.fill(back_inside, FOLDER_PALETTE['B'])
    # The tab's lit top and left edge.
    cv.fill(intersect(back_inside,
                      union(sd_box(u(0), u(2), u(16), u(2) + 2 * line),
                            sd_box(u(0), u(2), u(0) + 2 * line, u(6)))),
            FOLDER_PALETTE['L'])

    front = sd_box(u(0), u(6), u(16), u(15), 0.9 * k)
    cv.fill(front, FOLDER_PALETTE['K'])
    x0, y0, x1, y1 = u(0) + line, u(6) + line, u(16) - line, u(15) - line
    cv.fill(inset(front, line), FOLDER_PALETTE['L'])
    cv.fill(intersect(inset(front, line), sd_box(x0 + line, y0 + line, x1 + 1, y1 + 1)),
            FOLDER_PALETTE['D'])
    cv.fill(sd_box(x0 + line, y0 + line, x1 - line, y1 - line),
            vgrad(y0, FOLDER_PALETTE['Y'], y1, (250, 200, 60)))
    return cv.rows()


def draw_document(size):
    """The page of the 16x16 grid as vector shapes: folded upper right
    corner, green text lines, and a clock at three o'clock over its lower
    left."""
    u = snapper(size)
    line = line_width(size)
    k = size / 16.0
    cv = Canvas(size)

    fold = 4.5
    page = sd_polygon([(u(3), u(0)), (u(15 - fold), u(0)), (u(15), u(fold)),
                       (u(15), u(15)), (u(3), u(15))])
    cv.fill(page, DOCUMENT_PALETTE['K'])
    cv.fill(inset(page, line), DOCUMENT_PALETTE['P'])
    corner = sd_polygon([(u(15 - fold), u(0)), (u(15), u(fold)), (u(15 - fold), u(fold))])
    cv.fill(corner, DOCUMENT_PALETTE['K'])
    cv.fill(inset(corner, line), DOCUMENT_PALETTE['F'])

    # Text lines, as in the grid; the clock covers their left ends.
    for y, xa, xb in ((3, 5, 9), (5, 5, 13), (7, 7, 13), (9, 9, 13), (11, 9, 13)):
        cv.fill(sd_box(u(xa), u(y), u(xb), u(y) + max(1.0, u(y + 1) - u(y))),
                DOCUMENT_PALETTE['G'])

    cx, cy, r = 4.5 * k, 11.5 * k, 4.3 * k
    rim = max(1.0, 0.9 * k)
    cv.fill(sd_circle(cx, cy, r), DOCUMENT_PALETTE['C'])
    cv.fill(sd_circle(cx, cy, r - rim), DOCUMENT_PALETTE['W'])
    hand = max(0.5, 0.45 * k)
    cv.fill(sd_capsule(cx, cy, cx, cy - 2.4 * k, hand), DOCUMENT_PALETTE['H'])
    cv.fill(sd_capsule(cx, cy, cx + 1.9 * k, cy, hand), DOCUMENT_PALETTE['H'])
    cv.fill(sd_circle(cx, cy, max(0.7, 0.6 * k)), DOCUMENT_PALETTE['R'])
    return cv.rows()


def flatten(rows):
    """Straight-alpha rows as opaque (r, g, b) rows for a masked bitmap: a
    pixel at least half covered is blended over BLEND_BACKGROUND, any other
    is the see-through magenta."""
    out = []
    for row in rows:
        line = []
        for r, g, b, a in row:
            if a < 128:
                line.append(MAGENTA)
                continue
            t = a / 255.0
            line.append(tuple(clamp8(c * t + bg * (1.0 - t))
                              for c, bg in zip((r, g, b), BLEND_BACKGROUND)))
        out.append(line)
    return out


def near_magenta(rgb):
    """True for a colour that an eye, or a lenient mask, would take for magenta."""
    return max(abs(rgb[0] - 255), rgb[1], abs(rgb[2] - 255)) < 96


def check_see_through(name, rows):
    for y, row in enumerate(rows):
        for x, px in enumerate(row):
            assert px == MAGENTA or not near_magenta(px), \
                "%s: pixel (%d, %d) %r is near magenta" % (name, x, y, px)


def icon16():
    rows = []
    for line in grid_pixels(ICON16_GRID, ICON16_PALETTE):
        rows.append([(0, 0, 0, 0) if c is None else c + (255,) for c in line])
    return rows


# ---------------------------------------------------------------------------
# Previews (not part of the resources)
# ---------------------------------------------------------------------------

def enlarge(rows, scale, bg=None):
    """Nearest-neighbour enlargement; with bg=(c1, c2) alpha goes on a checker."""
    out = []
    for j, row in enumerate(rows):
        for sj in range(scale):
            line = []
            for i, px in enumerate(row):
                if len(px) == 3:
                    px = px + (255,)
                if bg is not None:
                    for si in range(scale):
                        yy = j * scale + sj
                        xx = i * scale + si
                        c = bg[((xx // 8) + (yy // 8)) % 2]
                        a = px[3] / 255.0
                        line.append(tuple(clamp8(p * a + q * (1 - a))
                                          for p, q in zip(px[:3], c)) + (255,))
                else:
                    line.extend([px] * scale)
            out.append(line)
    return out


def write_previews(folder, icon_images, bmps):
    os.makedirs(folder, exist_ok=True)
    for name, rows in bmps:
        scale = max(2, 256 // len(rows))
        with open(os.path.join(folder, name + "_big.png"), "wb") as fh:
            fh.write(png_rgba(enlarge(rows, scale)))
        shown = [[(255, 255, 255) if px == MAGENTA else px for px in row] for row in rows]
        with open(os.path.join(folder, name + "_white.png"), "wb") as fh:
            fh.write(png_rgba(enlarge(shown, scale // 2)))
    checker = ((236, 236, 236), (200, 200, 200))
    for size, rows in icon_images:
        scale = max(1, 256 // size)
        with open(os.path.join(folder, "icon%d.png" % size), "wb") as fh:
            fh.write(png_rgba(enlarge(rows, scale, checker)))


# ---------------------------------------------------------------------------

def pictures():
    """(file name, rows) of every row picture."""
    out = []
    for size in PICTURE_SIZES:
        if size == 16:
            folder = grid_pixels(FOLDER_GRID, FOLDER_PALETTE)
            document = grid_pixels(DOCUMENT_GRID, DOCUMENT_PALETTE)
        else:
            folder = flatten(draw_folder(size))
            document = flatten(draw_document(size))
        out.append(("folder%d" % size, folder))
        out.append(("document%d" % size, document))
    return out


def main(argv):
    for pal in (FOLDER_PALETTE, DOCUMENT_PALETTE):
        for ch, rgb in pal.items():
            assert (ch == '.') == (rgb == MAGENTA), "magenta only for '.'"
            assert ch == '.' or not near_magenta(rgb), "%s is near magenta" % ch

    options = dict(zip(argv[::2], argv[1::2]))
    unknown = set(options) - {"--out", "--preview"}
    if unknown or len(argv) % 2:
        sys.exit(__doc__)
    out = options.get("--out", RES)
    os.makedirs(out, exist_ok=True)

    bmps = pictures()
    icon_images = [(s, icon16() if s == 16 else draw_icon(s)) for s in ICON_SIZES]

    for name, rows in bmps:
        check_see_through(name, rows)
        with open(os.path.join(out, name + ".bmp"), "wb") as fh:
            fh.write(bmp24(rows))
    with open(os.path.join(out, "tamsaek.ico"), "wb") as fh:
        fh.write(ico(icon_images))

    if "--preview" in options:
        write_previews(options["--preview"], icon_images, bmps)


if __name__ == "__main__":
    main(sys.argv[1:])
