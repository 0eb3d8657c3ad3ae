#!/usr/bin/env python3
"""Draws the console's icons and tool-bar strips (16 x 16 pixel art) as BMP and ICO files.

Usage: make_art.py OUTDIR
Everything is drawn from the character grids below, so the output is the same on every run.
"""
import os
import struct
import sys

# One character per pixel; '.' is the background (the tool bar's button face, or transparent in icons).
PALETTE = {
    '.': (192, 192, 192),  # button face: mapped to the system colour when the bar is loaded
    'k': (0, 0, 0),
    'w': (255, 255, 255),
    'g': (128, 128, 128),
    'b': (0, 64, 160),
    'B': (64, 128, 224),
    'y': (240, 200, 64),
    'Y': (200, 150, 20),
    'r': (200, 30, 30),
    'R': (240, 110, 90),
    'G': (30, 150, 60),
    'L': (120, 210, 120),
    'c': (40, 170, 200),
    's': (170, 170, 190),
}

NEW = """
..kkkkkkkk......
..kwwwwwwkk.....
..kwwwwwwkwk....
..kwwwwwwkkkk...
..kwwwwwwwwwk...
..kwwwwwwwwwk...
..kwwwwwwwwwk...
..kwwwwwwwwwk...
..kwwwwwwwwwk...
..kwwwwwwwwwk...
..kwwwwwwwwwk...
..kwwwwwwwwwk...
..kwwwwwwwwwk...
..kwwwwwwwwwk...
..kkkkkkkkkkk...
................
"""
OPEN = """
................
.........kkk....
........k...k.k.
.............kk.
.kkk........kkk.
kyyykkkkkkk.....
kywywywywyk.....
kwywywywywk.....
kywywykkkkkkkkk.
kwywykYYYYYYYYk.
kywykYYYYYYYYk..
kwykYYYYYYYYk...
kykYYYYYYYYk....
kkYYYYYYYYk.....
kkkkkkkkkk......
................
"""
SAVE = """
................
.kkkkkkkkkkkkkk.
.kbkwwwwwwwwkbk.
.kbkwwwwwwwwkkk.
.kbkwwwwwwwwkbk.
.kbkwwwwwwwwkbk.
.kbbkkkkkkkkbbk.
.kbbbbbbbbbbbbk.
.kbbkkkkkkkkbbk.
.kbbkssskkskbbk.
.kbbkssskkskbbk.
.kbbkssskkskbbk.
..kbkkkkkkkkkbk.
...kkkkkkkkkkkk.
................
................
"""
ABOUT = """
................
.....kkkkkk.....
....kBBBBBBk....
...kBBwwwwBBk...
..kBBwwkkwwBBk..
..kBBkkBBwwBBk..
..kBBBBBBwwBBk..
..kBBBBBwwBBBk..
..kBBBBwwBBBBk..
..kBBBBwwBBBBk..
..kBBBBBBBBBBk..
...kBBBwwBBBk...
....kBBwwBBk....
.....kkkkkk.....
................
................
"""
CONNECT = """
................
..........kk....
.........kLLk...
........kLGGLk..
.......kLGGGGk..
......kLGGGGk...
..kk.kLGGGGk....
.kssk.kGGGk.....
kssssk.kGk......
.kssssk.k.......
..kssssk........
.ksskssk........
kssk.kk.........
.kk.............
................
................
"""
DISCONNECT = """
................
..........kk....
.........kRRk...
........kRrrRk..
.......kRrrrrk..
......kRrrrrk...
.......krrrk....
.kk.....krk.....
kssk.....k......
.kssk...........
..kssk..........
.ksskssk........
kssk.kk.........
.kk.............
................
................
"""
APP_ICON = """
................
.bbbbbbbbbbbbbb.
.bBBBBBBBBBBBBb.
.bBkkkkkkkkkkBb.
.bBkcccccccckBb.
.bBkcwwcccwckBb.
.bBkcccccccckBb.
.bBkkkkkkkkkkBb.
.bBBBBBBBBBBBBb.
.bBBkkkkkkkkBBb.
.bBBkyyyyyykBBb.
.bBBkyYYYYykBBb.
.bBBkyyyyyykBBb.
.bBBBBBBBBBBBBb.
.bbbbbbbbbbbbbb.
................
"""
DOC_ICON = """
..kkkkkkkkk.....
..kwwwwwwwkk....
..kwggwwwwkwk...
..kwwwwwwwkkkk..
..kwgggggwwwwk..
..kwwwwwwwwwwk..
..kwgggggggwwk..
..kwwwwwwwwwwk..
..kwggggggwwwk..
..kwwwwwwwwwwk..
..kwgggggggwwk..
..kwwwwwwwwwwk..
..kwggggwwwwwk..
..kwwwwwwwwwwk..
..kkkkkkkkkkkk..
................
"""


def grid(text):
    rows = [r for r in text.strip('\n').split('\n')]
    assert len(rows) == 16 and all(len(r) == 16 for r in rows), 'each picture is 16 x 16'
    return rows


def palette_list():
    keys = sorted(PALETTE)
    return keys, [PALETTE[k] for k in keys]


def write_bmp8(path, pictures):
    """An 8-bit BMP strip of 16 x 16 pictures side by side (bottom row first)."""
    keys, colours = palette_list()
    index = {k: i for i, k in enumerate(keys)}
    width, height = 16 * len(pictures), 16
    stride = (width + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for pic in pictures:
            row += bytes(index[c] for c in pic[y])
        row += b'\0' * (stride - width)
        rows.append(bytes(row))
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in colours)
    table += b'\0' * (4 * (256 - len(colours)))
    pixels = b''.join(rows)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(table)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    with open(path, 'wb') as f:
        f.write(header + info + table + pixels)


def icon_image(pic, size):
    """One 32-bit icon image with alpha and AND mask, the picture scaled by whole pixels."""
    scale = size // 16
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            c = pic[y // scale][x // scale]
            if c == '.':
                xor += b'\0\0\0\0'
            else:
                r, g, b = PALETTE[c]
                xor += bytes((b, g, r, 255))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(size):
            if pic[y // scale][x // scale] == '.':
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def write_ico(path, pic):
    images = [icon_image(pic, s) for s in (16, 32)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for img, size in zip(images, (16, 32)):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_bmp8(os.path.join(out, 'toolbar.bmp'), [grid(NEW), grid(OPEN), grid(SAVE), grid(ABOUT)])
    write_bmp8(os.path.join(out, 'connect.bmp'), [grid(CONNECT)])
    write_bmp8(os.path.join(out, 'disconnect.bmp'), [grid(DISCONNECT)])
    write_ico(os.path.join(out, 'QXReader_CCID.ico'), grid(APP_ICON))
    write_ico(os.path.join(out, 'QXReader_CCIDDoc.ico'), grid(DOC_ICON))


if __name__ == '__main__':
    main()
