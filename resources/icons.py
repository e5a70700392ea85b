#!/usr/bin/env python3
"""Draws Quillmoor's icons and writes them as .ico files beside this script.

The icons are committed; run this again only to change them.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def ico(images):
    """images: list of (size, pixels) with pixels[y][x] = (r, g, b, a), top row first."""
    header = struct.pack('<HHH', 0, 1, len(images))
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for size, px in images:
        xor = b''.join(bytes((b, g, r, a)) for row in reversed(px) for (r, g, b, a) in row)
        stride = ((size + 31) // 32) * 4
        mask = b''
        for row in reversed(px):
            bits = bytearray(stride)
            for x, (_, _, _, a) in enumerate(row):
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(bits)
        bmp = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blob = bmp + xor + mask
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs += blob
    return header + entries + blobs


def canvas(size):
    return [[(0, 0, 0, 0) for _ in range(size)] for _ in range(size)]


def rect(px, x0, y0, x1, y1, colour):
    for y in range(y0, y1):
        for x in range(x0, x1):
            px[y][x] = colour + (255,)


PURPLE = (64, 64, 127)
FACE = (230, 234, 216)
LILAC = (192, 192, 255)
GREEN = (40, 140, 60)
RED = (180, 40, 40)
BLUE = (40, 80, 170)
GREY = (90, 90, 90)
YELLOW = (230, 190, 60)


def app_icon(size):
    """A framed list of startup entries with a rising arrow."""
    s = size / 16
    px = canvas(size)
    rect(px, 0, round(1 * s), size, round(15 * s), PURPLE)
    rect(px, round(1 * s), round(2 * s), size - round(1 * s), round(14 * s), FACE)
    rect(px, round(1 * s), round(2 * s), size - round(1 * s), round(4 * s), LILAC)
    for i in range(3):
        y = round((6 + 3 * i) * s)
        rect(px, round(3 * s), y, round(9 * s), y + max(1, round(s)), GREY)
    ax = round(12 * s)
    rect(px, ax, round(7 * s), ax + max(1, round(s)), round(13 * s), GREEN)
    for d in range(round(3 * s)):
        rect(px, ax - d, round(7 * s) + d, ax + d + max(1, round(s)), round(7 * s) + d + 1, GREEN)
    return px


SIZES = (16, 20, 24, 32, 48)


def box(px, s, x0, y0, x1, y1, colour):
    """A rectangle given on the 16-pixel grid, drawn at scale s and never thinner than a pixel."""
    left, top = round(x0 * s), round(y0 * s)
    rect(px, left, top, max(round(x1 * s), left + 1), max(round(y1 * s), top + 1), colour)


def sized(draw):
    """The icon at every size a window's DPI asks for, from one drawing on the 16-pixel grid."""
    images = []
    for size in SIZES:
        px = canvas(size)
        draw(px, size / 16)
        images.append((size, px))
    return images


def key_icon(px, s):        # location buttons: a key
    box(px, s, 2, 5, 7, 10, YELLOW)
    box(px, s, 4, 7, 5, 8, FACE)
    box(px, s, 7, 7, 14, 8, YELLOW)
    box(px, s, 11, 8, 12, 10, YELLOW)
    box(px, s, 13, 8, 14, 11, YELLOW)


def document_icon(px, s):  # start-up files: a page of text
    box(px, s, 3, 1, 13, 15, GREY)
    box(px, s, 4, 2, 12, 14, (255, 255, 255))
    for y in (4, 6, 8, 10, 12):
        box(px, s, 5, y, 11, y + 1, BLUE)


def folder_icon(px, s):    # Startup folder
    box(px, s, 1, 3, 7, 5, YELLOW)
    box(px, s, 1, 5, 15, 13, YELLOW)
    box(px, s, 1, 12, 15, 13, (170, 130, 30))


def delete_icon(px, s):    # remove entry: a red cross
    for i in range(10):
        box(px, s, 3 + i, 3 + i, 5 + i, 4 + i, RED)
        box(px, s, 11 - i, 3 + i, 13 - i, 4 + i, RED)


def backup_icon(px, s):    # backups: a stack of disks
    box(px, s, 2, 2, 14, 14, BLUE)
    box(px, s, 4, 2, 12, 7, (255, 255, 255))
    box(px, s, 5, 10, 11, 14, GREY)


def help_icon(px, s):      # help: a blue circle with a question mark
    size = len(px)
    centre = size / 2 - 0.5
    for y in range(size):
        for x in range(size):
            if (x - centre) ** 2 + (y - centre) ** 2 <= (7 * s) ** 2:
                px[y][x] = BLUE + (255,)
    box(px, s, 6, 4, 10, 5, (255, 255, 255))
    box(px, s, 9, 5, 10, 8, (255, 255, 255))
    box(px, s, 7, 8, 9, 9, (255, 255, 255))
    box(px, s, 7, 9, 8, 10, (255, 255, 255))
    box(px, s, 7, 11, 8, 12, (255, 255, 255))


def close_icon(px, s):     # close: an open door
    box(px, s, 4, 1, 12, 15, (150, 100, 50))
    box(px, s, 5, 2, 11, 14, (200, 150, 90))
    box(px, s, 9, 8, 10, 9, YELLOW)


ICONS = {
    'quillmoor.ico': [(size, app_icon(size)) for size in SIZES],
    'key.ico': sized(key_icon),
    'document.ico': sized(document_icon),
    'folder.ico': sized(folder_icon),
    'delete.ico': sized(delete_icon),
    'backup.ico': sized(backup_icon),
    'help.ico': sized(help_icon),
    'close.ico': sized(close_icon),
}

if __name__ == '__main__':
    for name, images in ICONS.items():
        with open(os.path.join(HERE, name), 'wb') as f:
            f.write(ico(images))
