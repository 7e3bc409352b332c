#!/usr/bin/env python3
"""Draws Orvale's icons and writes them to resources/icons/*.ico.

Every icon holds images of 16, 20, 24, 32, 40 and 48 pixels (the small and large icon sizes
at 100 %, 125 %, 150 % and 200 %), 32 bits per pixel with alpha, plus an AND mask so that the
pictures also look right where the alpha channel is ignored. The pictures are drawn on a
16-unit grid that the canvas scales to each size; shapes are sampled several times per pixel,
so slanted and round edges come out smooth, and rectangles are moved onto whole pixels, so
that their edges stay sharp at sizes where a unit is not a whole number of pixels. Only the
Python standard library is used.

Usage: python3 tools/make_icons.py [OUTPUT_FOLDER]
"""

import math
import os
import struct
import sys

SIZES = (48, 40, 32, 24, 20, 16)
SAMPLES = 4  # samples per pixel along each axis
GRID = 16.0  # drawing units across an icon

# ---- Canvas and shapes ---------------------------------------------------------------------
# A shape is a pair (inside, box): inside(x, y) tells whether a point in grid units belongs
# to the shape; box = (x0, y0, x1, y1) bounds it, so painting only visits nearby samples.


def colour(text):
    """'#rrggbb' or '#rrggbbaa' as four floats 0..1."""
    text = text.lstrip('#')
    values = [int(text[i:i + 2], 16) / 255.0 for i in range(0, len(text), 2)]
    return tuple(values + [1.0] * (4 - len(values)))


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = GRID / size  # one pixel in grid units
        self.n = size * SAMPLES
        self.step = GRID / self.n
        self.rgba = [[0.0, 0.0, 0.0, 0.0] for _ in range(self.n * self.n)]  # premultiplied

    def paint(self, shape, fill):
        if isinstance(shape[0], Box):
            shape = shape[0].snapped(self.px)
        inside, (x0, y0, x1, y1) = shape
        r, g, b, a = colour(fill)
        lo = lambda v: max(0, int(math.floor(v / self.step)))
        hi = lambda v: min(self.n, int(math.ceil(v / self.step)))
        for j in range(lo(y0), hi(y1)):
            y = (j + 0.5) * self.step
            row = j * self.n
            for i in range(lo(x0), hi(x1)):
                x = (i + 0.5) * self.step
                if inside(x, y):
                    s = self.rgba[row + i]
                    keep = 1.0 - a
                    s[0] = r * a + s[0] * keep
                    s[1] = g * a + s[1] * keep
                    s[2] = b * a + s[2] * keep
                    s[3] = a + s[3] * keep

    def outlined(self, shape, fill, line, width=None):
        """Paints a shape with a border of `width` (one pixel by default) around it."""
        self.paint(grow(shape, width if width is not None else self.px), line)
        self.paint(shape, fill)

    def dots(self, p0, p1, fill):
        """A one-pixel line without smoothing, stepped from pixel to pixel."""
        n = self.size / GRID
        x0, y0, x1, y1 = (int(math.floor(v * n)) for v in (p0[0], p0[1], p1[0], p1[1]))
        count = max(abs(x1 - x0), abs(y1 - y0))
        for k in range(count + 1):
            t = k / count if count else 0.0
            x = round(x0 + (x1 - x0) * t)
            y = round(y0 + (y1 - y0) * t)
            self.paint(rect(x * self.px, y * self.px, (x + 1) * self.px, (y + 1) * self.px), fill)

    def pixels(self):
        """Rows of (r, g, b, a) bytes, top row first, each pixel the mean of its samples."""
        out = []
        count = SAMPLES * SAMPLES
        for py in range(self.size):
            row = []
            for px in range(self.size):
                total = [0.0, 0.0, 0.0, 0.0]
                for sy in range(SAMPLES):
                    base = (py * SAMPLES + sy) * self.n + px * SAMPLES
                    for sx in range(SAMPLES):
                        s = self.rgba[base + sx]
                        for k in range(4):
                            total[k] += s[k]
                a = total[3] / count
                if a <= 0.0:
                    row.append((0, 0, 0, 0))
                    continue
                row.append(tuple(min(255, int(round(total[k] / count / a * 255))) for k in range(3))
                           + (int(round(a * 255)),))
            out.append(row)
        return out


class Box:
    """The test of a rectangle, which the canvas moves onto whole pixels before painting."""

    def __init__(self, x0, y0, x1, y1):
        self.edges = (x0, y0, x1, y1)

    def __call__(self, x, y):
        x0, y0, x1, y1 = self.edges
        return x0 <= x < x1 and y0 <= y < y1

    def snapped(self, px):
        x0, y0, x1, y1 = (math.floor(v / px + 0.5) * px for v in self.edges)
        # Nothing that was drawn vanishes: a sliver keeps one pixel.
        if x1 <= x0 and self.edges[2] > self.edges[0]:
            x1 = x0 + px
        if y1 <= y0 and self.edges[3] > self.edges[1]:
            y1 = y0 + px
        return (lambda x, y: x0 <= x < x1 and y0 <= y < y1), (x0, y0, x1, y1)


def rect(x0, y0, x1, y1):
    return Box(x0, y0, x1, y1), (x0, y0, x1, y1)


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return inside, (min(xs), min(ys), max(xs), max(ys))


def ellipse(cx, cy, rx, ry=None):
    ry = rx if ry is None else ry
    return ((lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0),
            (cx - rx, cy - ry, cx + rx, cy + ry))


def line(p0, p1, width):
    """A stroke with round ends."""
    (ax, ay), (bx, by) = p0, p1
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9
    half = width / 2.0

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        ex, ey = x - (ax + t * dx), y - (ay + t * dy)
        return ex * ex + ey * ey <= half * half
    return inside, (min(ax, bx) - half, min(ay, by) - half, max(ax, bx) + half, max(ay, by) + half)


def arc(cx, cy, radius, width, start, end):
    """A band along a circle from angle `start` to `end` (degrees, anticlockwise, 0 = east)."""
    half = width / 2.0

    def inside(x, y):
        if abs(math.hypot(x - cx, y - cy) - radius) > half:
            return False
        angle = math.degrees(math.atan2(cy - y, x - cx))
        return (angle - start) % 360.0 <= (end - start) % 360.0
    r = radius + half
    return inside, (cx - r, cy - r, cx + r, cy + r)


def union(*shapes):
    tests = [s[0] for s in shapes]
    boxes = [s[1] for s in shapes]
    return ((lambda x, y: any(t(x, y) for t in tests)),
            (min(b[0] for b in boxes), min(b[1] for b in boxes),
             max(b[2] for b in boxes), max(b[3] for b in boxes)))


def clip(shape, mask):
    return (lambda x, y: shape[0](x, y) and mask[0](x, y)), shape[1]


def grow(shape, by):
    """The shape widened by `by` in every direction (tested on two rings of offsets)."""
    test, (x0, y0, x1, y1) = shape
    offsets = [(0.0, 0.0)]
    for radius in (by / 2.0, by):
        for k in range(16):
            angle = k * math.pi / 8
            offsets.append((radius * math.cos(angle), radius * math.sin(angle)))
    return ((lambda x, y: any(test(x + dx, y + dy) for dx, dy in offsets)),
            (x0 - by, y0 - by, x1 + by, y1 + by))


def mirrored(points):
    return [(GRID - x, y) for x, y in points]


def curved_arrow(cx, cy, radius, width, start, end, head, head_length):
    """An arc from `start` to `end` (clockwise when end < start) with a head at `end`."""
    clockwise = (start - end) % 360.0 < 180.0
    direction = -1.0 if clockwise else 1.0
    # The band stops where the head begins; the head follows the tangent at that point.
    back = math.degrees(head_length / radius) * direction
    band_end = end - back
    band = arc(cx, cy, radius, width, *((band_end, start) if clockwise else (start, band_end)))
    a = math.radians(band_end)
    bx, by = cx + radius * math.cos(a), cy - radius * math.sin(a)
    tx, ty = -math.sin(a) * direction, -math.cos(a) * direction  # screen tangent
    nx, ny = math.cos(a), -math.sin(a)
    h = head / 2.0
    tip = (bx + tx * head_length, by + ty * head_length)
    return union(band, polygon([(bx + nx * h, by + ny * h), tip, (bx - nx * h, by - ny * h)]))


# ---- Palette and common parts --------------------------------------------------------------

INK = '#1b2433'        # outlines
PAPER = '#ffffff'
TEXT = '#8c95a3'       # lines of text on paper
FOLD = '#cfd6e0'
TITLE = '#2461c8'      # active title bar
TITLE_OFF = '#8792a5'  # inactive title bar
GREEN = '#22a33a'
GREEN_INK = '#0d5a1c'
GREEN_DARK = '#138a2a'  # green without a border
RED = '#dc2a22'
RED_INK = '#7a0f0b'
YELLOW = '#f5c211'
BLUE = '#2f7de0'


def window(c, x0, y0, x1, y1, title=TITLE, client=PAPER):
    """A window: one-pixel frame, a title bar of three units and a client area."""
    p = c.px
    c.paint(rect(x0, y0, x1, y1), INK)
    c.paint(rect(x0 + p, y0 + p, x1 - p, y0 + 3), title)
    c.paint(rect(x0 + p, y0 + 3, x1 - p, y1 - p), client)
    if c.size >= 32 and x1 - x0 >= 8:  # a caption button where there is room for one
        c.paint(rect(x1 - 2.5, y0 + 1, x1 - 1, y0 + 2.5), PAPER)


def page(c, x0, y0, x1, y1, lines):
    """A sheet of paper with a folded top right corner and lines of text."""
    fold = 3
    c.outlined(polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]),
               PAPER, INK)
    c.outlined(polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]), FOLD, INK)
    for y, x_end in lines:
        c.paint(rect(x0 + 2, y, x_end, y + 1), TEXT)


# ---- The pictures --------------------------------------------------------------------------

def draw_orvale(c):
    """A context menu with a bar of buttons along its top and left edges."""
    p = c.px
    c.paint(rect(1, 1, 15, 5), INK)
    c.paint(rect(1, 1, 5, 15), INK)
    c.paint(rect(1 + p, 1 + p, 15 - p, 5 - p), BLUE)
    c.paint(rect(1 + p, 1 + p, 5 - p, 15 - p), BLUE)
    for k, fill in enumerate((YELLOW, RED, GREEN)):
        at = 6 + 3 * k
        c.paint(rect(at, 2, at + 2, 4), fill)
        c.paint(rect(2, at, 4, at + 2), fill)
    c.paint(rect(2, 2, 4, 4), PAPER)
    c.paint(rect(4, 4, 15, 15), INK)
    c.paint(rect(5, 5, 14, 14), PAPER)
    c.paint(rect(6, 6, 12, 7), TEXT)
    c.paint(rect(5, 8, 14, 11), TITLE)
    c.paint(rect(6, 9, 13, 10), PAPER)
    c.paint(rect(6, 12, 11, 13), TEXT)


def draw_swap_windows(c):
    """Two windows in opposite corners and a pair of arrows turning between them."""
    window(c, 0, 0, 9, 8, TITLE_OFF)
    window(c, 7, 8, 16, 16)
    if c.size == 16:  # at 16 pixels a curve would blur: bent arrows on whole pixels instead
        bent = [(10, 2), (14, 2), (14, 6), (16, 6), (13, 9), (10, 6), (12, 6), (12, 4), (10, 4)]
        for points in (bent, [(GRID - x, GRID - y) for x, y in bent]):
            c.paint(polygon(points), GREEN_DARK)
        return
    for start, end in ((95, 5), (275, 185)):
        c.outlined(curved_arrow(8, 8, 5.5, 2, start, end, 5, 2.5), GREEN, GREEN_INK)


def draw_document_arrow(c, forward):
    """A page with an arrow leaving it to the right (next) or to the left (previous)."""
    points = [(5, 10), (10, 10), (10, 7), (15, 11), (10, 15), (10, 12), (5, 12)]
    if forward:
        page(c, 1, 1, 11, 15, [(4, 7), (6, 9), (8, 8)])
    else:
        page(c, 5, 1, 15, 15, [(4, 11), (6, 13), (8, 12)])
        points = mirrored(points)
    c.outlined(polygon(points), GREEN, GREEN_INK)


def draw_start_menu(c):
    """A waving flag of four coloured panes."""
    x0, y0, w, h, lift = 1.0, 2.5, 14.0, 11.0, 1.0
    gap = c.px

    def pane(u0, u1, v0, v1):
        def inside(x, y):
            u = (x - x0) / w
            v = (y - y0 + lift * math.sin(u * math.pi)) / h
            return u0 <= u <= u1 and v0 <= v <= v1
        return inside, (x0 - 1, y0 - lift - 1, x0 + w + 1, y0 + h + 1)

    gu, gv = gap / w, gap / h
    c.paint(pane(-gu, 1 + gu, -gv, 1 + gv), INK)
    half_u, half_v = 0.5 - gu / 2, 0.5 - gv / 2
    c.paint(pane(0, half_u, 0, half_v), RED)
    c.paint(pane(1 - half_u, 1, 0, half_v), GREEN)
    c.paint(pane(0, half_u, 1 - half_v, 1), BLUE)
    c.paint(pane(1 - half_u, 1, 1 - half_v, 1), YELLOW)


def draw_minimize_window(c):
    """A window, an arrow going down and the bar it goes to."""
    window(c, 1, 0, 15, 10)
    c.outlined(polygon([(7, 4), (9, 4), (9, 8), (12, 8), (8, 12), (4, 8), (7, 8)]), GREEN, GREEN_INK)
    c.paint(rect(3, 13, 13, 16), INK)
    c.paint(rect(3 + c.px, 13 + c.px, 13 - c.px, 16 - c.px), TITLE)


def draw_maximize_window(c):
    """A window filling the whole icon with arrows pointing out to its corners."""
    window(c, 0, 0, 16, 16)
    c.paint(rect(c.px, 3, 16 - c.px, 4), TITLE)  # a heavier top edge, as on maximised windows
    if c.size == 16:  # stepped arrows on whole pixels stay sharp at 16 pixels
        head = [(x, 5 + k) for k in range(4) for x in range(2, 6 - k)]
        top_left = head + [(4, 7), (5, 8), (6, 9)]
        for x, y in top_left:
            for px, py in ((x, y), (15 - x, y), (x, 19 - y), (15 - x, 19 - y)):
                c.paint(rect(px, py, px + 1, py + 1), GREEN_DARK)
        return
    for sx, sy in ((-1, -1), (1, -1), (-1, 1), (1, 1)):
        corner = (8 + 6 * sx, 9.5 + 4.5 * sy)
        head = polygon([corner, (corner[0] - 3.5 * sx, corner[1]), (corner[0], corner[1] - 3.5 * sy)])
        shaft = line((corner[0] - 1.5 * sx, corner[1] - 1.5 * sy),
                     (corner[0] - 4.25 * sx, corner[1] - 4.25 * sy), 1.25)
        c.paint(union(head, shaft), GREEN_DARK)


def draw_always_on_top(c):
    """A window in front of another, pinned in place."""
    window(c, 0, 0, 11, 11, TITLE_OFF)
    window(c, 3, 5, 16, 16)
    c.paint(line((12.5, 4), (10, 7.5), 1.2 if c.size == 16 else 1.0), INK)
    radius = 2.5 if c.size == 16 else 3
    c.outlined(ellipse(13, 3, radius), RED, RED_INK)
    c.paint(ellipse(13 - radius / 3, 3 - radius / 3, radius / 3), '#ffffffc0')


def draw_separator(c):
    """A short etched line across the middle."""
    c.paint(rect(3, 7, 13, 8), '#6e737a')
    c.paint(rect(3, 8, 13, 9), PAPER)


def draw_close_application(c):
    """A window with a red cross over its client area."""
    window(c, 1, 1, 15, 15)
    if c.size == 16:  # stepped strokes stay sharp at 16 pixels
        for k in range(7):
            c.paint(rect(4 + k, 6 + k, 6 + k, 7 + k), RED)
            c.paint(rect(10 - k, 6 + k, 12 - k, 7 + k), RED)
    else:
        cross = union(line((5, 6), (11, 12), 2.4), line((11, 6), (5, 12), 2.4))
        c.outlined(cross, RED, RED_INK)


def draw_www(c):
    """A globe with meridians and parallels."""
    p = c.px
    m = 7.5 if c.size == 16 else 8  # the middle: on a pixel's centre at 16, so lines stay sharp
    c.paint(ellipse(m, m, 7.5), INK)
    globe = ellipse(m, m, 7.5 - p)
    c.paint(globe, '#1f6fd1')
    c.paint(ellipse(m - 2, m - 2.5, 3.5), '#ffffff30')
    grid = '#e3f1ff'
    lines = [rect(m - p / 2, 0, m + p / 2, 16)]
    lines += [rect(0, y - p / 2, 16, y + p / 2) for y in (m - 3.5, m, m + 3.5)]
    c.paint(clip(union(*lines), globe), grid)
    meridian = (lambda x, y: abs(math.hypot((x - m) / 3.5, (y - m) / 7.5) - 1) * 3.5 <= p / 2,
                (0, 0, 16, 16))
    c.paint(clip(meridian, globe), grid)


def draw_email(c):
    """A closed envelope."""
    c.paint(rect(1, 3, 15, 14), INK)
    c.paint(rect(1 + c.px, 3 + c.px, 15 - c.px, 14 - c.px), '#fff7dc')
    c.dots((1.5, 3.5), (8, 10), INK)
    c.dots((14.5, 3.5), (8, 10), INK)
    c.dots((1.5, 13.5), (6, 9), '#b8ad8f')
    c.dots((14.5, 13.5), (10, 9), '#b8ad8f')
    c.paint(rect(11, 5, 13, 7), RED)


GLYPHS = {  # 4 x 5 letters for key caps
    'A': ['.##.', '#..#', '####', '#..#', '#..#'],
    'B': ['###.', '#..#', '###.', '#..#', '###.'],
}


def key(c, x0, y0, x1, y1, letter):
    """A key cap seen from above and in front: a light face on a darker body."""
    p = c.px
    c.paint(rect(x0, y0, x1, y1), INK)
    c.paint(rect(x0 + p, y0 + p, x1 - p, y1 - p), '#a9a99f')
    c.paint(rect(x0 + p, y0 + p, x1 - 1 - p, y1 - 2), '#f3f2ea')  # deeper at the front
    for row, bits in enumerate(GLYPHS[letter]):
        for col, bit in enumerate(bits):
            if bit == '#':
                c.paint(rect(x0 + 3 + col, y0 + 2 + row, x0 + 4 + col, y0 + 3 + row), INK)


def draw_kseq(c):
    """Two key caps, one after the other."""
    key(c, 0, 0, 10, 10, 'A')
    key(c, 6, 6, 16, 16, 'B')


def draw_macro(c):
    """A cassette tape."""
    p = c.px
    c.paint(rect(0, 2, 16, 14), INK)
    c.paint(rect(p, 2 + p, 16 - p, 14 - p), '#4a4f5a')
    c.paint(rect(2, 3, 14, 10), '#f2a531')
    c.paint(rect(2, 5, 14, 6), PAPER)
    if c.size == 16:  # square reels stay sharp at 16 pixels
        c.paint(rect(3, 6, 13, 9), INK)
        for x in (4, 9):
            c.paint(rect(x, 6, x + 3, 9), PAPER)
            c.paint(rect(x + 1, 7, x + 2, 8), INK)
    else:
        c.paint(rect(4, 6.5, 12, 9.5), INK)
        for x in (5.5, 10.5):
            c.paint(ellipse(x, 8, 1.6), PAPER)
            c.paint(ellipse(x, 8, 0.7), INK)
    c.paint(polygon([(4, 14), (5, 11), (11, 11), (12, 14)]), '#7a808c')
    c.paint(ellipse(14, 13, 2), INK)
    c.paint(ellipse(14, 13, 2 - p), RED)


def draw_drop(c):
    """A document and a green arrow pointing down into a tray: drop a file here."""
    page(c, 1, 0, 10, 11, [(4, 7), (6, 8), (8, 6)])
    c.outlined(polygon([(11, 1), (14, 1), (14, 6), (16, 6), (12.5, 10), (9, 6), (11, 6)]),
               GREEN, GREEN_INK)
    c.paint(rect(0, 12, 16, 16), INK)
    c.paint(rect(c.px, 12 + c.px, 16 - c.px, 16 - c.px), FOLD)
    c.paint(rect(3, 13, 13, 14), INK)


# ---- The starter bars' editing keys --------------------------------------------------------

STEEL = '#dfe3e8'       # metal parts
STEEL_INK = '#5d6673'
BOARD = '#b8834a'       # a clipboard's board
BOARD_INK = '#5e3d1a'
GLASS = '#bfe0ff'


def ring(cx, cy, radius, width):
    """A band all round a circle."""
    half = width / 2.0
    r = radius + half
    return ((lambda x, y: abs(math.hypot(x - cx, y - cy) - radius) <= half),
            (cx - r, cy - r, cx + r, cy + r))


def draw_cut(c):
    """Open scissors, blades up, with red handles."""
    for top, bottom in (((4.5, 0.5), (10, 10)), ((11.5, 0.5), (6, 10))):
        c.outlined(line(top, bottom, 2.2), STEEL, STEEL_INK)
    c.paint(ellipse(8, 7.6, 1), INK)
    for cx in (4.5, 11.5):
        c.outlined(ring(cx, 12.5, 2.2, 1.6), RED, RED_INK)


def draw_copy(c):
    """A page and its copy in front of it."""
    page(c, 1, 0, 10, 11, [(3, 7), (5, 8), (7, 6)])
    page(c, 6, 5, 15, 16, [(8, 12), (10, 13), (12, 11)])


def draw_paste(c):
    """A clipboard with a page coming off it."""
    c.paint(rect(1, 2, 12, 16), BOARD_INK)
    c.paint(rect(1 + c.px, 2 + c.px, 12 - c.px, 16 - c.px), BOARD)
    c.paint(rect(4, 0, 9, 4), STEEL_INK)
    c.paint(rect(4 + c.px, c.px, 9 - c.px, 4 - c.px), STEEL)
    page(c, 6, 6, 15, 16, [(9, 12), (11, 13), (13, 11)])


def draw_undo(c):
    """An arrow turning back to the left."""
    if c.size == 16:  # a bent arrow on whole pixels stays sharp at 16 pixels
        c.paint(polygon([(1, 6), (6, 1), (6, 4), (12, 4), (15, 8), (15, 14), (12, 14),
                         (12, 9), (11, 8), (6, 8), (6, 11)]), BLUE)
        return
    head = polygon([(0.5, 6), (6.5, 0.5), (6.5, 11.5)])
    shaft = polygon([(6, 4.5), (10, 4.5), (10, 7.5), (6, 7.5)])
    bend = arc(10, 9.5, 3.5, 3, 0, 90)
    tail = polygon([(12, 9.5), (15, 9.5), (15, 15), (12, 15)])
    c.outlined(union(head, shaft, bend, tail), BLUE, '#174a8f')


def draw_select_all(c):
    """A page whose lines of text are all marked."""
    page(c, 2, 0, 14, 16, [])
    c.paint(rect(3, 3, 12, 14), TITLE)
    for y, x_end in ((4, 10), (6, 11), (8, 9), (10, 11), (12, 8)):
        c.paint(rect(4, y, x_end, y + 1), PAPER)


def draw_time_date(c):
    """A sheet of a calendar with a clock in front of it."""
    c.paint(rect(0, 1, 12, 13), INK)
    c.paint(rect(c.px, 1 + c.px, 12 - c.px, 4), RED)
    c.paint(rect(c.px, 4, 12 - c.px, 13 - c.px), PAPER)
    for x in (2, 5, 8):
        for y in (6, 9):
            c.paint(rect(x, y, x + 2, y + 2), TEXT)
    c.outlined(ellipse(11.5, 11.5, 4.5 - c.px), PAPER, INK)
    c.paint(rect(11, 8.5, 12, 12), INK)
    c.paint(rect(11, 11, 14, 12), INK)


def draw_find(c):
    """A magnifying glass."""
    c.paint(line((10.5, 10.5), (15, 15), 2.8), BOARD_INK)
    c.paint(ring(6.5, 6.5, 4.8, 1.8), INK)
    c.paint(ellipse(6.5, 6.5, 3.9), GLASS)
    c.paint(ellipse(5, 5, 1.4), '#ffffffc0')


def draw_save(c):
    """A diskette with its shutter and label."""
    c.paint(polygon([(1, 1), (13, 1), (15, 3), (15, 15), (1, 15)]), INK)
    c.paint(polygon([(1 + c.px, 1 + c.px), (13 - c.px / 2, 1 + c.px), (15 - c.px, 3 + c.px / 2),
                     (15 - c.px, 15 - c.px), (1 + c.px, 15 - c.px)]), BLUE)
    c.paint(rect(4, 1, 12, 6), STEEL_INK)
    c.paint(rect(4 + c.px, 1 + c.px, 12 - c.px, 6 - c.px), STEEL)
    c.paint(rect(9, 2, 11, 5), STEEL_INK)
    c.paint(rect(3, 9, 13, 15), PAPER)
    for y in (10, 12):
        c.paint(rect(4, y, 12, y + 1), TEXT)


ICONS = {
    'orvale': draw_orvale,
    'swap_windows': draw_swap_windows,
    'next_document': lambda c: draw_document_arrow(c, True),
    'previous_document': lambda c: draw_document_arrow(c, False),
    'start_menu': draw_start_menu,
    'minimize_window': draw_minimize_window,
    'maximize_window': draw_maximize_window,
    'always_on_top': draw_always_on_top,
    'separator': draw_separator,
    'close_application': draw_close_application,
    'www': draw_www,
    'email': draw_email,
    'kseq': draw_kseq,
    'macro': draw_macro,
    'drop': draw_drop,
    'cut': draw_cut,
    'copy': draw_copy,
    'paste': draw_paste,
    'undo': draw_undo,
    'select_all': draw_select_all,
    'time_date': draw_time_date,
    'find': draw_find,
    'save': draw_save,
}

# ---- The .ico file -------------------------------------------------------------------------


def icon_image(rows):
    """One icon image: BITMAPINFOHEADER, BGRA pixels bottom-up, then the AND mask.

    A pixel less than half covered is transparent in the mask; its colour is black so that
    drawing through the mask (which XORs the colour onto the screen) leaves the screen as it
    was.
    """
    size = len(rows)
    mask_stride = (size + 31) // 32 * 4
    colours = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
                r = g = b = 0
            colours += bytes((b, g, r, a))
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                         len(colours) + len(mask), 0, 0, 0, 0)
    return header + bytes(colours) + bytes(mask)


def icon_file(images):
    """The whole .ico: directory, one entry per image, then the images."""
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for size, rows in images:
        blob = icon_image(rows)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b''.join(blobs)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    folder = argv[1] if len(argv) > 1 else os.path.join(here, '..', 'resources', 'icons')
    os.makedirs(folder, exist_ok=True)
    for name, draw in ICONS.items():
        images = []
        for size in SIZES:
            canvas = Canvas(size)
            draw(canvas)
            images.append((size, canvas.pixels()))
        with open(os.path.join(folder, name + '.ico'), 'wb') as f:
            f.write(icon_file(images))
        print(name + '.ico')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
