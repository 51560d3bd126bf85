#!/usr/bin/env python3
"""Draws the application icon (setup.ico): a 32x32 and a 16x16 image, 16 colours each.

The artwork: a blue disc standing for the backdrop, a white Z for the product and a small grey
box for the installer. Run it again after changing the drawing; the .ico is kept in the repo.
"""
import struct
import sys

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
RGB = {c: i for i, c in enumerate(PALETTE)}
DARK_BLUE, BLUE, WHITE, GREY, BLACK = RGB[(0, 0, 128)], RGB[(0, 0, 255)], 15, 8, 0


def draw(n):
    """Returns rows (top first) of palette indices, None where transparent."""
    c = (n - 1) / 2.0
    r = n / 2.0 - 0.5
    img = [[None] * n for _ in range(n)]
    for y in range(n):
        for x in range(n):
            d = ((x - c) ** 2 + (y - c) ** 2) ** 0.5
            if d <= r:
                img[y][x] = DARK_BLUE if d > r - max(1, n // 16) else BLUE
    # The Z: top bar, diagonal, bottom bar.
    lo, hi = n // 4, n - 1 - n // 4
    w = max(1, n // 10)
    for x in range(lo, hi + 1):
        for t in range(w):
            img[lo + t][x] = WHITE
            img[hi - t][x] = WHITE
    for i in range(hi - lo + 1):
        y = lo + i
        x = hi - i
        for t in range(w + 1):
            if lo <= x - t <= hi:
                img[y][x - t] = WHITE
    # The installer's box in the lower right corner.
    s = max(3, n // 4)
    for y in range(n - s, n):
        for x in range(n - s, n):
            edge = y in (n - s, n - 1) or x in (n - s, n - 1)
            img[y][x] = BLACK if edge else GREY
    return img


def dib(img):
    n = len(img)
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor = b''
    and_mask = b''
    for row in reversed(img):
        bits = bytearray()
        for x in range(0, n, 2):
            a = row[x] or 0
            b = row[x + 1] or 0 if x + 1 < n else 0
            bits.append((a << 4) | b)
        while len(bits) % 4:
            bits.append(0)
        xor += bytes(bits)
        mask = bytearray((n + 31) // 32 * 4)
        for x, v in enumerate(row):
            if v is None:
                mask[x // 8] |= 0x80 >> (x % 8)
        and_mask += bytes(mask)
    return header + pal + xor + and_mask


def main(path):
    images = [dib(draw(32)), dib(draw(16))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'setup.ico')
