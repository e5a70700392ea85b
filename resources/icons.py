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


def small(draw):
    px = canvas(16)
    draw(px)
    return [(16, px)]


def key_icon(px):           # location buttons: a key
    rect(px, 2, 5, 7, 10, YELLOW)
    rect(px, 4, 7, 5, 8, FACE)
    rect(px, 7, 7, 14, 8, YELLOW)
    rect(px, 11, 8, 12, 10, YELLOW)
    rect(px, 13, 8, 14, 11, YELLOW)


def document_icon(px):      # start-up files: a page of text
    rect(px, 3, 1, 13, 15, GREY)
    rect(px, 4, 2, 12, 14, (255, 255, 255))
    for y in (4, 6, 8, 10, 12):
        rect(px, 5, y, 11, y + 1, BLUE)


def folder_icon(px):        # Startup folder
    rect(px, 1, 3, 7, 5, YELLOW)
    rect(px, 1, 5, 15, 13, YELLOW)
    rect(px, 1, 12, 15, 13, (170, 130, 30))


def delete_icon(px):        # remove entry: a red cross
    for i in range(10):
        rect(px, 3 + i, 3 + i, 5 + i, 4 + i, RED)
        rect(px, 11 - i, 3 + i, 13 - i, 4 + i, RED)


def backup_icon(px):        # backups: a stack of disks
    rect(px, 2, 2, 14, 14, BLUE)
    rect(px, 4, 2, 12, 7, (255, 255, 255))
    rect(px, 5, 10, 11, 14, GREY)


def help_icon(px):          # help: a blue circle with a question mark
    for y in range(16):
        for x in range(16):
            if (x - 7.5) ** 2 + (y - 7.5) ** 2 <= 49:
                px[y][x] = BLUE + (255,)
    rect(px, 6, 4, 10, 5, (255, 255, 255))
    rect(px, 9, 5, 10, 8, (255, 255, 255))
    rect(px, 7, 8, 9, 9, (255, 255, 255))
    rect(px, 7, 9, 8, 10, (255, 255, 255))
    rect(px, 7, 11, 8, 12, (255, 255, 255))


def close_icon(px):         # close: an open door
    rect(px, 4, 1, 12, 15, (150, 100, 50))
    rect(px, 5, 2, 11, 14, (200, 150, 90))
    rect(px, 9, 8, 10, 9, YELLOW)


ICONS = {
    'quillmoor.ico': [(16, app_icon(16)), (32, app_icon(32)), (48, app_icon(48))],
    'key.ico': small(key_icon),
    'document.ico': small(document_icon),
    'folder.ico': small(folder_icon),
    'delete.ico': small(delete_icon),
    'backup.ico': small(backup_icon),
    'help.ico': small(help_icon),
    'close.ico': small(close_icon),
}

if __name__ == '__main__':
    for name, images in ICONS.items():
        with open(os.path.join(HERE, name), 'wb') as f:
            f.write(ico(images))
