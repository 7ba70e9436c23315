#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Renders every picture, cursor and the icon of the game from the text
sources in resources/art, and writes resources/pictures.qrc.

    python3 scripts/make_art.py [--sheet FILE]

--sheet also writes a contact sheet (every tile and piece, both sets, at
100 %, 150 % and 200 %, on sea and on land) for checking the art by eye.
Only the standard library is used; PNG files are written with zlib.
"""

import argparse
import math
import os
import random
import struct
import sys
import zlib

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
ART = os.path.join(ROOT, "resources", "art")
PICTURES = os.path.join(ROOT, "resources", "pictures")
CURSORS = os.path.join(ROOT, "resources", "cursors")
ICONS = os.path.join(ROOT, "resources", "icons")

# The 16-colour palette, in the classic order (index = PNG palette index).
PALETTE = [
    ("k", (0, 0, 0)), ("m", (128, 0, 0)), ("g", (0, 128, 0)), ("o", (128, 128, 0)),
    ("n", (0, 0, 128)), ("p", (128, 0, 128)), ("t", (0, 128, 128)), ("s", (192, 192, 192)),
    ("e", (128, 128, 128)), ("r", (255, 0, 0)), ("l", (0, 255, 0)), ("y", (255, 255, 0)),
    ("b", (0, 0, 255)), ("f", (255, 0, 255)), ("c", (0, 255, 255)), ("w", (255, 255, 255)),
]
RGB = dict(PALETTE)
PALETTE_INDEX = {rgb: i for i, (_, rgb) in enumerate(PALETTE)}
CLEAR = None  # a transparent pixel

# Player order 0..5: name, owner colour, darker partner, outline on sea and
# land, outline on the silver sky of the aircraft (there a white rim would
# only thin the dark shapes out; silver lets them stand on the sky).
OWNERS = [
    ("RED", "r", "m", "k", "k"),
    ("GREEN", "l", "g", "k", "k"),
    ("BLUE", "b", "n", "s", "s"),
    ("YELLOW", "y", "o", "k", "k"),
    ("BLACK", "k", "e", "w", "s"),
    ("PURPLE", "f", "p", "k", "k"),
]
SKY_KINDS = {"FIGHTER", "BOMBER", "PARA"}
# BLACK's grey half-tone nearly vanishes on the silver sky and makes its city
# read as a neutral one at small sizes: there its darker partner is black too.
DARK_OVERRIDES = {("BLACK", "FIGHTER"): "k", ("BLACK", "BOMBER"): "k", ("BLACK", "PARA"): "k",
                  ("BLACK", "CITY"): "k"}
# Piece-type order 0..9 and the grid that draws each kind.
KINDS = ["CITY", "TANK", "DESTROYER", "FIGHTER", "BOMBER",
         "BATTLESHIP", "CARRIER", "SUBMARINE", "TRANSPORT", "PARA"]
LAND_TILES = ["00", "11", "22", "33", "44", "01", "10", "03", "30", "14", "41", "34", "43"]


# ---------------------------------------------------------------- PNG output

def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png_bytes(pixels):
    """pixels: rows of (r, g, b), (r, g, b, a) or None (transparent).
    Palette pictures are stored as 4-bit indexed PNG, the rest as RGBA."""
    h, w = len(pixels), len(pixels[0])
    flat = [p for row in pixels for p in row]
    sig = b"\x89PNG\r\n\x1a\n"
    if all(p is not None and len(p) == 3 and p in PALETTE_INDEX for p in flat):
        raw = bytearray()
        for row in pixels:
            raw.append(0)
            idx = [PALETTE_INDEX[p] for p in row] + [0]
            for i in range(0, w, 2):
                raw.append((idx[i] << 4) | idx[i + 1])
        plte = b"".join(bytes(rgb) for _, rgb in PALETTE)
        head = struct.pack(">IIBBBBB", w, h, 4, 3, 0, 0, 0)
        return sig + _chunk(b"IHDR", head) + _chunk(b"PLTE", plte) + \
            _chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + _chunk(b"IEND", b"")
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for p in row:
            if p is None:
                raw += b"\0\0\0\0"
            elif len(p) == 3:
                raw += bytes(p) + b"\xff"
            else:
                raw += bytes(p)
    head = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    return sig + _chunk(b"IHDR", head) + _chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + \
        _chunk(b"IEND", b"")


def write_png(path, pixels):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    data = png_bytes(pixels)
    # Leave unchanged files alone so that a rerun does not touch the tree.
    if os.path.exists(path):
        with open(path, "rb") as f:
            if f.read() == data:
                return
    with open(path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- sources

def read_blocks(name):
    """Reads resources/art/<name>: "[NAME]" then grid rows up to a blank line."""
    blocks, current = {}, None
    with open(os.path.join(ART, name)) as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("[") and line.endswith("]"):
                current = line[1:-1]
                blocks[current] = []
            elif not line.strip():
                current = None
            elif current is not None:
                blocks[current].append(line)
    return blocks


def check_size(name, grid, w, h):
    bad = [i for i, row in enumerate(grid) if len(row) != w]
    if len(grid) != h or bad:
        sys.exit("%s: expected %d x %d, got %d rows; rows of wrong width: %s"
                 % (name, w, h, len(grid), [(i, len(grid[i])) for i in bad]))


def paint(grid, owner=None, sky=False, kind=None):
    """Turns a text grid into pixels; O, D and L take the owner's colours."""
    subst = {}
    if owner is not None:
        dark = DARK_OVERRIDES.get((owner[0], kind), owner[2])
        subst = {"O": owner[1], "D": dark, "L": owner[4] if sky else owner[3]}
    out = []
    for row in grid:
        line = []
        for ch in row:
            ch = subst.get(ch, ch)
            line.append(CLEAR if ch == "." else RGB[ch])
        out.append(line)
    return out


def blank(w, h, colour):
    return [[colour] * w for _ in range(h)]


def blit(dst, src, x0, y0, transparent=True):
    for y, row in enumerate(src):
        for x, p in enumerate(row):
            if transparent and p is None:
                continue
            yy, xx = y0 + y, x0 + x
            if 0 <= yy < len(dst) and 0 <= xx < len(dst[0]):
                dst[yy][xx] = p


def scale(pixels, f):
    return [[p for p in row for _ in range(f)] for row in pixels for _ in range(f)]


def stretch(pixels, size):
    """Nearest-neighbour stretch to size x size, as the map view does."""
    h, w = len(pixels), len(pixels[0])
    return [[pixels[y * h // size][x * w // size] for x in range(size)] for y in range(size)]


# ---------------------------------------------------------------- terrain

def lcg(seed):
    state = seed
    while True:
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        yield state >> 8


def sea_tiles(size):
    """Eight calm sea variants: navy with two or three small wave crests, kept
    two pixels from every edge so that any two variants meet without a seam."""
    crest = [".bb.", "t..t"] if size == 16 else [".b", "t.t"]
    cw = len(crest[1])
    margin = 2
    tiles = []
    rnd = random.Random(1789 + size)
    for v in range(8):
        tile = blank(size, size, RGB["n"])
        placed = []
        want = 3 if size == 16 else 2
        tries = 0
        while len(placed) < want:
            tries += 1
            if tries % 50 == 0:  # boxed in by the first crests: start again
                placed = []
            x = rnd.randint(margin, size - margin - cw)
            y = rnd.randint(margin, size - margin - 2)
            if any(abs(x - px) < cw + 2 and abs(y - py) < 4 for px, py in placed):
                continue
            placed.append((x, y))
        for x, y in placed:
            for dy, row in enumerate(crest):
                for dx, ch in enumerate(row):
                    if ch != ".":
                        tile[y + dy][x + dx] = RGB[ch]
        tiles.append(tile)
    return tiles


# Depth of the sea band along a coast, pixel by pixel along the side. Both
# ends have the same depth, so neighbouring coast tiles continue each other.
BAND = {
    16: [4, 4, 4, 4, 5, 5, 5, 4, 4, 3, 3, 3, 4, 4, 4, 4],
    12: [3, 3, 3, 4, 4, 3, 3, 2, 2, 3, 3, 3],
}
# Which sides are sea in each land tile; bays are sea in one corner only.
COAST_SIDES = {"00": "S", "11": "E", "22": "", "33": "W", "44": "N",
               "01": "ES", "34": "WN", "41": "NE", "30": "WS"}
COAST_BAYS = {"10": "SE", "03": "SW", "14": "NE", "43": "NW"}
LAND_SPECKS = {16: [(3, 5), (11, 3), (7, 9), (13, 12), (2, 13), (9, 14), (6, 2)],
               12: [(2, 4), (8, 2), (5, 7), (10, 9), (2, 10)]}


def sea_mask(size, name):
    band = BAND[size]
    depth = band[0]
    sea = [[False] * size for _ in range(size)]
    sides = COAST_SIDES.get(name, "")
    for y in range(size):
        for x in range(size):
            if ("N" in sides and y < band[x]) or ("S" in sides and size - 1 - y < band[x]) or \
               ("W" in sides and x < band[y]) or ("E" in sides and size - 1 - x < band[y]):
                sea[y][x] = True
    # Round the land's corner between two coasts.
    r = 3 if size == 16 else 2
    for corner in ("WN", "NE", "ES", "WS"):
        if corner[0] in sides and corner[1] in sides:
            fx = "E" in corner
            fy = "S" in corner
            for j in range(r):
                for i in range(r):
                    dx, dy = r - i - 0.5, r - j - 0.5
                    if dx * dx + dy * dy > r * r:
                        x = depth + i
                        y = depth + j
                        sea[size - 1 - y if fy else y][size - 1 - x if fx else x] = True
    bay = COAST_BAYS.get(name)
    if bay:
        for y in range(size):
            for x in range(size):
                dx = (size - 1 - x if "E" in bay else x) + 0.5
                dy = (size - 1 - y if "S" in bay else y) + 0.5
                if dx * dx + dy * dy < depth * depth:
                    sea[y][x] = True
    return sea


def land_tile(size, name):
    sea = sea_mask(size, name)
    tile = blank(size, size, RGB["g"])
    for x, y in LAND_SPECKS[size]:
        tile[y][x] = RGB["o"]
    for y in range(size):
        for x in range(size):
            if sea[y][x]:
                tile[y][x] = RGB["n"]
            elif any(0 <= x + dx < size and 0 <= y + dy < size and sea[y + dy][x + dx]
                     for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                tile[y][x] = RGB["y"]
    return tile


def mountain(size):
    """Two peaks, lit from the west: silver and gray faces, snow on top,
    a black rim, standing on the green of the land tiles."""
    if size == 16:
        peaks, base, snow = [(11, 4), (5, 1)], 13, 3
    else:
        peaks, base, snow = [(8, 3), (4, 1)], 10, 2
    tile = blank(size, size, RGB["g"])
    for x, y in LAND_SPECKS[size]:
        if y > base:
            tile[y][x] = RGB["o"]
    for ax, ay in peaks:  # back peak first, the front one covers it
        inside = [[ay <= y <= base and abs(x - ax) <= (y - ay) for x in range(size)]
                  for y in range(size)]
        for y in range(size):
            for x in range(size):
                if not inside[y][x]:
                    continue
                edge = abs(x - ax) == (y - ay) or y == base
                if edge:
                    tile[y][x] = RGB["k"]
                elif y - ay <= snow and (y - ay < snow or (x + y) % 2 == 0):
                    tile[y][x] = RGB["w"]
                elif x < ax or (x == ax and y % 2 == 0):
                    tile[y][x] = RGB["s"]
                else:
                    tile[y][x] = RGB["e"]
    return tile


# ---------------------------------------------------------------- small pictures

def glyph_pixels(glyph, ink, paper):
    return [[ink if ch == "#" else paper for ch in row] for row in glyph]


def outlined_text(glyphs, text, factor, fill, rim, gap):
    """Doubled glyphs with a one-pixel rim, on a transparent ground."""
    cells = [scale(glyph_pixels(glyphs[c], True, False), factor) for c in text]
    w = sum(len(c[0]) for c in cells) + gap * (len(cells) - 1) + 2
    h = len(cells[0]) + 2
    ink = [[False] * w for _ in range(h)]
    x = 1
    for c in cells:
        for y, row in enumerate(c):
            for i, on in enumerate(row):
                if on:
                    ink[y + 1][x + i] = True
        x += len(c[0]) + gap
    out = [[CLEAR] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            if ink[y][x]:
                out[y][x] = fill(x, y) if callable(fill) else fill
            elif any(0 <= y + dy < h and 0 <= x + dx < w and ink[y + dy][x + dx]
                     for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                out[y][x] = rim
    return out


def digit_picture(glyphs, n):
    """5 x 7: a small corner badge, a white 3 x 5 digit inside a one-pixel
    black border, so a stack count leaves the piece and a city's flag in sight."""
    pic = blank(5, 7, RGB["k"])
    blit(pic, glyph_pixels(glyphs["S%d" % n], RGB["w"], RGB["k"]), 1, 1)
    return pic


BUTTON_X = [31 * i + 1 + 13 * ((i > 2) + (i > 7) + (i > 9)) for i in range(14)]
BUTTON_FACES = ["NEW", "OPEN", "SAVE", "SLEEP", "LATER", "FINISHED", "RETURN", "DROP",
                "ENDTURN", "SURRENDER", "75", "100", "150", "200"]


def button(face, pressed):
    """30 x 32, drawn at rows 1 to 32 of the strip: black frame, bevel, face."""
    b = blank(30, 32, RGB["s"])
    for x in range(30):
        b[0][x] = b[31][x] = RGB["k"]
    for y in range(32):
        b[y][0] = b[y][29] = RGB["k"]
    if pressed:
        for x in range(1, 29):
            b[1][x] = RGB["e"]
        for y in range(1, 31):
            b[y][1] = RGB["e"]
    else:
        for i in (1, 2):
            for x in range(i, 30 - i):
                b[i][x] = RGB["w"]
                b[31 - i][x] = RGB["e"]
            for y in range(i, 32 - i):
                b[y][i] = RGB["w"]
                b[y][29 - i] = RGB["e"]
    shift = 1 if pressed else 0
    blit(b, face, 4 + shift, 5 + shift)
    return b


def strip(faces, pressed):
    s = blank(474, 34, RGB["s"])
    for x in range(474):
        s[0][x] = RGB["w"]
        s[33][x] = RGB["e"]
    for i, x in enumerate(BUTTON_X):
        blit(s, button(faces[i], pressed), x, 1, transparent=False)
    return s


def zoom_face(glyphs, text):
    chars = ["D" + c for c in text] + ["PCT"]
    w = 6 * len(chars) - 1
    face = [[CLEAR] * 22 for _ in range(22)]
    x = (22 - w) // 2
    for c in chars:
        blit(face, glyph_pixels(glyphs[c], RGB["k"], CLEAR), x, 7)
        x += 6
    return face


def distance_cursor(arrow, glyphs, n):
    cur = [[CLEAR] * 32 for _ in range(32)]
    text = outlined_text(glyphs, ["D" + c for c in str(n)], 2, RGB["w"], RGB["k"], 2)
    blit(cur, text, 32 - len(text[0]), 32 - len(text))
    blit(cur, arrow, 0, 0)
    return cur


def world_cursor():
    """A gun sight: white ring and cross hairs with a black rim, open centre."""
    c = 15.5
    ink = [[False] * 32 for _ in range(32)]
    for y in range(32):
        for x in range(32):
            d = math.hypot(x - c, y - c)
            ring = 8.0 <= d <= 10.0
            hair = (15 <= x <= 16 and (3 <= y <= 11 or 20 <= y <= 28)) or \
                   (15 <= y <= 16 and (3 <= x <= 11 or 20 <= x <= 28))
            ink[y][x] = ring or hair
    out = [[CLEAR] * 32 for _ in range(32)]
    for y in range(32):
        for x in range(32):
            if ink[y][x]:
                out[y][x] = RGB["w"]
            elif any(0 <= y + dy < 32 and 0 <= x + dx < 32 and ink[y + dy][x + dx]
                     for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                out[y][x] = RGB["k"]
    return out


def title(glyphs):
    """256 x 16, transparent ground: the name in red letters with a black
    rim, between two bars."""
    def fill(x, y):
        return RGB["y"] if y <= 3 else (RGB["r"] if y <= 10 else RGB["m"])
    text = outlined_text(glyphs, "VORTAN", 2, fill, RGB["k"], 6)
    pic = [[CLEAR] * 256 for _ in range(16)]
    x0 = (256 - len(text[0])) // 2
    for x in list(range(8, x0 - 6)) + list(range(x0 + len(text[0]) + 6, 248)):
        pic[6][x] = pic[9][x] = RGB["k"]
        pic[7][x] = RGB["y"]
        pic[8][x] = RGB["r"]
    blit(pic, text, x0, 0)
    return pic


def nuclear():
    """The About box's 128 x 128 mushroom cloud on black, and its mask
    (black where the cloud is, white where the screen must show through)."""
    n = 128
    bayer = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]
    ramp = ["w", "y", "y", "r", "r", "m", "e", "e"]
    rnd = lcg(77)
    noise = [[next(rnd) % 100 / 100.0 for _ in range(n)] for _ in range(n)]

    def heat(x, y):
        """0 (white hot) .. 1 (dark smoke) inside the cloud, None outside."""
        best = None
        # cap: a flattened ball with a rolled rim
        dx, dy = (x - 64) / 46.0, (y - 38) / 26.0
        d = dx * dx + dy * dy
        if d < 1.0 and y <= 58:
            best = 0.15 + 0.75 * d + 0.25 * (y - 38) / 26.0
        # stem, widening towards the ground
        half = 9 + max(0, y - 96) * 0.6
        if 56 <= y <= 110 and abs(x - 64) <= half:
            v = 0.35 + 0.5 * abs(x - 64) / half
            best = v if best is None else min(best, v)
        # ring of dust at the foot
        dx, dy = (x - 64) / 58.0, (y - 110) / 12.0
        d = dx * dx + dy * dy
        if d < 1.0:
            v = 0.55 + 0.45 * d
            best = v if best is None else min(best, v)
        if best is None:
            return None
        return max(0.0, min(0.999, best + (noise[y][x] - 0.5) * 0.25))

    pic, mask = [], []
    for y in range(n):
        prow, mrow = [], []
        for x in range(n):
            h = heat(x, y)
            if h is None:
                prow.append(RGB["k"])
                mrow.append(RGB["w"])
                continue
            pos = h * (len(ramp) - 1)
            i = int(pos)
            if (pos - i) * 16 > bayer[y % 4][x % 4]:
                i += 1
            colour = ramp[min(i, len(ramp) - 1)]
            prow.append(RGB[colour])
            mrow.append(RGB["k"])
        pic.append(prow)
        mask.append(mrow)
    return pic, mask


# ---------------------------------------------------------------- building

# ---------------------------------------------------------------- desktop icons

# The icon's shapes in unit coordinates (0..1 across the picture): a globe of
# navy sea with green lands, and a red flag on a pole planted at its top right.
ICON_GLOBE = (0.47, 0.60, 0.39)                # centre x, y, radius
ICON_LANDS = [(0.33, 0.45, 0.15, 0.08, -0.5),  # centre x, y, half-axes, tilt
              (0.73, 0.58, 0.10, 0.13, 0.3),
              (0.27, 0.74, 0.09, 0.07, 0.2),
              (0.58, 0.85, 0.12, 0.05, -0.2)]
ICON_POLE = (0.66, 0.02, 0.40)                 # x, top, bottom
ICON_FLAG = (0.66, 0.98, 0.04, 0.24)           # left, right, top, bottom


def icon_colour(x, y, size):
    """The palette colour at (x, y) in unit coordinates, or CLEAR. The outline
    keeps about one pixel in 24, so the small sizes stay readable and the
    large ones do not turn into a black ring."""
    rim = max(1.0, size / 24.0) / size
    cx, cy, r = ICON_GLOBE
    px, top, bottom = ICON_POLE
    left, right, ftop, fbottom = ICON_FLAG
    half_pole = max(0.5, size / 40.0) / size
    # The flag waves over everything; its lower edge is shaded.
    slant = (x - left) / (right - left) * 0.05
    if left <= x <= right and ftop + slant <= y <= fbottom - slant:
        inner = left + rim <= x <= right - rim and ftop + slant + rim <= y <= fbottom - slant - rim
        if not inner:
            return RGB["k"]
        return RGB["m"] if y > fbottom - slant - (fbottom - ftop) * 0.3 else RGB["r"]
    if abs(x - px) <= half_pole + rim and top <= y <= bottom:
        return RGB["k"] if abs(x - px) > half_pole or size < 48 else RGB["e"]
    d = math.hypot(x - cx, y - cy)
    if d > r:
        return CLEAR
    if d > r - rim:
        return RGB["k"]
    for lx, ly, ax, ay, tilt in ICON_LANDS:
        c, s_ = math.cos(tilt), math.sin(tilt)
        u = ((x - lx) * c + (y - ly) * s_) / ax
        v = (-(x - lx) * s_ + (y - ly) * c) / ay
        e = u * u + v * v
        if e <= 1.0:
            # a lighter crown on the lands, from 48 pixels up
            return RGB["l"] if size >= 48 and u + v < -0.9 and e < 0.6 else RGB["g"]
    # a glint of light on the sea at the upper left, from 32 pixels up
    if size >= 32 and r * 0.62 < d < r * 0.80 and x < cx - r * 0.3 and y < cy - r * 0.3:
        return RGB["b"]
    return RGB["n"]


def desktop_icon(size):
    """Drawn for its size: every pixel takes the colour most of its 4 x 4
    samples fall on, so edges stay hard and no colour outside the palette
    appears."""
    out = []
    for py in range(size):
        line = []
        for px in range(size):
            votes = {}
            for sy in range(4):
                for sx in range(4):
                    c = icon_colour((px + (sx + 0.5) / 4) / size, (py + (sy + 0.5) / 4) / size, size)
                    votes[c] = votes.get(c, 0) + 1
            line.append(max(votes, key=lambda c: (votes[c], c is not None)))
        out.append(line)
    return out


def build():
    glyphs = read_blocks("glyphs.txt")
    sets = {16: ("BMP_", read_blocks("pieces16.txt")), 12: ("BMO_", read_blocks("pieces12.txt"))}
    out = {}  # resource path under resources/ -> pixels

    for size, (prefix, grids) in sets.items():
        for name, grid in grids.items():
            check_size(prefix + name, grid, size, size)
        for v, tile in enumerate(sea_tiles(size)):
            out["pictures/%sSEA_%d.png" % (prefix, v)] = tile
        for name in LAND_TILES:
            out["pictures/%sLAND%s.png" % (prefix, name)] = land_tile(size, name)
        out["pictures/%sMOUNTAIN.png" % prefix] = mountain(size)
        out["pictures/%sCITY.png" % prefix] = paint(grids["NEUTRAL_CITY"])
        out["pictures/%sBLANK_BLACK.png" % prefix] = blank(size, size, RGB["k"])
        out["pictures/%sBLANK_WHITE.png" % prefix] = blank(size, size, RGB["w"])
        for owner in OWNERS:
            for kind in KINDS:
                grid = grids["CITY" if kind == "CITY" else kind]
                out["pictures/%s%s_%s.png" % (prefix, owner[0], kind)] = \
                    paint(grid, owner, kind in SKY_KINDS, kind)

    for n in range(1, 10):
        out["pictures/BMP_%d.png" % n] = digit_picture(glyphs, n)

    faces = read_blocks("buttons.txt")
    for name in BUTTON_FACES[:10]:
        check_size("button " + name, faces[name], 22, 22)
    face_pixels = [paint(faces[name]) for name in BUTTON_FACES[:10]] + \
                  [zoom_face(glyphs, t) for t in BUTTON_FACES[10:]]
    out["pictures/BMP_BUTTONS.png"] = strip(face_pixels, False)
    out["pictures/BMP_BUTTONS_DOWN.png"] = strip(face_pixels, True)

    out["pictures/BMP_TITLE.png"] = title(glyphs)
    pic, mask = nuclear()
    out["pictures/BMP_NUCLEAR.png"] = pic
    out["pictures/BMP_NUCLEAR_MASK.png"] = mask

    pointer = read_blocks("cursors.txt")
    arrow = paint(pointer["ARROW"])
    hotspots = []
    for n in range(1, 20):
        out["cursors/CURSOR_%d.png" % n] = distance_cursor(arrow, glyphs, n)
        hotspots.append("CURSOR_%d 0 0" % n)
    out["cursors/CURSOR_WORLD.png"] = world_cursor()
    hotspots.append("CURSOR_WORLD 15 15")

    check_size("ICON", pointer["ICON"], 16, 16)
    icon = paint(pointer["ICON"])
    out["icons/ICON_2.png"] = scale(icon, 2)
    out["icons/ICON_2_16.png"] = icon
    out["icons/ICON_2_48.png"] = scale(icon, 3)
    out["icons/ICON_2_64.png"] = scale(icon, 4)
    # The desktop's icons: the hand-drawn grid at 16 pixels, the others drawn
    # afresh for their size from the shapes above.
    out["icons/vortan_16.png"] = icon
    for size in (32, 48, 64, 128, 256):
        out["icons/vortan_%d.png" % size] = desktop_icon(size)
    return out, hotspots


def write_all(out, hotspots):
    keep = set()
    for rel, pixels in out.items():
        path = os.path.join(ROOT, "resources", rel)
        write_png(path, pixels)
        keep.add(os.path.normpath(path))
    for folder in (PICTURES, CURSORS, ICONS):
        for f in os.listdir(folder):
            p = os.path.normpath(os.path.join(folder, f))
            if f.endswith(".png") and p not in keep:
                os.remove(p)  # a picture no longer made
    with open(os.path.join(CURSORS, "hotspots.txt"), "w") as f:
        f.write("# cursor name, hot spot x and y in pixels from the top-left corner\n")
        f.write("\n".join(hotspots) + "\n")
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '<qresource prefix="/">']
    lines += ["    <file>%s</file>" % rel for rel in sorted(out)]
    lines += ["    <file>cursors/hotspots.txt</file>", "</qresource>", "</RCC>", ""]
    with open(os.path.join(ROOT, "resources", "pictures.qrc"), "w") as f:
        f.write("\n".join(lines))


# ---------------------------------------------------------------- contact sheet

def contact_sheet(out, path):
    """Every terrain tile and every piece in every colour, both sets, at the
    sizes the map view shows them, each on a sea and on a land backdrop."""
    grey = (64, 64, 64)
    rows = []

    def pic(name):
        return out["pictures/%s.png" % name]

    for factor in (1, 1.5, 2):
        for prefix, size in (("BMO_", 12), ("BMP_", 16)):
            cell = int(size * factor)
            # terrain row: sea variants, land tiles, mountain, city, blanks
            names = ["%sSEA_%d" % (prefix, v) for v in range(8)] + \
                    ["%sLAND%s" % (prefix, t) for t in LAND_TILES] + \
                    [prefix + "MOUNTAIN", prefix + "CITY", prefix + "BLANK_BLACK"]
            rows.append([stretch(pic(n), cell) for n in names])
            # a small island made of coast tiles, to see the seams
            rows.append(island(out, prefix, cell))
            for owner in OWNERS:
                for backdrop in ("SEA_3", "LAND22"):
                    line = []
                    for kind in KINDS:
                        bg = stretch(pic(prefix + backdrop), cell)
                        piece = stretch(pic("%s%s_%s" % (prefix, owner[0], kind)), cell)
                        line += [bg, piece, bg]
                    rows.append(line)
    rows.append([out["pictures/BMP_BUTTONS.png"]])
    rows.append([out["pictures/BMP_BUTTONS_DOWN.png"]])
    rows.append([out["pictures/BMP_%d.png" % n] for n in range(1, 10)] +
                [out["pictures/BMP_TITLE.png"]])
    rows.append([out["cursors/CURSOR_%d.png" % n] for n in (1, 7, 11, 19)] +
                [out["cursors/CURSOR_WORLD.png"], out["icons/ICON_2.png"],
                 out["pictures/BMP_NUCLEAR.png"], out["pictures/BMP_NUCLEAR_MASK.png"]])

    width = max(sum(len(p[0]) + 2 for p in row) for row in rows) + 4
    height = sum(max(len(p) for p in row) + 4 for row in rows) + 4
    sheet = blank(width, height, grey)
    y = 4
    for row in rows:
        x = 4
        for p in row:
            flat = [[(grey if q is None else q[:3]) for q in r] for r in p]
            blit(sheet, flat, x, y)
            x += len(p[0]) + 2
        y += max(len(p) for p in row) + 4
    with open(path, "wb") as f:
        f.write(png_bytes(sheet))


def island(out, prefix, cell):
    """A 7 x 4 map: an island with a bay, drawn with the rule of the map view."""
    plan = ["........",
            ".XXXXX..",
            ".XXXXXX.",
            ".XX.XXX.",
            ".XXXXX..",
            "........"]
    h, w = len(plan), len(plan[0])

    def land(x, y):
        return plan[y % h][x % w] == "X"

    def choose(x, y):
        n, s, e, wv = land(x, y - 1), land(x, y + 1), land(x + 1, y), land(x - 1, y)
        ne, nw, se, sw = land(x + 1, y - 1), land(x - 1, y - 1), land(x + 1, y + 1), land(x - 1, y + 1)
        if all([n, s, e, wv, ne, nw, se, sw]):
            return "22"
        rules = [(not n and wv and e, "44"), (not wv and n and s, "33"), (not e and n and s, "11"),
                 (not s and wv and e, "00"), (not se and e and s, "10"), (not sw and wv and s, "03"),
                 (not ne and n and e, "14"), (not nw and wv and n, "43"), (not wv and not n, "34"),
                 (not n and not e, "41"), (not e and not s, "01"), (not wv and not s, "30")]
        for cond, name in rules:
            if cond:
                return name
        return "22"

    map_pic = blank(w * cell, h * cell, None)
    for y in range(h):
        for x in range(w):
            name = "LAND" + choose(x, y) if land(x, y) else "SEA_%d" % ((x * 3 + y * 5) % 8)
            blit(map_pic, stretch(out["pictures/%s%s.png" % (prefix, name)], cell), x * cell, y * cell)
    return [map_pic]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--sheet", help="also write a contact sheet PNG to this file")
    args = ap.parse_args()
    out, hotspots = build()
    write_all(out, hotspots)
    if args.sheet:
        contact_sheet(out, args.sheet)
    print("%d pictures written" % len(out))


if __name__ == "__main__":
    main()
