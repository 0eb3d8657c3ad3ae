#!/usr/bin/env python3
"""Draws the launcher's artwork: the 640 x 480 GIF background, the window and entry icons and the hand cursor.

Icons and the cursor are rasterised here (standard library only) and written as .ico/.cur files; the background is
composed by ImageMagick's convert, which renders the product name with a CJK font. Same inputs, same bytes.
"""
import argparse
import math
import os
import struct
import subprocess
import sys

SUPERSAMPLE = 4


class Canvas:
    """An RGBA canvas drawn at SUPERSAMPLE times the final size and averaged down, for smooth edges."""

    def __init__(self, size):
        self.size = size
        self.big = size * SUPERSAMPLE
        self.px = [[(0, 0, 0, 0)] * self.big for _ in range(self.big)]

    def _plot(self, x, y, rgba):
        if 0 <= x < self.big and 0 <= y < self.big:
            self.px[y][x] = rgba

    def fill(self, inside, rgba):
        """Paints every sample whose centre, in final-pixel units, satisfies inside(x, y)."""
        s = SUPERSAMPLE
        for y in range(self.big):
            fy = (y + 0.5) / s
            row = self.px[y]
            for x in range(self.big):
                if inside((x + 0.5) / s, fy):
                    row[x] = rgba

    def rect(self, x0, y0, x1, y1, rgba, radius=0.0):
        def inside(x, y):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            if radius <= 0:
                return True
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2

        self.fill(inside, rgba)

    def circle(self, cx, cy, r, rgba):
        self.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, rgba)

    def ring(self, cx, cy, r0, r1, rgba, gap=None):
        def inside(x, y):
            d = (x - cx) ** 2 + (y - cy) ** 2
            if not (r0 * r0 <= d <= r1 * r1):
                return False
            if gap is None:
                return True
            angle = math.degrees(math.atan2(x - cx, cy - y)) % 360
            return not (angle < gap or angle > 360 - gap)

        self.fill(inside, rgba)

    def polygon(self, pts, rgba):
        def inside(x, y):
            hit = False
            j = len(pts) - 1
            for i in range(len(pts)):
                xi, yi = pts[i]
                xj, yj = pts[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    hit = not hit
                j = i
            return hit

        self.fill(inside, rgba)

    def line(self, x0, y0, x1, y1, width, rgba):
        def inside(x, y):
            dx, dy = x1 - x0, y1 - y0
            t = ((x - x0) * dx + (y - y0) * dy) / float(dx * dx + dy * dy)
            t = min(max(t, 0.0), 1.0)
            px, py = x0 + t * dx, y0 + t * dy
            return (x - px) ** 2 + (y - py) ** 2 <= (width / 2.0) ** 2

        self.fill(inside, rgba)

    def pixels(self):
        """Final-size rows of (r, g, b, a), top row first."""
        s = SUPERSAMPLE
        out = []
        for y in range(self.size):
            row = []
            for x in range(self.size):
                acc = [0, 0, 0, 0]
                for sy in range(s):
                    for sx in range(s):
                        r, g, b, a = self.px[y * s + sy][x * s + sx]
                        acc[0] += r * a
                        acc[1] += g * a
                        acc[2] += b * a
                        acc[3] += a
                if acc[3] == 0:
                    row.append((0, 0, 0, 0))
                else:
                    row.append((acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3], acc[3] // (s * s)))
            out.append(row)
        return out


def dib(pixels):
    """A 32-bit icon image: BITMAPINFOHEADER (double height), bottom-up BGRA rows and the 1-bit AND mask."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(xor) + bytes(mask)


def write_icon_file(path, images, kind=1, hotspot=(0, 0)):
    """Writes an .ico (kind 1) or .cur (kind 2) holding the given final-size pixel images."""
    count = len(images)
    out = bytearray(struct.pack("<HHH", 0, kind, count))
    blobs = [dib(px) for px in images]
    offset = 6 + 16 * count
    for px, blob in zip(images, blobs):
        size = len(px)
        dim = 0 if size >= 256 else size
        if kind == 1:
            planes, bits = 1, 32
        else:
            planes, bits = hotspot
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, planes, bits, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, "wb") as f:
        f.write(out)


# Colours (r, g, b, a).
WHITE = (255, 255, 255, 255)
BLACK = (0, 0, 0, 255)
NAVY = (16, 52, 120, 255)
BLUE = (40, 110, 210, 255)
SKY = (120, 180, 240, 255)
GOLD = (230, 180, 40, 255)
GREY = (110, 118, 128, 255)
LIGHT = (225, 230, 236, 255)
GREEN = (40, 170, 80, 255)
RED = (210, 40, 40, 255)
DARK = (40, 44, 52, 255)


def scaled(draw, size):
    """Runs a drawing made for a 32-pixel grid on a canvas of another size."""
    c = Canvas(size)
    k = size / 32.0

    class Scaled:
        def rect(self, x0, y0, x1, y1, rgba, radius=0.0):
            c.rect(x0 * k, y0 * k, x1 * k, y1 * k, rgba, radius * k)

        def circle(self, cx, cy, r, rgba):
            c.circle(cx * k, cy * k, r * k, rgba)

        def ring(self, cx, cy, r0, r1, rgba, gap=None):
            c.ring(cx * k, cy * k, r0 * k, r1 * k, rgba, gap)

        def polygon(self, pts, rgba):
            c.polygon([(x * k, y * k) for x, y in pts], rgba)

        def line(self, x0, y0, x1, y1, width, rgba):
            c.line(x0 * k, y0 * k, x1 * k, y1 * k, width * k, rgba)

    draw(Scaled())
    return c.pixels()


def draw_reader(d):
    """The product: a reader body with a card in its slot and a lit LED."""
    d.rect(6, 3, 26, 13, WHITE, 1.5)
    d.rect(7, 4, 25, 12, (250, 250, 245, 255), 1.0)
    d.rect(10, 6, 15, 10, GOLD, 1.0)
    d.rect(2, 12, 30, 29, NAVY, 4)
    d.rect(4, 14, 28, 17, DARK, 1.5)
    d.rect(6, 12, 26, 15, WHITE, 0.5)
    d.circle(24, 23, 2.2, GREEN)
    d.rect(6, 22, 18, 24, SKY, 1)


def draw_manual(d):
    d.rect(5, 3, 26, 29, NAVY, 2)
    d.rect(8, 5, 27, 27, WHITE, 1)
    d.rect(5, 3, 9, 29, BLUE, 1.5)
    for y in (10, 14, 18, 22):
        d.rect(12, y, 24, y + 1.5, SKY, 0.5)


def draw_driver(d):
    """A USB plug: the driver set-up."""
    d.rect(11, 2, 21, 12, LIGHT, 1)
    d.rect(13, 5, 15, 7, GREY)
    d.rect(17, 5, 19, 7, GREY)
    d.rect(8, 12, 24, 26, GREY, 2.5)
    d.rect(10, 14, 22, 24, (150, 158, 168, 255), 1.5)
    d.rect(14, 26, 18, 31, DARK)


def draw_demo(d):
    """A code window: the application demo."""
    d.rect(2, 5, 30, 27, DARK, 2)
    d.rect(4, 9, 28, 25, WHITE, 1)
    d.circle(5.5, 7, 1, RED)
    d.circle(9, 7, 1, GOLD)
    d.circle(12.5, 7, 1, GREEN)
    d.polygon([(12, 12), (7, 17), (12, 22), (12, 20), (9.5, 17), (12, 14)], BLUE)
    d.polygon([(20, 12), (25, 17), (20, 22), (20, 20), (22.5, 17), (20, 14)], BLUE)
    d.polygon([(17.5, 11.5), (19, 11.5), (14.5, 22.5), (13, 22.5)], GREEN)


def draw_console(d):
    """A terminal with hexadecimal lines: the console program."""
    d.rect(2, 4, 30, 28, NAVY, 2)
    d.rect(4, 8, 28, 26, (10, 20, 40, 255), 1)
    d.rect(2, 4, 30, 8, BLUE, 2)
    d.polygon([(6, 11), (10, 13.5), (6, 16)], GREEN)
    d.rect(11, 15, 16, 16.5, GREEN)
    d.rect(6, 19, 22, 20.5, SKY)
    d.rect(6, 22, 17, 23.5, SKY)


def draw_pdf(d):
    """A document with a folded corner: the PDF reader installer."""
    d.polygon([(6, 2), (20, 2), (27, 9), (27, 30), (6, 30)], RED)
    d.polygon([(20, 2), (20, 9), (27, 9)], (250, 170, 170, 255))
    d.rect(9, 14, 24, 16, WHITE, 0.5)
    d.rect(9, 19, 24, 21, WHITE, 0.5)
    d.rect(9, 24, 19, 26, WHITE, 0.5)


def draw_exit(d):
    d.circle(16, 16, 14, RED)
    d.ring(16, 17, 6, 8.5, WHITE, gap=35)
    d.rect(14.8, 5, 17.2, 16, WHITE, 1.2)


def draw_shield(d):
    """A shield: the office add-in."""
    d.polygon([(16, 2), (28, 7), (27, 18), (16, 30), (5, 18), (4, 7)], GREEN)
    d.polygon([(16, 5), (25, 9), (24.5, 17), (16, 26.5)], (90, 200, 120, 255))
    d.line(10, 16, 14, 20, 2.5, WHITE)
    d.line(14, 20, 22, 11, 2.5, WHITE)


def draw_hand(d):
    """The hand cursor: white with a black outline, index finger up; hot spot at its tip."""
    def hand(grow, colour):
        g = grow
        d.rect(9 - g, 1 - g, 13 + g, 18 + g, colour, 2 + g)            # index finger
        d.rect(13 - g, 9 - g, 17 + g, 18 + g, colour, 2 + g)           # middle finger
        d.rect(17 - g, 10 - g, 21 + g, 19 + g, colour, 2 + g)          # ring finger
        d.rect(21 - g, 11.5 - g, 25 + g, 20 + g, colour, 2 + g)        # little finger
        d.rect(9 - g, 15 - g, 25 + g, 27 + g, colour, 3 + g)           # palm
        d.polygon([(3 - g, 15 - g * 0.7), (6 + g * 0.7, 13 - g), (12 + g, 19), (10 + g, 25 + g), (3 - g, 18 + g)],
                  colour)                                           # thumb
        d.rect(11 - g, 25 - g, 23 + g, 30 + g, colour, 1 + g)          # wrist

    hand(1.2, BLACK)
    hand(0, WHITE)


ICONS = {
    "icon128.ico": draw_reader,
    "icon133.ico": draw_pdf,
    "icon134.ico": draw_shield,
    "icon135.ico": draw_console,
    "icon136.ico": draw_demo,
    "icon138.ico": draw_exit,
    "icon139.ico": draw_driver,
    "icon140.ico": draw_manual,
}


def background(out, convert, font):
    """The 640 x 480 picture behind the dialog. Entry texts and the description line sit on white, so the
    picture gives them white panels at the places the dialog puts them (dialog units scaled to 640 x 480)."""
    draw = [
        # Reader body, card and cable on the left.
        "fill #0f2f66 roundrectangle 40,235 215,350 18,18",
        "fill #1b4a94 roundrectangle 48,243 207,300 12,12",
        "fill #101820 roundrectangle 62,228 193,242 6,6",
        "fill #fbfbf4 roundrectangle 72,150 183,236 8,8",
        "fill #e6b428 roundrectangle 92,172 122,196 5,5",
        "stroke #b08010 line 92,184 122,184 line 107,172 107,196 stroke none",
        "fill #2d6fd2 rectangle 72,218 183,226",
        "fill #2fbf5a circle 188,322 188,328",
        "fill #9cc7f5 roundrectangle 60,318 150,328 4,4",
        "fill none stroke #0f2f66 stroke-width 6 path 'M 128,350 C 128,400 60,400 40,455' stroke none",
        # White panels for the entries and the description line.
        "fill #ffffff roundrectangle 222,126 622,312 16,16",
        "fill #ffffff roundrectangle 90,414 522,478 10,10",
        # A thin gold rule under the title.
        "fill #e6b428 rectangle 40,112 600,115",
    ]
    cmd = [convert, "-size", "640x480", "gradient:#0a2a66-#6fb2ee"]
    for d in draw:
        cmd += ["-draw", d]
    cmd += ["-font", font, "-fill", "white", "-pointsize", "46", "-annotate", "+40+76", "岚迅QX740读卡器",
            "-pointsize", "16", "-fill", "#dbe9ff", "-annotate", "+44+104", "USB CCID 智能卡读卡器 · 安装光盘"]
    cmd += ["-strip", "-colors", "256", "+dither", "GIF:" + out]
    subprocess.run(cmd, check=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--out", required=True, help="output folder")
    parser.add_argument("--convert", default="convert", help="ImageMagick's convert")
    parser.add_argument("--font", required=True, help="a font file with CJK glyphs")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for name, draw in sorted(ICONS.items()):
        write_icon_file(os.path.join(args.out, name), [scaled(draw, 32), scaled(draw, 16)])
    write_icon_file(os.path.join(args.out, "cursor137.cur"), [scaled(draw_hand, 32)], kind=2, hotspot=(11, 0))
    background(os.path.join(args.out, "background.gif"), args.convert, args.font)
    return 0


if __name__ == "__main__":
    sys.exit(main())
