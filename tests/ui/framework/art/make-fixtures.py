#!/usr/bin/env python3
"""Writes the small bitmaps of art_loading_tests into this folder.

Stripes-rle8.bmp   8 x 4, BI_RLE8: top two rows colour 1, bottom two colour 2,
                   with a biSizeImage far beyond the data.
Stripes-rgb24.bmp  the same picture, 24-bit BI_RGB.
TooManyColours-rle8.bmp, TopDown-rle8.bmp, Wide-rle8.bmp:
                   the RLE picture with a header that must be refused
                   (1000 palette entries, negative height, a width beyond any
                   window art).
NoEnd-rle8.bmp     data that stops in the middle of the first row.
"""
import struct
from pathlib import Path

HERE = Path(__file__).resolve().parent
BLACK, RED, BLUE = (0, 0, 0), (200, 40, 40), (40, 80, 200)
PALETTE = [BLACK, RED, BLUE]
W, H = 8, 4
ROWS_TOP_DOWN = [1, 1, 2, 2]


def bmp(header, palette, bits):
    offset = 14 + len(header) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(bits), 0, 0, offset) + header + palette + bits


def info(width, height, bpp, compression, size_image, colours):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, compression, size_image,
                       2835, 2835, colours, 0)


def rle_rows(rows):
    data = b""
    for row in reversed(rows):  # bottom-up
        data += bytes([W, row, 0, 0])
    return data + bytes([0, 1])


palette = b"".join(bytes([b, g, r, 0]) for r, g, b in PALETTE)
rle = rle_rows(ROWS_TOP_DOWN)
files = {
    "Stripes-rle8.bmp": bmp(info(W, H, 8, 1, 0x7FFFFFFF, 3), palette, rle),
    "TooManyColours-rle8.bmp": bmp(info(W, H, 8, 1, len(rle), 1000), palette, rle),
    "TopDown-rle8.bmp": bmp(info(W, -H, 8, 1, len(rle), 3), palette, rle),
    "NoEnd-rle8.bmp": bmp(info(W, H, 8, 1, 3, 3), palette, rle[:3]),
    "Wide-rle8.bmp": bmp(info(100000, H, 8, 1, len(rle), 3), palette, rle),
}
rgb = b""
for row in reversed(ROWS_TOP_DOWN):
    r, g, b = PALETTE[row]
    rgb += bytes([b, g, r]) * W  # 24 bytes a row: already a multiple of 4
files["Stripes-rgb24.bmp"] = bmp(info(W, H, 24, 0, len(rgb), 0), b"", rgb)
for name, data in files.items():
    (HERE / name).write_bytes(data)
