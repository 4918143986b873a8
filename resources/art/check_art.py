#!/usr/bin/env python3
"""Checks the committed pictures against make_art.py.

    python3 resources/art/check_art.py SCRATCH_DIR

Runs make_art.py twice into SCRATCH_DIR and fails unless both runs give the
same bytes and those bytes are what resources/ holds; then reads every
picture as the program will: each bitmap is 24-bit, as large as its name
says, named in tamsaek.rc, and has no pixel near magenta that is not exactly
magenta (the image list masks only exact magenta, so such a pixel would show
as a pink fringe); the icon holds exactly the sizes the program asks for.
"""

import os
import re
import shutil
import struct
import subprocess
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.dirname(HERE)
SIZES = [16, 20, 24, 28, 32, 40, 48, 64]
ICON_SIZES = [16, 20, 24, 32, 40, 48, 64, 256]

failures = []


def fail(message):
    failures.append(message)


def generate(folder):
    shutil.rmtree(folder, ignore_errors=True)
    subprocess.run([sys.executable, os.path.join(HERE, "make_art.py"), "--out", folder], check=True)
    return {name: open(os.path.join(folder, name), "rb").read() for name in sorted(os.listdir(folder))}


def read_bmp(name, data):
    """(width, height, rows of (r, g, b)) of a 24-bit BI_RGB bitmap."""
    if data[:2] != b"BM":
        raise ValueError(name + " is not a BMP")
    offset, = struct.unpack_from("<I", data, 10)
    size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if size != 40 or planes != 1 or bits != 24 or compression != 0:
        raise ValueError("%s: not a plain 24-bit bitmap (header %d, %d bits, compression %d)" %
                         (name, size, bits, compression))
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        line = data[offset + y * stride: offset + y * stride + width * 3]
        rows.append([(line[x * 3 + 2], line[x * 3 + 1], line[x * 3]) for x in range(width)])
    if height > 0:
        rows.reverse()
    return width, abs(height), rows


def near_magenta(r, g, b):
    # Within 96 of magenta on every channel: pink and purple fringes, which
    # no colour of these pictures comes close to.
    return abs(r - 255) < 96 and g < 96 and abs(b - 255) < 96


def check_bitmap(name, data, size):
    width, height, rows = read_bmp(name, data)
    if (width, height) != (size, size):
        fail("%s is %d x %d, not %d x %d" % (name, width, height, size, size))
        return
    see_through = 0
    for y, row in enumerate(rows):
        for x, (r, g, b) in enumerate(row):
            if (r, g, b) == (255, 0, 255):
                see_through += 1
            elif near_magenta(r, g, b):
                fail("%s: pixel (%d, %d) = (%d, %d, %d) is near magenta but not see-through" % (name, x, y, r, g, b))
    # A picture is a shape on a see-through ground, never a full square or nothing.
    if not 0 < see_through < size * size // 2:
        fail("%s: %d of %d pixels are see-through" % (name, see_through, size * size))


def icon_entries(data):
    """(size, bytes) of each image of an ICO file."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise ValueError("tamsaek.ico is not an icon file")
    entries = []
    for i in range(count):
        w, h, _, _, planes, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        entries.append((w or 256, h or 256, bits, data[offset:offset + length]))
    return entries


def png_pixels(blob):
    """The IHDR and the inflated image data of a PNG (what zlib's version cannot change)."""
    pos, ihdr, idat = 8, b"", b""
    while pos < len(blob):
        length, tag = struct.unpack_from(">I4s", blob, pos)
        body = blob[pos + 8: pos + 8 + length]
        if tag == b"IHDR":
            ihdr = body
        elif tag == b"IDAT":
            idat += body
        pos += 12 + length
    return ihdr, zlib.decompress(idat)


def same_icon(a, b):
    """Byte-equal, or equal but for how another zlib compressed the PNG entry."""
    if a == b:
        return True
    ea, eb = icon_entries(a), icon_entries(b)
    if [e[:3] for e in ea] != [e[:3] for e in eb]:
        return False
    for (_, _, _, x), (_, _, _, y) in zip(ea, eb):
        if x != y and not (x[:8] == y[:8] == b"\x89PNG\r\n\x1a\n" and png_pixels(x) == png_pixels(y)):
            return False
    return True


def check_icon(data):
    entries = icon_entries(data)
    sizes = [w for w, _, _, _ in entries]
    if sizes != ICON_SIZES:
        fail("tamsaek.ico holds %s, not %s" % (sizes, ICON_SIZES))
    for w, h, bits, blob in entries:
        if w != h or bits != 32:
            fail("tamsaek.ico: the %d x %d entry has %d bits" % (w, h, bits))
        if w == 256:
            if blob[:8] != b"\x89PNG\r\n\x1a\n":
                fail("tamsaek.ico: the 256 entry is not a PNG")
            continue
        size, bw, bh, planes, bbits = struct.unpack_from("<IiiHH", blob, 0)
        mask_stride = ((w + 31) // 32) * 4
        if (size, bw, bh, bbits) != (40, w, 2 * w, 32) or len(blob) != 40 + 4 * w * w + mask_stride * w:
            fail("tamsaek.ico: the %d entry is not a 32-bit image with an AND mask" % w)


def check_rc():
    rc = open(os.path.join(RES, "tamsaek.rc"), encoding="utf-8").read()
    named = dict(re.findall(r'^(\w+) BITMAP "([^"]+)"$', rc, re.M))
    wanted = {"%s%d" % (stem.upper(), n): "%s%d.bmp" % (stem, n) for stem in ("folder", "document") for n in SIZES}
    if named != wanted:
        fail("tamsaek.rc names the bitmaps %s, not %s" % (sorted(named.items()), sorted(wanted.items())))


def main(argv):
    if len(argv) != 1:
        sys.exit(__doc__)
    scratch = os.path.abspath(argv[0])
    first = generate(os.path.join(scratch, "first"))
    second = generate(os.path.join(scratch, "second"))
    if first != second:
        fail("two runs of make_art.py differ in %s" %
             sorted(n for n in set(first) | set(second) if first.get(n) != second.get(n)))
    expected = sorted(["tamsaek.ico"] + ["%s%d.bmp" % (s, n) for s in ("folder", "document") for n in SIZES])
    if sorted(first) != expected:
        fail("make_art.py wrote %s, not %s" % (sorted(first), expected))
    committed_bitmaps = sorted(n for n in os.listdir(RES) if re.fullmatch(r"(folder|document)\d+\.bmp", n))
    if committed_bitmaps != [n for n in expected if n.endswith(".bmp")]:
        fail("resources/ holds the bitmaps %s" % committed_bitmaps)
    for name, data in first.items():
        path = os.path.join(RES, name)
        committed = open(path, "rb").read() if os.path.exists(path) else None
        equal = committed is not None and (committed == data if name != "tamsaek.ico" else same_icon(committed, data))
        if not equal:
            fail("resources/%s is not what make_art.py draws: run python3 resources/art/make_art.py" % name)
        if name.endswith(".bmp") and committed is not None:
            check_bitmap(name, committed, int(re.search(r"\d+", name).group()))
    check_icon(first["tamsaek.ico"])
    check_rc()
    for message in failures:
        print("check_art: " + message, file=sys.stderr)
    if not failures:
        print("check_art: %d files, drawn twice alike and as committed" % len(first))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
